#include "message_box_watcher.h"

#include <string.h>

#include <algorithm>

namespace testing_support {

namespace {

const int kMessageTextId = 0xFFFF; // the static control that holds a message box's text
const char kDialogClass[] = "#32770";

struct Search {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK collectDialog(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == search->process && strcmp(className, kDialogClass) == 0 &&
        IsWindowVisible(window) && GetDlgItem(window, kMessageTextId) != nullptr)
        search->found.push_back(window);
    return TRUE;
}

std::string windowText(HWND window) {
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// GetWindowTextA does not ask a window of another process for its text; WM_GETTEXT does, and
// the timeout keeps a hung program from holding the watcher.
std::string foreignWindowText(HWND window) {
    char text[2048] = "";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
    text[sizeof text - 1] = '\0';
    return text;
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher() : MessageBoxWatcher(GetCurrentProcessId()) {}

MessageBoxWatcher::MessageBoxWatcher(DWORD processId)
    : process_(processId), desktop_(GetThreadDesktop(GetCurrentThreadId())) {
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher() {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
}

std::vector<SeenMessageBox> MessageBoxWatcher::seen() {
    EnterCriticalSection(&lock_);
    std::vector<SeenMessageBox> copy = seen_;
    LeaveCriticalSection(&lock_);
    return copy;
}

void MessageBoxWatcher::hold(bool on) {
    EnterCriticalSection(&lock_);
    holding_ = on;
    LeaveCriticalSection(&lock_);
    if (!on) release();
}

void MessageBoxWatcher::release() {
    EnterCriticalSection(&lock_);
    for (HWND box : held_) PostMessageA(box, WM_COMMAND, IDOK, 0);
    held_.clear();
    LeaveCriticalSection(&lock_);
}

DWORD WINAPI MessageBoxWatcher::run(void* self) {
    MessageBoxWatcher* watcher = static_cast<MessageBoxWatcher*>(self);
    // Wine starts a new thread on the default desktop, not on the one its process was given.
    SetThreadDesktop(watcher->desktop_);
    while (InterlockedCompareExchange(&watcher->stop_, 0, 0) == 0) {
        watcher->poll();
        Sleep(20);
    }
    return 0;
}

void MessageBoxWatcher::poll() {
    Search search = {process_, {}};
    EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&search));
    bool own = process_ == GetCurrentProcessId();
    for (HWND box : search.found) {
        if (std::find(handled_.begin(), handled_.end(), box) != handled_.end()) continue;
        HWND textControl = GetDlgItem(box, kMessageTextId);
        SeenMessageBox entry;
        entry.caption = own ? windowText(box) : foreignWindowText(box);
        entry.text = own ? windowText(textControl) : foreignWindowText(textControl);
        entry.owner = GetWindow(box, GW_OWNER);
        handled_.push_back(box);
        EnterCriticalSection(&lock_);
        seen_.push_back(entry);
        if (holding_)
            held_.push_back(box);
        else
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        LeaveCriticalSection(&lock_);
    }
}

} // namespace testing_support
