// SHGetKnownFolderPath is declared for Windows Vista and later only; the rest of the program
// keeps the record sizes of the older headers.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#include "data_folder.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"

namespace {

const char FOLDER_NAME[] = "\\Muralto";
const wchar_t WIDE_FOLDER_NAME[] = L"\\Muralto";

// base's exact ANSI form + "\Muralto" into folder when it is short enough.
int folderFrom(const wchar_t* base, char* folder, size_t size) {
    char ansi[MAX_PATH * 2];
    if (!exactAnsi(base, ansi, sizeof ansi)) return DATA_FOLDER_NOT_ANSI;
    if (strlen(ansi) + strlen(FOLDER_NAME) > MAX_DATA_FOLDER_LENGTH ||
        !formatText(folder, size, "%s%s", ansi, FOLDER_NAME))
        return DATA_FOLDER_TOO_LONG;
    return DATA_FOLDER_OK;
}

// Joins a and b into out (count characters); false when they do not fit.
bool joinWide(wchar_t* out, size_t count, const wchar_t* a, const wchar_t* b) {
    size_t lengthA = wcslen(a), lengthB = wcslen(b);
    if (lengthA + lengthB + 1 > count) return false;
    memcpy(out, a, lengthA * sizeof *a);
    memcpy(out + lengthA, b, (lengthB + 1) * sizeof *b);
    return true;
}

} // namespace

bool exactAnsi(const wchar_t* wide, char* ansi, int size) {
    // A UTF-8 code page takes no flags and reports no default character; the reading back
    // tells for every code page.
    bool utf8 = GetACP() == CP_UTF8;
    BOOL defaulted = FALSE;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, ansi, size,
                                     nullptr, utf8 ? nullptr : &defaulted);
    if (length == 0 || defaulted) return false;
    wchar_t back[MAX_PATH * 2];
    int backLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, back,
                                         sizeof back / sizeof back[0]);
    return backLength != 0 && wcscmp(back, wide) == 0;
}

int ansiDataFolder(const wchar_t* base, char* folder, size_t size) {
    if (size > 0) folder[0] = '\0';
    if (base == nullptr || base[0] == L'\0') return DATA_FOLDER_NO_PROFILE;
    int result = folderFrom(base, folder, size);
    if (result == DATA_FOLDER_OK) return result;
    // The short name exists only for a folder that is there, and only where the volume makes
    // short names: without one the long name's result stands.
    wchar_t shortBase[MAX_PATH];
    DWORD length = GetShortPathNameW(base, shortBase, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        int shortResult = folderFrom(shortBase, folder, size);
        if (shortResult == DATA_FOLDER_OK) return shortResult;
        // A short name written exactly but too long says more than the long name's answer.
        if (shortResult == DATA_FOLDER_TOO_LONG) result = shortResult;
    }
    if (size > 0) folder[0] = '\0';
    return result;
}

bool localAppDataFolder(wchar_t* folder, size_t count) {
    PWSTR found = nullptr;
    // KF_FLAG_CREATE: a profile whose folder was removed gets it back rather than no data.
    bool ok =
        SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &found)) &&
        joinWide(folder, count, found, L"");
    CoTaskMemFree(found);
    return ok;
}

int initDataFolder(wchar_t* shown, size_t count) {
    memset(dataFolder, 0, sizeof dataFolder);
    wchar_t base[MAX_PATH];
    int result = localAppDataFolder(base, MAX_PATH)
                     ? ansiDataFolder(base, dataFolder, sizeof dataFolder)
                     : DATA_FOLDER_NO_PROFILE;
    if (result != DATA_FOLDER_OK && shown != nullptr && count > 0) {
        const wchar_t* known = result == DATA_FOLDER_NO_PROFILE ? L"%LOCALAPPDATA%" : base;
        if (!joinWide(shown, count, known, WIDE_FOLDER_NAME)) lstrcpynW(shown, known, count);
    }
    return result;
}
