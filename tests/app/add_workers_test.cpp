// The add flow with its workers: several at once leave what one after another leaves, and a
// Cancel in the middle leaves no file of the conversions it drops.
#include <windows.h>

#include <commctrl.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "add_flow_host.h"
#include "add_pictures.h"
#include "add_progress_dialog.h"
#include "imaging_fixture.h"
#include "import_workers.h"
#include "interface_texts.h"
#include "message_box_watcher.h"
#include "program_fixture.h"
#include "resource.h"
#include "test_files.h"
#include "txm.h"
#include "window_messages.h"

namespace {

using testing_support::readBytes;

// What a run of the add flow leaves: the list's rows, the slots, every file of the data folder
// and its previews folder with its bytes, and the warnings, in their order.
struct Outcome {
    std::vector<std::string> rows;
    std::vector<std::string> slots; // title, files and size of each used slot
    std::map<std::string, std::string> files;
    std::vector<std::string> warnings;
};

class AddWorkers : public AddFlowHost {
  protected:
    void TearDown() override {
        AddFlowHost::TearDown();
        importWorkersWanted = 0;
    }

    // The folder and the names, as the open-file dialog leaves them.
    void select(const std::vector<std::string>& names) {
        std::vector<std::string> parts = {folder};
        parts.insert(parts.end(), names.begin(), names.end());
        AddFlowHost::select(parts);
    }
    std::vector<std::string> listRows() {
        std::vector<std::string> rows;
        HWND list = GetDlgItem(host, IDC_LIST);
        int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            char text[256] = "";
            LVITEMA item;
            memset(&item, 0, sizeof item);
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            rows.push_back(text);
        }
        return rows;
    }
    Outcome run(const std::vector<std::string>& names, int workers) {
        importWorkersWanted = workers;
        testing_support::MessageBoxWatcher watcher;
        select(names);
        runAddFlow(host, PICTURE_JPEG);
        Outcome outcome = {listRows(), {}, dataFolderFiles(), {}};
        for (const WallpaperEntry& e : wallpaperTable)
            if (e.used)
                outcome.slots.push_back(std::string(e.titleUtf8) + " " + e.filename + " " +
                                        e.preview + " " + std::to_string(e.width) + "x" +
                                        std::to_string(e.height));
        for (const auto& box : watcher.seen()) outcome.warnings.push_back(box.text);
        return outcome;
    }
    // Nothing of an earlier run left: no file, no slot, no row.
    void startAfresh() {
        removeDataFolder();
        resetProgramState();
        CreateDirectoryA(dataFolder, nullptr);
        CreateDirectoryA((std::string(dataFolder) + "\\previews").c_str(), nullptr);
        SendDlgItemMessageA(host, IDC_LIST, LVM_DELETEALLITEMS, 0, 0);
    }
};

// Twenty photos of as many sizes, one of them damaged and one already in the table: four
// workers give the rows, slots, files, previews and warnings of one worker, in the same order.
TEST_F(AddWorkers, SeveralGiveWhatOneAfterAnotherGives) {
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        names.push_back("photo " + std::to_string(i) + ".jpg");
        const std::string path = folder + "\\" + names.back();
        if (i == 6)
            ASSERT_TRUE(testing_support::writeBytes(path, "\xFF\xD8 not a photo"));
        else
            ASSERT_TRUE(writeColourJpeg(path, photoLike(97 + 41 * i, 353 - 13 * i), 90));
    }
    std::vector<Outcome> outcomes;
    for (int workers : {1, 4}) {
        SCOPED_TRACE(workers);
        startAfresh();
        select({names[11]});
        importWorkersWanted = workers;
        runAddFlow(host, PICTURE_JPEG); // first, alone
        outcomes.push_back(run(names, workers));
        EXPECT_EQ(19u, outcomes.back().rows.size());
        EXPECT_EQ(2 * 19u, outcomes.back().files.size());
        ASSERT_EQ(2u, outcomes.back().warnings.size());
        EXPECT_EQ(0u, outcomes.back().warnings[0].rfind("[E001]", 0)) << "the damaged one first";
        EXPECT_EQ(0u, outcomes.back().warnings[1].rfind("[E004]", 0)) << "then the duplicate";
    }
    EXPECT_EQ(outcomes[0].rows, outcomes[1].rows);
    EXPECT_EQ(outcomes[0].slots, outcomes[1].slots);
    EXPECT_EQ(outcomes[0].warnings, outcomes[1].warnings);
    ASSERT_EQ(outcomes[0].files.size(), outcomes[1].files.size());
    for (const auto& file : outcomes[0].files) {
        auto other = outcomes[1].files.find(file.first);
        ASSERT_NE(outcomes[1].files.end(), other) << file.first;
        EXPECT_TRUE(file.second == other->second) << file.first << " differs";
    }
}

// Presses Cancel once the progress dialog shows one of the names, and notes the name shown
// then. On a busy machine a name can come and go between two looks, so any of them will do.
struct CancelPress {
    std::vector<std::string> names;
    std::string during; // empty when Cancel was not pressed
};

DWORD WINAPI pressCancelAt(void* param) {
    CancelPress& press = *static_cast<CancelPress*>(param);
    press.during = e2e::cancelWhenShowing(press.names, 20000);
    return 0;
}

// Cancel comes while three workers convert the photos after the one shown: the table keeps
// the photos before it and that one, and of the others no file is left, finished or not.
TEST_F(AddWorkers, ACancelInTheMiddleLeavesNoStrayFile) {
    const std::string first = folder + "\\photo 0.jpg";
    ASSERT_TRUE(writeColourJpeg(first, photoLike(1600, 1200), 90));
    std::vector<std::string> names = {"photo 0.jpg"};
    for (int i = 1; i < 20; ++i) {
        names.push_back("photo " + std::to_string(i) + ".jpg");
        ASSERT_TRUE(CopyFileA(first.c_str(), (folder + "\\" + names.back()).c_str(), FALSE));
    }
    // From the sixth name to the fifteenth: names remain for the workers to be stopped on.
    CancelPress press = {std::vector<std::string>(names.begin() + 5, names.begin() + 15), ""};
    HANDLE presser = CreateThread(nullptr, 0, pressCancelAt, &press, 0, nullptr);
    Outcome outcome = run(names, 3);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(presser, 30000));
    CloseHandle(presser);
    ASSERT_FALSE(press.during.empty()) << "Cancel was never pressed";
    const size_t at = std::find(names.begin(), names.end(), press.during) - names.begin();
    EXPECT_TRUE(outcome.warnings.empty());
    // The name shown when Cancel came is kept, or had ended just before it.
    ASSERT_GE(outcome.rows.size(), at);
    ASSERT_LE(outcome.rows.size(), at + 1);
    std::map<std::string, std::string> kept;
    for (const WallpaperEntry& e : wallpaperTable) {
        if (!e.used) continue;
        kept[e.filename] = readBytes(e.filename);
        kept[e.preview] = readBytes(e.preview);
    }
    EXPECT_EQ(2 * outcome.rows.size(), kept.size());
    for (const auto& file : outcome.files)
        EXPECT_EQ(1u, kept.count(file.first)) << file.first << " belongs to no wallpaper";
    EXPECT_EQ(kept.size(), outcome.files.size());
}

} // namespace
