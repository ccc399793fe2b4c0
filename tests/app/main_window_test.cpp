// The real main window in this process, its refresh ticks sent one by one: what Delete and
// Delete all leave behind for the next picture added, and the five modes of the mode box.
#include <windows.h>

#include <commctrl.h>
#include <wtsapi32.h>

#include <functional>
#include <string>
#include <vector>

#include "add_pictures.h"
#include "desktop_settings.h"
#include "hotkeys.h"
#include "interface_texts.h"
#include "kept_settings.h"
#include "main_window.h"
#include "message_box_watcher.h"
#include "program_fixture.h"
#include "resource.h"
#include "shell_drop.h"
#include "sequencer.h"
#include "folders.h"
#include "test_bitmaps.h"
#include "test_files.h"
#include "tray_icon.h"
#include "txm.h"
#include "wallpaper_list.h"

namespace {

struct Deletion {
    const char* name;
    int command;      // IDC_DELETE or IDC_DELETE_ALL
    int row;          // selected, then edited, before the command
    const char* time; // typed into the time field of that row
    int mode;
    int newSlot; // where the next import goes
};

void PrintTo(const Deletion& deletion, std::ostream* out) { *out << deletion.name; }

class MainWindowTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        appInstance = GetModuleHandleA(nullptr); // the dialog templates are in this program
        hiddenInTray = false;                    // no sequencer step in these tests
        TXM_clear(&languageStore);
        installBuiltInTexts();
        for (int slot = 0; slot < 3; ++slot) fillSlot(slot, slot);
        window =
            CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainWindowProc, 0);
        ASSERT_NE(nullptr, window);
        mainWindow = window;
        refillList(window);
        char folder[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof folder, folder);
        source = std::string(folder) + "\\" + testing_support::testFileName(".bmp");
        ASSERT_TRUE(
            testing_support::writeBytes(source, testing_support::bitmapFileBytes(8, 6, 0x2040A0)));
    }
    void TearDown() override {
        DestroyWindow(window);
        testing_support::removeFile(source);
    }

    void tick() { SendMessageA(window, WM_TIMER, REFRESH_TIMER, 0); }
    void command(int id) { SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    int rows() {
        return static_cast<int>(SendDlgItemMessageA(window, IDC_LIST, LVM_GETITEMCOUNT, 0, 0));
    }
    void selectRow(int row) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendDlgItemMessageA(window, IDC_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                            reinterpret_cast<LPARAM>(&item));
        tick();
    }
    std::string timeField() {
        char text[64] = "";
        GetDlgItemTextA(window, IDC_TIME, text, sizeof text);
        return text;
    }
    int modeBox() {
        return static_cast<int>(SendDlgItemMessageA(window, IDC_MODE, CB_GETCURSEL, 0, 0));
    }

    HWND window = nullptr;
    std::string source;
};

class DeleteThenAdd : public MainWindowTest, public ::testing::WithParamInterface<Deletion> {};

TEST_P(DeleteThenAdd, TheNewPictureStartsAtSixtySecondsCentred) {
    const Deletion& c = GetParam();
    selectRow(c.row);
    ASSERT_EQ(std::to_string(wallpaperTable[c.row].showTime), timeField());
    SetDlgItemTextA(window, IDC_TIME, c.time);
    SendDlgItemMessageA(window, IDC_MODE, CB_SETCURSEL, static_cast<WPARAM>(c.mode), 0);
    tick();
    ASSERT_EQ(c.mode, wallpaperTable[c.row].showMode) << "the edit did not reach the wallpaper";

    testing_support::MessageBoxWatcher watcher; // Delete all asks first: Yes
    command(c.command);
    tick();
    EXPECT_EQ("", timeField()) << "the deleted wallpaper's time is still shown";

    memset(openFileBuffer, 0, sizeof openFileBuffer);
    MultiByteToWideChar(CP_ACP, 0, source.c_str(), -1, openFileBuffer, OPEN_FILE_BUFFER_SIZE);
    const size_t asked = watcher.seen().size();
    runAddFlow(window, 1);
    ASSERT_EQ(asked, watcher.seen().size()) << watcher.seen().back().text;
    ASSERT_TRUE(wallpaperTable[c.newSlot].used) << "the import went elsewhere";
    tick();
    tick();
    const WallpaperEntry& added = wallpaperTable[c.newSlot];
    EXPECT_EQ(60, added.showTime) << "the new wallpaper took the deleted one's time";
    EXPECT_EQ(0, added.showMode) << "the new wallpaper took the deleted one's mode";

    // Selected, its row shows its own values (it is the last row).
    selectRow(rows() - 1);
    EXPECT_EQ("60", timeField());
    EXPECT_EQ(0, modeBox());
    EXPECT_EQ(60, added.showTime);
}

const Deletion kDeletions[] = {
    {"DeleteAfterTypingATime", IDC_DELETE, 1, "90", 2, 1},
    {"DeleteAfterEmptyingTheTime", IDC_DELETE, 1, "", 1, 1},
    {"DeleteAll", IDC_DELETE_ALL, 0, "90", 2, 0},
};

