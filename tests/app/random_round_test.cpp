// Random order without repeats: rounds in which each wallpaper shows once, through the table and
// through the settings files; and the kind of a dropped file from its first bytes.
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "file_probe.h"
#include "program_fixture.h"
#include "random_round.h"
#include "settings.h"
#include "test_files.h"
#include "wallpaper_import.h"

namespace {

using Round = ProgramTest;

TEST_F(Round, TenRoundsOfFiftyShowEachWallpaperTenTimesAndNeverTwiceInARow) {
    // Slots with gaps between them, as deletes leave a table.
    std::vector<int> slots;
    for (int i = 0; i < 50; ++i) slots.push_back(i * 7 + (i % 3));
    for (int slot : slots) wallpaperTable[slot].used = 1;
    wallpaperCount = 50;

    std::vector<int> shown(MAX_WALLPAPERS, 0);
    int current = 0; // the start value of lastWall, a used slot shown by no round yet
    for (int round = 0; round < 10; ++round) {
        std::vector<int> inRound(MAX_WALLPAPERS, 0);
        for (int draw = 0; draw < 50; ++draw) {
            int next = nextInRound(current, wallpaperTable);
            ASSERT_TRUE(wallpaperTable[next].used) << "round " << round << ", draw " << draw;
            ASSERT_NE(current, next) << "twice in a row: round " << round << ", draw " << draw;
            ASSERT_EQ(0, inRound[next]++) << "slot " << next << " twice in round " << round;
            ++shown[next];
            current = next;
        }
    }
    for (int slot : slots) EXPECT_EQ(10, shown[slot]) << "slot " << slot;
}

TEST_F(Round, AnImportJoinsTheRoundAndADeleteLeavesIt) {
    for (int slot : {0, 1, 2, 3, 4}) wallpaperTable[slot].used = 1;
    int current = nextInRound(0, wallpaperTable);
    current = nextInRound(current, wallpaperTable);
    ASSERT_TRUE(roundUnderWay(wallpaperTable));
    std::vector<int> before;
    for (int slot = 0; slot < 5; ++slot)
        if (!wallpaperTable[slot].shownInRound) before.push_back(slot);
    ASSERT_EQ(3u, before.size());
    // The delete of one not yet shown, and an import into slot 9, as the table sees them.
    int deleted = before[0];
    memset(&wallpaperTable[deleted], 0, sizeof wallpaperTable[deleted]);
    wallpaperTable[9].used = 1;

    std::vector<int> rest;
    for (int draw = 0; draw < 3; ++draw)
        rest.push_back(current = nextInRound(current, wallpaperTable));
    std::vector<int> expected = {before[1], before[2], 9};
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(expected, rest) << "the rest of the round: those left, the import, not the delete";
    int next = nextInRound(current, wallpaperTable);
    EXPECT_NE(current, next) << "a new round started with the wallpaper just shown";
}

// The round and the pause go through a save and a load, keyed to the wallpapers however the
// slots are numbered; files without them (every earlier one) start a fresh round, not paused.
TEST_F(Round, TheRoundAndThePauseSurviveASaveAndALoad) {
    ASSERT_FALSE(loadSettings()) << "a first run"; // what an earlier load left is forgotten
    for (int slot : {1, 4, 5, 8, 11, 12}) fillSlot(slot, slot);
    for (int slot : {4, 8, 12}) wallpaperTable[slot].shownInRound = 1;
    lastWall = 12;
    paused = true;
    ASSERT_TRUE(saveSettings());
    std::string saved = testing_support::readBytes(iniFilePath);
    // Dense numbers 1, 3 and 5: bits 1 and 3 of digit 0, bit 1 of digit 1.
    EXPECT_NE(std::string::npos, saved.find("paused = 1\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("roundShown = a2\r\n")) << saved;

    resetProgramState();
    ASSERT_TRUE(loadSettings());
    EXPECT_TRUE(paused);
    std::vector<std::string> flagged;
    for (int slot = 0; slot < wallpaperCount; ++slot)
        if (wallpaperTable[slot].shownInRound) flagged.push_back(wallpaperTable[slot].original);
    EXPECT_EQ((std::vector<std::string>{"Picture 4.jpg", "Picture 8.jpg", "Picture 12.jpg"}),
              flagged);

    // Resumed, with the round over and begun again: neither member is written.
    paused = false;
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot) wallpaperTable[slot].shownInRound = 0;
    ASSERT_TRUE(saveSettings());
    saved = testing_support::readBytes(iniFilePath);
    EXPECT_EQ(std::string::npos, saved.find("paused")) << saved;
    EXPECT_EQ(std::string::npos, saved.find("roundShown")) << saved;
}

TEST_F(Round, HandEditedRoundsAndPausesLoadWithoutHarm) {
    struct Case {
        const char* members;
        bool paused;
        std::vector<int> flagged; // by slot after loading
    } cases[] = {
        {"", false, {}},
        {"paused = 0\nroundShown = 0\n", false, {}},
        {"paused = 7\nroundShown = 1\n", true, {0}},
        {"roundShown = zz4\n", false, {}},      // not hexadecimal: 0; digit 2 is beyond the table
        {"roundShown = F\n", false, {0, 1, 2}}, // bit 3 names no class
        {"roundShown = 2\n", false, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.members);
        resetProgramState();
        std::string ini = std::string("[SYSTEM]\nlastWall = 0\nrandomWall = 1\nstartWall = 0\n") +
                          c.members + "\n";
        for (int n = 0; n < 3; ++n) {
            writePreview(inDataFolder("previews\\MU" + std::to_string(n) + ".bmp"));
            ini += "[WALLPAPER " + std::to_string(n) + "]\noriginal = w" + std::to_string(n) +
                   "\nfilename = " + inDataFolder("MUWallpaper" + std::to_string(n) + ".bmp") +
                   "\npreview = " + inDataFolder("previews\\MU" + std::to_string(n) + ".bmp") +
                   "\nshowTime = 5\nsize = 1,1\nshowMode = 0\n\n";
        }
        writeIni(ini);
        ASSERT_TRUE(loadSettings());
        ASSERT_EQ(3, wallpaperCount);
        EXPECT_EQ(c.paused, paused);
        std::vector<int> flagged;
        for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
            if (wallpaperTable[slot].shownInRound) flagged.push_back(slot);
        EXPECT_EQ(c.flagged, flagged);
    }
}

// The first bytes decide, never the name: a drop has no filter.
TEST_F(Round, APicturesKindComesFromItsFirstBytes) {
    struct Case {
        std::string bytes;
        int kind;
    } cases[] = {
        {std::string("BM\x36\0\0\0", 6), PICTURE_BITMAP},
        {"\xFF\xD8\xFF\xE0", PICTURE_JPEG},
        {std::string("II*\0\x08\0\0\0", 8), PICTURE_TIFF},
        {std::string("MM\0*\0\0\0\x08", 8), PICTURE_TIFF},
        {"\x89PNG\r\n\x1A\n", PICTURE_PNG},
        {std::string("RIFF\x10\0\0\0WEBPVP8 ", 16), PICTURE_WEBP},
        {std::string("RIFF\x10\0\0\0WAVEfmt ", 16), 0},
        {std::string("\0\0\0\x18"
                     "ftypheic\0\0\0\0mif1heic",
                     24),
         PICTURE_HEIF},
        {std::string("\0\0\0\x1C"
                     "ftypisom\0\0\0\0isommp41avif",
                     28),
         PICTURE_HEIF},
        {std::string("\0\0\0\x18"
                     "ftypisom\0\0\0\0isommp41avif",
                     28),
         0}, // avif past the box
        {std::string("\0\0\0\x18"
                     "ftypmp42\0\0\0\0isommp41",
                     24),
         0},
        {"\xFF\xD8", 0},
        {"B", 0},
        {"", 0},
        {"Hello, this is text.\r\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        EXPECT_EQ(c.kind, pictureKindOf(reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                        static_cast<int>(c.bytes.size())));
        std::string path = inDataFolder("probe.txt");
        ASSERT_TRUE(testing_support::writeBytes(path, c.bytes));
        EXPECT_EQ(c.kind, pictureKind(path.c_str()));
    }
    EXPECT_EQ(0, pictureKind(inDataFolder("nothing here.png").c_str()));
    EXPECT_EQ(0, pictureKind(dataFolder)) << "a folder";
}

} // namespace
