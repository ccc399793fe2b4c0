#include "muralto_run.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <string.h>

#include <algorithm>

#include "folders.h"
#include "options.h"
#include "remote_buffer.h"
#include "test_files.h"

namespace e2e {

const char kMainCaption[] = "Muralto Version 3.05";

namespace {

const UINT kTrayIconId = 1;
const DWORD kFirstShellRecordSize = 88; // NOTIFYICONDATAA as the first shell version knew it

bool copyInto(const std::string& from, const std::string& name, const std::string& to) {
    bool ok = CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    if (!ok) ADD_FAILURE() << "cannot copy " << from << "\\" << name << " to " << to;
    return ok;
}

struct TipSearch {
    HWND taskBar;
    std::vector<std::string> tips;
};

// Every tool of a tooltip window that the task bar owns; its texts live in the shell's process.
BOOL CALLBACK collectTips(HWND window, LPARAM param) {
    TipSearch* search = reinterpret_cast<TipSearch*>(param);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, TOOLTIPS_CLASSA) != 0 || GetWindow(window, GW_OWNER) != search->taskBar)
        return TRUE;
    DWORD shellId = 0;
    GetWindowThreadProcessId(window, &shellId);
    HANDLE shell =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, shellId);
    if (shell == nullptr) return TRUE;
    DWORD_PTR tools = 0;
    SendMessageTimeoutW(window, TTM_GETTOOLCOUNT, 0, 0, SMTO_NORMAL, kPatience, &tools);
    for (DWORD_PTR i = 0; i < tools; ++i) {
        const size_t textOffset = 512, textChars = 1024;
        RemoteBuffer buffer(shell, textOffset + textChars * sizeof(WCHAR));
        TTTOOLINFOW tool;
        memset(&tool, 0, sizeof tool);
        tool.cbSize = sizeof tool;
        tool.lpszText = static_cast<WCHAR*>(buffer.at(textOffset));
        WCHAR text[textChars] = L"";
        DWORD_PTR found = 0;
        if (!buffer.write(0, &tool, sizeof tool) || !buffer.write(textOffset, text, sizeof text) ||
            !SendMessageTimeoutW(window, TTM_ENUMTOOLSW, i, buffer.param(), SMTO_ABORTIFHUNG,
                                 kPatience, &found) ||
            !found || !buffer.read(textOffset, text, sizeof text))
            continue;
        text[textChars - 1] = L'\0';
        char tip[textChars * 3] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, tip, sizeof tip, nullptr, nullptr);
        search->tips.push_back(tip);
    }
    CloseHandle(shell);
    return TRUE;
}

} // namespace

std::vector<std::string> notificationTips() {
    TipSearch search = {FindWindowA("Shell_TrayWnd", nullptr), {}};
    if (search.taskBar != nullptr) EnumWindows(collectTips, reinterpret_cast<LPARAM>(&search));
    return search.tips;
}

std::string describe(const std::vector<testing_support::SeenMessageBox>& boxes) {
    std::string out;
    for (const auto& box : boxes) out += "\n  [" + box.caption + "] \"" + box.text + "\"";
    return out.empty() ? "none" : out;
}

MuraltoRun::MuraltoRun(const Setup& setup) {
    std::string runs = testing_support::currentFolder() + "\\runs";
    CreateDirectoryA(runs.c_str(), nullptr);
    folder_ = runs + "\\" + testing_support::testFileName("");
    testing_support::makeEmptyFolder(folder_);

    const std::string& programs = options.programFolder;
    bool copied =
        copyInto(programs, "Muralto.exe", folder_) && copyInto(programs, "TXM.dll", folder_) &&
        copyInto(setup.outdatedKfg ? options.outdatedKfgFolder : programs, "KFG.dll", folder_) &&
        (!setup.heifLibraries || (copyInto(programs, "libheif.dll", folder_) &&
                                  copyInto(programs, "libde265.dll", folder_))) &&
        (!setup.languageFile || copyInto(programs, "Muralto.lng", folder_));
    if (!copied) return;

    const std::string& working = setup.workingFolder.empty() ? folder_ : setup.workingFolder;
    start(folder_ + "\\Muralto.exe", "", working.c_str(), setup.holdMessageBoxes);
}

