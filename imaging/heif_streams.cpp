// HEIF boxes (ISO/IEC 23008-12) only as far as the coded pictures' sizes: the meta box's item
// properties (ipco) and their associations (ipma), the items' locations (iloc, idat); then the
// HEVC sequence parameter sets (H.265 7.3.2.2) and AV1 sequence headers (AV1 5.5.1) up to their
// picture size. Everything is read within the file's bytes, whatever its boxes declare.
#include "heif_streams.h"

#include <stdlib.h>
#include <string.h>

namespace imaging {
namespace {

constexpr uint32_t fourCc(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 |
           uint32_t(uint8_t(s[2])) << 8 | uint8_t(s[3]);
}

// A coded picture may exceed its ispe by the blocks that pad it: HEVC codes whole minimum coding
// blocks (at most 64) and crops the rest by its conformance window.
const uint64_t kCodedPadding = 64;
// Past this a sequence header is not read (AV1's with 32 operating points is under 400 bytes).
const size_t kHeaderBytes = 512;

struct Span {
    const uint8_t* data;
    size_t size;
};

// Fields read in order from a span, big-endian; a read past its end gives 0 and clears ok.
struct Reader {
    Span span;
    size_t at;
    bool ok;
};

uint64_t take(Reader* r, unsigned bytes) {
    if (!r->ok || r->span.size - r->at < bytes) {
        r->ok = false;
        return 0;
    }
    uint64_t value = 0;
    for (unsigned i = 0; i < bytes; ++i) value = value << 8 | r->span.data[r->at++];
    return value;
}

struct Box {
    uint32_t type;
    Span body;
};

// The box at *offset within span, *offset then moved past it; false at the end of the span or
// when the box does not fit in it.
bool nextBox(Span span, size_t* offset, Box* box) {
    Reader r = {span, *offset, true};
    uint64_t size = take(&r, 4);
    box->type = static_cast<uint32_t>(take(&r, 4));
    if (size == 1) size = take(&r, 8);
    if (size == 0) size = span.size - *offset;
    size_t header = r.at - *offset;
    if (!r.ok || size < header || size > span.size - *offset) return false;
    box->body = {span.data + r.at, static_cast<size_t>(size) - header};
    *offset += static_cast<size_t>(size);
    return true;
}

bool findBox(Span span, uint32_t type, Box* found) {
    size_t offset = 0;
    while (nextBox(span, &offset, found))
        if (found->type == type) return true;
    return false;
}

// A full box's body past its version and flags.
Span fullBoxContent(Span body) {
    return body.size < 4 ? Span{body.data, 0} : Span{body.data + 4, body.size - 4};
}

// An item's data: its extents one after another, read through a cursor.
struct Stream {
    const Span* extents;
    size_t count;
    size_t index; // the extent the cursor is in
    size_t at;    // the cursor's offset in it
};

void settle(Stream* s) {
    while (s->index < s->count && s->at == s->extents[s->index].size) {
        ++s->index;
        s->at = 0;
    }
}

// Copies up to capacity bytes from the cursor, which stays; returns how many there were.
size_t peek(Stream s, uint8_t* out, size_t capacity) {
    size_t copied = 0;
    for (settle(&s); copied < capacity && s.index < s.count; settle(&s)) {
        size_t n = s.extents[s.index].size - s.at;
        if (n > capacity - copied) n = capacity - copied;
        memcpy(out + copied, s.extents[s.index].data + s.at, n);
        copied += n;
        s.at += n;
    }
    return copied;
}

// Moves the cursor forward; false when the data ends first.
bool skip(Stream* s, uint64_t bytes) {
    for (settle(s); bytes > 0; settle(s)) {
        if (s->index == s->count) return false;
        size_t room = s->extents[s->index].size - s->at;
        size_t step = bytes < room ? static_cast<size_t>(bytes) : room;
        s->at += step;
        bytes -= step;
    }
    return true;
}

bool atEnd(Stream s) {
    settle(&s);
    return s.index == s.count;
}

// Bits of a header, most significant first; reading past the end clears ok.
struct Bits {
    const uint8_t* data;
    size_t size;
    size_t bit;
    bool ok;
};

uint32_t bits(Bits* b, unsigned count) {
    uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (b->bit >= b->size * 8) {
            b->ok = false;
            return 0;
        }
        value = value << 1 | ((b->data[b->bit / 8] >> (7 - b->bit % 8)) & 1);
        ++b->bit;
    }
    return value;
}

// Exp-Golomb ue(v) (HEVC) and uvlc() (AV1) are the same code; too long a one clears ok.
uint32_t expGolomb(Bits* b) {
    unsigned zeros = 0;
    while (b->ok && bits(b, 1) == 0)
        if (++zeros > 31) b->ok = false;
    return b->ok ? (uint32_t(1) << zeros) - 1 + bits(b, zeros) : 0;
}

struct PictureSize {
    uint32_t width, height;
};

// An HEVC NAL unit (its two-byte header first) that is a sequence parameter set: its picture
// size, or 0 × 0 when it cannot be read.
PictureSize hevcPictureSize(const uint8_t* nal, size_t size) {
    // The payload without its emulation prevention bytes (0 0 3 stands for 0 0).
    uint8_t rbsp[kHeaderBytes];
    size_t length = 0;
    unsigned zeros = 0;
    for (size_t i = 2; i < size && length < sizeof rbsp; ++i) {
        if (zeros >= 2 && nal[i] == 3) {
            zeros = 0;
            continue;
        }
        zeros = nal[i] == 0 ? zeros + 1 : 0;
        rbsp[length++] = nal[i];
    }
    Bits b = {rbsp, length, 0, true};
    bits(&b, 4); // sps_video_parameter_set_id
    unsigned subLayers = bits(&b, 3);
    bits(&b, 1);
    // profile_tier_level: the general profile (88 bits) and level (8), then each sub-layer's.
    bits(&b, 32), bits(&b, 32), bits(&b, 24), bits(&b, 8);
    bool profile[8] = {}, level[8] = {};
    for (unsigned i = 0; i < subLayers; ++i) {
        profile[i] = bits(&b, 1) != 0;
        level[i] = bits(&b, 1) != 0;
    }
    if (subLayers > 0)
        for (unsigned i = subLayers; i < 8; ++i) bits(&b, 2);
    for (unsigned i = 0; i < subLayers; ++i) {
        if (profile[i]) bits(&b, 32), bits(&b, 32), bits(&b, 24);
        if (level[i]) bits(&b, 8);
    }
    expGolomb(&b); // sps_seq_parameter_set_id
    if (expGolomb(&b) == 3) bits(&b, 1);
    PictureSize picture = {expGolomb(&b), expGolomb(&b)};
    return b.ok ? picture : PictureSize{0, 0};
}

// An AV1 sequence header OBU's payload: the largest frame it allows, or 0 × 0 when it cannot be
// read.
PictureSize av1PictureSize(const uint8_t* payload, size_t size) {
    Bits b = {payload, size, 0, true};
    bits(&b, 4); // seq_profile, still_picture
    if (bits(&b, 1) != 0) {
        bits(&b, 5); // a reduced header: one level
    } else {
        bool decoderModel = false;
        unsigned delayBits = 0;
        if (bits(&b, 1) != 0) { // timing_info
            bits(&b, 32), bits(&b, 32);
            if (bits(&b, 1) != 0) expGolomb(&b);
            decoderModel = bits(&b, 1) != 0;
            if (decoderModel) {
                delayBits = bits(&b, 5) + 1;
                bits(&b, 32), bits(&b, 10);
            }
        }
        bool displayDelay = bits(&b, 1) != 0;
        unsigned points = bits(&b, 5) + 1;
        for (unsigned i = 0; i < points && b.ok; ++i) {
            bits(&b, 12);
            if (bits(&b, 5) > 7) bits(&b, 1);
            if (decoderModel && bits(&b, 1) != 0)
                bits(&b, delayBits), bits(&b, delayBits), bits(&b, 1);
            if (displayDelay && bits(&b, 1) != 0) bits(&b, 4);
        }
    }
    unsigned widthBits = bits(&b, 4) + 1, heightBits = bits(&b, 4) + 1;
    PictureSize picture = {bits(&b, widthBits) + 1, bits(&b, heightBits) + 1};
    return b.ok ? picture : PictureSize{0, 0};
}

// What checking one item found: the largest picture its stream declares, and whether every one
// fits the item's ispe.
struct Found {
    uint64_t limitWidth, limitHeight; // the ispe, padded
    uint64_t largest;
    bool fits;
    size_t visits; // NAL units and OBUs still to be read in the whole file (see below)
};

// Either way round: libheif before 1.16 wrote the ispe of a picture with a quarter turn (irot)
// with its sides already swapped, and reads it so.
void record(Found* found, PictureSize picture) {
    uint64_t w = picture.width, h = picture.height, limitW = found->limitWidth,
             limitH = found->limitHeight;
    if (w == 0 || h == 0 || !((w <= limitW && h <= limitH) || (w <= limitH && h <= limitW)))
        found->fits = false;
    uint64_t area = w * h;
    if (area > found->largest) found->largest = area;
}

// Reads a NAL unit of size bytes at the cursor (which stays) when it is a sequence parameter
// set.
void hevcUnit(Stream s, uint64_t size, Found* found) {
    uint8_t nal[kHeaderBytes];
    size_t got = peek(s, nal, size < sizeof nal ? static_cast<size_t>(size) : sizeof nal);
    if (got >= 2 && ((nal[0] >> 1) & 0x3F) == 33) record(found, hevcPictureSize(nal, got));
}

// Every NAL unit of an hvcC box's arrays, then of the item's data (each behind its length in
// lengthBytes bytes).
void readHevc(Span config, Stream data, Found* found) {
    Reader r = {config, 21, true};
    unsigned lengthBytes = (take(&r, 1) & 3) + 1;
    for (uint64_t arrays = take(&r, 1); r.ok && arrays > 0; --arrays) {
        take(&r, 1);
        for (uint64_t units = take(&r, 2); r.ok && units > 0; --units) {
            uint64_t size = take(&r, 2);
            if (!r.ok || size > config.size - r.at) {
                found->fits = false;
                return;
            }
            Span unit = {config.data + r.at, static_cast<size_t>(size)};
            hevcUnit(Stream{&unit, 1, 0, 0}, size, found);
            r.at += static_cast<size_t>(size);
        }
    }
    if (!r.ok) found->fits = false;
    while (found->fits && !atEnd(data)) {
        uint8_t length[4];
        if (found->visits-- == 0 || peek(data, length, lengthBytes) != lengthBytes) {
            found->fits = false;
            return;
        }
        uint64_t size = 0;
        for (unsigned i = 0; i < lengthBytes; ++i) size = size << 8 | length[i];
        skip(&data, lengthBytes);
        hevcUnit(data, size, found);
        if (!skip(&data, size)) found->fits = false;
    }
}

// Every OBU of the stream; its last may have no size field, reaching to the end.
void readAv1(Stream s, Found* found) {
    while (found->fits && !atEnd(s)) {
        uint8_t head[10];
        size_t got = peek(s, head, sizeof head);
        if (found->visits-- == 0) {
            found->fits = false;
            return;
        }
        unsigned type = (head[0] >> 3) & 15, at = (head[0] & 4) ? 2 : 1;
        uint64_t size = UINT64_MAX;
        if (head[0] & 2) {
            size = 0;
            for (unsigned i = 0;; ++i) {
                if (at >= got || i == 8) {
                    found->fits = false;
                    return;
                }
                size |= uint64_t(head[at] & 0x7F) << (7 * i);
                if ((head[at++] & 0x80) == 0) break;
            }
        }
        skip(&s, at);
        if (type == 1) {
            uint8_t payload[kHeaderBytes];
            size_t bytes = peek(s, payload, size < sizeof payload ? size_t(size) : sizeof payload);
            record(found, av1PictureSize(payload, bytes));
        }
        if (size == UINT64_MAX) return;
        if (!skip(&s, size)) found->fits = false;
    }
}

// iloc's field sizes, and where each item's entry lies in it.
struct Location {
    uint32_t item;
    size_t at; // the entry's fields after its item_ID
};

struct Meta {
    Span file;
    Span iloc; // content past version and flags
    unsigned ilocVersion, offsetBytes, lengthBytes, baseBytes, indexBytes;
    Span idat;
    Box* properties; // ipco's boxes in order (property index 1 is the first)
    size_t propertyCount;
    Location* locations; // sorted by item
    size_t locationCount;
};

// Reads one iloc entry past its item_ID; with extents not null, also fills them (extent_count of
// them) and clears *placed when one lies outside the file or its idat, or is relative to another
// item, which is not checked here.
void readLocation(const Meta& meta, Reader* r, Span* extents, bool* placed) {
    unsigned v = meta.ilocVersion;
    unsigned method = v == 1 || v == 2 ? static_cast<unsigned>(take(r, 2) & 15) : 0;
    take(r, 2); // data_reference_index: this file
    uint64_t base = take(r, meta.baseBytes);
    uint64_t count = take(r, 2);
    Span within = method == 1 ? meta.idat : meta.file;
    if (method > 1) *placed = false;
    for (uint64_t i = 0; i < count; ++i) {
        take(r, meta.indexBytes);
        uint64_t offset = take(r, meta.offsetBytes), length = take(r, meta.lengthBytes);
        if (extents == nullptr) continue;
        if (offset > UINT64_MAX - base || base + offset > within.size) {
            *placed = false;
            continue;
        }
        size_t start = static_cast<size_t>(base + offset);
        if (length == 0) length = within.size - start;
        if (length > within.size - start) *placed = false;
        extents[i] = {within.data + start, static_cast<size_t>(length)};
    }
}

int byItem(const void* a, const void* b) {
    uint32_t x = static_cast<const Location*>(a)->item, y = static_cast<const Location*>(b)->item;
    return x < y ? -1 : x > y;
}

// Indexes iloc's entries by item; false when it cannot be read whole.
bool indexLocations(Meta* meta) {
    Reader r = {meta->iloc, 0, true};
    unsigned sizes = static_cast<unsigned>(take(&r, 2));
    meta->offsetBytes = sizes >> 12;
    meta->lengthBytes = (sizes >> 8) & 15;
    meta->baseBytes = (sizes >> 4) & 15;
    meta->indexBytes = meta->ilocVersion == 1 || meta->ilocVersion == 2 ? sizes & 15 : 0;
    unsigned idBytes = meta->ilocVersion < 2 ? 2 : 4;
    uint64_t count = take(&r, idBytes);
    // Each entry takes at least 6 bytes, so a count the box cannot hold is not allocated.
    if (!r.ok || count > meta->iloc.size / 6) return false;
    meta->locations = static_cast<Location*>(calloc(count + 1, sizeof(Location)));
    if (meta->locations == nullptr) return false;
    for (uint64_t i = 0; i < count && r.ok; ++i) {
        Location& location = meta->locations[i];
        location.item = static_cast<uint32_t>(take(&r, idBytes));
        location.at = r.at;
        bool placed = true;
        readLocation(*meta, &r, nullptr, &placed);
    }
    meta->locationCount = static_cast<size_t>(count);
    qsort(meta->locations, meta->locationCount, sizeof(Location), byItem);
    return r.ok;
}

// An item's data as extents, from malloc for the caller to free; null when it has no location,
// or one that cannot be checked here.
Span* itemExtents(const Meta& meta, uint32_t item, size_t* count) {
    Location key = {item, 0};
    const Location* location = static_cast<const Location*>(
        bsearch(&key, meta.locations, meta.locationCount, sizeof(Location), byItem));
    if (location == nullptr) return nullptr;
    // extent_count follows construction_method (versions 1 and 2), data_reference_index and
    // base_offset.
    unsigned v = meta.ilocVersion;
    Reader counting = {meta.iloc, location->at + (v == 1 || v == 2 ? 2 : 0) + 2 + meta.baseBytes,
                       true};
    uint64_t total = take(&counting, 2);
    Reader r = {meta.iloc, location->at, true};
    bool placed = counting.ok;
    Span* spans = static_cast<Span*>(calloc(total + 1, sizeof(Span)));
    if (spans == nullptr) return nullptr;
    readLocation(meta, &r, spans, &placed);
    if (!placed || !r.ok) {
        free(spans);
        return nullptr;
    }
    *count = static_cast<size_t>(total);
    return spans;
}

// One item of ipma: when it has an hvcC or av1C property, its stream against its ispe.
bool checkItem(const Meta& meta, uint32_t item, const uint16_t* indexes, size_t count,
               uint64_t* codedPixels, size_t* visits) {
    const Box* config = nullptr;
    Found found = {0, 0, 0, true, *visits};
    bool sized = false;
    for (size_t i = 0; i < count; ++i) {
        if (indexes[i] == 0 || indexes[i] > meta.propertyCount) continue;
        const Box& property = meta.properties[indexes[i] - 1];
        if (property.type == fourCc("hvcC") || property.type == fourCc("av1C")) config = &property;
        if (property.type == fourCc("ispe")) {
            Reader r = {fullBoxContent(property.body), 0, true};
            uint64_t width = take(&r, 4), height = take(&r, 4);
            sized = r.ok && width > 0 && height > 0;
            found.limitWidth = (width + kCodedPadding - 1) / kCodedPadding * kCodedPadding;
            found.limitHeight = (height + kCodedPadding - 1) / kCodedPadding * kCodedPadding;
        }
    }
    if (config == nullptr) return true;
    size_t extentCount = 0;
    Span* extents = sized ? itemExtents(meta, item, &extentCount) : nullptr;
    if (extents == nullptr) return false;
    Stream data = {extents, extentCount, 0, 0};
    if (config->type == fourCc("hvcC")) {
        readHevc(config->body, data, &found);
    } else if (config->body.size >= 4) {
        // The configuration's own OBUs (after its 4 bytes) come before the item's.
        Span obus = {config->body.data + 4, config->body.size - 4};
        readAv1(Stream{&obus, 1, 0, 0}, &found);
        readAv1(data, &found);
    } else {
        found.fits = false;
    }
    free(extents);
    *visits = found.visits;
    *codedPixels =
        found.largest > UINT64_MAX - *codedPixels ? UINT64_MAX : *codedPixels + found.largest;
    return found.fits && found.largest > 0;
}

bool checkAssociations(const Meta& meta, Span ipma, uint64_t* codedPixels, size_t* visits) {
    Reader r = {ipma, 0, true};
    unsigned version = static_cast<unsigned>(take(&r, 1));
    bool wideIndexes = (take(&r, 3) & 1) != 0;
    for (uint64_t entries = take(&r, 4); r.ok && entries > 0; --entries) {
        uint32_t item = static_cast<uint32_t>(take(&r, version < 1 ? 2 : 4));
        uint16_t indexes[255];
        size_t count = static_cast<size_t>(take(&r, 1));
        for (size_t i = 0; i < count; ++i)
            indexes[i] = static_cast<uint16_t>(take(&r, wideIndexes ? 2 : 1) &
                                               (wideIndexes ? 0x7FFF : 0x7F));
        if (!r.ok || !checkItem(meta, item, indexes, count, codedPixels, visits)) return false;
    }
    return r.ok;
}

} // namespace

