// Messages to the windows of a program under test, each answered within a deadline, and the
// texts of its windows.
#ifndef MURALTO_WINDOW_MESSAGES_H
#define MURALTO_WINDOW_MESSAGES_H

#include <windows.h>

#include <string>
#include <vector>

#include "waiting.h"

namespace e2e {

// Sends the message and waits up to timeoutMs for the answer; false when none came.
bool sendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
                DWORD timeoutMs = kPatience);
// The answer; a failure of the test, and 0, when it gives none in time.
LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A window's text, asked with WM_GETTEXT.
std::string windowText(HWND window);
// The same asked in UTF-16, as UTF-8.
std::string windowTextUtf8(HWND window);
// The text Windows keeps for a window, read without a message, so that it answers while the
// program's thread is busy (importing a picture, say).
std::string textWithoutMessage(HWND window);
// The entries of a drop-down list of another process.
std::vector<std::string> comboEntries(HWND combo);

// The top-level dialogs (class "#32770") of a process, or of every process for 0, found
// without a message, so that those of a busy program are found too.
std::vector<HWND> topLevelDialogs(DWORD process);
// The first of them with this caption, holding the control when requiredControl is not 0, and
// other than except; null when there is none.
HWND findDialog(DWORD process, const std::string& caption, int requiredControl = 0,
                HWND except = nullptr);

} // namespace e2e

#endif
