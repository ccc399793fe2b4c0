// The Explorer-style open-file dialog of the program under test, worked from the driver's
// process as a user would: the file-type box, the file-name box and the Open button.
#ifndef MURALTO_E2E_OPEN_FILE_DIALOG_H
#define MURALTO_E2E_OPEN_FILE_DIALOG_H

#include <windows.h>

#include <string>
#include <vector>

#include "muralto_run.h"
#include "waiting.h"

namespace e2e {

class OpenFileDialog {
  public:
    // Waits for the run's dialog with this title.
    OpenFileDialog(const MuraltoRun& run, const std::string& title, DWORD timeoutMs = kPatience);

    bool found() const { return window_ != nullptr; }
    HWND window() const { return window_; }

    // The file-type box: its entries and the one selected, from 0.
    std::vector<std::string> filters() const;
    int filter() const;
    // Selects an entry and tells the dialog, as a user's choice in the box does.
    void chooseFilter(int index);

    // The names in the dialog's file list, as it shows them (its filter applied).
    std::vector<std::string> listedNames() const;
    // The folder the dialog shows.
    std::string folder() const;
    // Types the folder and presses Open, which enters it; true once the dialog shows it.
    bool enterFolder(const std::string& path);

    // Types into the file-name box, then presses Open and waits for the dialog to close.
    bool openPath(const std::string& path);
    // Several names of one folder, typed quoted as the dialog lists a multiple selection.
    bool openNames(const std::string& folder, const std::vector<std::string>& names);
    // The same with a UTF-8 path or UTF-8 names (the folder as above), typed in UTF-16: letters
    // the ANSI code page lacks.
    bool openPathUtf8(const std::string& path);
    bool openNamesUtf8(const std::string& folder, const std::vector<std::string>& names);
    void cancel();
    bool waitUntilClosed(DWORD timeoutMs = kPatience) const;

  private:
    HWND item(int id) const { return GetDlgItem(window_, id); }
    bool typeAndOpen(const std::wstring& text);

    HANDLE process_;
    HWND window_;
};

} // namespace e2e

#endif
