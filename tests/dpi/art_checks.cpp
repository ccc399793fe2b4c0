#include "art_checks.h"

#include <math.h>
#include <stdlib.h>

namespace e2e {

namespace {

// Pixels dark enough to be the monitor's body or the banner's ink, not the dialog's face, the
// monitor's metal foot or the banner's light background.
const int kDarkLevel = 100;
const uint32_t kLipColour = 0x0E0F12; // the thin black frame round the monitor's glass
const double kScaleTolerance = 0.06;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom excluded
    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    void add(int x, int y) {
        if (empty()) {
            *this = {x, y, x + 1, y + 1};
            return;
        }
        if (x < left) left = x;
        if (y < top) top = y;
        if (x + 1 > right) right = x + 1;
        if (y + 1 > bottom) bottom = y + 1;
    }
    std::string describe() const {
        return "(" + std::to_string(left) + "," + std::to_string(top) + ")-(" +
               std::to_string(right) + "," + std::to_string(bottom) + ")";
    }
};

int level(uint32_t rgb) {
    return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3;
}

bool within(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
            tolerance)
            return false;
    return true;
}

// The region of the shot in its own pixels, clipped to it.
RECT inShot(const Screenshot& shot, RECT screen) {
    RECT r = {screen.left - shot.origin.x, screen.top - shot.origin.y, screen.right - shot.origin.x,
              screen.bottom - shot.origin.y};
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    if (r.right > shot.width) r.right = shot.width;
    if (r.bottom > shot.height) r.bottom = shot.height;
    return r;
}

template <typename Test> Box boxOf(const Screenshot& shot, RECT r, Test test) {
    Box box;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (test(shot.at(x, y))) box.add(x, y);
    return box;
}

Box darkBox(const Screenshot& shot, RECT r) {
    return boxOf(shot, r, [](uint32_t rgb) { return level(rgb) < kDarkLevel; });
}

RECT whole(const Screenshot& shot) { return {0, 0, shot.width, shot.height}; }

std::string scaleProblem(const char* what, double scale, int dpi) {
    double want = dpi / 96.0;
    if (fabs(scale - want) <= kScaleTolerance * want) return "";
    char line[160];
    snprintf(line, sizeof line, "%s drawn at %.3f times its 1x size, not %.3f\n", what, scale,
             want);
    return line;
}

} // namespace

Screenshot resourceBitmap(const std::string& module, int id) {
    Screenshot art;
    HMODULE file = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (file == nullptr) return art;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(file, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP facts;
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof facts, &facts) == sizeof facts) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = facts.bmWidth;
        info.bmiHeader.biHeight = -facts.bmHeight; // top down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        art.pixels.resize(static_cast<size_t>(facts.bmWidth) * facts.bmHeight);
        HDC screen = GetDC(nullptr);
        if (GetDIBits(screen, bitmap, 0, facts.bmHeight, art.pixels.data(), &info,
                      DIB_RGB_COLORS) == facts.bmHeight) {
            art.width = facts.bmWidth;
            art.height = facts.bmHeight;
            for (uint32_t& pixel : art.pixels) pixel &= 0xFFFFFF;
        } else {
            art.pixels.clear();
        }
        ReleaseDC(nullptr, screen);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    FreeLibrary(file);
    return art;
}

bool previewShows(const Screenshot& shot, RECT region, uint32_t previewColour) {
    return !boxOf(shot, inShot(shot, region), [&](uint32_t rgb) {
                return rgb == previewColour;
            }).empty();
}

std::string monitorProblems(const Screenshot& shot, RECT region, const Screenshot& monitor1x,
                            uint32_t previewColour, int dpi) {
    if (monitor1x.empty()) return "the 1x monitor bitmap is unreadable\n";
    Box body1x = darkBox(monitor1x, whole(monitor1x));
    Box lip1x =
        boxOf(monitor1x, whole(monitor1x), [](uint32_t rgb) { return within(rgb, kLipColour, 2); });
    Box glass1x = {lip1x.left + 1, lip1x.top + 1, lip1x.right - 1, lip1x.bottom - 1};
    if (body1x.empty() || glass1x.width() != 151 || glass1x.height() != 112)
        return "the 1x monitor has no body or no 151 x 112 glass: body " + body1x.describe() +
               ", glass " + glass1x.describe() + "\n";

    RECT r = inShot(shot, region);
    Box body = darkBox(shot, r);
    if (body.empty())
        return "no monitor in " + Box{r.left, r.top, r.right, r.bottom}.describe() + "\n";
    double sx = static_cast<double>(body.width()) / body1x.width();
    double sy = static_cast<double>(body.height()) / body1x.height();
    std::string problems = scaleProblem("the monitor's width is", sx, dpi) +
                           scaleProblem("the monitor's height is", sy, dpi);

    Box preview = boxOf(shot, r, [&](uint32_t rgb) { return rgb == previewColour; });
    if (preview.empty()) return problems + "no preview on the monitor\n";
    int holes = 0;
    for (int y = preview.top; y < preview.bottom; ++y)
        for (int x = preview.left; x < preview.right; ++x)
            if (shot.at(x, y) != previewColour) ++holes;
    if (holes > 0)
        problems += "the preview " + preview.describe() +
                    " is not one rectangle: " + std::to_string(holes) +
                    " pixels of it are another colour\n";

    Box glass = {body.left + static_cast<int>(lround((glass1x.left - body1x.left) * sx)),
                 body.top + static_cast<int>(lround((glass1x.top - body1x.top) * sy)),
                 body.left + static_cast<int>(lround((glass1x.right - body1x.left) * sx)),
                 body.top + static_cast<int>(lround((glass1x.bottom - body1x.top) * sy))};
    int tolerance = static_cast<int>(ceil(sx > sy ? sx : sy)) + 1;
    if (abs(preview.left - glass.left) > tolerance || abs(preview.top - glass.top) > tolerance ||
        abs(preview.right - glass.right) > tolerance ||
        abs(preview.bottom - glass.bottom) > tolerance)
        problems += "the preview " + preview.describe() + " is not on the glass " +
                    glass.describe() + " of the monitor " + body.describe() + " (tolerance " +
                    std::to_string(tolerance) + " pixels)\n";
    return problems;
}

std::string bannerProblems(const Screenshot& shot, HWND control, const Screenshot& banner1x,
                           int dpi) {
    if (control == nullptr) return "no banner control\n";
    if (banner1x.empty()) return "the 1x banner bitmap is unreadable\n";
    RECT client;
    GetClientRect(control, &client);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Box ink1x = darkBox(banner1x, whole(banner1x));
    Box ink = darkBox(shot, inShot(shot, client));
    if (ink.empty()) return "nothing drawn in the banner's control\n";
    return scaleProblem("the banner's width is", static_cast<double>(ink.width()) / ink1x.width(),
                        dpi) +
           scaleProblem("the banner's height is",
                        static_cast<double>(ink.height()) / ink1x.height(), dpi);
}

} // namespace e2e
