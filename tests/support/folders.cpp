#include "folders.h"

#include <windows.h>

#include <string.h>

#include <algorithm>

#include "test_files.h"

namespace testing_support {

std::string currentFolder() {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

bool folderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::wstring wideOfAnsi(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

// Calls visit(name, isFolder) for every entry of the folder but "." and "..", in UTF-16: names
// the ANSI code page lacks are found too.
template <typename Visit> void forEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
            visit(std::wstring(found.cFileName),
                  (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Removes the folder and everything in it.
void removeTree(const std::wstring& folder) {
    forEachEntry(folder, [&](const std::wstring& name, bool isFolder) {
        std::wstring path = folder + L"\\" + name;
        if (isFolder)
            removeTree(path);
        else
            DeleteFileW(path.c_str());
    });
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    forEachEntry(wideOfAnsi(folder), [&](const std::wstring& name, bool isFolder) {
        char ansi[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
        if (!isFolder) names.push_back(ansi);
    });
    std::sort(names.begin(), names.end());
    return names;
}

void emptyFolder(const std::string& folder) {
    std::wstring wideFolder = wideOfAnsi(folder);
    forEachEntry(wideFolder, [&](const std::wstring& name, bool isFolder) {
        std::wstring path = wideFolder + L"\\" + name;
        if (isFolder)
            RemoveDirectoryW(path.c_str());
        else
            DeleteFileW(path.c_str());
    });
}

void makeEmptyFolder(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    emptyFolder(folder);
}

bool removeFolder(const std::string& folder) {
    emptyFolder(folder);
    RemoveDirectoryA(folder.c_str());
    return !folderExists(folder);
}

bool makeFolderUtf8(const std::string& utf8Path) {
    return CreateDirectoryW(widePathUtf8(utf8Path).c_str(), nullptr) != 0;
}

void removeTreeUtf8(const std::string& utf8Path) { removeTree(widePathUtf8(utf8Path)); }

bool sameFolder(std::string a, std::string b) {
    while (a.size() > 3 && a.back() == '\\') a.pop_back();
    while (b.size() > 3 && b.back() == '\\') b.pop_back();
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

} // namespace testing_support
