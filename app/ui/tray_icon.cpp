#include "tray_icon.h"

#include <shellapi.h>
#include <string.h>
#include <wchar.h>

#include "app_state.h"
#include "bounded_text.h"
#include "hotkeys.h"
#include "interface_texts.h"
#include "main_window.h"
#include "monitor_shows.h"
#include "resource.h"
#include "sequencer.h"
#include "start_with_windows.h"
#include "unicode_text.h"
#include "wallpaper_list.h"
#include "wallpaper_table.h"

namespace {

const UINT ADD_RETRY_MS = 1000;
// The tip of the second shell version (Windows 2000 and later): 128 characters with the
// terminator. The record stops there, so that every shell from then on takes it.
const int TIP_CHARS = sizeof(NOTIFYICONDATAW::szTip) / sizeof(WCHAR);
const WCHAR ELLIPSIS = 0x2026;

// The tip as the shell was last given it, so that a tick that changes nothing costs no call.
WCHAR givenTip[TIP_CHARS];

POINT menuPoint = {0, 0}; // where the menu last opened

void startRecord(NOTIFYICONDATAW* record) {
    memset(record, 0, sizeof *record);
    record->cbSize = NOTIFYICONDATAW_V2_SIZE;
    record->hWnd = mainWindow;
    record->uID = TRAY_ICON_ID;
}

const char* textOrEmpty(int id) {
    const char* text = interfaceText(id);
    return text != nullptr ? text : "";
}

// The program's caption with why the sequence holds, if it does.
void firstLine(char* line, int size) {
    int word = 0;
    switch (sequenceHold()) {
    case HELD_PAUSED:
        word = TEXT_PAUSED;
        break;
    case HELD_FOR_OTHER_WALLPAPER:
        word = TEXT_HELD_OTHER_WALLPAPER;
        break;
    case HELD_FULL_SCREEN:
        word = TEXT_HELD_FULL_SCREEN;
        break;
    case HELD_BATTERY_SAVER:
        word = TEXT_HELD_BATTERY_SAVER;
        break;
    case HELD_NO_PICTURE_NOW:
        word = TEXT_NO_PICTURE_NOW;
        break;
    case SEQUENCE_RUNS:
        break;
    }
    const char* text = word != 0 ? interfaceText(word) : nullptr;
    if (text != nullptr)
        formatText(line, static_cast<size_t>(size), "%s - %s", APP_TITLE, text);
    else
        copyText(line, static_cast<size_t>(size), APP_TITLE);
}

// The caption's line, then the title of the picture on display on a line of its own, cut with
// an ellipsis when the two do not fit.
void writeTip(WCHAR* tip) {
    char line[512];
    firstLine(line, sizeof line);
    WCHAR wide[512] = L"";
    ansiToWide(line, wide, sizeof wide / sizeof wide[0]);
    const int slot = displayedSlot();
    WCHAR title[TITLE_SIZE + 1] = L"";
    if (slot >= 0) utf8ToWide(wallpaperTable[slot].titleUtf8, title, TITLE_SIZE + 1);
    if (title[0] != 0) {
        wcsncat(wide, L"\n", 1);
        wcsncat(wide, title, TITLE_SIZE);
    }
    const size_t length = wcslen(wide);
    wcsncpy(tip, wide, TIP_CHARS - 1);
    tip[TIP_CHARS - 1] = 0;
    if (length > static_cast<size_t>(TIP_CHARS - 1)) tip[TIP_CHARS - 2] = ELLIPSIS;
}

} // namespace

void setTrayIcon(bool add) {
    NOTIFYICONDATAW record;
    startRecord(&record);
    if (!add) {
        Shell_NotifyIconW(NIM_DELETE, &record);
        return;
    }
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAYICON;
    record.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_TRAY));
    writeTip(record.szTip);
    memcpy(givenTip, record.szTip, sizeof givenTip);
    // A busy shell may answer an add too late and hold the icon all the same: a modify then
    // succeeds, and adding again would only be refused.
    if (Shell_NotifyIconW(NIM_ADD, &record) || Shell_NotifyIconW(NIM_MODIFY, &record))
        KillTimer(mainWindow, TRAY_ICON_TIMER);
    else
        SetTimer(mainWindow, TRAY_ICON_TIMER, ADD_RETRY_MS, nullptr); // one timer, however often
}

