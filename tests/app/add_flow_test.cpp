// The add flow on a selection as the open-file dialog returns it: one file at once, several
// through the progress dialog, with its warnings; and on folders dropped onto the window.
#include <windows.h>

#include <commctrl.h>
#include <string.h>

#include <string>
#include <vector>

#include "add_flow_host.h"
#include "add_pictures.h"
#include "add_progress_dialog.h"
#include "interface_texts.h"
#include "message_box_watcher.h"
#include "program_fixture.h"
#include "resource.h"
#include "shell_drop.h"
#include "test_bitmaps.h"
#include "test_files.h"
#include "txm.h"
#include "window_messages.h"

namespace {

using testing_support::writeBytes;

const char kDuplicatePrefix[] = "[E004]: Le wallpaper \"";
const char kFullPrefix[] = "[E002]";
const char kReadPrefix[] = "[E001]";
const std::string kTrees = MURALTO_DROP_TREES; // drop_trees.sh's folders, through Wine's Z:

class AddFlow : public AddFlowHost {
  protected:
    std::string picture(const std::string& name, int width = 32, int height = 24) {
        std::string path = folder + "\\" + name;
        EXPECT_TRUE(writeBytes(path, testing_support::bitmapFileBytes(width, height, 0x4080C0)));
        return path;
    }
    std::vector<std::string> names(int count, int width = 32) {
        std::vector<std::string> parts = {folder};
        for (int i = 0; i < count; ++i) {
            parts.push_back("pick " + std::to_string(i) + ".bmp");
            picture(parts.back(), width, width);
        }
        return parts;
    }
    static int countStarting(const std::vector<testing_support::SeenMessageBox>& seen,
                             const char* prefix) {
        int count = 0;
        for (const auto& box : seen) count += box.text.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }
    int rows() {
        return static_cast<int>(SendDlgItemMessageA(host, IDC_LIST, LVM_GETITEMCOUNT, 0, 0));
    }
};

TEST_F(AddFlow, OneNewPictureIsAddedWithoutTheProgressDialog) {
    testing_support::MessageBoxWatcher watcher;
    select({picture("sunset.bmp")});
    runAddFlow(host, 1);
    EXPECT_EQ(1, wallpaperCount);
    EXPECT_STREQ("sunset.bmp", wallpaperTable[0].original);
    EXPECT_EQ(1, rows());
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(AddFlow, OnePictureAlreadyInTheTableIsRefusedByItsTitle) {
    select({picture("sunset.bmp")});
    runAddFlow(host, 1);
    testing_support::MessageBoxWatcher watcher;
    runAddFlow(host, 1);
    EXPECT_EQ(1, wallpaperCount);
    auto seen = watcher.seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("[E004]: Le wallpaper \"sunset.bmp\" a d\xE9ja \xE9t\xE9 ajout\xE9 !              ",
              seen[0].text);
    EXPECT_EQ("Muralto Version 3.05", seen[0].caption);
}

// The table keeps 49 characters of a title: a longer one is a duplicate by those, whether it
// comes alone or among several.
TEST_F(AddFlow, ALongTitleAddedAgainIsADuplicate) {
    const std::string longName = "Vacances 2003 - le lac de Come vu depuis la terrasse 2.bmp";
    ASSERT_EQ(58u, longName.size());
    select({picture(longName)});
    runAddFlow(host, 1);
    ASSERT_EQ(1, wallpaperCount);
    ASSERT_EQ(longName.substr(0, TITLE_SIZE - 1), wallpaperTable[0].original);

    testing_support::MessageBoxWatcher watcher;
    runAddFlow(host, 1);
    EXPECT_EQ(1, wallpaperCount);
    EXPECT_EQ(1, rows());
    picture("Lac.bmp");
    select({folder, longName, "Lac.bmp"});
    runAddFlow(host, 1);
    EXPECT_EQ(2, wallpaperCount);
    EXPECT_EQ(2, rows());
    const std::string expected =
        kDuplicatePrefix + longName + "\" a d\xE9ja \xE9t\xE9 ajout\xE9 !" + std::string(14, ' ');
    auto seen = watcher.seen();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(expected, seen[0].text) << "alone";
    EXPECT_EQ(expected, seen[1].text) << "among several";
}

TEST_F(AddFlow, SeveralPicturesWithDuplicatesGoThroughTheProgressDialog) {
    std::vector<std::string> parts = names(5);
    select({folder + "\\" + parts[2]});
    runAddFlow(host, 1);
    select({folder + "\\" + parts[4]});
    runAddFlow(host, 1);
    ASSERT_EQ(2, wallpaperCount);

    testing_support::MessageBoxWatcher watcher;
    select(parts);
    runAddFlow(host, 1);
    EXPECT_EQ(5, wallpaperCount);
    EXPECT_EQ(5, rows());
    EXPECT_EQ(2, countStarting(watcher.seen(), kDuplicatePrefix));
    EXPECT_EQ(2u, watcher.seen().size());
}

TEST_F(AddFlow, TheTableFillsUpPartWayThroughTheSelection) {
    for (int i = 0; i < MAX_WALLPAPERS - 2; ++i) wallpaperTable[i].used = 1;
    wallpaperCount = MAX_WALLPAPERS - 2;
    testing_support::MessageBoxWatcher watcher;
    select(names(5));
    runAddFlow(host, 1);
    EXPECT_EQ(MAX_WALLPAPERS, wallpaperCount);
    EXPECT_EQ(1, countStarting(watcher.seen(), kFullPrefix));
    EXPECT_EQ(1u, watcher.seen().size());
}

TEST_F(AddFlow, NamesThatCannotBeImportedAreReportedAndSkipped) {
    std::vector<std::string> parts = names(2);
    parts.insert(parts.begin() + 1, "not there.bmp");
    parts.insert(parts.begin() + 2, std::string(300, 'n') + ".bmp"); // longer than a name
    testing_support::MessageBoxWatcher watcher;
    select(parts);
    runAddFlow(host, 1);
    EXPECT_EQ(2, wallpaperCount);
    EXPECT_EQ(2, countStarting(watcher.seen(), kReadPrefix));
}

// Two languages whose texts are their name and id, but for text 25: the first one's is
// duplicateFormat, the second one's a well-formed translation.
const char kGoodFormat[] = "Schon da: \"%s\"";
std::string languageFile(const std::string& duplicateFormat) {
    std::string file = "<h:HTXM language file>\r\n";
    for (const std::string name : {"Cassee", "Bonne"}) {
        file += "<n:" + name + ">\r\n";
        for (int id = 0; id < TEXT_COUNT; ++id) {
            std::string text = name + " " + std::to_string(id);
            if (id == TEXT_ERROR_DUPLICATE) text = name == "Cassee" ? duplicateFormat : kGoodFormat;
            file += "<s:" + text + ">\r\n";
        }
    }
    return file;
}

TEST_F(AddFlow, ADuplicateTextThatIsNotAFormatOfOneNameIsReplacedByTheBuiltInOne) {
    const char kBuiltIn[] =
        "[E004]: Le wallpaper \"%s\" a d\xE9ja \xE9t\xE9 ajout\xE9 !              ";
    const std::string lng = testing_support::testFileName(".lng");
    for (const char* format : {"Doublon n\xB0%d", "%n", "100%% %s", "Doublon !", "%s et %s"}) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(writeBytes(lng, languageFile(format)));
        TXM_clear(&languageStore);
        loadInterfaceTexts(lng.c_str());
        EXPECT_STREQ(kBuiltIn, interfaceText(TEXT_ERROR_DUPLICATE));
        for (int id = 0; id < TEXT_COUNT; ++id) {
            if (id == TEXT_ERROR_DUPLICATE) continue;
            const char* text = interfaceText(id);
            EXPECT_EQ("Cassee " + std::to_string(id), text != nullptr ? text : "<none>");
        }
        language = 1;
        EXPECT_STREQ(kGoodFormat, interfaceText(TEXT_ERROR_DUPLICATE)) << "a well-formed one";
        language = 0;
    }

    // The last one read a second name that was never passed: a real duplicate now shows the
    // built-in text in the first language, the file's in the second.
    select({picture("sunset.bmp")});
    runAddFlow(host, 1);
    testing_support::MessageBoxWatcher watcher;
    runAddFlow(host, 1);
    language = 1;
    runAddFlow(host, 1);
    EXPECT_EQ(1, wallpaperCount);
    auto seen = watcher.seen();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("[E004]: Le wallpaper \"sunset.bmp\" a d\xE9ja \xE9t\xE9 ajout\xE9 !              ",
              seen[0].text);
    EXPECT_EQ("Schon da: \"sunset.bmp\"", seen[1].text);
    testing_support::removeFile(lng);
}

// Presses Cancel once the progress dialog shows one of the names, notes which, and lets the
// held warnings go, pressed or not. The label is read without sending it a message, since the
// dialog's thread is busy importing then.
struct CancelPress {
    std::vector<std::string> names;
    testing_support::MessageBoxWatcher* watcher;
    std::string during; // the name shown when Cancel was pressed; empty when it was not
};

DWORD WINAPI pressCancelDuring(void* param) {
    CancelPress& press = *static_cast<CancelPress*>(param);
    press.during = e2e::cancelWhenShowing(press.names, 20000);
    press.watcher->hold(false);
    return 0;
}

TEST_F(AddFlow, CancelKeepsTheImportItComesDuringAndStartsNoOther) {
    std::vector<std::string> parts = {folder};
    for (int i = 0; i < 10; ++i) {
        parts.push_back("pick " + std::to_string(i) + ".bmp");
        picture(parts.back(), i == 2 ? 1200 : 32, i == 2 ? 1200 : 32); // Cancel comes during it
    }
    select({folder + "\\" + parts[4]});
    runAddFlow(host, 1);
    ASSERT_EQ(1, wallpaperCount);
    // Cancel was pressed while the third picture was imported, and could come after it on a
    // loaded machine. The fourth is in the table: its warning, held open, stops the run there
    // at the latest, and whether Cancel comes during the third import or during that warning,
    // the first three are kept and no other is started.
    testing_support::MessageBoxWatcher watcher;
    watcher.hold(true);
    CancelPress press = {{parts[3], parts[4]}, &watcher, ""};
    HANDLE presser = CreateThread(nullptr, 0, pressCancelDuring, &press, 0, nullptr);
    select(parts);
    runAddFlow(host, 1);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(presser, 30000));
    CloseHandle(presser);
    ASSERT_NE("", press.during) << "the dialog never showed " << parts[3] << " or " << parts[4];
    EXPECT_EQ(4, wallpaperCount);
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(hasTitle(wallpaperTable, parts[i].c_str())) << i;
    EXPECT_FALSE(hasTitle(wallpaperTable, parts[5].c_str()));
    EXPECT_EQ(press.during == parts[4] ? 1 : 0, countStarting(watcher.seen(), kDuplicatePrefix))
        << "Cancel came during " << press.during;
}

