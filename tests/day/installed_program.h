// The installed Muralto.exe, started as its Start-menu shortcut starts it and worked through its
// windows like a user would. The journeys' MuraltoRun copies the build's program into a scratch
// folder; this one runs the program where the installer put it.
#ifndef MURALTO_DAY_INSTALLED_PROGRAM_H
#define MURALTO_DAY_INSTALLED_PROGRAM_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "message_box_watcher.h"
#include "waiting.h"

namespace day {

// What a shortcut file says: the program and the folder it starts in.
struct Shortcut {
    std::string target;
    std::string workingFolder;
    std::string arguments;
    std::string error; // empty when the file was read
};
Shortcut readShortcut(const std::string& linkFile);

// The shell folder of a CSIDL, or "" when there is none.
std::string shellFolder(int csidl);

class InstalledProgram {
  public:
    // Starts the shortcut's target in its working folder, with no arguments of its own.
    explicit InstalledProgram(const Shortcut& shortcut);
    // A program still running here has hung or was left behind by a failed check: it is killed.
    ~InstalledProgram();
    InstalledProgram(const InstalledProgram&) = delete;
    InstalledProgram& operator=(const InstalledProgram&) = delete;

    bool started() const { return process_ != nullptr; }
    HANDLE process() const { return process_; }
    const std::string& startError() const { return startError_; }

    // Waits for the main window, shown or hidden.
    bool findMainWindow(DWORD timeoutMs = e2e::kPatience);
    HWND window() const { return window_; }
    HWND control(int id) const;
    bool visible() const;
    bool checked(int id) const;
    std::string text(int id) const;

    // A top-level dialog of the program with this caption, other than the main window.
    HWND findDialog(const std::string& caption, DWORD timeoutMs = e2e::kPatience) const;

    bool post(UINT message, WPARAM wParam, LPARAM lParam) const;
    // A click, handled before the call returns.
    void click(int id);
    // A click posted to the button, for the buttons that open a modal box or end the program.
    void clickLater(int id);
    // Replaces the field's text by typing it, key by key.
    void type(int id, const std::string& text);
    // Chooses an entry of a drop-down list and tells the window, as a user's choice does.
    void choose(int comboId, int index);
    int selection(int comboId) const;

    int rowCount() const;
    std::string cell(int row, int column) const;
    void selectRow(int row);

    bool running() const;
    bool waitForExit(DWORD timeoutMs = e2e::kPatience);
    DWORD exitCode() const;

    // The message boxes seen (and closed with OK) so far.
    std::vector<testing_support::SeenMessageBox> messageBoxes() const;

  private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    std::string startError_;
    std::unique_ptr<testing_support::MessageBoxWatcher> watcher_;
};

// The answer of a message to a window of another process, or 0 when it gave none in time.
LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace day

#endif
