// Start-up, the message loop and the way out.
#include <windows.h>

#include <commctrl.h>
#include <string.h>

#include "app_state.h"
#include "data_folder.h"
#include "data_migration.h"
#include "interface_texts.h"
#include "kfg.h"
#include "main_window.h"
#include "monitor_layout.h"
#include "monitor_sequencer.h"
#include "wallpaper_list.h"
#include "resource.h"
#include "running_copy.h"
#include "settings.h"
#include "stale_files.h"
#include "system_call.h"
#include "tray_icon.h"
#include "txm.h"
#include "wallpaper_table.h"

namespace {

const char LANGUAGE_FILE[] = "Muralto.lng";
const float REQUIRED_KFG_VERSION = 2.5f;

// An older store has another layout: nothing may be read or written with it.
bool configurationLibraryIsRecent() {
    float version = KFG_getVersFloat();
    return version >= REQUIRED_KFG_VERSION; // false for a NaN too
}

// Every DLL loaded after this comes from the program's folder or System32, never from the
// current folder (where a shortcut or a download may start the program) nor from PATH. Windows 7
// has the call only with its update KB2533623: without it, the current folder is at least taken
// out of the search.
void keepDllSearchSafe() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesCall)(DWORD);
    auto setDefault =
        systemCall<SetDefaultDllDirectoriesCall>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault == nullptr ||
        !setDefault(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryA("");
}

// The language file of the folder Muralto is started in, as it always was; else the one beside
// the program, which a start from the user's Run key (in no particular folder) finds.
void languageFilePath(char* path, DWORD size) {
    lstrcpynA(path, LANGUAGE_FILE, static_cast<int>(size));
    if (GetFileAttributesA(LANGUAGE_FILE) != INVALID_FILE_ATTRIBUTES) return;
    char program[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    char* slash = length > 0 && length < sizeof program ? strrchr(program, '\\') : nullptr;
    if (slash == nullptr || static_cast<DWORD>(slash - program) + sizeof LANGUAGE_FILE + 1 > size)
        return;
    slash[1] = 0;
    lstrcpynA(path, program, static_cast<int>(size));
    lstrcatA(path, LANGUAGE_FILE);
}

// The dialog step gives the window the keyboard's manners: Tab, the mnemonics, Enter, Escape.
// The other boxes are modal, with dialog steps of their own. Nothing else is asked of the system
// for each message: a hidden window wakes once a second, and that must stay cheap.
int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (mainWindow != nullptr && IsDialogMessageA(mainWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    keepDllSearchSafe();
    if (!becomeTheRunningCopy()) return 0; // before anything reads or writes the data folder
    InitCommonControls();
    wchar_t unusableFolder[MAX_PATH] = L"";
    int folder = initDataFolder(unusableFolder, MAX_PATH);
    char languageFile[MAX_PATH];
    languageFilePath(languageFile, sizeof languageFile);
    loadInterfaceTexts(languageFile);
    if (!configurationLibraryIsRecent()) {
        showWarning(nullptr, interfaceText(TEXT_ERROR_KFG));
        return 0;
    }
    // Without a path that names the folder exactly nothing could be kept: say so and end.
    if (folder != DATA_FOLDER_OK) {
        showWarningNaming(nullptr, interfaceText(TEXT_ERROR_DATA_FOLDER), unusableFolder);
        return 0;
    }
    DataMove move = moveOldData();
    if (move.outcome == MOVE_FAILED)
        showWarningNaming(nullptr, interfaceText(TEXT_ERROR_MOVE), move.from);
    settingsLoaded = loadSettings();
    removeStaleFiles();
    mainWindow =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainWindowProc, 0);
    if (!settingsLoaded || wallpaperCount <= 0) {
        hiddenInTray = false;
        ShowWindow(mainWindow, SW_SHOW);
    }
    // With several monitors the sequencer starts from the saved pictures, composed again for
    // the monitors there are now.
    useMonitorLayout(currentMonitorLayout(), hiddenInTray);
    refillList(mainWindow);
    appInstance = instance;
    setTrayIcon(true);

    int exitCode = runMessageLoop();

    setTrayIcon(false);
    clearTable(wallpaperTable);
    TXM_clear(&languageStore);
    return exitCode;
}
