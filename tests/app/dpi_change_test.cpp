// The main window moved to a monitor of another DPI: what Windows 10 does not scale for it.
#include <windows.h>

#include <commctrl.h>

#include "interface_texts.h"
#include "main_window.h"
#include "program_fixture.h"
#include "resource.h"
#include "txm.h"
#include "window_dpi.h"

namespace {

class DpiChange : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        appInstance = GetModuleHandleA(nullptr); // the dialog templates are in this program
        TXM_clear(&languageStore);
        installBuiltInTexts();
        window =
            CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainWindowProc, 0);
        ASSERT_NE(nullptr, window);
        list = GetDlgItem(window, IDC_LIST);
    }
    void TearDown() override { DestroyWindow(window); }

    int columnWidth(int column) {
        return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
    }

    HWND window = nullptr;
    HWND list = nullptr;
};

// The columns are set in pixels; the dialog manager rescales the list but not its columns.
TEST_F(DpiChange, TheListsColumnsFollowTheNewDpi) {
    UINT dpi = windowDpi(window);
    int name = columnWidth(0), size = columnWidth(1);
    ASSERT_GT(name, 0);
    ASSERT_GT(size, 0);
    for (UINT newDpi : {dpi * 2, dpi * 3 / 2, dpi}) {
        RECT suggested;
        GetWindowRect(window, &suggested);
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(MulDiv(name, newDpi, dpi), columnWidth(0)) << newDpi << " DPI";
        EXPECT_EQ(MulDiv(size, newDpi, dpi), columnWidth(1)) << newDpi << " DPI";
    }
}

} // namespace