// Each picture once and in name order, however the tree's Unix links lead back up it; and a
// table that takes what fits and says so once.
TEST_F(AddFlow, ADroppedTreeWithLoopsIsWalkedOnceAndTheTableTakesWhatFits) {
    const std::string loop = kTrees + "\\loop";
    for (const char* name : {"\\x.bmp", "\\a\\y.bmp", "\\a\\b\\z.bmp"})
        ASSERT_TRUE(writeBytes(loop + name, testing_support::bitmapFileBytes(32, 24, 0x4080C0)));
    ASSERT_TRUE(writeBytes(loop + "\\notes.txt", "Not a picture.\r\n"));
    for (int freeSlots : {static_cast<int>(MAX_WALLPAPERS), 2}) {
        SCOPED_TRACE(freeSlots);
        std::vector<std::string> expected = {"z.bmp", "y.bmp", "x.bmp"};
        const int used = MAX_WALLPAPERS - freeSlots, full = freeSlots < 3 ? 1 : 0;
        expected.resize(expected.size() - full);
        clearTable(wallpaperTable);
        for (int i = 0; i < used; ++i) wallpaperTable[i].used = 1;
        wallpaperCount = used;
        testing_support::MessageBoxWatcher watcher;
        addDroppedFiles(host, e2e::dropHandle({loop}));
        std::vector<std::string> added;
        for (int i = used; i < MAX_WALLPAPERS; ++i)
            if (wallpaperTable[i].used) added.push_back(wallpaperTable[i].original);
        EXPECT_EQ(expected, added);
        EXPECT_EQ(full, countStarting(watcher.seen(), kFullPrefix));
        EXPECT_EQ(1, countStarting(watcher.seen(), "1 fichier(s) ignor\xE9(s)")) << "notes.txt";
        EXPECT_EQ(1u + full, watcher.seen().size());
    }
}

