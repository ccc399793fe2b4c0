// Starting with and without wallpapers, and living in the notification area.
#include <string.h>

#include <algorithm>
#include <iterator>

#include "desktop_settings.h"
#include "journey.h"

namespace e2e {
namespace {

using testing_support::desktopValue;

const int kEditingControls[] = {LIST, TIME, MODE, DELETE_ONE, DELETE_ALL, HIDE, APPLY_ALL};
const int kAlwaysEnabled[] = {ADD, ABOUT, WEB_PAGE, QUIT, RANDOM, START_CHANGE, LANGUAGE};

// Wine's task bar keeps a tooltip tool for every icon it was ever given, so an icon added with
// the right tip shows as one more tool with that text.
std::string tipList() {
    std::string list;
    for (const std::string& tip : notificationTips()) list += " \"" + tip + "\"";
    return list.empty() ? " none" : list;
}

std::string disabledOnes(const MuraltoRun& run, const int* ids, size_t count, bool wanted) {
    std::string wrong;
    for (size_t i = 0; i < count; ++i)
        if (run.enabled(ids[i]) != wanted) wrong += " " + std::to_string(ids[i]);
    return wrong;
}

class FirstStart : public Journey {};

TEST_F(FirstStart, ShowsTheWindowWithOnlyAddingPossibleAndAnEmptyCounter) {
    long tipsBefore = tipCount(kMainCaption);
    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow()) << "no main window";
    EXPECT_TRUE(waitUntil([&] { return run.visible(); })) << "the window stays hidden";
    EXPECT_TRUE(folderExists(dataFolder()));
    EXPECT_TRUE(folderExists(previewFolder()));

    std::string stillEnabled;
    EXPECT_TRUE(waitUntil([&] {
        stillEnabled = disabledOnes(run, kEditingControls, std::size(kEditingControls), false);
        return stillEnabled.empty();
    })) << "still enabled:"
        << stillEnabled;
    EXPECT_EQ("", disabledOnes(run, kAlwaysEnabled, std::size(kAlwaysEnabled), true))
        << "(the disabled ones)";
    EXPECT_EQ(counterText(0), run.text(COUNTER));
    EXPECT_TRUE(run.checked(RANDOM)) << "random changes are the default";
    EXPECT_FALSE(run.checked(START_CHANGE));
    EXPECT_EQ(0, run.rowCount());
    EXPECT_EQ("Nom(s)", run.columnTitle(0));
    EXPECT_EQ("Taille(s)", run.columnTitle(1));
    EXPECT_TRUE(waitUntil([&] { return run.trayIconShown(); })) << "no notification icon";
    EXPECT_TRUE(waitUntil([&] { return tipCount(kMainCaption) > tipsBefore; }))
        << "no icon with the tip " << kMainCaption << "; tips:" << tipList();

    quitWithButton(run);
    EXPECT_FALSE(fileExists(iniPath())) << "an empty table wrote a configuration";
    EXPECT_TRUE(filesIn(dataFolder()).empty());
}

// A change is kept as it is made, the table empty or not.
TEST_F(FirstStart, AConfigurationWithoutWallpapersShowsTheWindowAndKeepsAChange) {
    SystemSettings settings;
    settings.randomWall = 0;
    settings.startWall = 1;
    configure(settings, {});

    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    EXPECT_TRUE(waitUntil([&] { return run.visible(); })) << "the window stays hidden";
    EXPECT_FALSE(run.checked(RANDOM));
    EXPECT_TRUE(run.checked(START_CHANGE));

    // The file is read only once the program has ended: a reader holding it open could refuse
    // the save that replaces it.
    run.click(RANDOM);
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the click";
    quitWithButton(run);
    EXPECT_EQ("1", readConfiguration().value("SYSTEM", "randomWall"));
    EXPECT_EQ(0, readConfiguration().wallpaperClasses());
}

class Tray : public Journey {};

TEST_F(Tray, WithWallpapersTheWindowStaysHiddenUntilTheIconIsUsed) {
    std::vector<Wallpaper> wallpapers = threeWallpapers();
    configure(SystemSettings(), wallpapers);

    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow()) << "no main window";
    // Once a refresh tick has run, the start is over: it would have shown the window by then.
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick";
    EXPECT_FALSE(run.visible()) << "the window showed itself";
    EXPECT_TRUE(waitUntil([&] { return run.trayIconShown(); })) << "no notification icon";