bool codedPicturesWithinContainer(const uint8_t* file, size_t size, uint64_t* codedPixels) {
    *codedPixels = 0;
    Span whole = {file, size};
    Box meta, iprp, ipco, ipma, iloc, idat;
    if (!findBox(whole, fourCc("meta"), &meta)) return false;
    Span content = fullBoxContent(meta.body);
    if (!findBox(content, fourCc("iprp"), &iprp) || !findBox(iprp.body, fourCc("ipco"), &ipco) ||
        !findBox(content, fourCc("iloc"), &iloc) || iloc.body.size < 4)
        return false;
    Meta m;
    memset(&m, 0, sizeof m);
    m.file = whole;
    m.iloc = fullBoxContent(iloc.body);
    m.ilocVersion = iloc.body.data[0];
    if (findBox(content, fourCc("idat"), &idat)) m.idat = idat.body;
    if (!indexLocations(&m)) {
        free(m.locations);
        return false;
    }

    size_t offset = 0;
    Box property;
    while (nextBox(ipco.body, &offset, &property)) ++m.propertyCount;
    m.properties = static_cast<Box*>(calloc(m.propertyCount + 1, sizeof(Box)));
    if (m.properties == nullptr) {
        free(m.locations);
        return false;
    }
    offset = 0;
    for (size_t i = 0; i < m.propertyCount; ++i) nextBox(ipco.body, &offset, &m.properties[i]);

    // Every ipma box of iprp: items may be described in more than one. The reading here stays
    // in proportion to the file: more NAL units or OBUs than one per 4 bytes of it can only be
    // items sharing their data, each reading it again, and such a file is refused.
    bool ok = true, any = false;
    size_t visits = size / 4 + 64;
    offset = 0;
    while (ok && nextBox(iprp.body, &offset, &ipma)) {
        if (ipma.type != fourCc("ipma")) continue;
        any = true;
        ok = checkAssociations(m, ipma.body, codedPixels, &visits);
    }
    free(m.properties);
    free(m.locations);
    return ok && any;
}

} // namespace imaging
