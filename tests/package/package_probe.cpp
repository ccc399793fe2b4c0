// What the installer left in a Wine prefix, as Windows itself reports it, for install_test.sh:
//
//   package_probe folders                 the shell folders the installer writes to
//   package_probe shortcut FILE.lnk       a shortcut's target, working folder and arguments
//   package_probe uninstall-entry         the Add/Remove Programs entry of Muralto
//   package_probe window-texts TITLE SEC  waits up to SEC s for a top-level window whose title
//                                         begins with TITLE, prints its controls' texts, then
//                                         cancels it
//   package_probe wait-window TITLE SEC   waits up to SEC s for such a window
//   package_probe close-window TITLE      sends WM_CLOSE to such a window
//   package_probe run COMMAND-LINE        runs the command line as it stands (no quoting added)
//                                         and prints its exit code
//
// Output is one "name=value" line per fact. Exit codes: 0 done, 1 failed, 2 bad usage,
// 3 (uninstall-entry) no entry.
#include <windows.h>

#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "shortcuts.h"
#include "waiting.h"
#include "window_messages.h"

namespace {

const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Muralto";

int printFolder(const char* name, int csidl) {
    std::string path = testing_support::shellFolder(csidl);
    if (path.empty()) {
        fprintf(stderr, "package_probe: no folder for %s\n", name);
        return 1;
    }
    printf("%s=%s\n", name, path.c_str());
    return 0;
}

int folders() {
    int failed = printFolder("programs", CSIDL_COMMON_PROGRAMS);
    failed |= printFolder("startup", CSIDL_COMMON_STARTUP);
    failed |= printFolder("program_files", CSIDL_PROGRAM_FILES);
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    printf("system=%s\n", system);
    return failed;
}

int shortcut(const char* file) {
    testing_support::Shortcut link = testing_support::readShortcut(file);
    if (!link.error.empty()) {
        fprintf(stderr, "package_probe: %s\n", link.error.c_str());
        return 1;
    }
    printf("target=%s\nworkdir=%s\narguments=%s\n", link.target.c_str(), link.workingFolder.c_str(),
           link.arguments.c_str());
    return 0;
}

int uninstallEntry() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        printf("entry=absent\n");
        return 3;
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameSize = sizeof name;
        BYTE data[1024];
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            data[dataSize] = 0;
            printf("%s=%s\n", name, reinterpret_cast<char*>(data));
        } else if (type == REG_DWORD) {
            DWORD value;
            memcpy(&value, data, sizeof value);
            printf("%s=%lu\n", name, static_cast<unsigned long>(value));
        }
    }
    RegCloseKey(key);
    return 0;
}

// A visible top-level window whose title begins with the text: NSIS's pages add to theirs.
HWND findWindow(const char* titleStart) {
    for (HWND window : e2e::topLevelDialogs(0))
        if (IsWindowVisible(window) && e2e::textWithoutMessage(window).rfind(titleStart, 0) == 0)
            return window;
    return nullptr;
}

HWND waitForWindow(const char* title, int seconds) {
    HWND window = nullptr;
    if (e2e::waitUntil([&] { return (window = findWindow(title)) != nullptr; }, seconds * 1000))
        return window;
    fprintf(stderr, "package_probe: no window \"%s\" within %d s\n", title, seconds);
    for (HWND other : e2e::topLevelDialogs(0))
        if (IsWindowVisible(other))
            fprintf(stderr, "package_probe: a window \"%s\" is there\n",
                    e2e::textWithoutMessage(other).c_str());
    return nullptr;
}

// Some programs read their command line themselves: NSIS wants "_?=" unquoted, spaces and all.
int run(const char* commandLine) {
    char line[2048];
    if (strlen(commandLine) >= sizeof line) return 2;
    strcpy(line, commandLine);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        fprintf(stderr, "package_probe: cannot run %s (error %lu)\n", commandLine,
                static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        fprintf(stderr, "package_probe: %s still runs after 60 s\n", commandLine);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    printf("exit=%lu\n", static_cast<unsigned long>(code));
    return 0;
}

BOOL CALLBACK printChildText(HWND child, LPARAM) {
    char text[1024] = "";
    if (IsWindowVisible(child) && GetWindowTextA(child, text, sizeof text) > 0) {
        for (char* c = text; *c != '\0'; ++c)
            if (*c == '\r' || *c == '\n') *c = ' ';
        printf("text=%s\n", text);
    }
    return TRUE;
}

int windowTexts(const char* title, int seconds) {
    HWND window = waitForWindow(title, seconds);
    if (window == nullptr) return 1;
    // The pages fill their controls after the window appears.
    Sleep(1000);
    EnumChildWindows(window, printChildText, 0);
    fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "folders") == 0) return folders();
    if (argc == 3 && strcmp(argv[1], "shortcut") == 0) return shortcut(argv[2]);
    if (argc == 2 && strcmp(argv[1], "uninstall-entry") == 0) return uninstallEntry();
    if (argc == 4 && strcmp(argv[1], "window-texts") == 0)
        return windowTexts(argv[2], atoi(argv[3]));
    if (argc == 4 && strcmp(argv[1], "wait-window") == 0)
        return waitForWindow(argv[2], atoi(argv[3])) != nullptr ? 0 : 1;
    if (argc == 3 && strcmp(argv[1], "close-window") == 0) {
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 1;
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "run") == 0) return run(argv[2]);
    fprintf(stderr, "usage: package_probe folders | shortcut FILE | uninstall-entry |"
                    " window-texts TITLE SECONDS | wait-window TITLE SECONDS |"
                    " close-window TITLE | run COMMAND-LINE\n");
    return 2;
}
