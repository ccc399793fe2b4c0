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

} // namespace testing_support

#endif
