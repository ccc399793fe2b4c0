#include "screenshot.h"

#include <stdio.h>
#include <zlib.h>

namespace e2e {

namespace {

void putBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    out += typed;
    uLong crc =
        crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
    putBigEndian(out, static_cast<uint32_t>(crc));
}

} // namespace

uint32_t Screenshot::atScreen(POINT point) const {
    int x = point.x - origin.x, y = point.y - origin.y;
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFF000000;
    return at(x, y);
}

Screenshot capture(HWND window) {
    Screenshot shot;
    RECT frame;
    if (!GetWindowRect(window, &frame)) return shot;
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) return shot;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, dib);
    bool copied = BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top,
                         SRCCOPY | CAPTUREBLT) != 0;
    GdiFlush();
    if (copied && bits != nullptr) {
        const uint32_t* source = static_cast<const uint32_t*>(bits);
        shot.width = width;
        shot.height = height;
        shot.origin = {frame.left, frame.top};
        shot.pixels.assign(source, source + static_cast<size_t>(width) * height);
        for (uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(dib);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool savePng(const Screenshot& shot, const std::string& path) {
    if (shot.empty()) return false;
    // Rows of filter type 0 (none), then red, green, blue.
    std::string raw;
    raw.reserve(static_cast<size_t>(shot.height) * (1 + 3 * shot.width));
    for (int y = 0; y < shot.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < shot.width; ++x) {
            uint32_t pixel = shot.at(x, y);
            raw.push_back(static_cast<char>(pixel >> 16));
            raw.push_back(static_cast<char>(pixel >> 8));
            raw.push_back(static_cast<char>(pixel));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::string header;
    putBigEndian(header, static_cast<uint32_t>(shot.width));
    putBigEndian(header, static_cast<uint32_t>(shot.height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, truecolour, deflate, no interlace
    std::string png("\x89PNG\r\n\x1A\n", 8);
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", "");

    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && ok;
}

} // namespace e2e