INSTANTIATE_TEST_SUITE_P(MainWindow, DeleteThenAdd, ::testing::ValuesIn(kDeletions),
                         [](const ::testing::TestParamInfo<Deletion>& info) {
                             return std::string(info.param.name);
                         });

// A language file written for 27 texts still gets all five modes; a hand-edited mode past them
// shows none, and a mode chosen in the box reaches the wallpaper.
TEST_F(MainWindowTest, TheModeBoxListsFiveModesEvenFromAnOlderLanguageFile) {
    std::string file = "<h:HTXM>\r\n<n:Older>\r\n";
    for (int id = 0; id < 27; ++id)
        file +=
            id == TEXT_ERROR_DUPLICATE ? "<s:%s>\r\n" : "<s:Older " + std::to_string(id) + ">\r\n";
    const std::string lng = testing_support::testFileName(".lng");
    ASSERT_TRUE(testing_support::writeBytes(lng, file));
    TXM_clear(&languageStore);
    loadInterfaceTexts(lng.c_str());
    applyInterfaceTexts(window, 0);
    testing_support::removeFile(lng);
    std::vector<std::string> entries;
    HWND modes = GetDlgItem(window, IDC_MODE);
    for (int i = 0; i < SendMessageA(modes, CB_GETCOUNT, 0, 0); ++i) {
        char text[64] = "";
        SendMessageA(modes, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    EXPECT_EQ((std::vector<std::string>{"Older 10", "Older 11", "Older 12", "AJUSTE", "REMPLI"}),
              entries);

    wallpaperTable[0].showMode = 4;
    wallpaperTable[1].showMode = 5;
    selectRow(0);
    EXPECT_EQ(4, modeBox());
    selectRow(1);
    EXPECT_EQ(-1, modeBox()) << "a mode past the five shows an entry";
    SendDlgItemMessageA(window, IDC_MODE, CB_SETCURSEL, 3, 0);
    tick();
    EXPECT_EQ(3, wallpaperTable[1].showMode);
}

// Each hotkey comes as its menu command. A combination another window holds is left out,
// without a box, and its menu entry then shows no key.
TEST_F(MainWindowTest, HotkeysActAsTheirEntriesAndATakenOneShowsNoKey) {
    DestroyWindow(window);
    const Hotkey previous = DEFAULT_HOTKEYS[HOTKEY_PREVIOUS];
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, previous.modifiers, previous.key));
    window =
        CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainWindowProc, 0);
    mainWindow = window;
    UnregisterHotKey(nullptr, 7);
    char entry[128];
    menuTextWithKey("Next", HOTKEY_NEXT, entry, sizeof entry);
    EXPECT_STREQ("Next\tCtrl+Alt+Shift+N", entry);
    menuTextWithKey("Previous", HOTKEY_PREVIOUS, entry, sizeof entry);
    EXPECT_STREQ("Previous", entry);

    hiddenInTray = true;
    lastWall = 0;
    randomWall = false;
    SendMessageA(window, WM_HOTKEY, HOTKEY_NEXT, 0);
    EXPECT_EQ(1, lastWall);
    SendMessageA(window, WM_HOTKEY, HOTKEY_PREVIOUS, 0);
    EXPECT_EQ(0, lastWall);
    SendMessageA(window, WM_HOTKEY, HOTKEY_PAUSE, 0);
    EXPECT_TRUE(paused);
    hiddenInTray = false;
}

// Show Muralto opens the window on the picture on display, its row selected and in view.
TEST_F(MainWindowTest, ShowMuraltoSelectsThePictureOnDisplay) {
    for (int slot = 3; slot < 40; ++slot) fillSlot(slot, slot);
    refillList(window);
    hideToTray(window);
    lastWall = 37;
    command(IDM_SHOW);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(37, SendDlgItemMessageA(window, IDC_LIST, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                      LVNI_SELECTED));
    const LRESULT top = SendDlgItemMessageA(window, IDC_LIST, LVM_GETTOPINDEX, 0, 0);
    const LRESULT page = SendDlgItemMessageA(window, IDC_LIST, LVM_GETCOUNTPERPAGE, 0, 0);
    EXPECT_TRUE(top <= 37 && 37 < top + page) << "rows " << top << " to " << top + page - 1;
}

