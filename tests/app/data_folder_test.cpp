// The data folder's ANSI path, which must name the user's folder exactly or not be used.
#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "data_folder.h"
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

} // namespace
