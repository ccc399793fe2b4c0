#include "test_bitmaps.h"

namespace testing_support {

namespace {

void put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

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
