// Writes the README's composed desktop: a wide monitor with a landscape picture in fill and a
// smaller one to its right with a portrait picture in fit. Built natively on request:
//   cmake --build build/native --target make_desktop_picture
//   build/native/tests/imaging/make_desktop_picture docs/composed-desktop.png
#include <png.h>
#include <stdio.h>

#include "desktop_composition.h"
#include "imaging_fixture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_desktop_picture FILE.png\n");
        return 2;
    }
    const imaging::ScreenRect monitors[] = {{0, 0, 512, 288}, {512, 48, 240, 180}};
    const Picture landscape = photoLike(900, 400), portrait = zonePlate(300, 420, 4);
    std::vector<uint8_t> first = bgrOf(landscape), second = bgrOf(portrait);
    imaging::ScreenRect screen = imaging::virtualScreen(monitors, 2);
    // Grey where no monitor is, so that the fit picture's black bars show.
    std::vector<uint8_t> desktop(size_t(screen.width) * screen.height * 3, 0x60);
    imaging::DesktopCanvas canvas = {desktop.data(),   screen.width, screen.height,
                                     3 * screen.width, screen.left,  screen.top};
    imaging::PixelsView fill = {first.data(), 900, 400, 900 * 3};
    imaging::PixelsView fit = {second.data(), 300, 420, 300 * 3};
    if (!imaging::drawMonitor(canvas, monitors[0], fill, imaging::kPlaceFill) ||
        !imaging::drawMonitor(canvas, monitors[1], fit, imaging::kPlaceFit)) {
        fprintf(stderr, "make_desktop_picture: the desktop could not be composed\n");
        return 1;
    }
    PngImage image = {
        uint32_t(screen.width), uint32_t(screen.height), PNG_COLOR_TYPE_RGB, 8, false, {}, {}, -1};
    for (size_t i = 0; i < desktop.size(); i += 3)
        image.samples.insert(image.samples.end(), {desktop[i + 2], desktop[i + 1], desktop[i]});
    if (!writePng(argv[1], image)) {
        fprintf(stderr, "make_desktop_picture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
