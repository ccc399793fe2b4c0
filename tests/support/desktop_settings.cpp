#include "desktop_settings.h"

namespace testing_support {

std::string desktopValue(const char* name, DWORD* storedLength) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return "<no key>";
    char data[512] = "";
    DWORD type = 0, length = sizeof data - 1;
    LONG result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &length);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "<missing>";
    if (type != REG_SZ) return "<not REG_SZ>";
    if (storedLength != nullptr) *storedLength = length;
    return data;
}

bool setDesktopValue(const char* name, const std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace testing_support
