#include "virtual_desktop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

namespace {

const char kDesktopName[] = "muralto";
const char kInsideFlag[] = "--inside-virtual-desktop";
const DWORD kTaskBarPatience = 10 * 1000;

} // namespace

namespace e2e {

bool insideVirtualDesktop(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], kInsideFlag) == 0) return true;
    return false;
}

int runInsideVirtualDesktop(const char* who, unsigned long wholeRunLimit, const char* size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        fprintf(stderr, "%s: cannot write the virtual desktop's size\n", who);
        return 2;
    }
    RegSetValueExA(key, kDesktopName, 0, REG_SZ, reinterpret_cast<const BYTE*>(size),
                   static_cast<DWORD>(strlen(size) + 1));
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
        fprintf(stderr, "%s: cannot start the driver on its desktop, error %lu\n", who,
                GetLastError());
        return 2;
    }
    CloseHandle(info.hThread);
    DWORD code = 1;
    if (WaitForSingleObject(info.hProcess, wholeRunLimit) != WAIT_OBJECT_0) {
        fprintf(stderr, "%s: the run took longer than %lu s: stopped\n", who, wholeRunLimit / 1000);
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    } else {
        GetExitCodeProcess(info.hProcess, &code);
    }
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

bool waitForTaskBar() {
    GetDesktopWindow();
    DWORD start = GetTickCount();
    while (FindWindowA("Shell_TrayWnd", nullptr) == nullptr) {
        if (GetTickCount() - start > kTaskBarPatience) return false;
        Sleep(50);
    }
    return true;
}

int runDriver(int argc, char** argv, const Driver& driver,
              std::initializer_list<std::string Options::*> required) {
    if (!insideVirtualDesktop(argc, argv))
        return runInsideVirtualDesktop(driver.who, driver.wholeRunLimit, driver.desktopSize);
    ::testing::InitGoogleTest(&argc, argv);
    if (!parseOptions(argc, argv, required)) {
        fprintf(stderr, "usage: %s\n", driver.usage);
        return 2;
    }
    if (!waitForTaskBar()) {
        fprintf(stderr, "%s: no task bar on the virtual desktop\n", driver.who);
        return 2;
    }
    if (!options.screenshotFolder.empty())
        CreateDirectoryA(options.screenshotFolder.c_str(), nullptr);
    return RUN_ALL_TESTS();
}

} // namespace e2e
