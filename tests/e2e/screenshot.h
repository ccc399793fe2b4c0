// What a window shows on the screen, as pixels and as a PNG file.
#ifndef MURALTO_E2E_SCREENSHOT_H
#define MURALTO_E2E_SCREENSHOT_H

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace e2e {

struct Screenshot {
    int width = 0;
    int height = 0;
    POINT origin = {0, 0};        // screen position of the top left pixel
    std::vector<uint32_t> pixels; // 0xRRGGBB, rows top down

    bool empty() const { return pixels.empty(); }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // The pixel at a point of the screen; 0xFF000000 outside the picture.
    uint32_t atScreen(POINT point) const;
};

// Copies the window's rectangle from the screen, so that what the program painted outside
// WM_PAINT (the preview) is in it too.
Screenshot capture(HWND window);

bool savePng(const Screenshot& shot, const std::string& path);

} // namespace e2e

#endif