// Beside a walk: pings to the window while the dialog names a folder of the tree, then Cancel,
// timed until the dialog goes, once the walk's thread has ended.
struct WalkWatch {
    HWND host;
    std::string tree, frame = "";
    int answers = 0;
    DWORD cancelMs = INFINITE;
};

DWORD WINAPI watchWalk(void* parameter) {
    WalkWatch& watch = *static_cast<WalkWatch*>(parameter);
    HWND dialog = nullptr;
    auto walking = [&] {
        dialog = e2e::findDialog(GetCurrentProcessId(), e2e::kAddProgressCaption);
        return e2e::textWithoutMessage(GetDlgItem(dialog, IDC_ADD_NAME)).find(watch.tree) == 0;
    };
    if (!e2e::waitUntil(walking)) return 0;
    watch.frame = e2e::textWithoutMessage(GetDlgItem(dialog, IDC_ADD_FRAME));
    // Ten pings 50 ms apart, over half a second, while the walk goes on.
    int pings = 0;
    e2e::waitUntil(
        [&] {
            if (!walking()) return true;
            watch.answers += e2e::sendWithin(watch.host, WM_NULL, 0, 0, nullptr, 1000) ? 1 : 0;
            return ++pings == 10;
        },
        10 * (1000 + 50) + e2e::kPatience, 50); // room for ten slow answers
    DWORD pressed = GetTickCount();
    PostMessageA(GetDlgItem(dialog, IDC_ADD_CANCEL), BM_CLICK, 0, 0);
    if (e2e::waitUntil([&] { return !IsWindowVisible(dialog); }, e2e::kPatience, 1))
        watch.cancelMs = GetTickCount() - pressed;
    return 0;
}

