// One run of the real Muralto.exe, started from a scratch folder and worked like a user would:
// through window messages to its controls and through what its windows show.
#ifndef MURALTO_E2E_MURALTO_RUN_H
#define MURALTO_E2E_MURALTO_RUN_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "message_box_watcher.h"
#include "waiting.h"

namespace e2e {

// The window caption, which is also every message box's caption.
extern const char kMainCaption[]; // "Muralto Version 3.05"

// The main window's controls by their dialog ids.
enum Control {
    ABOUT = 1000,
    WEB_PAGE = 1001,
    HIDE = 1002,
    LIST = 1003,
    MODE = 1004,
    ADD = 1005,
    DELETE_ONE = 1006,
    DELETE_ALL = 1007,
    TIME = 1008,
    QUIT = 1009,
    RANDOM = 1010,
    START_CHANGE = 1012,
    LANGUAGE = 1013,
    COUNTER = 1015,
    LANGUAGE_LABEL = 1016,
    PREVIEW_FRAME = 1017,
    TIME_LABEL = 1019,
    SECONDS_LABEL = 1020,
    MODE_LABEL = 1021,
    LIST_FRAME = 1022,
    APPLY_ALL = 1024,
};

// The notification icon's callback message.
const UINT WM_TRAYICON = 0x0606;

class MuraltoRun {
  public:
    struct Setup {
        bool languageFile = true; // copy Muralto.lng beside the program
        bool outdatedKfg = false; // the KFG.dll that reports 2.49 instead of the real one
    };

    // Copies the program into a folder of the current test and starts it from there.
    explicit MuraltoRun(const Setup& setup);
    MuraltoRun() : MuraltoRun(Setup()) {}
    // Starts a program where it lies, as a shortcut starts it: the target, quoted, with its
    // arguments, in the working folder (an installed Muralto, say).
    MuraltoRun(const std::string& program, const std::string& workingFolder,
               const std::string& arguments);
    // A program still running here has hung or was left behind by a failed check: it is killed.
    ~MuraltoRun();
    MuraltoRun(const MuraltoRun&) = delete;
    MuraltoRun& operator=(const MuraltoRun&) = delete;

    bool started() const { return process_ != nullptr; }
    const std::string& folder() const { return folder_; }
    HANDLE process() const { return process_; }
    DWORD processId() const { return processId_; }

    // Waits for the main window, shown or hidden.
    bool findMainWindow(DWORD timeoutMs = kPatience);
    HWND window() const { return window_; }
    HWND control(int id) const;
    bool visible() const;
    bool enabled(int id) const;
    bool checked(int id) const;
    std::string text(int id) const;

    // Another top-level dialog of the program with this caption (the About box, a message box).
    HWND findDialog(const std::string& caption, DWORD timeoutMs = kPatience) const;

    // Messages to the main window; false when it did not answer in time.
    bool send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) const;
    bool post(UINT message, WPARAM wParam, LPARAM lParam) const;

    // A click, handled before the call returns.
    void click(int id);
    // A click posted to the button, for the buttons that open a modal box.
    void clickLater(int id);
    // Replaces the field's text by typing it, key by key.
    void type(int id, const std::string& text);
    // Chooses an entry of a drop-down list and tells the window, as a user's choice does.
    void choose(int comboId, int index);
    int selection(int comboId) const;
    std::vector<std::string> entries(int comboId) const;

    // The wallpaper list.
    int rowCount() const;
    std::string cell(int row, int column) const;
    std::vector<std::string> titles() const;
    std::string columnTitle(int column) const;
    void selectRow(int row);
    int selectedRow() const;
    // Selects the row and waits for a refresh tick that saw it. The tick enables Delete from the
    // selection the tick before it saw, so the selection is cleared first and Delete must turn
    // disabled, then enabled again. Afterwards the fields show the row's wallpaper, and what was
    // typed or chosen before the call has reached the table. False when no tick came in time.
    bool selectRowSeen(int row);
    // The same with the row selected now: proof that a tick ran after whatever came before.
    bool waitForRefreshTick() { return selectRowSeen(selectedRow()); }

    // Whether the shell holds the program's notification icon (id 1 of its main window).
    bool trayIconShown() const;
    // Takes the icon away as a restarting shell does, without the program knowing.
    bool dropTrayIcon() const;

    bool running() const;
    bool waitForExit(DWORD timeoutMs = kPatience);
    DWORD exitCode() const;

    // The message boxes seen (and closed with OK) so far.
    std::vector<testing_support::SeenMessageBox> messageBoxes() const;
    // Leaves each new message box open until released, which holds the program at a known
    // point (see MessageBoxWatcher::hold); off releases the boxes held.
    void holdMessageBoxes(bool hold);
    void releaseMessageBoxes();

  private:
    void start(const std::string& program, const std::string& arguments, const char* folder);

    std::string folder_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    std::unique_ptr<testing_support::MessageBoxWatcher> watcher_;
};

// The tips of the icons in the task bar's notification area, read from the shell's tooltips.
std::vector<std::string> notificationTips();

// The answer of a message to a window of another process; a failure of the test, and 0, when
// it gives none in time.
LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A window's text, asked with WM_GETTEXT.
std::string windowText(HWND window);
// The text Windows keeps for a window, read without a message, so that it answers while the
// program's thread is busy (importing a picture, say).
std::string textWithoutMessage(HWND window);
// The entries of a drop-down list of another process.
std::vector<std::string> comboEntries(HWND combo);

// Text of a message box list, for failure messages.
std::string describe(const std::vector<testing_support::SeenMessageBox>& boxes);

} // namespace e2e

#endif
