// Loading and saving the settings and the wallpaper table, including tables too large for one
// configuration file.
#include <string.h>

#include <iterator>
#include <string>

#include "hotkey_text.h"
#include "message_box_watcher.h"
#include "program_fixture.h"
#include "settings.h"
#include "settings_files.h"
#include "settings_place.h"
#include "test_files.h"
#include "wallpaper_import.h"

namespace {

using testing_support::readBytes;

class Settings : public ProgramTest {
  protected:
    // A wallpaper class whose preview file exists.
    std::string wallpaperClass(int number, const std::string& title, int previewNumber) {
        std::string preview = inDataFolder("previews\\MU" + std::to_string(previewNumber) + ".bmp");
        writePreview(preview);
        return "[WALLPAPER " + std::to_string(number) + "]\noriginal = " + title + "\nfilename = " +
               inDataFolder("MUWallpaper" + std::to_string(previewNumber) + ".bmp") +
               "\npreview = " + preview + "\nshowTime = 30\nsize = 640,480\nshowMode = 2\n\n";
    }
    std::string continuationFile(int index) {
        char path[300];
        EXPECT_TRUE(configFilePath(index, path, sizeof path));
        return path;
    }
    std::vector<testing_support::SeenMessageBox> warnings() { return watcher.seen(); }
    // titled: names the pictures as the import does from this name for slot i, else the slots
    // keep fillSlot's titles.
    // withMoments: each slot also gets one of the four kinds of moment.
    void expectRoundTrip(int count, std::string (*titled)(int) = nullptr, bool withMoments = false);

    testing_support::MessageBoxWatcher watcher;
};

TEST_F(Settings, FirstRunCreatesTheDataFolders) {
    removeDataFolder();
    EXPECT_FALSE(loadSettings());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dataFolder));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(inDataFolder("previews").c_str()));
    EXPECT_EQ(0, wallpaperCount);
    EXPECT_TRUE(randomWall);
    EXPECT_FALSE(configRefused);
}

TEST_F(Settings, WallpaperClassesLoadDenselyAndAreSavedBackDensely) {
    writeIni("[SYSTEM]\nlastWall = 1\nrandomWall = 0\nstartWall = 1\nlanguage = 2\n\n" +
             wallpaperClass(7, "seven", 7) + wallpaperClass(0, "zero", 0) +
             wallpaperClass(2, "two", 2));
    ASSERT_TRUE(loadSettings());
    ASSERT_EQ(3, wallpaperCount);
    const char* titles[] = {"zero", "two", "seven"};
    for (int slot = 0; slot < 3; ++slot) {
        WallpaperEntry& e = wallpaperTable[slot];
        EXPECT_EQ(1, e.used);
        EXPECT_STREQ(titles[slot], e.original);
        EXPECT_EQ(30, e.showTime);
        EXPECT_EQ(2, e.showMode);
        EXPECT_EQ(640, e.width);
        EXPECT_EQ(480, e.height);
        EXPECT_EQ(nullptr, e.previewBitmap) << "loaded when first drawn, not at the start";
        EXPECT_NE(nullptr, slotPreview(&e));
    }
    EXPECT_EQ(1, lastWall);
    EXPECT_FALSE(randomWall);
    EXPECT_TRUE(startWall);
    EXPECT_EQ(2, language);

    ASSERT_TRUE(saveSettings());
    std::string saved = readBytes(iniFilePath);
    EXPECT_NE(std::string::npos, saved.find("[WALLPAPER 2]\r\noriginal = seven\r\n")) << saved;
    EXPECT_EQ(std::string::npos, saved.find("[WALLPAPER 7]")) << saved;
    EXPECT_TRUE(warnings().empty());
}

