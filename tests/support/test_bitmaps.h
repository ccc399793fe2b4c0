// Small 24-bit bitmap files made by the tests themselves.
#ifndef MURALTO_TEST_BITMAPS_H
#define MURALTO_TEST_BITMAPS_H

#include <stdint.h>

#include <functional>
#include <string>

namespace testing_support {

// The bytes of a width x height 24-bit bitmap file filled with one colour (0xRRGGBB).
std::string bitmapFileBytes(int width, int height, uint32_t rgb);
// The same with a colour of its own for every pixel; (0, 0) is the top left corner.
std::string bitmapFileBytes(int width, int height,
                            const std::function<uint32_t(int x, int y)>& rgbAt);

// The pixels of a 24-bit bitmap file with rows bottom up, as the program writes them; width 0
// when the bytes are not such a file.
struct BitmapPixels {
    int width = 0, height = 0;
    std::string file;
    uint32_t rgbAt(int x, int y) const; // 0xRRGGBB; (0, 0) is the top left corner
};
BitmapPixels bitmapPixels(const std::string& fileBytes);

} // namespace testing_support

#endif
