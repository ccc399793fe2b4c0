// The rewriting of the paths in the settings files of an earlier version's data: only the
// program's path members that lie in an old folder change, and nothing else of the line.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "data_migration.h"

namespace {

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
