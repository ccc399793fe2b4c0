// The three dialogs at 96, 144 and 192 DPI, each in a run of the real program started at that
// DPI: laid out for it, every control inside the dialog and every text fitting its control, the
// art drawn at its scale and the preview on the monitor's glass; and the manifest that tells
// Windows the program draws itself for each monitor's DPI.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "add_progress_dialog.h"
#include "art_checks.h"
#include "dialog_template.h"
#include "journey.h"
#include "layout_checks.h"
#include "open_file_dialog.h"
#include "options.h"
#include "screenshot.h"
#include "test_bitmaps.h"
#include "window_spy.h"

namespace e2e {
namespace {

const int kDpis[] = {96, 144, 192};
const uint32_t kPreviewColour = 0xFF00FF; // in no artwork, and one colour at any scale
const char kAboutCaption[] = "\xC0 propos de Muralto...";
const char kOpenTitle[] = "Charger un Wallpaper...";

// What Wine reads at a program's start for its DPI: the user's value, and the machine's.
bool setLogPixels(DWORD dpi) {
    const struct {
        HKEY root;
        const char* key;
    } places[] = {{HKEY_CURRENT_USER, "Control Panel\\Desktop"},
                  {HKEY_LOCAL_MACHINE,
                   "System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"}};
    for (const auto& place : places) {
        HKEY key;
        if (RegCreateKeyExA(place.root, place.key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        bool set = RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi),
                                  sizeof dpi) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (!set) return false;
    }
    return true;
}

std::string program() { return options.programFolder + "\\Muralto.exe"; }

// The list's columns, which the program sizes in pixels, share its width as they do at 96 DPI:
// all of it but the few pixels of the header's end.
std::string columnProblems(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    int columns = 0;
    for (int column = 0; column < 2; ++column)
        columns += static_cast<int>(ask(list, LVM_GETCOLUMNWIDTH, column, 0));
    if (columns <= client.right && columns >= client.right * 95 / 100) return "";
    return "the columns take " + std::to_string(columns) + " pixels of the list's " +
           std::to_string(client.right) + "\n";
}

class AtDpi : public Journey, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(setLogPixels(dpi())) << "cannot set the DPI";
        Journey::SetUp();
    }
    void TearDown() override {
        Journey::TearDown();
        setLogPixels(96);
    }

    int dpi() const { return GetParam(); }

    // Size, controls and texts of a dialog made from the template id; its texts only when
    // textsOnly.
    std::string layoutProblems(HWND dialog, int id, bool textsOnly = false) const {
        DialogTemplate dialogTemplate = readDialogTemplate(program(), id);
        if (!dialogTemplate.found) return "no dialog template " + std::to_string(id);
        HFONT font = createDialogFont(dialogTemplate, dpi());
        std::string problems = textsThatDoNotFit(dialog, font, dpi()) + mnemonicClashes(dialog);
        if (!textsOnly)
            problems += sizeProblems(dialog, dialogTemplate, font, dpi()) + controlsOutside(dialog);
        DeleteObject(font);
        return problems;
    }

    // Where the monitor is: the preview frame, below its title (which is less high than a check
    // box) and left of the check boxes.
    static RECT monitorRegion(const MuraltoRun& run) {
        RECT frame, box;
        GetWindowRect(run.control(PREVIEW_FRAME), &frame);
        GetWindowRect(run.control(RANDOM), &box);
        return {frame.left, frame.top + (box.bottom - box.top), box.left, frame.bottom};
    }

    static void quitAfterWarnings(MuraltoRun& run) {
        run.clickLater(QUIT);
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end after Quit";
    }
};

TEST_P(AtDpi, TheMainWindowIsLaidOutForItWithThePreviewOnTheMonitorsGlass) {
    configure(SystemSettings(), {{0, "Magenta.bmp", 60, 0}, {1, "Collines.bmp", 60, 0}});
    ASSERT_TRUE(testing_support::writeBytes(
        previewPath(0), testing_support::bitmapFileBytes(151, 112, kPreviewColour)));
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    EXPECT_EQ("", layoutProblems(run.window(), IDD_MAIN));
    EXPECT_EQ("", columnProblems(run.control(LIST)));
    // The texts of the other shipped languages, as the language box puts them in the window.
    std::vector<std::string> languages = run.entries(LANGUAGE);
    EXPECT_EQ(5u, languages.size()) << "the shipped language file has five languages";
    for (int language = 1; language < static_cast<int>(languages.size()); ++language) {
        run.choose(LANGUAGE, language);
        EXPECT_EQ("", layoutProblems(run.window(), IDD_MAIN, true)) << languages[language];
    }
    run.choose(LANGUAGE, 0);

    run.selectRow(0);
    RECT region = monitorRegion(run);
    Screenshot monitor1x = resourceBitmap(program(), IDB_MONITOR);
    Screenshot shot;
    std::string problems;
    waitUntil([&] {
        shot = capture(run.window());
        problems = monitorProblems(shot, region, monitor1x, kPreviewColour, dpi());
        return problems.empty();
    });
    EXPECT_EQ("", problems);
    EXPECT_EQ("", bannerProblems(shot, run.control(IDC_BANNER),
                                 resourceBitmap(program(), IDB_BANNER), dpi()));

    // The README's pictures, with the other wallpaper's preview over the whole of this one.
    run.selectRow(1);
    EXPECT_TRUE(waitUntil([&] {
        shot = capture(run.window());
        return !previewShows(shot, region, kPreviewColour);
    })) << "the second preview did not replace the first";
    savePng(shot, options.screenshotFolder + "\\main-window-" + std::to_string(dpi()) + "dpi.png");
    quitWithButton(run);
}

