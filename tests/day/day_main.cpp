// The day's driver. Like the journeys' driver it starts a second copy of itself on a Wine
// desktop of its own, which Wine makes a virtual desktop with a task bar, so that the program's
// notification icon exists; it hands back that copy's output and exit code.
//   day_driver --pictures=FOLDER
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "day_options.h"

namespace {

const char kDesktopName[] = "muralto";
const char kDesktopSize[] = "1024x768";
const char kInsideFlag[] = "--inside-virtual-desktop";
const DWORD kWholeRunLimit = 110 * 1000; // below the shell script's limit, so a hang is reported
const DWORD kTaskBarPatience = 10 * 1000;

bool insideVirtualDesktop(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], kInsideFlag) == 0) return true;
    return false;
}

int runInsideVirtualDesktop() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        fprintf(stderr, "day: cannot write the virtual desktop's size\n");
        return 2;
    }
    RegSetValueExA(key, kDesktopName, 0, REG_SZ, reinterpret_cast<const BYTE*>(kDesktopSize),
                   sizeof kDesktopSize);
    RegCloseKey(key);

    std::string commandLine = std::string(GetCommandLineA()) + " " + kInsideFlag;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<char*>(kDesktopName);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info;
    fflush(stdout);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
        fprintf(stderr, "day: cannot start the driver on its desktop, error %lu\n", GetLastError());
        return 2;
    }
    CloseHandle(info.hThread);
    DWORD code = 1;
    if (WaitForSingleObject(info.hProcess, kWholeRunLimit) != WAIT_OBJECT_0) {
        fprintf(stderr, "day: the journey took longer than %lu s: stopped\n",
                kWholeRunLimit / 1000);
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    } else {
        GetExitCodeProcess(info.hProcess, &code);
    }
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

// The task bar comes up with the desktop's first window; the tray needs it.
bool waitForTaskBar() {
    GetDesktopWindow();
    DWORD start = GetTickCount();
    while (FindWindowA("Shell_TrayWnd", nullptr) == nullptr) {
        if (GetTickCount() - start > kTaskBarPatience) return false;
        Sleep(50);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!insideVirtualDesktop(argc, argv)) return runInsideVirtualDesktop();
    ::testing::InitGoogleTest(&argc, argv);
    if (!day::parseOptions(argc, argv)) {
        fprintf(stderr, "usage: day_driver --pictures=FOLDER\n");
        return 2;
    }
    if (!waitForTaskBar()) {
        fprintf(stderr, "day: no task bar on the virtual desktop\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
