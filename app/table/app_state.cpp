#include "app_state.h"

#include <string.h>
#include <wchar.h>

#include "unicode_text.h"

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

void showWarning(HWND owner, const char* text) {
    if (text == nullptr) return;
    MessageBoxA(owner, text, APP_TITLE, MB_ICONWARNING);
}

bool textNaming(const char* text, const wchar_t* name, wchar_t* out, size_t capacity) {
    // The name is put in by hand: a translated text is never a format for the system to read.
    wchar_t wide[1024];
    if (text == nullptr || !ansiToWide(text, wide, 1024)) return false;
    const wchar_t* mark = wcsstr(wide, L"%s");
    size_t before = mark != nullptr ? static_cast<size_t>(mark - wide) : wcslen(wide);
    const wchar_t* inserted = mark != nullptr && name != nullptr ? name : L"";
    const wchar_t* after = mark != nullptr ? mark + 2 : L"";
    size_t length = before + wcslen(inserted) + wcslen(after);
    if (length >= capacity) return false;
    wmemcpy(out, wide, before);
    wmemcpy(out + before, inserted, wcslen(inserted));
    wmemcpy(out + before + wcslen(inserted), after, wcslen(after) + 1);
    return true;
}

void showWarningNaming(HWND owner, const char* text, const wchar_t* name) {
    wchar_t caption[64], message[2048];
    if (!textNaming(text, name, message, sizeof message / sizeof message[0]) ||
        !ansiToWide(APP_TITLE, caption, 64))
        return;
    MessageBoxW(owner, message, caption, MB_ICONWARNING);
}
