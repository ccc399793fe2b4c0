#include "running_copy.h"

#include <windows.h>

#include <string.h>

#include "app_state.h"
#include "resource.h"
#include "tray_icon.h"

namespace {

// A name without the "Global\" prefix lives in the session's own namespace: every session (each
// user logged on, each remote desktop) has a running copy of its own. The name has no version,
// so that a later version finds this one; 3.05 before this change named it with its version.
const char MUTEX_NAME[] = "Muralto running copy";
const char EARLIER_MUTEX_NAME[] = "Muralto Version 3.05 running copy";
// Every version's main window is captioned so.
const char CAPTION_START[] = "Muralto Version ";
// The running copy creates its window after loading its settings, which takes more than a
// second with 500 wallpapers; it may also be ending, and then this copy takes over.
const DWORD WINDOW_PATIENCE_MS = 10000;
const DWORD RETRY_MS = 100;
const DWORD ANSWER_MS = 3000; // the running copy may be busy importing a large picture

bool muraltoCaption(HWND window) {
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption); // another process's: read without a message
    return strncmp(caption, CAPTION_START, sizeof CAPTION_START - 1) == 0;
}

// The main window of another process, of any version: the list tells it apart from the message
// boxes, which share its caption.
HWND runningCopyWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId() && muraltoCaption(window) &&
            GetDlgItem(window, IDC_LIST) != nullptr)
            return window;
    }
    return nullptr;
}

// The message a click on the icon sends, answered once the window shows; this process was just
// started by the user, so it may hand the foreground on to that window.
void bringForward(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_TRAYICON, TRAY_ICON_ID, WM_LBUTTONDOWN, SMTO_ABORTIFHUNG,
                        ANSWER_MS, &ignored);
    if (IsWindowVisible(window)) SetForegroundWindow(window);
}

// An earlier version that holds only its own name runs: its window is brought forward.
bool earlierVersionRuns() {
    HANDLE earlier = OpenMutexA(SYNCHRONIZE, FALSE, EARLIER_MUTEX_NAME);
    if (earlier == nullptr) return false;
    CloseHandle(earlier);
    DWORD start = GetTickCount();
    HWND window = nullptr;
    while ((window = runningCopyWindow()) == nullptr && GetTickCount() - start < WINDOW_PATIENCE_MS)
        Sleep(RETRY_MS);
    if (window != nullptr) bringForward(window);
    return true;
}

} // namespace

bool becomeTheRunningCopy() {
    if (earlierVersionRuns()) return false;
    // Owned until the process ends; the system then releases it (as abandoned).
    HANDLE mutex = CreateMutexA(nullptr, FALSE, MUTEX_NAME);
    if (mutex == nullptr) return true; // the name is another object's: run unguarded, as before
    DWORD start = GetTickCount();
    for (DWORD wait = 0;; wait = RETRY_MS) {
        // Anything but a time-out leaves this copy the running one: taken, abandoned by a copy
        // that ended, or a failed wait (unguarded again).
        if (WaitForSingleObject(mutex, wait) != WAIT_TIMEOUT) return true;
        HWND window = runningCopyWindow();
        if (window != nullptr) {
            bringForward(window);
            break;
        }
        if (GetTickCount() - start >= WINDOW_PATIENCE_MS) break;
    }
    CloseHandle(mutex);
    return false;
}
