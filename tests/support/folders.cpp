#include "folders.h"

#include <windows.h>

#include <string.h>

#include <algorithm>

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

// Calls visit(name, isFolder) for every entry of the folder but "." and "..".
template <typename Visit> void forEachEntry(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            visit(std::string(found.cFileName),
                  (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    forEachEntry(folder, [&](const std::string& name, bool isFolder) {
        if (!isFolder) names.push_back(name);
    });
    std::sort(names.begin(), names.end());
    return names;
}

void emptyFolder(const std::string& folder) {
    forEachEntry(folder, [&](const std::string& name, bool isFolder) {
        std::string path = folder + "\\" + name;
        if (isFolder)
            RemoveDirectoryA(path.c_str());
        else
            DeleteFileA(path.c_str());
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

bool sameFolder(std::string a, std::string b) {
    while (a.size() > 3 && a.back() == '\\') a.pop_back();
    while (b.size() > 3 && b.back() == '\\') b.pop_back();
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

} // namespace testing_support
