// A HEIC grid as phones store their large photos, natively only: heif-enc 1.15 writes no grid
// of more than one tile, so each tile is encoded alone by heif-enc, its hvcC box and coded data
// taken from that file, and the container is assembled here box by box.
#include "imaging_fixture.h"

namespace {

std::string u8(uint32_t v) { return std::string(1, char(v & 0xFF)); }
std::string u16(uint32_t v) { return u8(v >> 8) + u8(v); }
std::string u32(uint32_t v) { return u16(v >> 16) + u16(v); }

std::string box(const char* type, const std::string& payload) {
    return u32(uint32_t(8 + payload.size())) + type + payload;
}
std::string fullBox(const char* type, uint32_t version, uint32_t flags,
                    const std::string& payload) {
    return box(type, u8(version) + u8(flags >> 16) + u16(flags) + payload);
}

// The whole box of that type among those from `from` to the end of `bytes`; empty when there is
// none or a size runs past the end.
std::string findBox(const std::string& bytes, size_t from, const char* type) {
    while (from + 8 <= bytes.size()) {
        const auto byte = [&](size_t i) { return uint32_t(uint8_t(bytes[from + i])); };
        const uint32_t size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        if (size < 8 || size > bytes.size() - from) return {};
        if (bytes.compare(from + 4, 4, type) == 0) return bytes.substr(from, size);
        from += size;
    }
    return {};
}

struct Tile {
    std::string hvcC, data;
};

// A flat tile encoded by heif-enc as a one-picture file, whose mdat holds that picture's coded
// data alone (its iloc: one extent, the whole of mdat's payload).
bool encodeTile(const std::string& path, uint32_t side, Rgb colour, Tile* tile) {
    if (!writeHeif(path, Picture(side, side, colour), {}, {false, 8, false})) return false;
    const std::string file = testing_support::readBytes(path);
    testing_support::removeFile(path);
    const std::string iprp = findBox(findBox(file, 0, "meta"), 12, "iprp");
    tile->hvcC = findBox(findBox(iprp, 8, "ipco"), 8, "hvcC");
    const std::string mdat = findBox(file, 0, "mdat");
    tile->data = mdat.size() > 8 ? mdat.substr(8) : std::string();
    return !tile->hvcC.empty() && !tile->data.empty();
}

std::string itemInfo(uint32_t id, const char* type, bool hidden) {
    return fullBox("infe", 2, hidden ? 1 : 0, u16(id) + u16(0) + type + u8(0));
}

// The meta box for tiles 1 to n and the grid n + 1, whose coded data starts at file offset
// dataStart, tile after tile, and whose descriptor is in idat.
std::string metaBox(const HeifGrid& grid, const std::vector<Tile>& tiles, uint32_t dataStart) {
    const uint32_t n = uint32_t(tiles.size()), gridId = n + 1;
    const std::string descriptor =
        u8(0) + u8(grid.wideSizes ? 1 : 0) + u8(grid.rows - 1) + u8(grid.columns - 1) +
        (grid.wideSizes ? u32(grid.width) + u32(grid.height) : u16(grid.width) + u16(grid.height));
    // iloc version 1 (construction methods): 4-byte offsets and lengths, no base offset.
    std::string locations = u8(0x44) + u8(0) + u16(n + 1);
    std::string infos, references = u16(gridId) + u16(n), properties, associations;
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t id = i + 1;
        locations += u16(id) + u16(0) + u16(0) + u16(1) + u32(dataStart) +
                     u32(uint32_t(tiles[i].data.size()));
        dataStart += uint32_t(tiles[i].data.size());
        infos += itemInfo(id, "hvc1", true);
        references += u16(id);
        properties += tiles[i].hvcC;
        // Each tile: its own hvcC (essential), then the tiles' shared ispe, property n + 1.
        associations += u16(id) + u8(2) + u8(0x80 | id) + u8(n + 1);
    }
    locations += u16(gridId) + u16(1) + u16(0) + u16(1) + u32(0) + u32(uint32_t(descriptor.size()));
    infos += itemInfo(gridId, "grid", false);
    properties += fullBox("ispe", 0, 0, u32(grid.tileSide) + u32(grid.tileSide)) +
                  fullBox("ispe", 0, 0, u32(grid.width) + u32(grid.height));
    associations += u16(gridId) + u8(grid.turned ? 2 : 1) + u8(n + 2);
    // A quarter turn anticlockwise, a transformation and so essential.
    if (grid.turned) {
        properties += box("irot", u8(1));
        associations += u8(0x80 | (n + 3));
    }
    return fullBox("meta", 0, 0,
                   fullBox("hdlr", 0, 0, u32(0) + "pict" + std::string(13, '\0')) +
                       fullBox("pitm", 0, 0, u16(gridId)) + fullBox("iloc", 1, 0, locations) +
                       fullBox("iinf", 0, 0, u16(n + 1) + infos) +
                       fullBox("iref", 0, 0, box("dimg", references)) +
                       box("iprp", box("ipco", properties) +
                                       fullBox("ipma", 0, 0, u32(n + 1) + associations)) +
                       box("idat", descriptor));
}

} // namespace

bool writeHeifGrid(const std::string& path, const HeifGrid& grid) {
    std::vector<Tile> tiles(grid.colours.size());
    // ipma's 7-bit property indexes: at most n + 3.
    if (tiles.size() != size_t(grid.rows) * grid.columns || tiles.size() > 120) return false;
    std::string data;
    for (size_t i = 0; i < tiles.size(); ++i) {
        if (!encodeTile(path, grid.tileSide, grid.colours[i], &tiles[i])) return false;
        data += tiles[i].data;
    }
    const std::string ftyp = box("ftyp", std::string("heic") + u32(0) + "mif1" + "heic");
    // The meta box's size does not depend on the offsets it holds.
    const size_t metaSize = metaBox(grid, tiles, 0).size();
    const std::string meta = metaBox(grid, tiles, uint32_t(ftyp.size() + metaSize + 8));
    return testing_support::writeBytes(path, ftyp + meta + box("mdat", data));
}
