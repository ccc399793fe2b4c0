// The program's add-progress dialog "Adding Wallpaper(s)...", watched and worked from the
// driver while it imports. Its thread is busy during each import, so what must answer at once
// (the name shown) is read without a message, and what is asked with one waits for the import.
#ifndef MURALTO_E2E_ADD_PROGRESS_DIALOG_H
#define MURALTO_E2E_ADD_PROGRESS_DIALOG_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

extern const char kAddProgressCaption[]; // "Adding Wallpaper(s)..."

class AddProgressDialog {
  public:
    AddProgressDialog(HANDLE process, HWND window) : process_(process), window_(window) {}

    HWND window() const { return window_; }
    bool open() const { return window_ != nullptr && IsWindow(window_); }

    // The name in the "Wallpaper: " line.
    std::string shownName() const;
    // The progress bar's range and position; false (or -1) when the dialog did not answer
    // within timeoutMs, which must outlast an import.
    bool range(int* low, int* high, DWORD timeoutMs) const;
    int position(DWORD timeoutMs) const;

    // A click on Cancel, handled as soon as the running import is over.
    void pressCancel() const;
    // Moves the dialog, as a user drags it, without waiting for the program.
    void moveTo(int x, int y) const;
    bool waitUntilClosed(DWORD timeoutMs) const;

  private:
    HANDLE process_;
    HWND window_;
};

// Waits until this process's add-progress dialog shows one of names, presses its Cancel and
// returns the name shown then; empty when none was shown within timeoutMs. It looks every
// millisecond, since on a busy machine a name can come and go between two slower looks.
std::string cancelWhenShowing(const std::vector<std::string>& names, DWORD timeoutMs);

} // namespace e2e

#endif