TEST_F(Settings, SystemValuesReadAsTheProgramUnderstandsThem) {
    struct {
        const char* system;
        int lastWall, language;
        bool randomWall, startWall;
    } cases[] = {
        {"lastWall = 4\n", 0, 0, true, false}, // lastWall without startWall is ignored
        {"lastWall = 4\nstartWall = 0\n", 4, 0, true, false},
        {"startWall = 1\nlastWall = 600\n", 0, 0, true, true}, // outside the table
        {"startWall = 1\nlastWall = -2\n", 0, 0, true, true},
        {"language = -3\n", 0, 0, true, false},
        {"language = 7\n", 0, 7, true, false},
        {"randomWall = 2\n", 0, 0, true, false},
        {"randomWall = yes\n", 0, 0, false, false},
        {"randomWall = 0\nstartWall = 12abc\n", 0, 0, false, true},
        {"language =   +5x\n", 0, 5, true, false},
    };
    for (const auto& c : cases) {
        resetProgramState();
        writeIni(std::string("[SYSTEM]\n") + c.system);
        ASSERT_TRUE(loadSettings()) << c.system;
        EXPECT_EQ(c.lastWall, lastWall) << c.system;
        EXPECT_EQ(c.language, language) << c.system;
        EXPECT_EQ(c.randomWall, randomWall) << c.system;
        EXPECT_EQ(c.startWall, startWall) << c.system;
    }
}

// Hand-edited hotkeys and pauses: what reads is taken, the rest keeps its default; a save
// writes them back only when they differ from the defaults.
TEST_F(Settings, HotkeysAndPausesAreReadAsHandEditedAndWrittenOnlyWhenChanged) {
    const int CAS = HOTKEY_CTRL | HOTKEY_ALT | HOTKEY_SHIFT;
    struct {
        const char* system;
        Hotkey next, previous, pause;
        bool fullScreen, battery;
        const char* written; // the members a save writes, in order
    } cases[] = {
        {"", {CAS, 'N'}, {CAS, 'B'}, {CAS, 'P'}, true, true, ""},
        {"hotkeys = previous:off , pause: ctrl + win + f9\nautoPause = battery\n",
         {CAS, 'N'},
         {0, 0},
         {HOTKEY_CTRL | HOTKEY_WIN, 0x78},
         false,
         true,
         "hotkeys = next:Ctrl+Alt+Shift+N,previous:off,pause:Ctrl+Win+F9,"
         "monitor:Ctrl+Alt+Shift+M\r\n"
         "autoPause = battery\r\n"},
        // Unreadable combinations keep their defaults; an unknown action is passed over.
        {"hotkeys = next:Ctrl+Ctrl+N,previous:Alt+,pause:Shift+F25,later:Alt+Left\n"
         "autoPause = none\n",
         {CAS, 'N'},
         {CAS, 'B'},
         {CAS, 'P'},
         false,
         false,
         "autoPause = none\r\n"},
        {"hotkeys = pause:Alt+PageDown,next:Win+7,monitor:off\nautoPause = fullscreen\n",
         {HOTKEY_WIN, '7'},
         {CAS, 'B'},
         {HOTKEY_ALT, 0x22},
         true,
         false,
         "hotkeys = next:Win+7,previous:Ctrl+Alt+Shift+B,pause:Alt+PageDown,monitor:off\r\n"
         "autoPause = fullscreen\r\n"},
    };
    auto same = [](Hotkey a, Hotkey b) { return a.modifiers == b.modifiers && a.key == b.key; };
    for (const auto& c : cases) {
        resetProgramState();
        writeIni(std::string("[SYSTEM]\n") + c.system + "\n" + wallpaperClass(0, "a", 0));
        ASSERT_TRUE(loadSettings()) << c.system;
        EXPECT_TRUE(same(c.next, hotkeys[HOTKEY_NEXT])) << c.system;
        EXPECT_TRUE(same(c.previous, hotkeys[HOTKEY_PREVIOUS])) << c.system;
        EXPECT_TRUE(same(c.pause, hotkeys[HOTKEY_PAUSE])) << c.system;
        EXPECT_EQ(c.fullScreen, pauseForFullScreen) << c.system;
        EXPECT_EQ(c.battery, pauseOnBatterySaver) << c.system;
        ASSERT_TRUE(saveSettings());
        std::string saved = readBytes(iniFilePath);
        size_t from = saved.find("language = 0\r\n") + strlen("language = 0\r\n");
        EXPECT_EQ(std::string(c.written) + "\r\n[WALLPAPER 0]",
                  saved.substr(from, strlen(c.written) + strlen("\r\n[WALLPAPER 0]")))
            << c.system;
    }
}

