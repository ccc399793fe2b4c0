// The About box: modal over the main window, and closed only by its "&Ok" button.
#include "journey.h"
#include "options.h"
#include "resource.h"
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

    HWND ok = GetDlgItem(box, IDC_ABOUT_OK);
    EXPECT_EQ("&Ok", windowText(ok));
    std::string texts = childTexts(box);
    for (const char* line :
         {"Muralto version 2.0.0.1", "Wallpaper sequencer", "for Windows 95/98/ME/2000 and XP."})
        EXPECT_NE(std::string::npos, texts.find(line)) << line << " not in:\n" << texts;
    // Each attempt is posted. A state change of the OK button posted after it shows once the
    // box has handled the attempt: whatever would close the box has closed it by then.
    auto staysOpen = [&] {
        PostMessageA(ok, BM_SETSTATE, TRUE, 0);
        waitUntil([&] {
            return !IsWindowVisible(box) || (ask(ok, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        });
        if (IsWindowVisible(box)) ask(ok, BM_SETSTATE, FALSE, 0);
        return IsWindow(box) && IsWindowVisible(box);
    };
    PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(ok, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    EXPECT_TRUE(staysOpen()) << "Escape closed it";
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(staysOpen()) << "IDCANCEL closed it";
    PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(staysOpen()) << "its close box closed it";
    PostMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(staysOpen()) << "WM_CLOSE closed it";
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());

    // The README's picture, not a check: the box has long painted by now.
    savePng(capture(box), options.screenshotFolder + "\\about-box.png");
    PostMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); })) << "&Ok did not close it";
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(run.window()) != 0; }));
    EXPECT_TRUE(run.visible());
    quitWithButton(run);
}

} // namespace
} // namespace e2e
