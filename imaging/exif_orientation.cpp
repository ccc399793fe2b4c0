#include "exif_orientation.h"

#include <string.h>

namespace imaging {

namespace {

const uint8_t kExifPrefix[6] = {'E', 'x', 'i', 'f', 0, 0};
const uint16_t kOrientationTag = 0x0112;
const uint16_t kShortType = 3;
const uint64_t kEntryBytes = 12;

struct Block {
    const uint8_t* bytes;
    uint64_t size;
    bool bigEndian;
};

// Both read only what the caller has checked lies inside the block.
uint16_t read16(const Block& block, uint64_t at) {
    const uint8_t* p = block.bytes + at;
    return block.bigEndian ? static_cast<uint16_t>(p[0] << 8 | p[1])
                           : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

uint32_t read32(const Block& block, uint64_t at) {
    uint32_t high = read16(block, block.bigEndian ? at : at + 2);
    uint32_t low = read16(block, block.bigEndian ? at + 2 : at);
    return high << 16 | low;
}

bool hasPrefix(const uint8_t* bytes, size_t size) {
    return size >= sizeof kExifPrefix && memcmp(bytes, kExifPrefix, sizeof kExifPrefix) == 0;
}

} // namespace

uint16_t validOrientation(uint32_t value) {
    return value >= kTopLeft && value <= kLeftBottom ? static_cast<uint16_t>(value) : kTopLeft;
}

bool swapsSides(uint16_t orientation) {
    return orientation >= kLeftTop && orientation <= kLeftBottom;
}

uint16_t exifOrientation(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr) return kTopLeft;
    if (hasPrefix(bytes, size)) {
        bytes += sizeof kExifPrefix;
        size -= sizeof kExifPrefix;
    }
    // Byte order, 42, the offset of IFD0.
    if (size < 8) return kTopLeft;
    Block block = {bytes, size, false};
    if (bytes[0] == 'M' && bytes[1] == 'M')
        block.bigEndian = true;
    else if (bytes[0] != 'I' || bytes[1] != 'I')
        return kTopLeft;
    if (read16(block, 2) != 42) return kTopLeft;

    // Sums in 64 bits: a 32-bit offset plus any count of entries cannot wrap.
    uint64_t ifd = read32(block, 4);
    if (ifd < 8 || ifd + 2 > block.size) return kTopLeft;
    uint64_t entries = read16(block, ifd);
    if (ifd + 2 + entries * kEntryBytes > block.size) return kTopLeft;
    for (uint64_t i = 0; i < entries; ++i) {
        uint64_t entry = ifd + 2 + i * kEntryBytes;
        if (read16(block, entry) != kOrientationTag) continue;
        // One SHORT, held in the first two bytes of the entry's value field.
        if (read16(block, entry + 2) != kShortType || read32(block, entry + 4) != 1)
            return kTopLeft;
        return validOrientation(read16(block, entry + 8));
    }
    return kTopLeft;
}

bool isExifSegment(const uint8_t* payload, size_t size) {
    return payload != nullptr && hasPrefix(payload, size);
}

} // namespace imaging