TEST_F(Settings, RandomWallIsWrittenBackAsOneOrZero) {
    writeIni("[SYSTEM]\nrandomWall = 2\n\n" + wallpaperClass(0, "a", 0));
    ASSERT_TRUE(loadSettings());
    ASSERT_TRUE(saveSettings());
    EXPECT_NE(std::string::npos, readBytes(iniFilePath).find("randomWall = 1\r\n"));
}

TEST_F(Settings, SizeWithoutHeightAndClassesOutsideTheTable) {
    std::string preview = inDataFolder("previews\\MU0.bmp");
    writePreview(preview);
    writeIni("[WALLPAPER 0]\nfilename = f0\npreview = " + preview + "\nsize = 800\n\n" +
             "[WALLPAPER 1]\nfilename = f1\npreview = " + preview + "\nsize = x,5\n\n" +
             "[WALLPAPER 500]\nfilename = f500\npreview = " + preview + "\n");
    ASSERT_TRUE(loadSettings());
    ASSERT_EQ(2, wallpaperCount) << "class 500 is never read";
    EXPECT_EQ(800, wallpaperTable[0].width);
    EXPECT_EQ(0, wallpaperTable[0].height);
    EXPECT_EQ(0, wallpaperTable[1].width);
    EXPECT_EQ(0, wallpaperTable[1].height);
    EXPECT_EQ(0, wallpaperTable[0].showTime) << "no showTime in the file";
}

TEST_F(Settings, WallpaperWhosePreviewDoesNotLoadIsLeftOutWithAWarning) {
    writeIni("[WALLPAPER 0]\noriginal = broken\nfilename = C:\\gone\\MUWallpaper0.bmp\n"
             "preview = C:\\gone\\MU0.bmp\n\n" +
             wallpaperClass(1, "fine", 1) +
             "[WALLPAPER 2]\noriginal = no file name\npreview = x\n\n" + wallpaperClass(3, "", 3));
    ASSERT_TRUE(loadSettings());
    ASSERT_EQ(2, wallpaperCount);
    EXPECT_STREQ("fine", wallpaperTable[0].original);
    EXPECT_STREQ("", wallpaperTable[1].original) << "nothing of a skipped class is kept";
    EXPECT_EQ(0, wallpaperTable[2].used);
    auto seen = warnings();
    ASSERT_EQ(1u, seen.size()) << "a class without filename is skipped silently";
    EXPECT_EQ("Muralto Version 3.05", seen[0].caption);
    EXPECT_EQ("[E004]: La lecture de l'image \"C:\\gone\\MUWallpaper0.bmp\" a \xE9"
              "chou\xE9"
              "e !              ",
              seen[0].text);
}

TEST_F(Settings, SavedFileIsByteForByteTheProgramsFormat) {
    fillSlot(2, 0);
    WallpaperEntry& e = wallpaperTable[2];
    snprintf(e.original, TITLE_SIZE, "Coucher de soleil.jpg");
    snprintf(e.titleUtf8, TITLE_UTF8_SIZE, "Coucher de soleil.jpg");
    e.width = 1024;
    e.height = 768;
    e.showTime = 60;
    e.showMode = 0;
    lastWall = 2;
    ASSERT_TRUE(saveSettings());
    std::string expected = std::string("[SYSTEM]\r\nlastWall = 0\r\nrandomWall = 1\r\n") +
                           "startWall = 0\r\nlanguage = 0\r\n\r\n[WALLPAPER 0]\r\n" +
                           "original = Coucher de soleil.jpg\r\nfilename = " + dataFolder +
                           "\\MUWallpaper0.bmp\r\npreview = " + dataFolder +
                           "\\previews\\MU0.bmp\r\nshowTime = 60\r\n" +
                           "size = 1024,768\r\nshowMode = 0\r\n";
    EXPECT_EQ(expected, readBytes(iniFilePath));
    EXPECT_FALSE(testing_support::fileExists(continuationFile(1)));
}

