#include "open_file_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include "remote_buffer.h"

namespace e2e {

namespace {

const int kFileTypeBox = 0x470; // cmb1
const int kFileNameBox = 0x47C; // cmb13
const DWORD kAnswerTimeout = 5000;

bool sendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    DWORD_PTR answer = 0;
    bool ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeout,
                                  &answer) != 0;
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return ok;
}

bool sameFolder(const std::string& a, const std::string& b) {
    auto trimmed = [](std::string path) {
        while (path.size() > 3 && path.back() == '\\') path.pop_back();
        return path;
    };
    return lstrcmpiA(trimmed(a).c_str(), trimmed(b).c_str()) == 0;
}

} // namespace

OpenFileDialog::OpenFileDialog(const MuraltoRun& run, const std::string& title, DWORD timeoutMs)
    : process_(run.process()), window_(run.findDialog(title, timeoutMs)) {
    // The dialog takes its controls and its first folder while it opens.
    if (window_ != nullptr)
        waitUntil([this] { return IsWindowVisible(window_) && item(kFileNameBox) != nullptr; });
}

std::vector<std::string> OpenFileDialog::filters() const {
    return comboEntries(item(kFileTypeBox));
}

int OpenFileDialog::filter() const {
    LRESULT selected = -2;
    if (!sendWithin(item(kFileTypeBox), CB_GETCURSEL, 0, 0, &selected))
        ADD_FAILURE() << "the file-type box does not answer";
    return static_cast<int>(selected);
}

void OpenFileDialog::chooseFilter(int index) {
    HWND box = item(kFileTypeBox);
    EXPECT_TRUE(sendWithin(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0, nullptr));
    // CBN_SELENDOK, not CBN_SELCHANGE, is what makes the dialog return the new filter index.
    EXPECT_TRUE(sendWithin(window_, WM_COMMAND, MAKEWPARAM(kFileTypeBox, CBN_SELENDOK),
                           reinterpret_cast<LPARAM>(box), nullptr));
    EXPECT_EQ(index, filter()) << "the file-type box did not take entry " << index;
}

std::vector<std::string> OpenFileDialog::listedNames() const {
    std::vector<std::string> names;
    HWND view = FindWindowExA(window_, nullptr, "SHELLDLL_DefView", nullptr);
    HWND list = view != nullptr ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
    LRESULT count = 0;
    if (list == nullptr || !sendWithin(list, LVM_GETITEMCOUNT, 0, 0, &count)) return names;
    const size_t textSize = MAX_PATH;
    RemoteBuffer buffer(process_, sizeof(LVITEMA) + textSize);
    for (int row = 0; row < count && buffer.valid(); ++row) {
        LVITEMA item = {};
        item.pszText = static_cast<char*>(buffer.at(sizeof item));
        item.cchTextMax = textSize;
        char text[textSize] = "";
        if (!buffer.write(0, &item, sizeof item) || !buffer.write(sizeof item, text, textSize) ||
            !sendWithin(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), buffer.param(),
                        nullptr) ||
            !buffer.read(sizeof item, text, textSize))
            break;
        text[textSize - 1] = '\0';
        names.push_back(text);
    }
    return names;
}

std::string OpenFileDialog::folder() const {
    const size_t size = MAX_PATH;
    RemoteBuffer buffer(process_, size);
    char path[size] = "";
    LRESULT length = -1;
    if (!buffer.valid() || !buffer.write(0, path, size) ||
        !sendWithin(window_, CDM_GETFOLDERPATH, size, buffer.param(), &length) || length <= 0 ||
        !buffer.read(0, path, size))
        return "<no folder>";
    path[size - 1] = '\0';
    return path;
}

bool OpenFileDialog::enterFolder(const std::string& path) {
    if (!sendWithin(item(kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                    nullptr))
        return false;
    // Sent, not posted: a folder is entered while the message is handled.
    sendWithin(window_, WM_COMMAND, IDOK, 0, nullptr);
    return waitUntil([&] { return sameFolder(folder(), path); });
}

bool OpenFileDialog::typeAndOpen(const std::string& text) {
    if (!sendWithin(item(kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                    nullptr)) {
        ADD_FAILURE() << "the file-name box does not answer";
        return false;
    }
    // Posted: the program goes on with the add flow as soon as the dialog has returned.
    PostMessageA(window_, WM_COMMAND, IDOK, 0);
    return waitUntilClosed();
}

bool OpenFileDialog::openPath(const std::string& path) { return typeAndOpen(path); }

bool OpenFileDialog::openNames(const std::string& folderPath,
                               const std::vector<std::string>& names) {
    if (!enterFolder(folderPath)) {
        ADD_FAILURE() << "the dialog did not enter " << folderPath << "; it shows " << folder();
        return false;
    }
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "\"" : " \"") + name + "\"";
    return typeAndOpen(text);
}

void OpenFileDialog::cancel() { PostMessageA(window_, WM_COMMAND, IDCANCEL, 0); }

bool OpenFileDialog::waitUntilClosed(DWORD timeoutMs) const {
    return waitUntil([this] { return !IsWindow(window_); }, timeoutMs);
}

} // namespace e2e