MuraltoRun::MuraltoRun(const std::string& program, const std::string& workingFolder,
                       const std::string& arguments)
    : folder_(workingFolder) {
    start(program, arguments, workingFolder.empty() ? nullptr : workingFolder.c_str());
}

void MuraltoRun::start(const std::string& program, const std::string& arguments, const char* folder,
                       bool holdMessageBoxes) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    // Suspended until the watcher is there, so that it sees a box of the very start too. On
    // busy cores Wine's loader may fail to bring a new process up at all (ERROR_INTERNAL_ERROR,
    // before any of the program runs): that start alone is tried again.
    BOOL started = FALSE;
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                 CREATE_SUSPENDED, nullptr, folder, &startup, &info);
        error = started ? ERROR_SUCCESS : GetLastError();
        if (error != ERROR_INTERNAL_ERROR) break;
    }
    if (!started) {
        ADD_FAILURE() << "CreateProcessA(" << program << ") failed, error " << error;
        return;
    }
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    watcher_.reset(new testing_support::MessageBoxWatcher(processId_));
    watcher_->hold(holdMessageBoxes);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
}

MuraltoRun::~MuraltoRun() {
    if (process_ == nullptr) return;
    if (running()) {
        ADD_FAILURE() << "Muralto.exe was still running at the end of the test: killed";
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, kPatience);
    }
    watcher_.reset();
    CloseHandle(process_);
}

bool MuraltoRun::findMainWindow(DWORD timeoutMs) {
    if (process_ == nullptr) return false;
    // The list tells the main window apart from message boxes, which share its caption.
    waitUntil(
        [this] {
            window_ = e2e::findDialog(processId_, kMainCaption, LIST);
            return window_ != nullptr || !running();
        },
        timeoutMs);
    return window_ != nullptr;
}

HWND MuraltoRun::control(int id) const { return GetDlgItem(window_, id); }

bool MuraltoRun::visible() const { return window_ != nullptr && IsWindowVisible(window_); }

bool MuraltoRun::enabled(int id) const {
    HWND item = control(id);
    return item != nullptr && IsWindowEnabled(item);
}

