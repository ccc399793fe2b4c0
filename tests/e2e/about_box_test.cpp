// The About box: modal over the main window, and closed only by its "&Ok" button.
#include "journey.h"
#include "options.h"
#include "screenshot.h"

namespace e2e {
namespace {

const char kAboutCaption[] = "\xC0 propos de Muralto...";

BOOL CALLBACK collectText(HWND child, LPARAM param) {
    *reinterpret_cast<std::string*>(param) += windowText(child) + "\n";
    return TRUE;
}

std::string childTexts(HWND window) {
    std::string texts;
    EnumChildWindows(window, collectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

class AboutBox : public Journey {};

TEST_F(AboutBox, ClosesWithOkButNotWithEscapeOrItsCloseBox) {
    configure(SystemSettings(), threeWallpapers());
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    run.clickLater(ABOUT);
    HWND box = run.findDialog(kAboutCaption);
    ASSERT_NE(nullptr, box) << "no About box";
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(box) != 0; }));
    EXPECT_EQ(run.window(), GetWindow(box, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(run.window())) << "the About box is not modal";

    // Not centred: its template position 0, 0 puts its client area at the main window's.
    POINT mainClient = {0, 0}, boxClient = {0, 0};
    ClientToScreen(run.window(), &mainClient);
    ClientToScreen(box, &boxClient);
    EXPECT_EQ(mainClient.x, boxClient.x);
    EXPECT_EQ(mainClient.y, boxClient.y);

    HWND ok = GetDlgItem(box, 1000);
    EXPECT_EQ("&Ok", windowText(ok));
    std::string texts = childTexts(box);
    for (const char* line :
         {"Muralto version 2.0.0.1", "Wallpaper sequencer", "for Windows 95/98/ME/2000 and XP."})
        EXPECT_NE(std::string::npos, texts.find(line)) << line << " not in:\n" << texts;
    Sleep(kFewTicks);
    EXPECT_TRUE(savePng(capture(box), options.screenshotFolder + "\\about-box.png"));

    auto staysOpen = [&] { return IsWindow(box) && IsWindowVisible(box); };
    PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(ok, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    EXPECT_TRUE(holdsFor(staysOpen, 500)) << "Escape closed it";
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(holdsFor(staysOpen, 300)) << "IDCANCEL closed it";
    PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(holdsFor(staysOpen, 300)) << "its close box closed it";
    PostMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(holdsFor(staysOpen, 300)) << "WM_CLOSE closed it";
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());

    PostMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); })) << "&Ok did not close it";
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(run.window()) != 0; }));
    EXPECT_TRUE(run.visible());
    quitWithButton(run);
}

} // namespace
} // namespace e2e
