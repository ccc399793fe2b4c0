#include "about_box.h"

#include <shellapi.h>
#include <string.h>

#include "app_state.h"
#include "artwork.h"
#include "bounded_text.h"
#include "resource.h"

namespace {

// The page the "Site Web..." button shows: the user guide installed next to Muralto.exe.
const char USER_GUIDE_PAGE[] = "Muralto.html";

INT_PTR CALLBACK aboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ABOUT_OK) EndDialog(box, 0);
        return FALSE;
    case WM_DRAWITEM:
        return drawArtItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DPICHANGED:
        redrawArt(box);
        return FALSE; // the dialog manager's own scaling follows
    default:
        return FALSE;
    }
}

} // namespace

void showAboutBox(HWND owner) {
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutBoxProc, 0);
}

void openWebPage(HWND owner) {
    char program[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) return;
    char* folderEnd = strrchr(program, '\\');
    if (folderEnd != nullptr) *folderEnd = '\0';
    char page[MAX_PATH + 32];
    if (!formatText(page, sizeof page, "\"%s\\%s\"", program, USER_GUIDE_PAGE)) return;
    ShellExecuteA(owner, "open", "Iexplore.exe", page, "", SW_SHOWNORMAL);
}
