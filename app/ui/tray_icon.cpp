#include "tray_icon.h"

#include <shellapi.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "interface_texts.h"
#include "main_window.h"
#include "resource.h"
#include "wallpaper_table.h"

namespace {

const UINT ADD_RETRY_MS = 1000;

// The first shell version's record (window, id, flags, message, icon and a 64-character tip),
// which every shell takes; its size is 88 bytes in a 32-bit program, 104 in 64-bit.
void startRecord(NOTIFYICONDATAA* record) {
    memset(record, 0, sizeof *record);
    record->cbSize = NOTIFYICONDATAA_V1_SIZE;
    record->hWnd = mainWindow;
    record->uID = TRAY_ICON_ID;
}

void writeTip(char* tip, int size) {
    const char* word = interfaceText(TEXT_PAUSED);
    if (paused && word != nullptr)
        formatText(tip, size, "%s - %s", APP_TITLE, word);
    else
        copyText(tip, size, APP_TITLE);
}

const char* textOrEmpty(int id) {
    const char* text = interfaceText(id);
    return text != nullptr ? text : "";
}

} // namespace

void setTrayIcon(bool add) {
    NOTIFYICONDATAA record;
    startRecord(&record);
    if (!add) {
        Shell_NotifyIconA(NIM_DELETE, &record);
        return;
    }
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAYICON;
    record.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_TRAY));
    writeTip(record.szTip, 64);
    // A busy shell may answer an add too late and hold the icon all the same: a modify then
    // succeeds, and adding again would only be refused.
    if (Shell_NotifyIconA(NIM_ADD, &record) || Shell_NotifyIconA(NIM_MODIFY, &record))
        KillTimer(mainWindow, TRAY_ICON_TIMER);
    else
        SetTimer(mainWindow, TRAY_ICON_TIMER, ADD_RETRY_MS, nullptr); // one timer, however often
}

// An icon the shell does not hold yet gets the tip with the retried add.
void updateTrayTip() {
    NOTIFYICONDATAA record;
    startRecord(&record);
    record.uFlags = NIF_TIP;
    writeTip(record.szTip, 64);
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

void hideToTray(HWND window) {
    hiddenInTray = true;
    ShowWindow(window, SW_HIDE);
}

void restoreFromTray(HWND window) {
    hiddenInTray = false;
    ShowWindow(window, SW_SHOW);
}

// As Windows asks of a notification icon's menu: the window in the foreground first, or the
// menu would not close when the user clicks elsewhere, and a message to it afterwards, so that
// a second opening works at once.
void showTrayMenu(HWND window) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    AppendMenuA(menu, MF_STRING, IDM_NEXT_WALLPAPER, textOrEmpty(TEXT_MENU_NEXT));
    AppendMenuA(menu, MF_STRING, IDM_PAUSE,
                textOrEmpty(paused ? TEXT_MENU_RESUME : TEXT_MENU_PAUSE));
    AppendMenuA(menu, MF_STRING, IDM_SHOW, textOrEmpty(TEXT_MENU_SHOW));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    // While one of its boxes is open (an import under way, a message) the window is disabled:
    // quitting then would end the program under the box.
    UINT quitState = IsWindowEnabled(window) ? MF_ENABLED : MF_GRAYED;
    AppendMenuA(menu, MF_STRING | quitState, IDM_QUIT, textOrEmpty(TEXT_MENU_QUIT));
    SetMenuDefaultItem(menu, IDM_SHOW, FALSE);
    POINT at = {0, 0};
    GetCursorPos(&at);
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}
