// Watches, from a second thread, for message boxes of this process or of another one, records
// their caption and text, and presses OK (Yes for a question), so that a test can check a
// warning for real and never hangs on one.
#ifndef MURALTO_MESSAGE_BOX_WATCHER_H
#define MURALTO_MESSAGE_BOX_WATCHER_H

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

struct SeenMessageBox {
    std::string caption;
    std::string text;
    std::string textUtf8;  // the text read in UTF-16: letters the ANSI code page lacks too
    HWND owner = nullptr;  // the window it was shown over
    int defaultButton = 0; // the button Enter presses (IDOK, IDNO, ...)
};

class MessageBoxWatcher {
  public:
    // The boxes of this process.
    MessageBoxWatcher();
    // The boxes of another process, such as a program that a test drives.
    explicit MessageBoxWatcher(DWORD processId);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The boxes seen so far, oldest first.
    std::vector<SeenMessageBox> seen();
    // While held, a new box is recorded but left open until release(): the program then waits
    // in it at a known point, where it answers messages at once. Holding off releases them.
    void hold(bool on);
    // Presses OK on every box held so far.
    void release();

  private:
    static void answer(HWND box);
    static int defaultButtonOf(HWND box);
    static DWORD WINAPI run(void* self);
    void poll();

    DWORD process_;
    HDESK desktop_; // the creator's: the boxes show there
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    bool holding_ = false; // the members from here on are guarded by lock_
    std::vector<HWND> held_;
    std::vector<SeenMessageBox> seen_;
    std::vector<HWND> handled_;
};

} // namespace testing_support

#endif
