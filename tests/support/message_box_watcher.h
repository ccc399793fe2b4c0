// Watches, from a second thread, for message boxes of this process, records their caption and
// text, and presses OK, so that a test can check a warning for real and never hangs on one.
#ifndef MURALTO_MESSAGE_BOX_WATCHER_H
#define MURALTO_MESSAGE_BOX_WATCHER_H

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

struct SeenMessageBox {
    std::string caption;
    std::string text;
};

class MessageBoxWatcher {
  public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The boxes seen and dismissed so far, oldest first.
    std::vector<SeenMessageBox> seen();

  private:
    static DWORD WINAPI run(void* self);
    void poll();

    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    std::vector<SeenMessageBox> seen_;
    std::vector<HWND> handled_;
};

} // namespace testing_support

#endif
