// The real program on two monitors, as Wine lists a display of two Xinerama screens, a landscape
// one and a portrait one: one composed desktop as large as the virtual screen, set as spanning
// the monitors, each monitor's region its picture in its mode, each monitor changing on its own
// picture's time to a picture of its own shape, and Next wallpaper on this monitor from the
// icon's menu and from its hotkey.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "muralto_files.h"
#include "muralto_run.h"
#include "tray_menu.h"
#include "test_bitmaps.h"
#include "waiting.h"

namespace {

// The screens scripts/with-two-monitors makes: 1280 x 1024, the primary, and 768 x 1024 right
// of it.
const RECT kPrimary = {0, 0, 1280, 1024}, kSecond = {1280, 0, 2048, 1024};
const DWORD kChangeDeadline = 60 * 1000; // a start and a few seconds, on two busy cores

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<RECT>*>(list)->push_back(info.rcMonitor);
    return TRUE;
}

std::string describe(const std::vector<RECT>& monitors) {
    std::string text;
    for (const RECT& r : monitors)
        text += " " + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
                std::to_string(r.right) + "," + std::to_string(r.bottom);
    return text;
}

// The composed file read while the program may be replacing it: opened with every share, so
// that the reading never holds up the program's replacement.
testing_support::BitmapPixels readComposed(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[1 << 16];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return testing_support::bitmapPixels(bytes);
}

const uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00, kBlack = 0;

TEST(TwoMonitors, EachMonitorShowsItsPictureInItsModeForItsOwnTime) {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_EQ(2u, monitors.size()) << "Wine lists" << describe(monitors);
    ASSERT_TRUE(EqualRect(&monitors[0], &kPrimary) && EqualRect(&monitors[1], &kSecond))
        << describe(monitors);

    // Red on the primary for 2 s (3 ticks) in fill, cut at the sides; green on the portrait one
    // for a minute in fit: 512 x 1024 between bars of 128; then, in table order, the landscape
    // blue on the primary and the portrait yellow on the second, each skipping the other shape.
    e2e::removeDataFolder();
    e2e::configure({0, 0, 0, 0}, {{0, "red.jpg", 2, 4, 800, 400},
                                  {1, "green.jpg", 60, 3, 300, 600},
                                  {2, "blue.jpg", 60, 2, 64, 48},
                                  {3, "grey.jpg", 60, 0, 64, 48},
                                  {4, "yellow.jpg", 60, 3, 200, 400}});
    const struct {
        int number, width, height;
        uint32_t rgb;
    } pictures[] = {{0, 800, 400, kRed},
                    {1, 300, 600, kGreen},
                    {2, 64, 48, kBlue},
                    {3, 64, 48, 0x808080},
                    {4, 200, 400, kYellow}};
    for (const auto& p : pictures)
        ASSERT_TRUE(testing_support::writeBytes(
            e2e::wallpaperPath(p.number),
            testing_support::bitmapFileBytes(p.width, p.height, p.rgb)));
    const std::string composedPath = e2e::dataFolder() + "\\MUDesktop.bmp";

    e2e::MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    testing_support::BitmapPixels desktop;
    ASSERT_TRUE(e2e::waitUntil(
        [&] {
            desktop = readComposed(composedPath);
            return desktop.width > 0;
        },
        kChangeDeadline))
        << "no composed desktop at " << composedPath;
    ASSERT_EQ(2048, desktop.width) << "the virtual screen";
    ASSERT_EQ(1024, desktop.height);
    const struct {
        int x, y;
        uint32_t rgb;
        const char* where;
    } samples[] = {
        {0, 0, kRed, "primary, top left"},
        {1279, 1023, kRed, "primary, bottom right"},
        {1280 + 384, 512, kGreen, "second, middle"},
        {1280 + 128, 0, kGreen, "second, picture's top left"},
        {1280 + 127, 512, kBlack, "second, left bar"},
        {1280 + 640, 1023, kBlack, "second, right bar"},
    };
    for (const auto& s : samples)
        EXPECT_EQ(s.rgb, desktop.rgbAt(s.x, s.y)) << s.where << " (" << s.x << ", " << s.y << ")";
    EXPECT_EQ(composedPath, e2e::desktopValue("Wallpaper"));
    EXPECT_EQ("22", e2e::desktopValue("WallpaperStyle")) << "span";
    EXPECT_EQ("0", e2e::desktopValue("TileWallpaper"));

    // The primary's picture is up after 3 ticks; the second's minute is not.
    ASSERT_TRUE(e2e::waitUntil(
        [&] {
            testing_support::BitmapPixels now = readComposed(composedPath);
            if (now.width != 2048) return false;
            desktop = now;
            return desktop.rgbAt(640, 512) != kRed;
        },
        kChangeDeadline))
        << "the primary kept its picture: " << std::hex << desktop.rgbAt(640, 512);
    EXPECT_EQ(kBlue, desktop.rgbAt(640, 512)) << "the primary takes the next picture";
    EXPECT_EQ(kGreen, desktop.rgbAt(1280 + 384, 512)) << "the second keeps its own";

    // Next wallpaper on this monitor, the menu opened over the portrait one: only it changes.
    ASSERT_TRUE(SetCursorPos(1280 + 384, 512));
    HWND menu = e2e::openTrayMenu(run.window(), run.processId());
    ASSERT_TRUE(menu != nullptr && e2e::chooseEntry(menu, e2e::NEXT_ON_THIS_MONITOR));
    ASSERT_TRUE(e2e::waitUntil(
        [&] {
            desktop = readComposed(composedPath);
            return desktop.width == 2048 && desktop.rgbAt(1280 + 384, 512) != kGreen;
        },
        kChangeDeadline));
    EXPECT_EQ(kYellow, desktop.rgbAt(1280 + 384, 512)) << "the next portrait picture";
    EXPECT_EQ(kBlue, desktop.rgbAt(640, 512)) << "the primary keeps its own";

    // Its hotkey, the pointer over the primary: only the primary changes, to the grey picture.
    const WPARAM kNextOnMonitorHotkey = 3;
    ASSERT_TRUE(SetCursorPos(640, 512));
    ASSERT_TRUE(run.post(WM_HOTKEY, kNextOnMonitorHotkey, 0));
    ASSERT_TRUE(e2e::waitUntil(
        [&] {
            desktop = readComposed(composedPath);
            return desktop.width == 2048 && desktop.rgbAt(640, 512) != kBlue;
        },
        kChangeDeadline));
    EXPECT_EQ(0x808080u, desktop.rgbAt(640, 512)) << "the next landscape picture";
    EXPECT_EQ(kYellow, desktop.rgbAt(1280 + 384, 512)) << "the second keeps its own";

    // Quit keeps which picture each monitor shows, grey (class 3) and yellow (class 4), and
    // which monitor each is.
    run.clickLater(e2e::QUIT);
    ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end after Quit";
    const e2e::SavedConfiguration saved = e2e::readConfiguration();
    std::string shows = saved.value("SYSTEM", "monitorShows");
    EXPECT_EQ("3:", shows.substr(0, 2)) << shows;
    EXPECT_NE(std::string::npos, shows.find(",4:")) << shows;
    const std::string ids = saved.value("SYSTEM", "monitorIds");
    EXPECT_TRUE(ids.size() == 17 && ids.substr(0, 8) != ids.substr(9)) << "two names: " << ids;
}

} // namespace
