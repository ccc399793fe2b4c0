// The current user's desktop settings in the registry, as the program writes them.
#ifndef MURALTO_DESKTOP_SETTINGS_H
#define MURALTO_DESKTOP_SETTINGS_H

#include <windows.h>

#include <string>

namespace testing_support {

// A value of HKCU\Control Panel\Desktop: "<no key>", "<missing>" or "<not REG_SZ>" when it is
// not a text. storedLength, when given, gets the stored data length (the NUL included).
std::string desktopValue(const char* name, DWORD* storedLength = nullptr);
// Writes a text value there; false when it could not.
bool setDesktopValue(const char* name, const std::string& value);

} // namespace testing_support

#endif
