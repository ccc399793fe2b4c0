#include "app_state.h"

#include "bounded_text.h"
#include <string.h>

const char* const APP_TITLE = "Muralto Version 3.05";

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
char dataFolder[256];
char iniFilePath[256];
_TXMINFOFILE languageStore;
_KFGINFOFILE configStore;
bool settingsLoaded = false;
bool configRefused = false;
bool hiddenInTray = true;

void initDataFolder() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    memset(dataFolder, 0, sizeof dataFolder);
    formatText(dataFolder, sizeof dataFolder, "%s\\Muralto", system);
}

void showWarning(HWND owner, const char* text) {
    if (text == nullptr) return;
    MessageBoxA(owner, text, APP_TITLE, MB_ICONWARNING);
}
