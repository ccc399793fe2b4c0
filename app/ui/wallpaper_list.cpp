#include "wallpaper_list.h"

#include <commctrl.h>
#include <string.h>
#include <wchar.h>

#include "bounded_text.h"
#include "resource.h"
#include "unicode_text.h"
#include "wallpaper_table.h"

void refillList(HWND window) {
    HWND list = GetDlgItem(window, IDC_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    // Room for every row at once, and no redrawing until the last is in.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(usedCount(wallpaperTable)), 0);
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
        if (wallpaperTable[slot].used) addListRow(list, slot);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void addListRow(HWND list, int slot) {
    const WallpaperEntry& entry = wallpaperTable[slot];
    // In UTF-16, so that the title shows as it is, whatever the ANSI code page.
    wchar_t title[TITLE_SIZE];
    utf8ToWide(entry.titleUtf8, title, sizeof title / sizeof title[0]);
    LVITEMW item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = title;
    int row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    char size[32];
    formatText(size, sizeof size, "%dx%d", entry.width, entry.height);
    LVITEMA sizeItem;
    memset(&sizeItem, 0, sizeof sizeItem);
    sizeItem.mask = LVIF_TEXT;
    sizeItem.iItem = row;
    sizeItem.iSubItem = 1;
    sizeItem.pszText = size;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&sizeItem));
}

void insertColumn(HWND list, const char* text, int width, int format) {
    if (text == nullptr) return;
    LVCOLUMNA column;
    memset(&column, 0, sizeof column);
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

// Rows are found by title, which no two share: a row's place follows the imports, not the slot.
void selectSlotRow(HWND window, int slot) {
    if (slot < 0 || slot >= MAX_WALLPAPERS || !wallpaperTable[slot].used) return;
    wchar_t wanted[TITLE_SIZE];
    if (!utf8ToWide(wallpaperTable[slot].titleUtf8, wanted, TITLE_SIZE)) return;
    HWND list = GetDlgItem(window, IDC_LIST);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        wchar_t title[TITLE_SIZE] = L"";
        LVITEMW item;
        memset(&item, 0, sizeof item);
        item.pszText = title;
        item.cchTextMax = TITLE_SIZE;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        if (wcscmp(title, wanted) != 0) continue;
        LVITEMW state;
        memset(&state, 0, sizeof state);
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&state));
        SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        return;
    }
}
