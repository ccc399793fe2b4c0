// The tests' folders on Windows: listing, emptying and removing them.
#ifndef MURALTO_FOLDERS_H
#define MURALTO_FOLDERS_H

#include <string>
#include <vector>

namespace testing_support {

std::string currentFolder();
bool folderExists(const std::string& path);
// The names of the files in the folder, sorted; none when it does not exist.
std::vector<std::string> filesIn(const std::string& folder);
// Deletes the folder's files and its empty subfolders.
void emptyFolder(const std::string& folder);
// Makes the folder when it is missing and empties it.
void makeEmptyFolder(const std::string& folder);
// Empties the folder and removes it; true when it is gone.
bool removeFolder(const std::string& folder);
// UTF-8 paths, as test_files.h takes them: any name, any length.
bool makeFolderUtf8(const std::string& utf8Path);
// The folder and everything in it.
void removeTreeUtf8(const std::string& utf8Path);
// Whether two paths name one folder as Windows compares them: whatever the case and the
// trailing backslashes.
bool sameFolder(std::string a, std::string b);

} // namespace testing_support

#endif