// Every field of every wallpaper survives a save and a load, however many there are.
void Settings::expectRoundTrip(int count, std::string (*titled)(int), bool withMoments) {
    for (int i = 0; i < count; ++i) {
        fillSlot(i, i);
        WallpaperEntry& e = wallpaperTable[i];
        if (titled != nullptr) pictureTitle(titled(i).c_str(), e.original, e.titleUtf8);
        if (withMoments)
            e.moment = {static_cast<uint8_t>(1 + i % 3), static_cast<int16_t>(i),
                        static_cast<int16_t>(1439 - i)};
    }
    lastWall = count - 1;
    ASSERT_TRUE(saveSettings());
    std::vector<WallpaperEntry> before(wallpaperTable, wallpaperTable + MAX_WALLPAPERS);
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    ASSERT_EQ(count, wallpaperCount);
    EXPECT_EQ(count - 1, lastWall);
    for (int i = 0; i < count; ++i) {
        const WallpaperEntry& a = before[i];
        WallpaperEntry& b = wallpaperTable[i];
        ASSERT_EQ(1, b.used) << i;
        EXPECT_STREQ(a.original, b.original) << i;
        EXPECT_STREQ(a.titleUtf8, b.titleUtf8) << i;
        EXPECT_STREQ(a.filename, b.filename) << i;
        EXPECT_STREQ(a.preview, b.preview) << i;
        EXPECT_EQ(a.width, b.width) << i;
        EXPECT_EQ(a.height, b.height) << i;
        EXPECT_EQ(a.showTime, b.showTime) << i;
        EXPECT_EQ(a.showMode, b.showMode) << i;
        EXPECT_EQ(a.moment.kind, b.moment.kind) << i;
        EXPECT_TRUE(a.moment.kind != MOMENT_HOURS ||
                    (a.moment.from == b.moment.from && a.moment.to == b.moment.to))
            << i;
        EXPECT_NE(nullptr, slotPreview(&b)) << i;
    }
}

TEST_F(Settings, HundredAndFiftyWallpapersSurviveSaveAndLoad) {
    expectRoundTrip(150);
    EXPECT_TRUE(testing_support::fileExists(continuationFile(1)));
    EXPECT_FALSE(testing_support::fileExists(continuationFile(2)));
    std::string second = readBytes(continuationFile(1));
    EXPECT_EQ(0u, second.find("[WALLPAPER 99]\r\n")) << second.substr(0, 80);
    EXPECT_TRUE(warnings().empty());
}

TEST_F(Settings, FiveHundredWallpapersSurviveSaveAndLoad) {
    expectRoundTrip(MAX_WALLPAPERS);
    // Six files, as earlier versions read them: the seventh is for wallpapers of eight members.
    for (int index = 1; index < CONFIG_FILES; ++index)
        EXPECT_EQ(index < 6, testing_support::fileExists(continuationFile(index))) << index;
    EXPECT_NE(std::string::npos, readBytes(continuationFile(5)).find("[WALLPAPER 499]"));
}

TEST_F(Settings, ShrinkingTheTableRemovesContinuationFiles) {
    for (int i = 0; i < 200; ++i) fillSlot(i, i);
    ASSERT_TRUE(saveSettings());
    ASSERT_TRUE(testing_support::fileExists(continuationFile(2)));
    for (int i = 50; i < 200; ++i) wallpaperTable[i].used = 0;
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(50, wallpaperCount);
    for (int index = 1; index < CONFIG_FILES; ++index)
        EXPECT_FALSE(testing_support::fileExists(continuationFile(index))) << index;
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(50, wallpaperCount);
}

TEST_F(Settings, LastWallDesignatesTheSameWallpaperAfterSaveAndLoad) {
    fillSlot(3, 3);
    fillSlot(9, 9);
    fillSlot(12, 12);
    lastWall = 9;
    ASSERT_TRUE(saveSettings());
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    EXPECT_STREQ("Picture 9.jpg", wallpaperTable[lastWall].original);

    // A lastWall whose slot is free is saved as the first wallpaper.
    wallpaperTable[1].used = 0;
    lastWall = 1;
    ASSERT_TRUE(saveSettings());
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(0, lastWall);
}

