#include "main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <string.h>
#include <wtsapi32.h>

#include "about_box.h"
#include "add_pictures.h"
#include "app_state.h"
#include "artwork.h"
#include "bounded_text.h"
#include "desktop_wallpaper.h"
#include "hotkeys.h"
#include "interface_texts.h"
#include "kept_settings.h"
#include "monitor_layout.h"
#include "monitor_sequencer.h"
#include "own_files.h"
#include "resource.h"
#include "sequencer.h"
#include "settings.h"
#include "shown_history.h"
#include "start_with_windows.h"
#include "system_call.h"
#include "system_moment.h"
#include "tray_icon.h"
#include "unicode_text.h"
#include "wallpaper_list.h"
#include "wallpaper_table.h"

namespace {

const int NO_SLOT = -1; // no slot index takes this value
// The list's columns share its width as they always have at 96 DPI: 155 and 105 of 260 pixels.
// Columns are set in pixels, and nothing scales them with the list.
const int NAME_COLUMN = 0, NAME_COLUMN_SHARE = 155;
const int SIZE_COLUMN = 1, SIZE_COLUMN_SHARE = 105;

// Posted to itself after a DPI change, to run once the dialog manager has laid it out again.
enum { WM_FIT_COLUMNS = WM_APP + 1 };

// The window's own state, on its thread only.
HDC memoryDC = nullptr; // holds a preview bitmap while it is drawn
int selectedRow = -1;
int shownSlot = NO_SLOT;
int filledSlot = NO_SLOT;
int shownCount = 1;
UINT taskbarCreatedMessage = 0;

bool isUsedSlot(int slot) {
    return slot >= 0 && slot < MAX_WALLPAPERS && wallpaperTable[slot].used;
}

HWND control(HWND window, int id) { return GetDlgItem(window, id); }

int shownMode() { return isUsedSlot(shownSlot) ? wallpaperTable[shownSlot].showMode : 0; }

int shownMoment() {
    return isUsedSlot(shownSlot) ? wallpaperTable[shownSlot].moment.kind
                                 : static_cast<int>(MOMENT_ALWAYS);
}

int selectedListRow(HWND window) {
    return static_cast<int>(SendDlgItemMessageA(window, IDC_LIST, LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// The slot of a list row: rows are titled, and titles are unique in the table. The text is
// read in UTF-16: in the ANSI code page titles that differ only in letters it lacks would read
// alike.
int slotOfRow(HWND window, int row) {
    wchar_t title[TITLE_SIZE] = L"";
    LVITEMW item;
    memset(&item, 0, sizeof item);
    item.iSubItem = 0;
    item.pszText = title;
    item.cchTextMax = sizeof title / sizeof title[0];
    SendDlgItemMessageW(window, IDC_LIST, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
    char titleUtf8[TITLE_UTF8_SIZE];
    wideToUtf8(title, titleUtf8, sizeof titleUtf8);
    return findSlotByTitle(wallpaperTable, titleUtf8);
}

void setColumnTitle(HWND list, int column, int text) {
    const char* title = interfaceText(text);
    LVCOLUMNA item;
    memset(&item, 0, sizeof item);
    item.mask = LVCF_TEXT;
    item.pszText = const_cast<char*>(title != nullptr ? title : "");
    SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&item));
}

// The texts write the counter from wallpaperCount, so the tick must know it is shown: an
// import done before the first tick would otherwise leave "0 wallpaper(s)" over one wallpaper.
void applyTexts(HWND window, int mode) {
    applyInterfaceTexts(window, mode);
    setColumnTitle(control(window, IDC_LIST), NAME_COLUMN, TEXT_NAME_COLUMN);
    setColumnTitle(control(window, IDC_LIST), SIZE_COLUMN, TEXT_SIZE_COLUMN);
    fillMomentList(window, shownMoment());
    shownCount = wallpaperCount;
}

void columnWidths(HWND list, int* nameWidth, int* sizeWidth) {
    RECT client = {0, 0, 0, 0};
    GetClientRect(list, &client);
    *nameWidth = MulDiv(client.right, NAME_COLUMN_SHARE, NAME_COLUMN_SHARE + SIZE_COLUMN_SHARE);
    *sizeWidth = client.right - *nameWidth;
}

// ---- WM_INITDIALOG ---------------------------------------------------------------------

// The sequencer's second may come a little late, so that Windows can wake the processor once for
// several timers (Windows 8 and later); a change still comes within its second.
void setSequenceTimer(HWND window) {
    typedef UINT_PTR(WINAPI * SetCoalescableTimerCall)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);
    auto coalescable = systemCall<SetCoalescableTimerCall>("user32.dll", "SetCoalescableTimer");
    const UINT SECOND_MS = 1000, TOLERANCE_MS = 100;
    if (coalescable == nullptr ||
        coalescable(window, SEQUENCE_TIMER, SECOND_MS, nullptr, TOLERANCE_MS) == 0)
        SetTimer(window, SEQUENCE_TIMER, SECOND_MS, nullptr);
}

void onInitDialog(HWND window) {
    // The window's state starts with the window, whatever an earlier one left.
    selectedRow = -1;
    shownSlot = NO_SLOT;
    filledSlot = NO_SLOT;
    memoryDC = CreateCompatibleDC(nullptr);
    setSequenceTimer(window);
    HWND list = control(window, IDC_LIST);
    int nameWidth = 0, sizeWidth = 0;
    columnWidths(list, &nameWidth, &sizeWidth);
    insertColumn(list, "", sizeWidth, LVCFMT_LEFT);
    insertColumn(list, "", nameWidth, LVCFMT_LEFT);
    applyTexts(window, 0);
    SendDlgItemMessageA(window, IDC_MODE, CB_SETCURSEL, 0, 0);
    CheckDlgButton(window, IDC_RANDOM, randomWall ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_START_CHANGE, startWall ? BST_CHECKED : BST_UNCHECKED);
    fillLanguageList(window);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    // Explorer sends this after it restarts; the icon is the only way back to a hidden window.
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    // An unlock may bring back a desktop without the picture: the window hears of it.
    WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
    watchBatterySaver(window);
    DragAcceptFiles(window, TRUE);
    registerHotkeys(window);
}

// ---- Refresh tick ----------------------------------------------------------------------

int chosenMoment(HWND window) {
    return static_cast<int>(SendDlgItemMessageA(window, IDC_MOMENT, CB_GETCURSEL, 0, 0));
}

void enableControls(HWND window, bool haveWallpapers) {
    static const int editing[] = {IDC_LIST,       IDC_TIME, IDC_MODE,     IDC_MOMENT,
                                  IDC_DELETE_ALL, IDC_HIDE, IDC_APPLY_ALL};
    for (int id : editing) EnableWindow(control(window, id), haveWallpapers);
    EnableWindow(control(window, IDC_DELETE), haveWallpapers && selectedRow != -1);
    const bool hours = haveWallpapers && chosenMoment(window) == MOMENT_HOURS;
    EnableWindow(control(window, IDC_MOMENT_FROM), hours);
    EnableWindow(control(window, IDC_MOMENT_TO), hours);
    if (shownCount != wallpaperCount) {
        setCounterText(window, wallpaperCount);
        shownCount = wallpaperCount;
    }
}

void readCheckBoxes(HWND window) {
    const bool random = IsDlgButtonChecked(window, IDC_RANDOM) == BST_CHECKED;
    const bool start = IsDlgButtonChecked(window, IDC_START_CHANGE) == BST_CHECKED;
    if (random != randomWall || start != startWall) saveSoon(window);
    randomWall = random;
    startWall = start;
}

// Hours offered when another moment is shown, ready for a choice of hours.
const PictureMoment SUGGESTED_HOURS = {MOMENT_HOURS, 7 * 60, 19 * 60};

void fillMomentFields(HWND window, const PictureMoment& moment) {
    SendDlgItemMessageA(window, IDC_MOMENT, CB_SETCURSEL, moment.kind, 0);
    const PictureMoment& hours = moment.kind == MOMENT_HOURS ? moment : SUGGESTED_HOURS;
    char time[8];
    formatClockTime(hours.from, time, sizeof time);
    SetDlgItemTextA(window, IDC_MOMENT_FROM, time);
    formatClockTime(hours.to, time, sizeof time);
    SetDlgItemTextA(window, IDC_MOMENT_TO, time);
}

void fillFieldsFromShownSlot(HWND window) {
    static const PictureMoment always = {MOMENT_ALWAYS, 0, 0};
    fillMomentFields(window, isUsedSlot(shownSlot) ? wallpaperTable[shownSlot].moment : always);
    if (isUsedSlot(shownSlot)) {
        const WallpaperEntry& entry = wallpaperTable[shownSlot];
        char time[16];
        formatText(time, sizeof time, "%d", entry.showTime);
        SetDlgItemTextA(window, IDC_TIME, time);
        // A hand-edited mode must show no entry. An index past the entries clears the
        // selection on Windows, but Wine keeps the previous one, so no entry is asked for.
        bool listed = entry.showMode >= MODE_CENTRE && entry.showMode <= MODE_FILL;
        SendDlgItemMessageA(window, IDC_MODE, CB_SETCURSEL,
                            static_cast<WPARAM>(listed ? entry.showMode : -1), 0);
    } else {
        SetDlgItemTextA(window, IDC_TIME, "");
        SendDlgItemMessageA(window, IDC_MODE, CB_SETCURSEL, 0, 0);
    }
    filledSlot = shownSlot;
}

// Over the monitor's glass, wherever the dialog has put and sized the monitor at its DPI. The
// window's DC is taken for each paint and given back: one kept from the start may keep the
// visible region of an earlier moment (a dialog that was over the window), and the cache has
// few DCs to share.
void paintPreview(HWND window, WallpaperEntry& entry) {
    HDC windowDC = GetDC(window);
    if (windowDC == nullptr) return;
    HGDIOBJ previous = SelectObject(memoryDC, slotPreview(&entry));
    drawPicture(windowDC, previewRect(window), memoryDC, PREVIEW_WIDTH, PREVIEW_HEIGHT);
    SelectObject(memoryDC, previous);
    ReleaseDC(window, windowDC);
}

// Hours half typed do not count: the picture keeps its moment until both times read.
PictureMoment momentInFields(HWND window, const PictureMoment& current) {
    const int kind = chosenMoment(window);
    if (kind < MOMENT_ALWAYS || kind >= MOMENT_KINDS) return current;
    if (kind != MOMENT_HOURS) return {static_cast<uint8_t>(kind), 0, 0};
    char from[32] = "", to[32] = "";
    GetDlgItemTextA(window, IDC_MOMENT_FROM, from, sizeof from);
    GetDlgItemTextA(window, IDC_MOMENT_TO, to, sizeof to);
    const int fromMinute = parseClockTime(from), toMinute = parseClockTime(to);
    if (fromMinute < 0 || toMinute < 0) return current;
    return {MOMENT_HOURS, static_cast<int16_t>(fromMinute), static_cast<int16_t>(toMinute)};
}

// A time, a mode or a moment edited is kept once the user has stopped typing for a moment.
void copyFieldsIntoShownSlot(HWND window, WallpaperEntry& entry) {
    char time[256] = "";
    GetDlgItemTextA(window, IDC_TIME, time, sizeof time);
    const int showTime = parseDecimal(time);
    const int showMode =
        static_cast<int>(SendDlgItemMessageA(window, IDC_MODE, CB_GETCURSEL, 0, 0));
    const PictureMoment moment = momentInFields(window, entry.moment);
    if (showTime != entry.showTime || showMode != entry.showMode ||
        moment.kind != entry.moment.kind || moment.from != entry.moment.from ||
        moment.to != entry.moment.to)
        saveSoon(window);
    entry.showTime = showTime;
    entry.showMode = showMode;
    entry.moment = moment;
}

// The fields are filled before the buttons follow the selection: Delete enabled means the
// selected row's time and mode are on show, for the user's next keystroke as for a test.
void onRefreshTick(HWND window) {
    selectedRow = selectedListRow(window);
    if (selectedRow >= 0) {
        shownSlot = slotOfRow(window, selectedRow);
        if (shownSlot != filledSlot) fillFieldsFromShownSlot(window);
    }
    enableControls(window, wallpaperCount > 0);
    readCheckBoxes(window);
    if (!isUsedSlot(shownSlot)) return;
    WallpaperEntry& entry = wallpaperTable[shownSlot];
    paintPreview(window, entry);
    copyFieldsIntoShownSlot(window, entry);
}

// The refresh reads the controls and paints the preview: only while someone can see them, so
// that a hidden window wakes the processor once a second and no more. What the user typed just
// before hiding it is taken by one last tick. Only ShowWindow's own calls count (a zero
// status): the others tell of an owner minimised or another window zoomed, and the window
// stays where it is.
void onShowWindow(HWND window, bool shown, LPARAM status) {
    if (status != 0) return;
    const UINT REFRESH_MS = 50;
    if (shown) {
        SetTimer(window, REFRESH_TIMER, REFRESH_MS, nullptr);
    } else {
        KillTimer(window, REFRESH_TIMER);
        onRefreshTick(window);
    }
}

void onTimer(HWND window, WPARAM timer) {
    switch (timer) {
    case REFRESH_TIMER:
        onRefreshTick(window);
        break;
    case SEQUENCE_TIMER:
        sequenceTick();
        updateTrayTip();
        break;
    case TRAY_ICON_TIMER:
        setTrayIcon(true);
        break;
    case SAVE_TIMER:
        onSaveTimer(window);
        break;
    }
}

// ---- Commands --------------------------------------------------------------------------

// Selects row, or the last one when the list is shorter, with the focus: a new selection.
void selectRow(HWND window, int row) {
    HWND list = control(window, IDC_LIST);
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    if (rows <= 0) return;
    LVITEMA state;
    memset(&state, 0, sizeof state);
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    const int chosen = row < rows ? row : rows - 1;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(chosen),
                 reinterpret_cast<LPARAM>(&state));
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(chosen), FALSE);
}