// Each change is kept as it is made (typed edits once the save timer comes), the empty table
// too; an import of forty pictures is kept with one save.
TEST_F(MainWindowTest, EveryChangeIsKeptAsItIsMadeAndAnImportWithOneSave) {
    testing_support::MessageBoxWatcher watcher; // Delete all asks first: Yes
    auto gathered = [&] { SendMessageA(window, WM_TIMER, SAVE_TIMER, 0); };
    const struct {
        const char* name;
        std::function<void()> change;
        const char* kept;   // in the file after the change
        const char* absent; // and no longer there
    } steps[] = {
        {"a time typed",
         [&] {
             selectRow(1);
             SetDlgItemTextA(window, IDC_TIME, "42");
             tick();
             gathered();
         },
         "showTime = 42", nullptr},
        {"a mode chosen",
         [&] {
             SendDlgItemMessageA(window, IDC_MODE, CB_SETCURSEL, 3, 0);
             tick();
             gathered();
         },
         "showMode = 3", nullptr},
        {"random unticked",
         [&] {
             CheckDlgButton(window, IDC_RANDOM, BST_UNCHECKED);
             tick();
             gathered();
         },
         "randomWall = 0", nullptr},
        {"paused", [&] { command(IDM_PAUSE); }, "paused = 1", nullptr},
        {"a pause of its own off", [&] { command(IDM_PAUSE_BATTERY_SAVER); },
         "autoPause = fullscreen", nullptr},
        {"a delete",
         [&] {
             selectRow(0);
             command(IDC_DELETE);
         },
         "[WALLPAPER 1]", "[WALLPAPER 2]"},
        {"delete all", [&] { command(IDC_DELETE_ALL); }, "[SYSTEM]", "[WALLPAPER 0]"},
    };
    for (const auto& step : steps) {
        step.change();
        const std::string saved = testing_support::readBytes(iniFilePath);
        EXPECT_NE(std::string::npos, saved.find(step.kept)) << step.name << ":\n" << saved;
        if (step.absent != nullptr) {
            EXPECT_EQ(std::string::npos, saved.find(step.absent)) << step.name << ":\n" << saved;
        }
    }

    const std::string folder = testing_support::currentFolder() + "\\forty";
    testing_support::makeEmptyFolder(folder);
    for (int n = 0; n < 40; ++n)
        ASSERT_TRUE(testing_support::writeBytes(folder + "\\" + std::to_string(n) + ".bmp",
                                                testing_support::bitmapFileBytes(8, 6, 0x102030)));
    const int before = savesMade();
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(e2e::dropHandle({folder})), 0);
    EXPECT_EQ(40, wallpaperCount);
    EXPECT_EQ(before + 1, savesMade());
    EXPECT_NE(std::string::npos, testing_support::readBytes(iniFilePath).find("[WALLPAPER 39]"));
    testing_support::removeFolder(folder);
}

// A wallpaper set by someone else pauses the sequence, which Resume lets go on; the program's
// own picture, announced again, does not.
TEST_F(MainWindowTest, AWallpaperChosenElsewherePausesUntilResumed) {
    hiddenInTray = true;
    randomWall = false;
    lastWall = 0;
    for (int slot = 0; slot < 3; ++slot) wallpaperTable[slot].showTime = 0;
    const struct {
        const char* name;
        int slotSet; // whose file another program puts on the desktop
        bool pauses;
    } cases[] = {{"its own picture", 0, false}, {"another picture", 2, true}};
    for (const auto& c : cases) {
        char* path = wallpaperTable[c.slotSet].filename;
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path, SPIF_UPDATEINIFILE);
        SendMessageA(window, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
        EXPECT_EQ(c.pauses, paused) << c.name;
        EXPECT_EQ(c.pauses ? HELD_FOR_OTHER_WALLPAPER : SEQUENCE_RUNS, sequenceHold()) << c.name;
    }
    SendMessageA(window, WM_TIMER, SEQUENCE_TIMER, 0);
    EXPECT_EQ(wallpaperTable[2].filename, testing_support::desktopValue("Wallpaper"))
        << "the user's choice was replaced";
    command(IDM_PAUSE);
    EXPECT_FALSE(paused);
    SendMessageA(window, WM_TIMER, SEQUENCE_TIMER, 0);
    EXPECT_EQ(wallpaperTable[1].filename, testing_support::desktopValue("Wallpaper"))
        << "Resume did not go on";
    hiddenInTray = false;
}

// After a sleep, an unlock or a restart of Explorer the picture on display goes back on the
// desktop, its time going on; other events, and a pause, leave the desktop alone.
TEST_F(MainWindowTest, ResumeUnlockAndANewTaskBarPutThePictureOnDisplayBack) {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    const struct {
        const char* name;
        UINT message;
        WPARAM event;
        bool paused, applied;
    } cases[] = {
        {"resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, false, true},
        {"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, false, false},
        {"unlock", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, false, true},
        {"lock", WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, false, false},
        {"task bar made again", taskbarCreated, 0, false, true},
        {"resume while paused", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true, false},
    };
    hiddenInTray = true;
    lastWall = 1;
    secondsShown = 7;
    for (const auto& c : cases) {
        paused = c.paused;
        testing_support::setDesktopValue("Wallpaper", "elsewhere.bmp");
        SendMessageA(window, c.message, c.event, 0);
        EXPECT_EQ(c.applied ? wallpaperTable[1].filename : "elsewhere.bmp",
                  testing_support::desktopValue("Wallpaper"))
            << c.name;
        EXPECT_EQ(7, secondsShown) << c.name;
    }
    paused = false;
    hiddenInTray = false;
}

} // namespace
