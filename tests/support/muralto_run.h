// One run of the real Muralto.exe, started from a scratch folder and worked like a user would:
// through window messages to its controls and through what its windows show.
#ifndef MURALTO_E2E_MURALTO_RUN_H
#define MURALTO_E2E_MURALTO_RUN_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "main_window.h"
#include "message_box_watcher.h"
#include "resource.h"
#include "tray_icon.h"
#include "waiting.h"
#include "window_messages.h"

namespace e2e {

// The window caption, which is also every message box's caption.
extern const char kMainCaption[]; // "Muralto Version 3.05"

// The main window's controls by their dialog ids.
enum Control {
    ABOUT = IDC_ABOUT,
    WEB_PAGE = IDC_WEB_PAGE,
    HIDE = IDC_HIDE,
    LIST = IDC_LIST,
    MODE = IDC_MODE,
    ADD = IDC_ADD,
    DELETE_ONE = IDC_DELETE,
    DELETE_ALL = IDC_DELETE_ALL,
    TIME = IDC_TIME,
    QUIT = IDC_QUIT,
    RANDOM = IDC_RANDOM,
    START_CHANGE = IDC_START_CHANGE,
    LANGUAGE = IDC_LANGUAGE,
    COUNTER = IDC_COUNTER,
    LANGUAGE_LABEL = IDC_LANGUAGE_LABEL,
    PREVIEW_FRAME = IDC_PREVIEW_FRAME,
    TIME_LABEL = IDC_TIME_LABEL,
    SECONDS_LABEL = IDC_SECONDS_LABEL,
    MODE_LABEL = IDC_MODE_LABEL,
    LIST_FRAME = IDC_LIST_FRAME,
    APPLY_ALL = IDC_APPLY_ALL,
    MOMENT = IDC_MOMENT,
    MOMENT_FROM = IDC_MOMENT_FROM,
    MOMENT_TO = IDC_MOMENT_TO,
};

// The notification icon's callback message.
using ::WM_TRAYICON;

class MuraltoRun {
  public:
    struct Setup {
        bool languageFile = true;      // copy Muralto.lng beside the program
        bool outdatedKfg = false;      // the KFG.dll that reports 2.49 instead of the real one
        bool holdMessageBoxes = false; // held from the start (see holdMessageBoxes)
        bool heifLibraries = true;     // copy libheif.dll and libde265.dll beside the program
        std::string workingFolder;     // where it is started; empty: its own folder
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
    // The cell read in UTF-16, as UTF-8: a title with letters the ANSI code page lacks.
    std::string cellUtf8(int row, int column) const;
    std::vector<std::string> titles() const;
    std::string columnTitle(int column) const;
    void selectRow(int row);
    // The same for a program that may be busy up to timeoutMs (importing); false when it did
    // not answer by then.
    bool selectRowWithin(int row, DWORD timeoutMs);
    int selectedRow() const;
    // Selects the row and waits for a refresh tick that saw it. The tick enables Delete from the
    // selection the tick before it saw, so the selection is cleared first and Delete must turn
    // disabled, then enabled again. Afterwards the fields show the row's wallpaper, and what was
    // typed or chosen before the call has reached the table. False when no tick came in time.
    bool selectRowSeen(int row);
    // The same with the row selected now: proof that a tick ran after whatever came before.
    // With no row selected the tick disables Delete, so Delete is enabled from here and must
    // turn disabled again.
    bool waitForRefreshTick();
    // Waits for condition with a refresh tick posted at each look: a hidden window runs no
    // timer of its own for them, and a posted tick comes after whatever was posted before it.
    template <typename Condition> bool tickUntil(Condition condition) {
        return waitUntil([&] {
            post(WM_TIMER, REFRESH_TIMER, 0);
            return condition();
        });
    }

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
    void start(const std::string& program, const std::string& arguments, const char* folder,
               bool holdMessageBoxes = false);

    std::string folder_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    std::unique_ptr<testing_support::MessageBoxWatcher> watcher_;
};

// The tips of the icons in the task bar's notification area, read from the shell's tooltips,
// in UTF-8.
std::vector<std::string> notificationTips();
// How many of those tips have firstLine as their first line (Muralto's second line names the
// picture on display). Wine's task bar keeps a tooltip tool for every icon it was ever given, so
// a count can only be compared with an earlier one.
long tipCount(const std::string& firstLine);

// Text of a message box list, for failure messages.
std::string describe(const std::vector<testing_support::SeenMessageBox>& boxes);

} // namespace e2e

#endif