// After a delete no wallpaper is shown: were the fields left as they are, the next tick would
// copy them into whatever picture the next import puts in the freed slot.
void showNoWallpaper(HWND window) {
    shownSlot = NO_SLOT;
    fillFieldsFromShownSlot(window);
}

void onDelete(HWND window) {
    selectedRow = selectedListRow(window);
    if (selectedRow == -1) return;
    const int row = selectedRow;
    shownSlot = slotOfRow(window, selectedRow);
    WallpaperEntry& entry = wallpaperTable[shownSlot];
    if (entry.used) {
        entry.used = 0;
        if (entry.previewBitmap != nullptr) DeleteObject(entry.previewBitmap);
        entry.previewBitmap = nullptr;
        --wallpaperCount;
        removeOwnFiles(entry);
        forgetShown(shownSlot);
    }
    refillList(window);
    showNoWallpaper(window);
    updateTrayTip();
    saveNow(window);
    // From the keyboard, the next row is the one to go on with.
    if (GetFocus() == control(window, IDC_LIST)) selectRow(window, row);
}

// Every picture and its files go: the user says so first, No being the answer Enter gives.
bool deleteAllConfirmed(HWND window) {
    const char* question = interfaceText(TEXT_CONFIRM_DELETE_ALL);
    return MessageBoxA(window, question != nullptr ? question : "", APP_TITLE,
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void onDeleteAll(HWND window) {
    if (!deleteAllConfirmed(window)) return;
    for (WallpaperEntry& entry : wallpaperTable) {
        if (!entry.used) continue;
        entry.used = 0;
        removeOwnFiles(entry);
    }
    wallpaperCount = 0;
    clearTable(wallpaperTable);
    clearShownHistories();
    SendDlgItemMessageA(window, IDC_LIST, LVM_DELETEALLITEMS, 0, 0);
    showNoWallpaper(window);
    updateTrayTip();
    saveNow(window); // an empty table is kept as one
}

void onApplyAll(HWND window) {
    if (!isUsedSlot(shownSlot)) return;
    const WallpaperEntry& shown = wallpaperTable[shownSlot];
    for (WallpaperEntry& entry : wallpaperTable) {
        if (!entry.used) continue;
        entry.showTime = shown.showTime;
        entry.showMode = shown.showMode;
        entry.moment = shown.moment;
    }
    saveNow(window);
}

// An import is kept once, whatever the number of pictures it added.
void onAdd(HWND window) {
    const int before = wallpaperCount;
    addPictures(window);
    if (wallpaperCount != before) saveNow(window);
}

void onDrop(HWND window, HDROP drop) {
    const int before = wallpaperCount;
    addDroppedFiles(window, drop);
    if (wallpaperCount != before) saveNow(window);
}

void onLanguageChange(HWND window) {
    language = static_cast<int>(SendDlgItemMessageA(window, IDC_LANGUAGE, CB_GETCURSEL, 0, 0));
    applyTexts(window, shownMode());
    updateTrayTip();
    saveNow(window);
}

// The monitor under the pointer: where the icon's menu opened, or where it is as the hotkey
// is pressed.
void onNextOnMonitor(bool fromMenu) {
    POINT at = trayMenuPoint();
    if (!fromMenu) GetCursorPos(&at);
    advanceMonitorAt(at.x, at.y);
    updateTrayTip();
}

// Each monitor's next picture follows the new choice; what they show now stays.
void onMatchShapes(HWND window) {
    matchShapes = !matchShapes;
    saveNow(window);
}

void onPauseOrResume(HWND window) {
    paused = !paused;
    pausedForOtherWallpaper = false;
    updateTrayTip();
    saveNow(window);
}

void onNextWallpaper() {
    changeWallpaperNow();
    updateTrayTip();
}

void onPreviousWallpaper() {
    previousWallpaper();
    updateTrayTip();
}

// A pause of its own switched off takes effect at the next second, with the tip.
void onPauseForFullScreen(HWND window) {
    pauseForFullScreen = !pauseForFullScreen;
    saveNow(window);
}

void onPauseOnBatterySaver(HWND window) {
    pauseOnBatterySaver = !pauseOnBatterySaver;
    saveNow(window);
}

void quit(HWND window) {
    EndDialog(window, 0);
    saveAtQuit(window);
    PostQuitMessage(0);
}

void onStartWithWindows(HWND window) {
    if (!setStartWithWindows(!startsWithWindows()))
        showWarning(window, interfaceText(TEXT_ERROR_SAVE));
}

// Enter: the time typed is taken and kept at once, without waiting for the next tick.
void onEnter(HWND window) {
    onRefreshTick(window);
    saveNow(window);
}

// Escape does what Reduire does, when Reduire can be pressed.
void onEscape(HWND window) {
    if (IsWindowEnabled(control(window, IDC_HIDE))) hideToTray(window);
}

// The notification code is not looked at: every notification of a control acts like a click.
void onCommand(HWND window, int id) {
    switch (id) {
    case IDOK:
        onEnter(window);
        break;
    case IDCANCEL:
        onEscape(window);
        break;
    case IDC_ABOUT:
        showAboutBox(window);
        break;
    case IDC_WEB_PAGE:
        openWebPage(window);
        break;
    case IDC_HIDE:
        hideToTray(window);
        break;
    case IDC_ADD:
        onAdd(window);
        break;
    case IDC_DELETE:
        onDelete(window);
        break;
    case IDC_DELETE_ALL:
        onDeleteAll(window);
        break;
    case IDC_QUIT:
        quit(window);
        break;
    case IDC_LANGUAGE:
        onLanguageChange(window);
        break;
    case IDC_APPLY_ALL:
        onApplyAll(window);
        break;
    case IDM_NEXT_WALLPAPER:
        onNextWallpaper();
        break;
    case IDM_PREVIOUS_WALLPAPER:
        onPreviousWallpaper();
        break;
    case IDM_NEXT_ON_MONITOR:
    case IDM_NEXT_ON_POINTED_MONITOR:
        onNextOnMonitor(id == IDM_NEXT_ON_MONITOR);
        break;
    case IDM_MATCH_SHAPES:
        onMatchShapes(window);
        break;
    case IDM_PAUSE:
        onPauseOrResume(window);
        break;
    case IDM_PAUSE_FULL_SCREEN:
        onPauseForFullScreen(window);
        break;
    case IDM_PAUSE_BATTERY_SAVER:
        onPauseOnBatterySaver(window);
        break;
    case IDM_START_WITH_WINDOWS:
        onStartWithWindows(window);
        break;
    case IDM_SHOW:
        restoreFromTray(window);
        break;
    case IDM_QUIT:
        quit(window);
        break;
    }
}

// The mouse message the shell saw on the icon. Passing over it does nothing: the window
// showing at every message would leave no way to the menu. The context-menu key comes as a
// right click to an icon of the first shell version. A second copy of the program sends the
// press of a left click (running_copy.cpp), earlier versions too.
void onTrayIcon(HWND window, LPARAM event) {
    switch (event) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        restoreFromTray(window);
        break;
    case WM_RBUTTONUP:
        showTrayMenu(window);
        break;
    }
}

// The window moved to a monitor of another DPI. Windows 10 1703 and later lay the dialog out
// again for it after this (its units and fonts), and the art and the preview follow their
// controls; the list's columns follow the list once it has its new size. Earlier systems keep
// the layout, and the columns stay as they are.
void onDpiChanged(HWND window) {
    redrawArt(window);
    PostMessageA(window, WM_FIT_COLUMNS, 0, 0);
}

void fitColumns(HWND window) {
    HWND list = control(window, IDC_LIST);
    int nameWidth = 0, sizeWidth = 0;
    columnWidths(list, &nameWidth, &sizeWidth);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, NAME_COLUMN, nameWidth);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, SIZE_COLUMN, sizeWidth);
}

