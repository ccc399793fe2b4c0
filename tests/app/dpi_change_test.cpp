// The main window moved to a monitor of another DPI: what Windows 10 does not scale for it.
#include <windows.h>

#include <commctrl.h>

#include "artwork.h"
#include "interface_texts.h"
#include "main_window.h"
#include "program_fixture.h"
#include "resource.h"
#include "txm.h"

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

    // WM_DPICHANGED, then, as Windows 10 does in the dialog manager after the window's own
    // handling, the list's new size (or none, as earlier systems), then what was posted.
    void changeDpi(UINT dpi, int listWidth, int listHeight) {
        RECT suggested;
        GetWindowRect(window, &suggested);
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        SetWindowPos(list, nullptr, 0, 0, listWidth, listHeight, SWP_NOMOVE | SWP_NOZORDER);
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    int listWidth() {
        RECT client;
        GetClientRect(list, &client);
        return client.right;
    }
    int column(int index) {
        return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, index, 0));
    }

    HWND window = nullptr;
    HWND list = nullptr;
};

// The columns are set in pixels, and nothing else makes them follow the list.
TEST_F(DpiChange, TheListsColumnsShareItsNewWidthAsBefore) {
    RECT frame;
    GetWindowRect(list, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int name = column(0), size = column(1);
    ASSERT_EQ(listWidth(), name + size) << "the columns do not fill the list to start with";

    const struct {
        UINT dpi;
        int width, height; // the list's new size
    } changes[] = {
        {192, 2 * width, 2 * height}, {144, 3 * width / 2, 3 * height / 2}, {96, width, height}};
    for (const auto& change : changes) {
        changeDpi(change.dpi, change.width, change.height);
        EXPECT_EQ(listWidth(), column(0) + column(1)) << change.dpi << " DPI";
        EXPECT_NEAR(static_cast<double>(name) / size, static_cast<double>(column(0)) / column(1),
                    0.02)
            << change.dpi << " DPI";
    }
    EXPECT_EQ(name, column(0));
    EXPECT_EQ(size, column(1));

    // Where the dialog is not laid out again (Windows 8.1), the list and its columns stay.
    changeDpi(144, width, height);
    EXPECT_EQ(name, column(0));
    EXPECT_EQ(size, column(1));
}

} // namespace