bool MuraltoRun::checked(int id) const {
    return ask(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string MuraltoRun::text(int id) const { return windowText(control(id)); }

HWND MuraltoRun::findDialog(const std::string& caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
            found = e2e::findDialog(processId_, caption, 0, window_);
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool MuraltoRun::send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
    return sendWithin(window_, message, wParam, lParam, result);
}

bool MuraltoRun::post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return PostMessageA(window_, message, wParam, lParam) != 0;
}

void MuraltoRun::click(int id) {
    EXPECT_TRUE(enabled(id)) << "clicking the disabled control " << id;
    ask(control(id), BM_CLICK, 0, 0);
}

void MuraltoRun::clickLater(int id) {
    EXPECT_TRUE(enabled(id)) << "clicking the disabled control " << id;
    EXPECT_TRUE(PostMessageA(control(id), BM_CLICK, 0, 0));
}

void MuraltoRun::type(int id, const std::string& text) {
    HWND field = control(id);
    ask(field, EM_SETSEL, 0, -1);
    ask(field, WM_CHAR, VK_BACK, 0);
    for (char c : text) ask(field, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void MuraltoRun::choose(int comboId, int index) {
    HWND combo = control(comboId);
    ask(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ask(window_, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int MuraltoRun::selection(int comboId) const {
    return static_cast<int>(ask(control(comboId), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> MuraltoRun::entries(int comboId) const {
    return comboEntries(control(comboId));
}

int MuraltoRun::rowCount() const {
    return static_cast<int>(ask(control(LIST), LVM_GETITEMCOUNT, 0, 0));
}

std::string MuraltoRun::cell(int row, int column) const {
    std::string text;
    if (!listViewText(process_, control(LIST), row, column, &text))
        ADD_FAILURE() << "the list did not give row " << row << ", column " << column;
    return text;
}

std::string MuraltoRun::cellUtf8(int row, int column) const {
    std::string text;
    if (!listViewTextUtf8(process_, control(LIST), row, column, &text))
        ADD_FAILURE() << "the list did not give row " << row << ", column " << column;
    return text;
}

std::vector<std::string> MuraltoRun::titles() const {
    std::vector<std::string> result;
    for (int row = 0, rows = rowCount(); row < rows; ++row) result.push_back(cell(row, 0));
    return result;
}

std::string MuraltoRun::columnTitle(int column) const {
    const size_t textSize = 260;
    RemoteBuffer buffer(process_, sizeof(LVCOLUMNA) + textSize);
    if (!buffer.valid()) return "<no remote buffer>";
    LVCOLUMNA header;
    memset(&header, 0, sizeof header);
    header.mask = LVCF_TEXT;
    header.pszText = static_cast<char*>(buffer.at(sizeof header));
    header.cchTextMax = textSize;
    char text[textSize] = "";
    if (!buffer.write(0, &header, sizeof header) || !buffer.write(sizeof header, text, textSize))
        return "<remote write failed>";
    if (!ask(control(LIST), LVM_GETCOLUMNA, static_cast<WPARAM>(column), buffer.param()))
        return "<no column>";
    if (!buffer.read(sizeof header, text, textSize)) return "<remote read failed>";
    text[textSize - 1] = '\0';
    return text;
}

void MuraltoRun::selectRow(int row) {
    EXPECT_TRUE(selectRowWithin(row, kPatience)) << "selecting row " << row;
}

bool MuraltoRun::selectRowWithin(int row, DWORD timeoutMs) {
    RemoteBuffer buffer(process_, sizeof(LVITEMA));
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    LRESULT done = FALSE;
    return buffer.write(0, &item, sizeof item) &&
           sendWithin(control(LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row), buffer.param(),
                      &done, timeoutMs) &&
           done;
}

bool MuraltoRun::selectRowSeen(int row) {
    if (row < 0) return false;
    RemoteBuffer buffer(process_, sizeof(LVITEMA));
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED;
    if (!buffer.write(0, &item, sizeof item)) return false;
    ask(control(LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), buffer.param());
    if (!tickUntil([this] { return !enabled(DELETE_ONE); })) return false;
    selectRow(row);
    return tickUntil([this] { return enabled(DELETE_ONE); });
}

bool MuraltoRun::waitForRefreshTick() {
    int row = selectedRow();
    if (row >= 0) return selectRowSeen(row);
    HWND button = control(DELETE_ONE);
    return waitUntil([button] {
               EnableWindow(button, TRUE);
               return IsWindowEnabled(button) != 0;
           }) &&
           tickUntil([button] { return !IsWindowEnabled(button); });
}

int MuraltoRun::selectedRow() const {
    return static_cast<int>(
        ask(control(LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool MuraltoRun::trayIconShown() const {
    // Modifying nothing succeeds exactly when the shell holds an icon for this window and id.
    NOTIFYICONDATAA record;
    memset(&record, 0, sizeof record);
    record.cbSize = kFirstShellRecordSize;
    record.hWnd = window_;
    record.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != 0;
}

bool MuraltoRun::dropTrayIcon() const {
    NOTIFYICONDATAA record;
    memset(&record, 0, sizeof record);
    record.cbSize = kFirstShellRecordSize;
    record.hWnd = window_;
    record.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_DELETE, &record) != 0;
}

bool MuraltoRun::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool MuraltoRun::waitForExit(DWORD timeoutMs) {
    return process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD MuraltoRun::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr) GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<testing_support::SeenMessageBox> MuraltoRun::messageBoxes() const {
    return watcher_ ? watcher_->seen() : std::vector<testing_support::SeenMessageBox>();
}

void MuraltoRun::holdMessageBoxes(bool hold) {
    if (watcher_) watcher_->hold(hold);
}

void MuraltoRun::releaseMessageBoxes() {
    if (watcher_) watcher_->release();
}

long tipCount(const std::string& firstLine) {
    long count = 0;
    for (const std::string& tip : notificationTips())
        count += tip.substr(0, tip.find('\n')) == firstLine ? 1 : 0;
    return count;
}

} // namespace e2e
