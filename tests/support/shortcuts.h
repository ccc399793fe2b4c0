// What an installer leaves: the shortcuts it made and the shell folders they lie in.
#ifndef MURALTO_SHORTCUTS_H
#define MURALTO_SHORTCUTS_H

#include <windows.h>

#include <string>

namespace testing_support {

// What a shortcut file says: the program and the folder it starts in.
struct Shortcut {
    std::string target;
    std::string workingFolder;
    std::string arguments;
    std::string error; // empty when the file was read
};
Shortcut readShortcut(const std::string& linkFile);

// The shell folder of a CSIDL, or "" when there is none.
std::string shellFolder(int csidl);

} // namespace testing_support

#endif
