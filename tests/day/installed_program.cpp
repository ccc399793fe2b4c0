#include "installed_program.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <string.h>

#include "muralto_run.h"
#include "remote_buffer.h"

namespace day {

namespace {

const DWORD kAnswerTimeout = 3000; // for one message to be handled

struct DialogSearch {
    DWORD process;
    std::string caption;
    int requiredControl; // 0: any
    HWND except;
    HWND found;
};

BOOL CALLBACK findProcessDialog(HWND window, LPARAM param) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process != search->process || window == search->except || strcmp(className, "#32770") != 0)
        return TRUE;
    if (e2e::windowText(window) != search->caption) return TRUE;
    if (search->requiredControl != 0 && GetDlgItem(window, search->requiredControl) == nullptr)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND findTopLevelDialog(DWORD process, const std::string& caption, int requiredControl,
                        HWND except) {
    DialogSearch search = {process, caption, requiredControl, except, nullptr};
    EnumWindows(findProcessDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeout,
                             &answer))
        ADD_FAILURE() << "message 0x" << std::hex << message << " to window " << window
                      << " got no answer within " << std::dec << kAnswerTimeout << " ms";
    return static_cast<LRESULT>(answer);
}

Shortcut readShortcut(const std::string& linkFile) {
    Shortcut shortcut;
    if (FAILED(CoInitialize(nullptr))) {
        shortcut.error = "CoInitialize failed";
        return shortcut;
    }
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH) != 0 &&
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
        SUCCEEDED(persist->Load(wide, STGM_READ))) {
        char target[MAX_PATH] = "";
        char folder[MAX_PATH] = "";
        char arguments[1024] = "";
        link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
        link->GetWorkingDirectory(folder, sizeof folder);
        link->GetArguments(arguments, sizeof arguments);
        shortcut.target = target;
        shortcut.workingFolder = folder;
        shortcut.arguments = arguments;
    } else {
        shortcut.error = "cannot read the shortcut " + linkFile;
    }
    if (persist != nullptr) persist->Release();
    if (link != nullptr) link->Release();
    CoUninitialize();
    return shortcut;
}

std::string shellFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return path;
}

InstalledProgram::InstalledProgram(const Shortcut& shortcut) {
    // As the shell starts a shortcut: the target, quoted, in the shortcut's working folder.
    std::string commandLine = "\"" + shortcut.target + "\"";
    if (!shortcut.arguments.empty()) commandLine += " " + shortcut.arguments;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    const char* folder = shortcut.workingFolder.empty() ? nullptr : shortcut.workingFolder.c_str();
    if (!CreateProcessA(shortcut.target.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                        nullptr, folder, &startup, &info)) {
        startError_ = "CreateProcessA(" + shortcut.target + ") failed, error " +
                      std::to_string(GetLastError());
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    watcher_.reset(new testing_support::MessageBoxWatcher(processId_));
}

InstalledProgram::~InstalledProgram() {
    if (process_ == nullptr) return;
    if (running()) {
        ADD_FAILURE() << "Muralto.exe was still running at the end of the journey: killed";
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, e2e::kPatience);
    }
    watcher_.reset();
    CloseHandle(process_);
}

bool InstalledProgram::findMainWindow(DWORD timeoutMs) {
    if (process_ == nullptr) return false;
    // The list tells the main window apart from message boxes, which share its caption.
    e2e::waitUntil(
        [this] {
            window_ = findTopLevelDialog(processId_, e2e::kMainCaption, e2e::LIST, nullptr);
            return window_ != nullptr || !running();
        },
        timeoutMs);
    return window_ != nullptr;
}

HWND InstalledProgram::control(int id) const { return GetDlgItem(window_, id); }

bool InstalledProgram::visible() const { return window_ != nullptr && IsWindowVisible(window_); }

bool InstalledProgram::checked(int id) const {
    return ask(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string InstalledProgram::text(int id) const { return e2e::windowText(control(id)); }

HWND InstalledProgram::findDialog(const std::string& caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    e2e::waitUntil(
        [&] {
            found = findTopLevelDialog(processId_, caption, 0, window_);
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool InstalledProgram::post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return PostMessageA(window_, message, wParam, lParam) != 0;
}

void InstalledProgram::click(int id) {
    EXPECT_TRUE(IsWindowEnabled(control(id))) << "clicking the disabled control " << id;
    ask(control(id), BM_CLICK, 0, 0);
}

void InstalledProgram::clickLater(int id) {
    EXPECT_TRUE(IsWindowEnabled(control(id))) << "clicking the disabled control " << id;
    EXPECT_TRUE(PostMessageA(control(id), BM_CLICK, 0, 0));
}

void InstalledProgram::type(int id, const std::string& text) {
    HWND field = control(id);
    ask(field, EM_SETSEL, 0, -1);
    ask(field, WM_CHAR, VK_BACK, 0);
    for (char c : text) ask(field, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void InstalledProgram::choose(int comboId, int index) {
    HWND combo = control(comboId);
    ask(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ask(window_, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int InstalledProgram::selection(int comboId) const {
    return static_cast<int>(ask(control(comboId), CB_GETCURSEL, 0, 0));
}

int InstalledProgram::rowCount() const {
    return static_cast<int>(ask(control(e2e::LIST), LVM_GETITEMCOUNT, 0, 0));
}

std::string InstalledProgram::cell(int row, int column) const {
    const size_t textSize = 260;
    e2e::RemoteBuffer buffer(process_, sizeof(LVITEMA) + textSize);
    if (!buffer.valid()) return "<no remote buffer>";
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.iSubItem = column;
    item.pszText = static_cast<char*>(buffer.at(sizeof item));
    item.cchTextMax = textSize;
    char text[textSize] = "";
    if (!buffer.write(0, &item, sizeof item) || !buffer.write(sizeof item, text, textSize))
        return "<remote write failed>";
    ask(control(e2e::LIST), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), buffer.param());
    if (!buffer.read(sizeof item, text, textSize)) return "<remote read failed>";
    text[textSize - 1] = '\0';
    return text;
}

void InstalledProgram::selectRow(int row) {
    e2e::RemoteBuffer buffer(process_, sizeof(LVITEMA));
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ASSERT_TRUE(buffer.write(0, &item, sizeof item));
    EXPECT_TRUE(ask(control(e2e::LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row), buffer.param()))
        << "selecting row " << row;
}

bool InstalledProgram::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool InstalledProgram::waitForExit(DWORD timeoutMs) {
    return process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD InstalledProgram::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr) GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<testing_support::SeenMessageBox> InstalledProgram::messageBoxes() const {
    return watcher_ ? watcher_->seen() : std::vector<testing_support::SeenMessageBox>();
}

} // namespace day