TEST_P(AtDpi, TheAboutBoxIsLaidOutForIt) {
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    run.clickLater(ABOUT);
    HWND box = run.findDialog(kAboutCaption);
    ASSERT_NE(nullptr, box) << "no About box";
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(box) != 0; }));
    EXPECT_EQ("", layoutProblems(box, IDD_ABOUT));
    Screenshot banner1x = resourceBitmap(program(), IDB_BANNER);
    std::string problems;
    waitUntil([&] {
        problems = bannerProblems(capture(box), GetDlgItem(box, IDC_BANNER), banner1x, dpi());
        return problems.empty();
    });
    EXPECT_EQ("", problems);
    PostMessageA(GetDlgItem(box, IDC_ABOUT_OK), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); })) << "&Ok did not close it";
    quitWithButton(run);
}

// The dialog is held open by its warning for a picture already in the table.
TEST_P(AtDpi, TheProgressDialogIsLaidOutForIt) {
    configure(SystemSettings(), {{0, "Vue 1.bmp", 60, 0}});
    std::string folder = testing_support::currentFolder() + "\\dpi-pictures";
    testing_support::makeEmptyFolder(folder);
    const std::vector<std::string> names = {"Vue 1.bmp", "Vue 2.bmp"};
    for (const std::string& name : names)
        ASSERT_TRUE(testing_support::writeBytes(
            folder + "\\" + name, testing_support::bitmapFileBytes(64, 48, 0x3060C0)));
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    WindowSpy spy(run.processId(), kAddProgressCaption);
    run.holdMessageBoxes(true);
    run.clickLater(ADD);
    OpenFileDialog dialog(run, kOpenTitle);
    ASSERT_TRUE(dialog.found()) << "no open-file dialog";
    ASSERT_TRUE(dialog.openNames(folder, names));
    AddProgressDialog progress(run.process(), spy.waitForAny(kPatience));
    ASSERT_NE(nullptr, progress.window()) << "no progress dialog";
    ASSERT_TRUE(waitUntil([&] { return run.messageBoxes().size() == 1; }))
        << describe(run.messageBoxes());

    EXPECT_EQ("", layoutProblems(progress.window(), IDD_ADD_PROGRESS));
    run.holdMessageBoxes(false);
    EXPECT_TRUE(progress.waitUntilClosed(kPatience)) << "the dialog did not close by itself";
    quitAfterWarnings(run);
    testing_support::removeFolder(folder);
}

INSTANTIATE_TEST_SUITE_P(Dpi, AtDpi, ::testing::ValuesIn(kDpis),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param);
                         });

// Read as Windows reads it, by an activation context made from the program's manifest: a
// misspelt element or namespace would leave the program unaware, stretched by Windows.
TEST(Manifest, DeclaresPerMonitorDpiAwareness) {
    std::string narrowPath = program();
    std::wstring path(narrowPath.begin(), narrowPath.end());
    ACTCTXW request;
    memset(&request, 0, sizeof request);
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << "no manifest, error " << GetLastError();
    // Windows 7 and later; the build's headers declare what Windows XP has.
    typedef BOOL(WINAPI * QuerySettings)(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*);
    QuerySettings query = reinterpret_cast<QuerySettings>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
    ASSERT_NE(nullptr, query);
    auto setting = [&](const wchar_t* space, const wchar_t* name) {
        WCHAR value[128] = L"";
        SIZE_T written = 0;
        if (!query(0, context, space, name, value, 128, &written)) return std::string("<none>");
        std::string narrow;
        for (const WCHAR* c = value; *c != 0; ++c) narrow += static_cast<char>(*c);
        return narrow;
    };
    EXPECT_EQ("PerMonitorV2, PerMonitor",
              setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
    EXPECT_EQ("true/pm",
              setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"));
    ReleaseActCtx(context);
}

} // namespace
} // namespace e2e