TEST_F(AddFlow, TheWindowAnswersDuringTheWalkOf100000DroppedFilesAndCancelEndsIt) {
    WalkWatch watch = {host, kTrees + "\\many"};
    testing_support::MessageBoxWatcher watcher;
    HANDLE watching = CreateThread(nullptr, 0, watchWalk, &watch, 0, nullptr);
    addDroppedFiles(host, e2e::dropHandle({watch.tree}));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watching, 6 * e2e::kPatience));
    CloseHandle(watching);
    EXPECT_EQ(10, watch.answers) << "the window did not answer during the walk";
    EXPECT_EQ(std::string("0 image(s) trouv\xE9") + "e(s)", watch.frame);
    EXPECT_NE(INFINITE, watch.cancelMs) << "Cancel did not end the walk";
    EXPECT_TRUE(watcher.seen().empty()) << "a cancelled walk tells nothing";
}

TEST(SelectedNames, AreCopiedWithinBothBuffers) {
    wchar_t buffer[16];
    wmemcpy(buffer, L"C:\\pics\0a.bmp\0\0", 16);
    wchar_t target[8];
    bool cut = true;
    int next = nextSelectedName(buffer, 16, 0, target, 8, &cut);
    EXPECT_STREQ(L"C:\\pics", target);
    EXPECT_FALSE(cut);
    EXPECT_EQ(8, next);
    next = nextSelectedName(buffer, 16, next, target, 4, &cut);
    EXPECT_STREQ(L"a.b", target) << "cut to capacity - 1";
    EXPECT_TRUE(cut);
    EXPECT_EQ(14, next) << "past the name's own terminator";

    // A last string without terminator ends at the end of the buffer.
    wmemset(buffer, L'x', 16);
    next = nextSelectedName(buffer, 16, 10, target, 8, &cut);
    EXPECT_STREQ(L"xxxxxx", target);
    EXPECT_FALSE(cut);
    EXPECT_EQ(16, next);
}

} // namespace