TEST_F(Settings, FailedWritesAreReported) {
    fillSlot(0, 0);
    ASSERT_TRUE(CreateDirectoryA(iniFilePath, nullptr)); // the file cannot be created
    EXPECT_FALSE(saveSettings());
    RemoveDirectoryA(iniFilePath);

    for (int i = 1; i < 120; ++i) fillSlot(i, i);
    ASSERT_TRUE(CreateDirectoryA(continuationFile(1).c_str(), nullptr));
    EXPECT_FALSE(saveSettings()) << "a continuation file that cannot be written";
    RemoveDirectoryA(continuationFile(1).c_str());
    EXPECT_TRUE(saveSettings());
}

// Titles as the import makes them from a picture's name, and as the file keeps them: the ANSI
// field alone when it holds the title, else titleUtf8 beside it.
TEST_F(Settings, TitlesTheCodePageLacksAreKeptInFullBesideTheirNearestForm) {
    const std::string japanese = u8"日本語の長い名前"; // 8 characters
    const struct {
        const char* what;
        std::string name;     // UTF-8
        std::string original; // Windows-1252
        std::string title;    // UTF-8
        bool member;          // the file keeps titleUtf8
    } cases[] = {
        {"letters of no code page", u8"Łódź_日本.jpg",
         "L\xF3"
         "dz_??.jpg",
         u8"Łódź_日本.jpg", true},
        {"letters of the code page", u8"Forêt d'été.jpg", "For\xEAt d'\xE9t\xE9.jpg",
         u8"Forêt d'été.jpg", false},
        {"cut to 49 characters", japanese + std::string(52, 'x'),
         std::string(8, '?') + std::string(41, 'x'), japanese + std::string(41, 'x'), true},
        {"a pair of surrogates is not split", std::string(48, 'a') + u8"😀.jpg",
         std::string(48, 'a'), std::string(48, 'a'), false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        fillSlot(static_cast<int>(i), static_cast<int>(i));
        WallpaperEntry& e = wallpaperTable[i];
        pictureTitle(("C:\\pictures\\" + cases[i].name).c_str(), e.original, e.titleUtf8);
    }
    ASSERT_TRUE(saveSettings());
    std::string saved = readBytes(iniFilePath);
    resetProgramState();
    ASSERT_TRUE(loadSettings());
    ASSERT_EQ(static_cast<int>(std::size(cases)), wallpaperCount);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        std::string member = cases[i].member ? "titleUtf8 = " + cases[i].title + "\r\n" : "";
        EXPECT_NE(std::string::npos, saved.find("[WALLPAPER " + std::to_string(i) +
                                                "]\r\noriginal = " + cases[i].original + "\r\n" +
                                                member + "filename = "))
            << saved;
        EXPECT_EQ(cases[i].original, wallpaperTable[i].original);
        EXPECT_EQ(cases[i].title, wallpaperTable[i].titleUtf8);
    }
}

// A hand-edited titleUtf8 gives a title that fits its field, and one that is not UTF-8 gives way
// to original.
TEST_F(Settings, HandEditedTitlesFitTheirField) {
    const std::string longTitle = u8"ÿ" + std::string(200, 'y'); // 202 bytes, 201 characters
    writeIni(wallpaperClass(0,
                            "L?dz.jpg\ntitleUtf8 = \xC5\x81\xF3"
                            "dz.jpg",
                            0) +
             wallpaperClass(1, "Long.jpg\ntitleUtf8 = " + longTitle, 1) +
             wallpaperClass(2, "Empty.jpg\ntitleUtf8 = ", 2));
    ASSERT_TRUE(loadSettings());
    ASSERT_EQ(3, wallpaperCount);
    EXPECT_STREQ("L?dz.jpg", wallpaperTable[0].titleUtf8) << "not UTF-8: original's title";
    EXPECT_EQ(longTitle.substr(0, 2 + 48), wallpaperTable[1].titleUtf8);
    EXPECT_STREQ("Empty.jpg", wallpaperTable[2].titleUtf8);
}

