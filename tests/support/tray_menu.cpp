#include "tray_menu.h"

#include "tray_icon.h"

namespace e2e {

namespace {

struct MenuSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findMenu(HWND window, LPARAM param) {
    MenuSearch* search = reinterpret_cast<MenuSearch*>(param);
    char name[16] = "";
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window) ||
        GetClassNameA(window, name, sizeof name) == 0 || lstrcmpA(name, "#32768") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// Keys go to the menu's thread, whose menu loop reads them whatever window they are posted to.
void press(HWND menu, WPARAM key) {
    PostMessageA(menu, WM_KEYDOWN, key, 0x00000001);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
}

bool closes(HWND menu, DWORD timeoutMs) {
    return waitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, timeoutMs);
}

} // namespace

HWND shownPopupMenu(DWORD process) {
    MenuSearch search = {process, nullptr};
    EnumWindows(findMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND openTrayMenu(HWND window, DWORD process, DWORD timeoutMs) {
    PostMessageA(window, WM_TRAYICON, TRAY_ICON_ID, WM_RBUTTONDOWN);
    PostMessageA(window, WM_TRAYICON, TRAY_ICON_ID, WM_RBUTTONUP);
    HWND menu = nullptr;
    waitUntil([&] { return (menu = shownPopupMenu(process)) != nullptr; }, timeoutMs);
    return menu;
}

bool chooseEntry(HWND menu, TrayEntry entry, DWORD timeoutMs) {
    for (int i = 0; i <= entry; ++i) press(menu, VK_DOWN);
    press(menu, VK_RETURN);
    return closes(menu, timeoutMs);
}

bool dismiss(HWND menu, DWORD timeoutMs) {
    press(menu, VK_ESCAPE);
    return closes(menu, timeoutMs);
}

} // namespace e2e
