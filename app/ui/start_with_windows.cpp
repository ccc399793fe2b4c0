#include "start_with_windows.h"

#include <windows.h>

#include <wchar.h>

namespace {

const wchar_t RUN_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t VALUE_NAME[] = L"Muralto";

} // namespace

bool startsWithWindows() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool there =
        RegQueryValueExW(key, VALUE_NAME, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return there;
}

// In UTF-16 and quoted, so that any folder the program was installed in starts it.
bool setStartWithWindows(bool on) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = ERROR_SUCCESS;
    if (on) {
        wchar_t program[MAX_PATH + 1] = L"";
        const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH + 1);
        wchar_t command[MAX_PATH + 3] = L"";
        if (length == 0 || length > MAX_PATH) {
            result = ERROR_FILENAME_EXCED_RANGE;
        } else {
            swprintf(command, sizeof command / sizeof command[0], L"\"%ls\"", program);
            result =
                RegSetValueExW(key, VALUE_NAME, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                               static_cast<DWORD>((wcslen(command) + 1) * sizeof(wchar_t)));
        }
    } else {
        result = RegDeleteValueW(key, VALUE_NAME);
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
