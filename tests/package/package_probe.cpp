// What the installer left in a Wine prefix, as Windows itself reports it, for install_test.sh:
//
//   package_probe folders                 the shell folders the installer writes to
//   package_probe shortcut FILE.lnk       a shortcut's target, working folder and arguments
//   package_probe uninstall-entry         the Add/Remove Programs entry of Muralto
//   package_probe uninstall-entries       where Muralto has entries: hklm, hklm32, hkcu=folder
//   package_probe window-texts TITLE TEXT SEC
//                                         waits up to SEC s for a top-level window whose title
//                                         begins with TITLE and for one of its controls to
//                                         show TEXT, prints its controls' texts, then cancels it
//   package_probe wait-window TITLE SEC   waits up to SEC s for such a window
//   package_probe close-window TITLE      sends WM_CLOSE to such a window
//   package_probe select-first TITLE SEC DESKTOP
//                                         on the desktop, selects the first row of such a
//                                         window's list as the Home key does, and waits up to
//                                         SEC s until the window shows it (Delete enabled)
//   package_probe run COMMAND-LINE        runs the command line as it stands (no quoting added),
//                                         waits for it and the processes it starts, and prints
//                                         its exit code
//   package_probe run-holding FILE COMMAND-LINE
//                                         the same while it holds FILE open with no sharing,
//                                         as a program running in another session would
//
// Output is one "name=value" line per fact. Exit codes: 0 done, 1 failed, 2 bad usage,
// 3 (uninstall-entry) no entry.
#include <windows.h>

#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "resource.h"
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
    failed |= printFolder("user_programs", CSIDL_PROGRAMS);
    failed |= printFolder("user_startup", CSIDL_STARTUP);
    // The user's, whose Muralto folder holds the data; earlier versions used the system's.
    failed |= printFolder("local_app_data", CSIDL_LOCAL_APPDATA);
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

// One line for each place holding an entry: the machine's registry view of 64-bit programs, its
// view of 32-bit ones (WOW6432Node, which only 64-bit Windows has) and the current user's.
int uninstallEntries() {
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const struct {
        const char* name;
        HKEY root;
        REGSAM view;
    } places[] = {{"hklm", HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
                  {"hklm32", HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
                  {"hkcu", HKEY_CURRENT_USER, 0}};
    for (const auto& place : places) {
        HKEY key;
        if ((place.view == KEY_WOW64_32KEY && sizeof(void*) == 4 && !wow64) ||
            RegOpenKeyExA(place.root, UNINSTALL_KEY, 0, KEY_READ | place.view, &key) !=
                ERROR_SUCCESS)
            continue;
        char folder[MAX_PATH] = "";
        DWORD size = sizeof folder - 1;
        RegQueryValueExA(key, "InstallLocation", nullptr, nullptr, reinterpret_cast<BYTE*>(folder),
                         &size);
        printf("%s=%s\n", place.name, folder);
        RegCloseKey(key);
    }
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

// Windows are looked for on the probe's own desktop: a program in a Wine virtual desktop lives
// on another, named after it, which exists once the program's start has made it.
bool useDesktop(const char* name, int seconds) {
    HDESK desktop = nullptr;
    e2e::waitUntil(
        [&] {
            desktop = OpenDesktopA(name, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
            return desktop != nullptr;
        },
        seconds * 1000);
    if (desktop != nullptr && SetThreadDesktop(desktop)) return true;
    fprintf(stderr, "package_probe: no desktop \"%s\" within %d s (error %lu)\n", name, seconds,
            static_cast<unsigned long>(GetLastError()));
    return false;
}

// A window shown and painted, for a screenshot: the paint is asked for, and waited for.
bool paintedWindow(const char* title, int seconds) {
    HWND window = waitForWindow(title, seconds);
    return window != nullptr &&
           RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The main window shows the selected row's preview: a screenshot of make run's sample shows one.
// The window is painted whole first, since a repaint of the monitor's art afterwards would
// cover the preview; the refresh that enables Delete paints the preview in the same handler,
// which a sent message, answered only between messages, waits out.
bool selectFirstRow(const char* title, int seconds) {
    HWND window = waitForWindow(title, seconds);
    if (window == nullptr ||
        !RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN))
        return false;
    PostMessageA(GetDlgItem(window, IDC_LIST), WM_KEYDOWN, VK_HOME, 0);
    DWORD_PTR ignored = 0;
    if (e2e::waitUntil([&] { return IsWindowEnabled(GetDlgItem(window, IDC_DELETE)) != 0; },
                       seconds * 1000) &&
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, seconds * 1000, &ignored))
        return true;
    fprintf(stderr, "package_probe: no row of \"%s\" selected within %d s\n", title, seconds);
    return false;
}

bool jobIsEmpty(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting;
    return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                     sizeof accounting, nullptr) &&
           accounting.ActiveProcesses == 0;
}

// Some programs read their command line themselves: NSIS wants "_?=" unquoted, spaces and all.
// The processes it starts are waited for too: an uninstaller not run in place hands over to a
// copy of itself and ends at once.
int run(const char* commandLine) {
    char line[2048];
    if (strlen(commandLine) >= sizeof line) return 2;
    strcpy(line, commandLine);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    // Under Wine the first window on a display starts the desktop's process, explorer.exe, which
    // would join the job and outlive the program: have it started here, outside the job.
    GetDesktopWindow();
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr || !CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                          nullptr, nullptr, &startup, &process)) {
        fprintf(stderr, "package_probe: cannot run %s (error %lu)\n", commandLine,
                static_cast<unsigned long>(GetLastError()));
        if (job != nullptr) CloseHandle(job);
        return 1;
    }
    bool inJob = AssignProcessToJobObject(job, process.hProcess) != 0;
    if (!inJob) fprintf(stderr, "package_probe: only %s itself is waited for\n", commandLine);
    ResumeThread(process.hThread);
    DWORD start = GetTickCount();
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    while (inJob && !jobIsEmpty(job) && GetTickCount() - start < 60000) Sleep(50);
    if (GetTickCount() - start >= 60000)
        fprintf(stderr, "package_probe: %s still runs after 60 s\n", commandLine);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    printf("exit=%lu\n", static_cast<unsigned long>(code));
    return 0;
}

