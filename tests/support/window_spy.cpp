#include "window_spy.h"

#include <algorithm>

#include "waiting.h"
#include "window_messages.h"

namespace e2e {

WindowSpy::WindowSpy(DWORD processId, const std::string& caption)
    : process_(processId), caption_(caption), desktop_(GetThreadDesktop(GetCurrentThreadId())) {
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

WindowSpy::~WindowSpy() {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
}

std::vector<HWND> WindowSpy::seen() {
    EnterCriticalSection(&lock_);
    std::vector<HWND> copy = seen_;
    LeaveCriticalSection(&lock_);
    return copy;
}

HWND WindowSpy::waitForAny(DWORD timeoutMs) {
    HWND found = nullptr;
    // A dialog's frame exists before its controls and before WM_INITDIALOG; it turns visible
    // only after both, so a window is handed out once visible (or already gone again).
    bool ready = waitUntil(
        [&] {
            std::vector<HWND> windows = seen();
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr && (IsWindowVisible(found) || !IsWindow(found));
        },
        timeoutMs);
    return ready ? found : nullptr;
}

DWORD WINAPI WindowSpy::run(void* self) {
    WindowSpy* spy = static_cast<WindowSpy*>(self);
    // Wine starts a new thread on the default desktop, not on the one its process was given.
    SetThreadDesktop(spy->desktop_);
    while (InterlockedCompareExchange(&spy->stop_, 0, 0) == 0) {
        spy->poll();
        Sleep(1);
    }
    return 0;
}

void WindowSpy::poll() {
    // The texts Windows keeps are compared: no message is sent, so a busy program is seen as
    // quickly as an idle one.
    for (HWND window : topLevelDialogs(process_)) {
        if (textWithoutMessage(window) != caption_) continue;
        EnterCriticalSection(&lock_);
        if (std::find(seen_.begin(), seen_.end(), window) == seen_.end()) seen_.push_back(window);
        LeaveCriticalSection(&lock_);
    }
}

} // namespace e2e
