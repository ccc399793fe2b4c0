// The artwork as the windows draw it at a DPI, read from screenshots: the monitor with the
// preview on its glass, and the banner, each against the 1x bitmap in the program's resources.
#ifndef MURALTO_DPI_ART_CHECKS_H
#define MURALTO_DPI_ART_CHECKS_H

#include <windows.h>

#include <stdint.h>

#include <string>

#include "screenshot.h"

namespace e2e {

// A bitmap of the module's resources as pixels (origin 0, 0); empty when it cannot be read.
Screenshot resourceBitmap(const std::string& module, int id);

// The monitor drawn in region (screen coordinates) of shot, with a preview of one colour on
// it: the monitor's dark body must span dpi / 96 times its span in monitor1x (within 6 %), and
// the preview must cover the glass, found in monitor1x by its black lip and scaled as the body
// is, to within the lip's width plus a pixel.
std::string monitorProblems(const Screenshot& shot, RECT region, const Screenshot& monitor1x,
                            uint32_t previewColour, int dpi);

// Whether a preview of that colour shows in the region at all.
bool previewShows(const Screenshot& shot, RECT region, uint32_t previewColour);

// The banner drawn in the client area of control: its dark parts (the frames and the name)
// span dpi / 96 times their span in banner1x, within 6 %.
std::string bannerProblems(const Screenshot& shot, HWND control, const Screenshot& banner1x,
                           int dpi);

} // namespace e2e

#endif