int runHolding(const char* file, const char* commandLine) {
    HANDLE held = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "package_probe: cannot hold %s (error %lu)\n", file,
                static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    int result = run(commandLine);
    CloseHandle(held);
    return result;
}

struct TextSearch {
    const char* text;
    bool found;
};

BOOL CALLBACK matchChildText(HWND child, LPARAM parameter) {
    TextSearch* search = reinterpret_cast<TextSearch*>(parameter);
    char text[1024] = "";
    if (IsWindowVisible(child) && GetWindowTextA(child, text, sizeof text) > 0 &&
        strstr(text, search->text) != nullptr) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
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

int windowTexts(const char* title, const char* text, int seconds) {
    DWORD start = GetTickCount();
    HWND window = waitForWindow(title, seconds);
    if (window == nullptr) return 1;
    // The pages create and fill their controls after the window appears.
    TextSearch search = {text, false};
    for (;;) {
        EnumChildWindows(window, matchChildText, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > static_cast<DWORD>(seconds) * 1000) break;
        Sleep(100);
    }
    if (!search.found)
        fprintf(stderr, "package_probe: no control shows \"%s\" within %d s\n", text, seconds);
    EnumChildWindows(window, printChildText, 0);
    fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return search.found ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "folders") == 0) return folders();
    if (argc == 3 && strcmp(argv[1], "shortcut") == 0) return shortcut(argv[2]);
    if (argc == 2 && strcmp(argv[1], "uninstall-entry") == 0) return uninstallEntry();
    if (argc == 2 && strcmp(argv[1], "uninstall-entries") == 0) return uninstallEntries();
    if (argc == 5 && strcmp(argv[1], "window-texts") == 0)
        return windowTexts(argv[2], argv[3], atoi(argv[4]));
    if (argc == 4 && strcmp(argv[1], "wait-window") == 0)
        return waitForWindow(argv[2], atoi(argv[3])) != nullptr ? 0 : 1;
    if (argc == 5 && strcmp(argv[1], "wait-window") == 0)
        return useDesktop(argv[4], atoi(argv[3])) && paintedWindow(argv[2], atoi(argv[3])) ? 0 : 1;
    if (argc == 5 && strcmp(argv[1], "select-first") == 0)
        return useDesktop(argv[4], atoi(argv[3])) && selectFirstRow(argv[2], atoi(argv[3])) ? 0 : 1;
    if (argc == 3 && strcmp(argv[1], "close-window") == 0) {
        HWND window = findWindow(argv[2]);
        if (window == nullptr) return 1;
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "run") == 0) return run(argv[2]);
    if (argc == 4 && strcmp(argv[1], "run-holding") == 0) return runHolding(argv[2], argv[3]);
    fprintf(stderr, "usage: package_probe folders | shortcut FILE | uninstall-entry |"
                    " uninstall-entries |"
                    " window-texts TITLE TEXT SECONDS | wait-window TITLE SECONDS [DESKTOP] |"
                    " select-first TITLE SECONDS DESKTOP | close-window TITLE | run COMMAND-LINE |"
                    " run-holding FILE COMMAND-LINE\n");
    return 2;
}
