// Notices, from a thread of its own, every dialog of another process that carries a caption,
// however briefly it lives: a window that should never open is seen if it opens at all.
#ifndef MURALTO_E2E_WINDOW_SPY_H
#define MURALTO_E2E_WINDOW_SPY_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class WindowSpy {
  public:
    WindowSpy(DWORD processId, const std::string& caption);
    ~WindowSpy();
    WindowSpy(const WindowSpy&) = delete;
    WindowSpy& operator=(const WindowSpy&) = delete;

    // Every window seen so far, in the order they appeared.
    std::vector<HWND> seen();
    // The first one seen from now on (or already seen), once it is visible (or already
    // closed), waiting up to timeoutMs; null when none was ready by then.
    HWND waitForAny(DWORD timeoutMs);

  private:
    static DWORD WINAPI run(void* self);
    void poll();

    DWORD process_;
    std::string caption_;
    HDESK desktop_; // the creator's: the windows show there
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    std::vector<HWND> seen_;
};

} // namespace e2e

#endif
