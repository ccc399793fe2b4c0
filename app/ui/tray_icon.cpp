#include "tray_icon.h"

#include <shellapi.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "main_window.h"
#include "resource.h"

namespace {

const UINT ADD_RETRY_MS = 1000;

} // namespace

void setTrayIcon(bool add) {
    NOTIFYICONDATAA record;
    memset(&record, 0, sizeof record);
    // The first shell version's record (window, id, flags, message, icon and a 64-character
    // tip), which every shell takes; its size is 88 bytes in a 32-bit program, 104 in 64-bit.
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = mainWindow;
    record.uID = TRAY_ICON_ID;
    if (!add) {
        Shell_NotifyIconA(NIM_DELETE, &record);
        return;
    }
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAYICON;
    record.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_TRAY));
    copyText(record.szTip, 64, APP_TITLE);
    // A busy shell may answer an add too late and hold the icon all the same: a modify then
    // succeeds, and adding again would only be refused.
    if (Shell_NotifyIconA(NIM_ADD, &record) || Shell_NotifyIconA(NIM_MODIFY, &record))
        KillTimer(mainWindow, TRAY_ICON_TIMER);
    else
        SetTimer(mainWindow, TRAY_ICON_TIMER, ADD_RETRY_MS, nullptr); // one timer, however often
}

void hideToTray(HWND window) {
    hiddenInTray = true;
    ShowWindow(window, SW_HIDE);
}

void restoreFromTray(HWND window) {
    hiddenInTray = false;
    ShowWindow(window, SW_SHOW);
}