    ASSERT_EQ(3, run.rowCount());
    for (int row = 0; row < 3; ++row) {
        const Wallpaper& w = wallpapers[row];
        EXPECT_EQ(w.title, run.cell(row, 0)) << "row " << row;
        EXPECT_EQ(std::to_string(w.width) + "x" + std::to_string(w.height), run.cell(row, 1))
            << "row " << row;
    }

    // A left click on the icon brings the window back.
    run.post(WM_TRAYICON, 1, WM_LBUTTONUP);
    EXPECT_TRUE(waitUntil([&] { return run.visible(); })) << "WM_TRAYICON did not show it";
    EXPECT_TRUE(waitUntil([&] { return run.text(COUNTER) == counterText(3); }))
        << run.text(COUNTER);
    const int editing[] = {LIST, TIME, MODE, DELETE_ALL, HIDE, APPLY_ALL};
    std::string disabled;
    EXPECT_TRUE(waitUntil([&] {
        disabled = disabledOnes(run, editing, std::size(editing), true);
        return disabled.empty();
    })) << "disabled:"
        << disabled;
    EXPECT_FALSE(run.enabled(DELETE_ONE)) << "Delete without a selected row";

    run.click(HIDE);
    EXPECT_TRUE(waitUntil([&] { return !run.visible(); })) << "Reduire left the window shown";
    EXPECT_TRUE(run.trayIconShown());
    run.post(WM_TRAYICON, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(waitUntil([&] { return run.visible(); })) << "the icon did not bring it back";

    quitWithButton(run);
}

TEST_F(Tray, TheIconComesBackWhenTheTaskBarIsCreatedAgain) {
    configure(SystemSettings(), threeWallpapers());
    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    ASSERT_TRUE(waitUntil([&] { return run.trayIconShown(); })) << "no notification icon";

    // A restarting shell forgets every icon, then tells all windows it is back.
    ASSERT_TRUE(run.dropTrayIcon());
    ASSERT_FALSE(run.trayIconShown());
    long tipsBefore = tipCount(kMainCaption);
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, kPatience,
                        &ignored);
    EXPECT_TRUE(waitUntil([&] { return run.trayIconShown(); })) << "the icon was not added again";
    EXPECT_TRUE(waitUntil([&] { return tipCount(kMainCaption) > tipsBefore; }))
        << "the new icon has not the tip " << kMainCaption << "; tips:" << tipList();
    EXPECT_FALSE(run.visible()) << "the broadcast showed the window";
    quitWithButton(run);
}