// Every title needing titleUtf8, a file holds fewer than 99 wallpapers: the whole table must
// still be saved and read back.
TEST_F(Settings, FiveHundredTitlesInFullSurviveSaveAndLoad) {
    expectRoundTrip(MAX_WALLPAPERS,
                    [](int i) { return u8"Łódź_日本 " + std::to_string(i) + ".jpg"; });
    EXPECT_EQ(u8"Łódź_日本 499.jpg", std::string(wallpaperTable[499].titleUtf8));
    EXPECT_TRUE(warnings().empty());
}

// Titles in full and a moment for every picture take eight members each: a seventh file holds
// the last of them.
TEST_F(Settings, FiveHundredTitlesAndMomentsSurviveSaveAndLoad) {
    expectRoundTrip(
        MAX_WALLPAPERS, [](int i) { return u8"Łódź_日本 " + std::to_string(i) + ".jpg"; }, true);
    EXPECT_NE(std::string::npos, readBytes(continuationFile(6)).find("[WALLPAPER 499]"));
    EXPECT_TRUE(warnings().empty());
}

// A file without moments or a place, as every earlier version wrote it, is written back byte
// for byte; moments and the place as hand-edited read as the program understands them, and a
// save writes back a moment other than always in its own form, and the place as it was.
TEST_F(Settings, MomentsAndThePlaceAreReadAsHandEditedAndWrittenOnlyWhenSet) {
    std::string plain = "[SYSTEM]\nlastWall = 0\nrandomWall = 1\nstartWall = 0\nlanguage = 0\n\n" +
                        wallpaperClass(0, "a", 0) + wallpaperClass(1, "b", 1);
    plain.resize(plain.size() - 1); // the program's files end with their last member
    writeIni(plain);
    const std::string before = readBytes(iniFilePath);
    ASSERT_TRUE(loadSettings());
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(before, readBytes(iniFilePath));

    struct {
        const char* value;
        int kind, from, to;
        const char* written; // "" for no member
    } cases[] = {
        {"day", MOMENT_DAY, 0, 0, "day"},
        {" night ", MOMENT_NIGHT, 0, 0, "night"},
        {"22:30-06:00", MOMENT_HOURS, 22 * 60 + 30, 6 * 60, "22:30-06:00"},
        {"7:05 - 9:00", MOMENT_HOURS, 7 * 60 + 5, 9 * 60, "07:05-09:00"},
        {"always", MOMENT_ALWAYS, 0, 0, ""},
        {"24:00-06:00", MOMENT_ALWAYS, 0, 0, ""},
        {"07:00-", MOMENT_ALWAYS, 0, 0, ""},
        {"Day", MOMENT_ALWAYS, 0, 0, ""},
    };
    for (const auto& c : cases) {
        resetProgramState();
        std::string picture = wallpaperClass(0, "a", 0);
        writeIni("[SYSTEM]\nlatitude = 69,65\nlongitude = -18.9x\n\n" +
                 picture.insert(picture.size() - 1, std::string("moment = ") + c.value + "\n"));
        ASSERT_TRUE(loadSettings()) << c.value;
        const PictureMoment& m = wallpaperTable[0].moment;
        EXPECT_EQ(c.kind, m.kind) << c.value;
        EXPECT_EQ(c.from, m.from) << c.value;
        EXPECT_EQ(c.to, m.to) << c.value;
        ASSERT_TRUE(saveSettings());
        std::string saved = readBytes(iniFilePath);
        EXPECT_NE(std::string::npos,
                  saved.find("language = 0\r\nlatitude = 69,65\r\nlongitude = -18.9x\r\n\r\n"));
        std::string end = "showMode = 2\r\n";
        if (c.written[0] != 0) end += std::string("moment = ") + c.written + "\r\n";
        EXPECT_EQ(end, saved.substr(saved.size() - end.size())) << c.value;
    }
}

TEST_F(Settings, RefusedConfigurationFileIsRemembered) {
    std::string tooManyClasses;
    for (int i = 0; i < 301; ++i) tooManyClasses += "[C" + std::to_string(i) + "]\n";
    writeIni(tooManyClasses);
    EXPECT_FALSE(loadSettings());
    EXPECT_TRUE(configRefused);
}

} // namespace