// An icon the shell does not hold yet gets the tip with the retried add.
void updateTrayTip() {
    NOTIFYICONDATAW record;
    startRecord(&record);
    record.uFlags = NIF_TIP;
    writeTip(record.szTip);
    if (memcmp(givenTip, record.szTip, sizeof givenTip) == 0) return;
    memcpy(givenTip, record.szTip, sizeof givenTip);
    Shell_NotifyIconW(NIM_MODIFY, &record);
}

void hideToTray(HWND window) {
    hiddenInTray = true;
    ShowWindow(window, SW_HIDE);
}

// Restored and in front, whichever way it went away (a minimise that slipped past, too). The
// row of the picture on display is chosen before the window shows: whoever sees the window
// (the user, or a program driving it) never sees that choice land after their own.
void restoreFromTray(HWND window) {
    hiddenInTray = false;
    selectSlotRow(window, displayedSlot());
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
}

namespace {

void appendEntry(HMENU menu, int command, int text, UINT flags = 0) {
    AppendMenuA(menu, MF_STRING | flags, static_cast<UINT_PTR>(command), textOrEmpty(text));
}

void appendKeyedEntry(HMENU menu, int command, int text, HotkeyAction action) {
    char entry[320];
    menuTextWithKey(textOrEmpty(text), action, entry, sizeof entry);
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(command), entry);
}

} // namespace

// As Windows asks of a notification icon's menu: the window in the foreground first, or the
// menu would not close when the user clicks elsewhere, and a message to it afterwards, so that
// a second opening works at once.
void showTrayMenu(HWND window) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    appendKeyedEntry(menu, IDM_NEXT_WALLPAPER, TEXT_MENU_NEXT, HOTKEY_NEXT);
    if (perMonitor())
        appendKeyedEntry(menu, IDM_NEXT_ON_MONITOR, TEXT_MENU_NEXT_ON_MONITOR,
                         HOTKEY_NEXT_ON_MONITOR);
    appendKeyedEntry(menu, IDM_PREVIOUS_WALLPAPER, TEXT_MENU_PREVIOUS, HOTKEY_PREVIOUS);
    appendKeyedEntry(menu, IDM_PAUSE, paused ? TEXT_MENU_RESUME : TEXT_MENU_PAUSE, HOTKEY_PAUSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    appendEntry(menu, IDM_PAUSE_FULL_SCREEN, TEXT_MENU_PAUSE_FULL_SCREEN,
                pauseForFullScreen ? MF_CHECKED : MF_UNCHECKED);
    appendEntry(menu, IDM_PAUSE_BATTERY_SAVER, TEXT_MENU_PAUSE_BATTERY_SAVER,
                pauseOnBatterySaver ? MF_CHECKED : MF_UNCHECKED);
    if (perMonitor())
        appendEntry(menu, IDM_MATCH_SHAPES, TEXT_MENU_MATCH_SHAPES,
                    matchShapes ? MF_CHECKED : MF_UNCHECKED);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    appendEntry(menu, IDM_START_WITH_WINDOWS, TEXT_MENU_START_WITH_WINDOWS,
                startsWithWindows() ? MF_CHECKED : MF_UNCHECKED);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    appendEntry(menu, IDM_SHOW, TEXT_MENU_SHOW);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    // While one of its boxes is open (an import under way, a message) the window is disabled:
    // quitting then would end the program under the box.
    appendEntry(menu, IDM_QUIT, TEXT_MENU_QUIT, IsWindowEnabled(window) ? MF_ENABLED : MF_GRAYED);
    SetMenuDefaultItem(menu, IDM_SHOW, FALSE);
    POINT at = {0, 0};
    GetCursorPos(&at);
    menuPoint = at;
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

POINT trayMenuPoint() { return menuPoint; }