// A monitor added, removed or turned, or a resolution changed: the desktop is composed again at
// once for the new layout, the window open or not, paused or not, so that no monitor is left
// black or stale.
void onDisplayChange() { useMonitorLayout(currentMonitorLayout(), true); }

// After a sleep, an unlock or a restart of Explorer the desktop may show another picture than
// the one on display: it is put back as it is. Only the resume that always comes is taken. The
// battery saver's changes come here too, so that the sequence never polls for them.
void onPowerBroadcast(WPARAM event, LPARAM data) {
    if (event == PBT_APMRESUMEAUTOMATIC) applyShownAgain();
    batterySaverBroadcast(event, data);
}

void onSessionChange(WPARAM event) {
    if (event == WTS_SESSION_UNLOCK) applyShownAgain();
}

void onTaskbarCreated() {
    setTrayIcon(true);
    applyShownAgain();
}

void onDestroy(HWND window) {
    WTSUnRegisterSessionNotification(window);
    stopWatchingBatterySaver();
    unregisterHotkeys(window);
    DeleteDC(memoryDC);
    memoryDC = nullptr;
}

// The minimise box hides the window into the notification area, as Reduire does: a minimised
// window on the task bar would stop the changes without a word.
bool onSysCommand(HWND window, WPARAM command) {
    if ((command & 0xFFF0) != SC_MINIMIZE) return false;
    hideToTray(window);
    return true;
}

