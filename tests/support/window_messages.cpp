#include "window_messages.h"

#include <gtest/gtest.h>

namespace e2e {

bool sendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                DWORD timeoutMs) {
    // Not SMTO_ABORTIFHUNG: a program that imports a large picture is busy, not hung, and the
    // deadline bounds the wait either way.
    DWORD_PTR answer = 0;
    bool ok =
        SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer) != 0;
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return ok;
}

LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!sendWithin(window, message, wParam, lParam, &result))
        ADD_FAILURE() << "message 0x" << std::hex << message << " to window " << window
                      << " got no answer within " << std::dec << kPatience << " ms";
    return result;
}

std::string windowText(HWND window) {
    char text[2048] = "";
    if (window == nullptr) return "<no window>";
    if (!sendWithin(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)))
        return "<no answer>";
    text[sizeof text - 1] = '\0';
    return text;
}

std::string windowTextUtf8(HWND window) {
    wchar_t text[2048] = L"";
    DWORD_PTR answer = 0;
    if (window == nullptr) return "<no window>";
    if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0],
                             reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kPatience, &answer))
        return "<no answer>";
    text[sizeof text / sizeof text[0] - 1] = L'\0';
    char utf8[3 * sizeof text / sizeof text[0]] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

std::string textWithoutMessage(HWND window) {
    WCHAR wide[1024] = L"";
    if (window == nullptr) return "<no window>";
    InternalGetWindowText(window, wide, sizeof wide / sizeof wide[0]);
    char text[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::vector<std::string> comboEntries(HWND combo) {
    // Wine hands CB_GETLBTEXTA of another process's box back in UTF-16 unconverted, so the
    // entries are asked for in UTF-16 and converted here as the program's own code page would.
    std::vector<std::string> result;
    int count = static_cast<int>(ask(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        WCHAR wide[512] = L"";
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL, kPatience, &length) ||
            length >= sizeof wide / sizeof wide[0]) {
            result.push_back("<entry unreadable>");
            continue;
        }
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL,
                            kPatience, &length);
        char text[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        result.push_back(text);
    }
    return result;
}

std::vector<HWND> topLevelDialogs(DWORD process) {
    std::vector<HWND> found;
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (process == 0 || owner == process) found.push_back(window);
    }
    return found;
}

HWND findDialog(DWORD process, const std::string& caption, int requiredControl, HWND except) {
    for (HWND window : topLevelDialogs(process))
        if (window != except && textWithoutMessage(window) == caption &&
            (requiredControl == 0 || GetDlgItem(window, requiredControl) != nullptr))
            return window;
    return nullptr;
}

} // namespace e2e
