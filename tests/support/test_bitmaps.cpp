#include "test_bitmaps.h"

namespace testing_support {

namespace {

void put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint32_t get(const std::string& in, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(in[at + i]);
    return value;
}

int rowStride(int width) { return (3 * width + 3) / 4 * 4; }

} // namespace

BitmapPixels bitmapPixels(const std::string& fileBytes) {
    BitmapPixels pixels;
    if (fileBytes.size() < 54 || get(fileBytes, 0, 2) != 0x4D42 || get(fileBytes, 28, 2) != 24)
        return pixels;
    int width = static_cast<int>(get(fileBytes, 18, 4));
    int height = static_cast<int>(get(fileBytes, 22, 4));
    if (width <= 0 || height <= 0 ||
        fileBytes.size() < 54 + static_cast<size_t>(rowStride(width)) * height)
        return pixels;
    pixels.width = width, pixels.height = height, pixels.file = fileBytes;
    return pixels;
}

uint32_t BitmapPixels::rgbAt(int x, int y) const {
    return get(file, 54 + static_cast<size_t>(rowStride(width)) * (height - 1 - y) + 3 * x, 3);
}

std::string bitmapFileBytes(int width, int height, uint32_t rgb) {
    return bitmapFileBytes(width, height, [rgb](int, int) { return rgb; });
}

std::string bitmapFileBytes(int width, int height,
                            const std::function<uint32_t(int x, int y)>& rgbAt) {
    int stride = (3 * width + 3) / 4 * 4;
    std::string out;
    put(out, 0x4D42, 2);
    put(out, 54 + stride * height, 4);
    put(out, 0, 4);
    put(out, 54, 4);
    put(out, 40, 4);
    put(out, width, 4);
    put(out, height, 4);
    put(out, 1, 2);
    put(out, 24, 2);
    for (int i = 0; i < 6; ++i) put(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {                       // rows bottom up
        for (int x = 0; x < width; ++x) put(out, rgbAt(x, y), 3); // blue, green, red
        out.append(stride - 3 * width, '\0');
    }
    return out;
}

} // namespace testing_support
