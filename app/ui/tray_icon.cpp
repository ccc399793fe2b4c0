#include "tray_icon.h"

#include <shellapi.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "resource.h"

namespace {

// The first shell version's record: window, id, flags, message, icon and a 64-character tip.
const DWORD TRAY_RECORD_SIZE = 88;
const UINT TRAY_ICON_ID = 1;

} // namespace

void setTrayIcon(bool add) {
    NOTIFYICONDATAA record;
    memset(&record, 0, sizeof record);
    record.cbSize = TRAY_RECORD_SIZE;
    record.hWnd = mainWindow;
    record.uID = TRAY_ICON_ID;
    if (add) {
        record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        record.uCallbackMessage = WM_TRAYICON;
        record.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_TRAY));
        copyText(record.szTip, 64, APP_TITLE);
    }
    Shell_NotifyIconA(add ? NIM_ADD : NIM_DELETE, &record);
}

void hideToTray(HWND window) {
    hiddenInTray = true;
    ShowWindow(window, SW_HIDE);
}

void restoreFromTray(HWND window) {
    hiddenInTray = false;
    ShowWindow(window, SW_SHOW);
}