// While Muralto runs, its hotkeys are its own: another program cannot take them, and can
// once it has quit. The icon's tip names the picture on display, whatever its letters.
TEST_F(Tray, TheHotkeysAreHeldWhileItRunsAndTheTipNamesThePictureOnDisplay) {
    const std::string title = u8"Закат над Байкалом, 富士山と夜景の写真.jpg";
    configure(SystemSettings(), {{0, "Zakat.jpg", 15, 0}});
    std::string ini = iniText(SystemSettings(), {{0, "Zakat.jpg", 15, 0}});
    const std::string original = "original = Zakat.jpg\n";
    ini.insert(ini.find(original) + original.size(), "titleUtf8 = " + title + "\n");
    writeIni(ini);

    // The shell may keep the tips of icons gone (an earlier run of this test): a new one counts.
    const std::string tip = std::string(kMainCaption) + "\n" + title;
    auto tipsNamingIt = [&] {
        std::vector<std::string> tips = notificationTips();
        return std::count(tips.begin(), tips.end(), tip);
    };
    const auto tipsBefore = tipsNamingIt();
    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    ASSERT_TRUE(waitUntil([&] { return tipsNamingIt() > tipsBefore; })) << "tips:" << tipList();

    const UINT modifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
    const UINT keys[] = {'N', 'B', 'P', 'M'};
    for (UINT key : keys) {
        EXPECT_TRUE(waitUntil([&] {
            const bool free = RegisterHotKey(nullptr, static_cast<int>(key), modifiers, key);
            if (free) UnregisterHotKey(nullptr, static_cast<int>(key));
            return !free;
        })) << "Ctrl+Alt+Shift+"
            << static_cast<char>(key) << " was free";
    }
    ASSERT_TRUE(run.post(WM_CLOSE, 0, 0));
    ASSERT_TRUE(run.waitForExit());
    for (UINT key : keys) {
        EXPECT_TRUE(RegisterHotKey(nullptr, static_cast<int>(key), modifiers, key))
            << "Ctrl+Alt+Shift+" << static_cast<char>(key) << " still held";
        UnregisterHotKey(nullptr, static_cast<int>(key));
    }
}

// The window in another process's thread that has the keyboard focus.
HWND focused(const MuraltoRun& run) {
    GUITHREADINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(run.window(), nullptr), &info);
    return info.hwndFocus;
}

void press(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// The window works from the keyboard (Tab, Delete in the list, Escape), is not top-most, and its
// minimise box hides it to the notification area, where the changes go on; the icon brings it
// back restored.
TEST_F(Tray, TheKeyboardAndTheMinimiseBoxWorkAsInEveryWindowsProgram) {
    std::vector<Wallpaper> wallpapers = threeWallpapers();
    for (Wallpaper& w : wallpapers) w.showTime = 0;
    configure(SystemSettings(), wallpapers);
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    EXPECT_EQ(0, GetWindowLongA(run.window(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "top-most";

    // Tab goes from control to control, and reaches the list.
    ASSERT_TRUE(waitUntil([&] { return focused(run) != nullptr; })) << "no focus";
    HWND last = nullptr;
    for (int tab = 0; tab < 30 && focused(run) != run.control(LIST); ++tab) {
        last = focused(run);
        press(last, VK_TAB);
        ASSERT_TRUE(waitUntil([&] { return focused(run) != last; })) << "Tab left the focus";
    }
    ASSERT_EQ(run.control(LIST), focused(run)) << "Tab never reached the list";

    // Delete in the list deletes the selected picture, and the next one is selected.
    run.selectRow(1);
    press(run.control(LIST), VK_DELETE);
    EXPECT_TRUE(waitUntil([&] { return run.rowCount() == 2 && run.selectedRow() == 1; }))
        << run.rowCount() << " rows, row " << run.selectedRow() << " selected";
    EXPECT_EQ(wallpapers[2].title, run.cell(1, 0));

    press(run.control(LIST), VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !run.visible(); })) << "Escape left the window shown";
    run.post(WM_TRAYICON, 1, WM_LBUTTONUP);
    ASSERT_TRUE(waitUntil([&] { return run.visible(); }));

    run.post(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(waitUntil([&] { return !run.visible(); })) << "the minimise box left it shown";
    const std::string before = desktopValue("Wallpaper");
    EXPECT_TRUE(waitUntil([&] { return desktopValue("Wallpaper") != before; }))
        << "no change while minimised";
    run.post(WM_TRAYICON, 1, WM_LBUTTONUP);
    EXPECT_TRUE(waitUntil([&] { return run.visible() && !IsIconic(run.window()); }))
        << "not brought back restored";
    quitWithButton(run);
}

} // namespace
} // namespace e2e