// Delete in the list acts as the Delete button.
void onNotify(HWND window, const NMHDR& header, LPARAM lParam) {
    if (header.idFrom != IDC_LIST || header.code != LVN_KEYDOWN) return;
    if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) onDelete(window);
}

// A wallpaper chosen in Windows' own settings (or by another program) is the user's choice: the
// sequence pauses rather than replace it at the next change, and the tip says why. Muralto's own
// changes send no such message.
void onSettingChange(HWND window, WPARAM setting) {
    if (setting != SPI_SETDESKWALLPAPER || paused || wallpaperCount <= 0 ||
        !desktopShowsAnotherPicture())
        return;
    paused = true;
    pausedForOtherWallpaper = true;
    updateTrayTip();
    saveNow(window);
}

// A FALSE wParam means another program cancelled the log-off: the session goes on.
void onEndSession(HWND window, WPARAM ending) {
    if (!ending) return;
    sessionEndChange();
    quit(window);
}

} // namespace

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(window);
        return TRUE;
    case WM_TIMER:
        onTimer(window, wParam);
        return FALSE;
    case WM_SHOWWINDOW:
        onShowWindow(window, wParam != FALSE, lParam);
        return FALSE;
    case WM_TRAYICON:
        onTrayIcon(window, lParam);
        return FALSE;
    case WM_DROPFILES:
        onDrop(window, reinterpret_cast<HDROP>(wParam));
        return FALSE;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        return FALSE;
    case WM_SYSCOMMAND:
        return onSysCommand(window, wParam) ? TRUE : FALSE;
    case WM_NOTIFY:
        onNotify(window, *reinterpret_cast<const NMHDR*>(lParam), lParam);
        return FALSE;
    case WM_HOTKEY:
        onCommand(window, hotkeyCommand(wParam));
        return FALSE;
    case WM_CLOSE:
        quit(window);
        return FALSE;
    case WM_ENDSESSION:
        onEndSession(window, wParam);
        return FALSE;
    case WM_DRAWITEM:
        return drawArtItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DISPLAYCHANGE:
        onDisplayChange();
        return FALSE;
    case WM_SETTINGCHANGE:
        onSettingChange(window, wParam);
        return FALSE;
    case WM_DPICHANGED:
        onDpiChanged(window);
        return FALSE; // the dialog manager's own scaling follows
    case WM_FIT_COLUMNS:
        fitColumns(window);
        return FALSE;
    case WM_POWERBROADCAST:
        onPowerBroadcast(wParam, lParam);
        return TRUE;
    case WM_WTSSESSION_CHANGE:
        onSessionChange(wParam);
        return FALSE;
    case WM_DESTROY:
        onDestroy(window);
        return FALSE;
    default:
        if (message == taskbarCreatedMessage && taskbarCreatedMessage != 0) onTaskbarCreated();
        return FALSE;
    }
}
