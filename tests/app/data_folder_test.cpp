// The data folder's ANSI path, which must name the user's folder exactly or not be used, and the
// rewriting of the paths in the settings files of an earlier version's data.
#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "data_folder.h"
#include "data_migration.h"
#include "folders.h"
#include "test_files.h"

namespace {

std::wstring wide(const std::string& ansi) {
    wchar_t text[MAX_PATH * 2];
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, text, MAX_PATH * 2);
    return text;
}

std::string ansi(const std::wstring& text) {
    char bytes[MAX_PATH * 2];
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

struct FolderCase {
    const char* what;
    const wchar_t* name; // below a scratch folder of the test
    bool made;           // the folder exists (short names exist only for folders that do)
    int result;
    bool shortName; // the path found is the short name, not the long one
};

class DataFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DataFolder, IsAPathThatNamesTheFolderExactlyOrNone) {
    const FolderCase& c = GetParam();
    std::string scratch =
        testing_support::currentFolder() + "\\" + testing_support::testFileName("");
    testing_support::makeEmptyFolder(scratch);
    std::wstring base = wide(scratch) + L"\\" + c.name;
    if (c.made) {
        ASSERT_TRUE(CreateDirectoryW(base.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((base + L"\\Muralto").c_str(), nullptr));
        HANDLE marker = CreateFileW((base + L"\\Muralto\\marker").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, marker);
        CloseHandle(marker);
    }
    char folder[256] = "untouched";
    EXPECT_EQ(c.result, ansiDataFolder(base.c_str(), folder, sizeof folder)) << c.what;
    if (c.result == DATA_FOLDER_OK) {
        std::string found = folder, named = ansi(base) + "\\Muralto";
        if (c.shortName) {
            EXPECT_NE(named, found);
        } else {
            EXPECT_EQ(named, found);
        }
        // The path names the folder itself: its file is there.
        EXPECT_TRUE(testing_support::fileExists(found + "\\marker")) << c.what << ": " << found;
    } else {
        EXPECT_STREQ("", folder) << c.what;
    }
    if (c.made) {
        DeleteFileW((base + L"\\Muralto\\marker").c_str());
        RemoveDirectoryW((base + L"\\Muralto").c_str());
        RemoveDirectoryW(base.c_str());
    }
    testing_support::removeFolder(scratch);
}

const std::wstring kLongName(190, L'x');

INSTANTIATE_TEST_SUITE_P(
    Profiles, DataFolder,
    ::testing::Values(
        FolderCase{"written in the code page", L"Fran\xE7oise", true, DATA_FOLDER_OK, false},
        FolderCase{"Polish and Japanese, by its short name", L"\x141\xF3\x64\x17A_\x65E5\x672C",
                   true, DATA_FOLDER_OK, true},
        FolderCase{"Polish and Japanese without a short name", L"\x141\xF3\x64\x17A_\x65E5\x672C",
                   false, DATA_FOLDER_NOT_ANSI, false},
        FolderCase{"too long, without a short name", kLongName.c_str(), false, DATA_FOLDER_TOO_LONG,
                   false}),
    [](const ::testing::TestParamInfo<FolderCase>& info) { return std::to_string(info.index); });

struct LineCase {
    const char* line;
    const char* rewritten; // null: the line stays as it is
};

const std::string kLongTail(210, 'a');

TEST(DataMove, RewritesOnlyThePathsIntoAnOldFolder) {
    OldFolderNames old = {{"C:\\windows\\system32\\Muralto", "C:\\windows\\syswow64\\Muralto"}, 2};
    const char* newFolder = "C:\\Users\\Ana\\AppData\\Local\\Muralto";
    std::string tooLong = "filename = C:\\windows\\system32\\Muralto\\" + kLongTail + ".bmp";
    const LineCase cases[] = {
        // The 32-bit program wrote its system folder in any case; the CR of CR LF stays.
        {"filename = C:\\WINDOWS\\system32\\Muralto\\MUWallpaper0.bmp\r",
         "filename = C:\\Users\\Ana\\AppData\\Local\\Muralto\\MUWallpaper0.bmp\r"},
        {"  preview\t=\tc:\\Windows\\SysWOW64\\Muralto\\previews\\MU3.bmp",
         "  preview\t=\tC:\\Users\\Ana\\AppData\\Local\\Muralto\\previews\\MU3.bmp"},
        {"filename = C:\\windows\\system32\\Muralto\\a.bmp ; a note",
         "filename = C:\\Users\\Ana\\AppData\\Local\\Muralto\\a.bmp ; a note"},
        {"original = C:\\windows\\system32\\Muralto\\a.jpg", nullptr}, // a title
        {"Filename = C:\\windows\\system32\\Muralto\\a.bmp", nullptr}, // not the program's member
        {"; filename = C:\\windows\\system32\\Muralto\\a.bmp", nullptr},
        {"filename = C:\\windows\\system32\\Muralto2\\a.bmp", nullptr}, // another folder
        {"filename = C:\\windows\\system32\\Muralto", nullptr},
        {"filename = D:\\Pictures\\a.bmp", nullptr},
        {"[WALLPAPER 0]", nullptr},
        // Rewritten, it would be longer than a line the store reads whole.
        {tooLong.c_str(), nullptr},
    };
    for (const LineCase& c : cases) {
        char out[1024];
        size_t length = 0;
        bool rewritten =
            rewriteDataLine(c.line, strlen(c.line), old, newFolder, out, sizeof out, &length);
        EXPECT_EQ(c.rewritten != nullptr, rewritten) << c.line;
        if (rewritten && c.rewritten != nullptr) {
            EXPECT_EQ(c.rewritten, std::string(out, length)) << c.line;
        }
    }
}

} // namespace
