#include "open_file_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include "folders.h"
#include "remote_buffer.h"

namespace e2e {

OpenFileDialog::OpenFileDialog(const MuraltoRun& run, const std::string& title, DWORD timeoutMs)
    : process_(run.process()), window_(run.findDialog(title, timeoutMs)) {
    // The dialog takes its controls and its first folder while it opens.
    if (window_ != nullptr)
        waitUntil([this] { return IsWindowVisible(window_) && item(cmb13) != nullptr; });
}

std::vector<std::string> OpenFileDialog::filters() const { return comboEntries(item(cmb1)); }

int OpenFileDialog::filter() const {
    LRESULT selected = -2;
    if (!sendWithin(item(cmb1), CB_GETCURSEL, 0, 0, &selected))
        ADD_FAILURE() << "the file-type box does not answer";
    return static_cast<int>(selected);
}

void OpenFileDialog::chooseFilter(int index) {
    HWND box = item(cmb1);
    EXPECT_TRUE(sendWithin(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0, nullptr));
    // CBN_SELENDOK, not CBN_SELCHANGE, is what makes the dialog return the new filter index.
    EXPECT_TRUE(sendWithin(window_, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
                           reinterpret_cast<LPARAM>(box), nullptr));
    EXPECT_EQ(index, filter()) << "the file-type box did not take entry " << index;
}

std::vector<std::string> OpenFileDialog::listedNames() const {
    std::vector<std::string> names;
    HWND view = FindWindowExA(window_, nullptr, "SHELLDLL_DefView", nullptr);
    HWND list = view != nullptr ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
    LRESULT count = 0;
    if (list == nullptr || !sendWithin(list, LVM_GETITEMCOUNT, 0, 0, &count)) return names;
    std::string name;
    for (int row = 0; row < count && listViewText(process_, list, row, 0, &name); ++row)
        names.push_back(name);
    return names;
}

// The program's dialog is a Unicode one, which answers in UTF-16.
std::string OpenFileDialog::folder() const {
    const size_t size = MAX_PATH;
    RemoteBuffer buffer(process_, size * sizeof(wchar_t));
    wchar_t path[size] = L"";
    LRESULT length = -1;
    if (!buffer.valid() || !buffer.write(0, path, sizeof path) ||
        !sendWithin(window_, CDM_GETFOLDERPATH, size, buffer.param(), &length) || length <= 0 ||
        !buffer.read(0, path, sizeof path))
        return "<no folder>";
    path[size - 1] = L'\0';
    char ansi[2 * size] = "";
    WideCharToMultiByte(CP_ACP, 0, path, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

bool OpenFileDialog::enterFolder(const std::string& path) {
    if (!sendWithin(item(cmb13), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), nullptr))
        return false;
    // Sent, not posted: a folder is entered while the message is handled.
    sendWithin(window_, WM_COMMAND, IDOK, 0, nullptr);
    return waitUntil([&] { return testing_support::sameFolder(folder(), path); });
}

namespace {

std::wstring wideOf(const std::string& text, UINT codePage) {
    std::wstring wide(text.size() + 1, L'\0');
    int length =
        MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

std::wstring quotedNames(const std::vector<std::string>& names, UINT codePage) {
    std::wstring text;
    for (const std::string& name : names)
        text += (text.empty() ? L"\"" : L" \"") + wideOf(name, codePage) + L"\"";
    return text;
}

} // namespace

// In UTF-16, which carries every letter to the dialog.
bool OpenFileDialog::typeAndOpen(const std::wstring& text) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(item(cmb13), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_NORMAL, kPatience, &answer)) {
        ADD_FAILURE() << "the file-name box does not answer";
        return false;
    }
    // Posted: the program goes on with the add flow as soon as the dialog has returned.
    PostMessageA(window_, WM_COMMAND, IDOK, 0);
    return waitUntilClosed();
}

bool OpenFileDialog::openPath(const std::string& path) { return typeAndOpen(wideOf(path, CP_ACP)); }

bool OpenFileDialog::openPathUtf8(const std::string& path) {
    return typeAndOpen(wideOf(path, CP_UTF8));
}

bool OpenFileDialog::openNames(const std::string& folderPath,
                               const std::vector<std::string>& names) {
    if (!enterFolder(folderPath)) {
        ADD_FAILURE() << "the dialog did not enter " << folderPath << "; it shows " << folder();
        return false;
    }
    return typeAndOpen(quotedNames(names, CP_ACP));
}

bool OpenFileDialog::openNamesUtf8(const std::string& folderPath,
                                   const std::vector<std::string>& names) {
    if (!enterFolder(folderPath)) {
        ADD_FAILURE() << "the dialog did not enter " << folderPath << "; it shows " << folder();
        return false;
    }
    return typeAndOpen(quotedNames(names, CP_UTF8));
}

void OpenFileDialog::cancel() { PostMessageA(window_, WM_COMMAND, IDCANCEL, 0); }

bool OpenFileDialog::waitUntilClosed(DWORD timeoutMs) const {
    return waitUntil([this] { return !IsWindow(window_); }, timeoutMs);
}

} // namespace e2e
