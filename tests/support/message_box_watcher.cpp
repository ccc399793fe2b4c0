#include "message_box_watcher.h"

#include <algorithm>

#include "window_messages.h"

namespace testing_support {

namespace {

const int kMessageTextId = 0xFFFF; // the static control that holds a message box's text

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

// The button drawn as the default, which Enter presses.
int MessageBoxWatcher::defaultButtonOf(HWND box) {
    const int ids[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO};
    for (int id : ids) {
        HWND button = GetDlgItem(box, id);
        if (button != nullptr && (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
            return id;
    }
    return 0;
}

// A question the test asked for (Delete all) is answered Yes, a warning OK.
void MessageBoxWatcher::answer(HWND box) {
    PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) != nullptr ? IDYES : IDOK, 0);
}

void MessageBoxWatcher::release() {
    EnterCriticalSection(&lock_);
    for (HWND box : held_) answer(box);
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
    for (HWND box : e2e::topLevelDialogs(process_)) {
        HWND textControl = GetDlgItem(box, kMessageTextId);
        if (!IsWindowVisible(box) || textControl == nullptr ||
            std::find(handled_.begin(), handled_.end(), box) != handled_.end())
            continue;
        SeenMessageBox entry;
        entry.caption = e2e::windowText(box);
        entry.text = e2e::windowText(textControl);
        entry.textUtf8 = e2e::windowTextUtf8(textControl);
        entry.owner = GetWindow(box, GW_OWNER);
        entry.defaultButton = defaultButtonOf(box);
        handled_.push_back(box);
        EnterCriticalSection(&lock_);
        seen_.push_back(entry);
        if (holding_)
            held_.push_back(box);
        else
            answer(box);
        LeaveCriticalSection(&lock_);
    }
}

} // namespace testing_support
