// A user's whole day with the installed Muralto: add pictures through the real open-file dialog,
// give them times and modes, let the tray change the desktop in order and at random, switch to
// English and quit, start again into the tray, and log off with the start-up change on.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "add_progress_dialog.h"
#include "folders.h"
#include "imaging_fixture.h"
#include "language_file.h"
#include "muralto_files.h"
#include "muralto_run.h"
#include "open_file_dialog.h"
#include "options.h"
#include "shortcuts.h"
#include "test_bitmaps.h"
#include "waiting.h"
#include "window_spy.h"

namespace day {
namespace {

using e2e::holdsFor;
using e2e::kPatience;
using e2e::MuraltoRun;
using e2e::options;
using e2e::waitUntil;
using testing_support::sameFolder;

const DWORD kDialogPatience = 15000; // Wine's first open-file dialog reads the shell's folders
const DWORD kTick = 1000;            // the sequence timer's period
// Under half a tick either way: a tick counted too many or too few is always caught, and a late
// sighting under load still passes.
const DWORD kTickTolerance = 450;

// The changes watched in each order; the in-order ones start at slot 0.
const int kInOrderChanges = 5, kRandomChanges = 5;

const int kBitmapFilter = 1, kJpegFilter = 2, kTiffFilter = 3;
const int kCentre = 0, kTile = 1, kStretch = 2;
const char* const kStyleOfMode[][2] = {{"0", "0"}, {"0", "1"}, {"2", "0"}};

// Text ids of the language file.
const int kTextRandom = 3, kTextCounter = 6, kTextHide = 18, kTextQuit = 19, kTextOpenTitle = 20;

struct UserPicture {
    std::string name;
    int width, height;
};

// What the program should hold for each slot: the user's pictures are added into a fresh data
// folder, so slot n is the n-th picture and its files are numbered n.
struct Slot {
    UserPicture picture;
    int showTime = 60;
    int showMode = kCentre;
};

// The program's random choices: the classic rand() generator, never seeded.
class ClassicRand {
  public:
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

  private:
    uint32_t state_ = 1;
};

// The program's random order: rounds in which each wallpaper is shown once, the next one drawn
// by its rank among those the round has left, the one on display excepted (all slots are used
// here). A round that is over gives way to a new one without the one on display.
class RandomRounds {
  public:
    int next(int current, int count) {
        shown_.resize(static_cast<size_t>(count), false);
        if (left(current) == 0) shown_.assign(shown_.size(), false);
        int rank = rand_.next() % left(current);
        for (int slot = 0;; ++slot) {
            if (shown_[slot] || slot == current || rank-- > 0) continue;
            shown_[slot] = true;
            return slot;
        }
    }
    // A new process draws the same random numbers again; the round it saved goes on.
    RandomRounds restarted() const {
        RandomRounds copy = *this;
        copy.rand_ = ClassicRand();
        return copy;
    }

  private:
    int left(int current) const {
        int count = 0;
        for (size_t slot = 0; slot < shown_.size(); ++slot)
            count += !shown_[slot] && static_cast<int>(slot) != current;
        return count;
    }
    ClassicRand rand_;
    std::vector<bool> shown_;
};

struct DesktopValues {
    std::string wallpaper, converted, style, tile;
};

DesktopValues desktopValues() {
    return {e2e::desktopValue("Wallpaper"), e2e::desktopValue("ConvertedWallpaper"),
            e2e::desktopValue("WallpaperStyle"), e2e::desktopValue("TileWallpaper")};
}

std::string describe(const DesktopValues& v) {
    return "Wallpaper=\"" + v.wallpaper + "\" ConvertedWallpaper=\"" + v.converted +
           "\" WallpaperStyle=\"" + v.style + "\" TileWallpaper=\"" + v.tile + "\"";
}

DWORD since(DWORD start) { return GetTickCount() - start; }

// The program's own warnings: every one has the main window's caption. The watcher also meets
// the other dialogs of the program (the open-file and progress dialogs); those are no warnings.
std::vector<testing_support::SeenMessageBox> warnings(const MuraltoRun& run) {
    std::vector<testing_support::SeenMessageBox> found;
    for (const auto& box : run.messageBoxes())
        if (box.caption == e2e::kMainCaption) found.push_back(box);
    return found;
}

// What the test knows of the sequence timer's ticks: one of them fell between tickLow and
// tickHigh. A change is applied at a tick, so once a change has been seen (polled every 20 ms)
// the ticks that follow fall on a grid through that sighting; before that, the reference is a
// moment bracketed by stamps taken before and after an event (a hide, the program's start).
struct Timeline {
    DWORD tickLow = 0, tickHigh = 0;
    bool onGrid = false; // tickLow == tickHigh is a change's sighting
    int counted = 0;     // ticks already counted for the wallpaper on display

    // A timer's ticks keep their period however late one is handled, so once a sighting has
    // put the reference on the grid, later ones keep it there: the tick expected is the new
    // reference, and a sighting delayed by a busy machine moves nothing.
    void changeSeenAt(DWORD at, DWORD expectedTick) {
        tickLow = tickHigh = onGrid ? expectedTick : at;
        onGrid = true;
        counted = 0;
    }
    // The timer started between before and after: its first tick comes 1000 ms later.
    void startedBetween(DWORD before, DWORD after) {
        tickLow = before;
        tickHigh = after;
        onGrid = false;
    }
    // Waits for the middle between two ticks, at least afterTicks ticks past the reference, so
    // that an action lands on a known side of each; returns how many ticks have passed since the
    // reference. Waiting for a moment of the clock, not for the program: nothing is observed.
    int waitForMidTick(int afterTicks = 0) const {
        DWORD target = tickHigh + afterTicks * kTick + kTick / 2;
        DWORD now = GetTickCount();
        if (static_cast<LONG>(target - now) > 0) {
            Sleep(target - now);
        } else {
            DWORD phase = (now - tickHigh) % kTick;
            Sleep(phase < kTick / 2 ? kTick / 2 - phase : kTick + kTick / 2 - phase);
        }
        return static_cast<int>((GetTickCount() - tickHigh) / kTick);
    }
};

class Day : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::removeDataFolder();
        day_ = GetTickCount();
    }

    void say(const std::string& what) {
        printf("day: %6.1f s  %s\n", since(day_) / 1000.0, what.c_str());
        fflush(stdout);
    }

    // ---- The user's pictures ----------------------------------------------------------------

    std::string picturePath(const std::string& name) const {
        return options.pictureFolder + "\\" + name;
    }

    void makePictures() {
        CreateDirectoryA(options.pictureFolder.c_str(), nullptr);
        bitmap_ = {"Plage.bmp", 320, 240};
        jpeg_ = {"Coucher de soleil.jpg", 400, 300};
        tiff_ = {"Montagnes.tiff", 160, 120};
        ASSERT_TRUE(testing_support::writeBytes(
            picturePath(bitmap_.name),
            testing_support::bitmapFileBytes(bitmap_.width, bitmap_.height, [](int x, int y) {
                return static_cast<uint32_t>((x * 255 / 320) << 16 | (y * 255 / 240) << 8 | 96);
            })));
        ASSERT_TRUE(
            writeColourJpeg(picturePath(jpeg_.name), photoLike(jpeg_.width, jpeg_.height), 90));
        ASSERT_TRUE(writeTiff(picturePath(tiff_.name),
                              {TiffImage{quadrants(tiff_.width, tiff_.height), 1, {}}}));
        // Photos large enough that their conversion keeps the progress dialog up a while.
        for (int i = 1; i <= 12; ++i) {
            char name[32];
            snprintf(name, sizeof name, "Vacances %02d.jpg", i);
            UserPicture photo = {name, 800 + 16 * i, 600};
            ASSERT_TRUE(
                writeColourJpeg(picturePath(photo.name), photoLike(photo.width, photo.height), 85))
                << photo.name;
            holiday_.push_back(photo);
        }
    }

    // ---- Starting the installed program --------------------------------------------------------

    void findShortcut() {
        std::string programs = testing_support::shellFolder(CSIDL_COMMON_PROGRAMS);
        std::string link = programs + "\\Muralto\\Muralto.lnk";
        shortcut_ = testing_support::readShortcut(link);
        ASSERT_EQ("", shortcut_.error) << "no Start-menu shortcut at " << link;
        say("Start-menu shortcut " + link + " -> \"" + shortcut_.target + "\" in \"" +
            shortcut_.workingFolder + "\"");
        // For the shell script, which uninstalls and checks what is left.
        printf("install-folder=%s\nstart-menu-folder=%s\\Muralto\ndata-folder=%s\n",
               shortcut_.workingFolder.c_str(), programs.c_str(), e2e::dataFolder().c_str());
        ASSERT_TRUE(e2e::fileExists(shortcut_.target)) << shortcut_.target;
        std::string targetFolder = shortcut_.target.substr(0, shortcut_.target.rfind('\\'));
        EXPECT_TRUE(sameFolder(targetFolder, shortcut_.workingFolder))
            << "the shortcut starts " << shortcut_.target << " in " << shortcut_.workingFolder
            << ", where Muralto.lng is not";
        languages_ = e2e::readLanguageFile(shortcut_.workingFolder + "\\Muralto.lng");
        ASSERT_GE(languages_.size(), 2u) << "no languages in the installed Muralto.lng";
        english_ = -1;
        for (size_t i = 0; i < languages_.size(); ++i)
            if (languages_[i].name == "English") english_ = static_cast<int>(i);
        ASSERT_GT(english_, 0) << "no English after the first language in Muralto.lng";
    }

    std::string counterText(int language, int count) const {
        return std::to_string(count) + " " + languages_[language].text(kTextCounter);
    }

    // ---- Adding through the open-file dialog ---------------------------------------------------

    // Clicks Ajouter, waits for the open-file dialog and chooses the filter (1: bitmaps).
    e2e::OpenFileDialog openFileDialog(MuraltoRun& run, int filterIndex) {
        run.clickLater(e2e::ADD);
        std::string title = languages_[0].text(kTextOpenTitle);
        e2e::OpenFileDialog dialog(run, title, kDialogPatience);
        if (dialog.found()) {
            dialog.chooseFilter(filterIndex - 1);
        } else {
            ADD_FAILURE() << "no open-file dialog \"" << title << "\" after Ajouter";
        }
        return dialog;
    }

    void expectRow(MuraltoRun& run, int row) {
        const UserPicture& p = slots_[row].picture;
        EXPECT_EQ(p.name, run.cell(row, 0)) << "title of row " << row;
        EXPECT_EQ(std::to_string(p.width) + "x" + std::to_string(p.height), run.cell(row, 1))
            << "size of row " << row;
    }

    void addOne(MuraltoRun& run, const UserPicture& picture, int filterIndex) {
        int rowsBefore = run.rowCount();
        e2e::WindowSpy progress(run.processId(), e2e::kAddProgressCaption);
        e2e::OpenFileDialog dialog = openFileDialog(run, filterIndex);
        ASSERT_TRUE(dialog.found());
        EXPECT_TRUE(dialog.openPath(picturePath(picture.name)))
            << "the open-file dialog stayed open; boxes seen: "
            << e2e::describe(run.messageBoxes());
        slots_.push_back({picture});
        ASSERT_TRUE(waitUntil([&] { return run.rowCount() == rowsBefore + 1; }))
            << picture.name << " gave " << run.rowCount() << " rows instead of " << rowsBefore + 1
            << "; boxes seen: " << e2e::describe(run.messageBoxes());
        EXPECT_TRUE(progress.seen().empty()) << "one file opened the progress dialog";
        expectRow(run, rowsBefore);
        say("added " + picture.name + " with filter " + std::to_string(filterIndex) + ": row " +
            std::to_string(rowsBefore) + " \"" + run.cell(rowsBefore, 0) + "\" " +
            run.cell(rowsBefore, 1));
    }

    void addMany(MuraltoRun& run, const std::vector<UserPicture>& pictures, int filterIndex) {
        int rowsBefore = run.rowCount();
        e2e::WindowSpy spy(run.processId(), e2e::kAddProgressCaption);
        e2e::OpenFileDialog dialog = openFileDialog(run, filterIndex);
        ASSERT_TRUE(dialog.found());
        // Into the pictures' folder first, as a user would open it, then the names in it.
        std::vector<std::string> names;
        for (const UserPicture& p : pictures) names.push_back(p.name);
        ASSERT_TRUE(dialog.openNames(options.pictureFolder, names));
        for (const UserPicture& p : pictures) slots_.push_back({p});

        e2e::AddProgressDialog progress(run.process(), spy.waitForAny(kPatience));
        ASSERT_TRUE(progress.window() != nullptr)
            << "no progress dialog for " << pictures.size() << " files; rows: " << run.rowCount()
            << "; boxes seen: " << e2e::describe(run.messageBoxes());
        // The journeys check the bar at held points; here it is read while the imports run, so
        // only an answer from the open dialog counts.
        int low = -1, high = -1;
        if (progress.range(&low, &high, kPatience)) {
            EXPECT_EQ(static_cast<int>(pictures.size()), high) << "the progress bar's range";
        }
        int highestPosition = 0;
        bool closed = waitUntil(
            [&] {
                highestPosition = std::max(highestPosition, progress.position(kPatience));
                return !progress.open();
            },
            30000);
        ASSERT_TRUE(closed) << "the progress dialog was still open after 30 s at "
                            << highestPosition << " of " << high;
        EXPECT_EQ(rowsBefore + static_cast<int>(pictures.size()), run.rowCount());
        for (int row = rowsBefore; row < run.rowCount() && row < static_cast<int>(slots_.size());
             ++row)
            expectRow(run, row);
        say("added " + std::to_string(pictures.size()) + " pictures at once with filter " +
            std::to_string(filterIndex) + ": the progress dialog counted to " +
            std::to_string(high) + " (last position read " + std::to_string(highestPosition) +
            "), " + std::to_string(run.rowCount()) + " rows");
    }

    // ---- Times and modes -------------------------------------------------------------------

    void expectFields(MuraltoRun& run, int row, const char* when) {
        EXPECT_EQ(std::to_string(slots_[row].showTime), run.text(e2e::TIME))
            << when << " row " << row << " (" << slots_[row].picture.name << ")";
        EXPECT_EQ(slots_[row].showMode, run.selection(e2e::MODE))
            << when << " row " << row << " (" << slots_[row].picture.name << ")";
    }

    // Selects the row, checks that the window shows its wallpaper's values, then types the time
    // and chooses the mode. Another row and back again then shows what reached the table.
    void setTimeAndMode(MuraltoRun& run, int row, int time, int mode) {
        ASSERT_TRUE(run.selectRowSeen(row)) << "no refresh tick saw row " << row;
        expectFields(run, row, "after selecting");
        run.type(e2e::TIME, std::to_string(time));
        run.choose(e2e::MODE, mode);
        slots_[row].showTime = time;
        slots_[row].showMode = mode;
        ASSERT_TRUE(run.selectRowSeen(row == 0 ? 1 : 0)) << "no refresh tick saw another row";
        ASSERT_TRUE(run.selectRowSeen(row)) << "no refresh tick saw row " << row << " again";
        expectFields(run, row, "back on");
        say("row " + std::to_string(row) + " (" + slots_[row].picture.name +
            "): " + std::to_string(time) + " s, mode " + std::to_string(mode));
    }

    // ---- The desktop changes ---------------------------------------------------------------

    std::string slotPath(int slot) const { return e2e::wallpaperPath(slot); }

    // Waits for the registry's wallpaper to change from what it holds, at the ticks-th tick
    // after the timeline's reference, then for all four desktop values to name the slot in the
    // slot's mode. Returns false when no change or a wrong wallpaper came, after reporting it.
    bool expectChange(int slot, int ticks, Timeline& timeline, const std::string& why,
                      const std::function<bool()>& alsoHolds = nullptr) {
        std::string before = e2e::desktopValue("Wallpaper");
        const DWORD earliest = timeline.tickLow + ticks * kTick;
        const DWORD latest = timeline.tickHigh + ticks * kTick;
        // Beyond the tolerance, so that a late change is told apart from none.
        const DWORD deadline = latest + kTickTolerance + kPatience;
        bool heldMeanwhile = true;
        // The change came after the last look that missed it and before the one that saw it: a
        // test process kept waiting by a busy machine sees it late, but its last miss says so.
        DWORD lastMiss = GetTickCount(), at = 0;
        waitUntil(
            [&] {
                if (alsoHolds && !alsoHolds()) heldMeanwhile = false;
                DWORD look = GetTickCount();
                if (e2e::desktopValue("Wallpaper") == before) {
                    lastMiss = look;
                    return false;
                }
                at = GetTickCount();
                return true;
            },
            static_cast<LONG>(deadline - GetTickCount()) > 0 ? deadline - GetTickCount() : 0);
        if (at == 0) {
            ADD_FAILURE() << why << ": no change; expected " << slotPath(slot) << " at tick "
                          << ticks << "; the registry holds " << describe(desktopValues());
            return false;
        }
        const std::string& path = slotPath(slot);
        const int mode = slots_[slot].showMode;
        DesktopValues now;
        // The four values are written one after the other by the same call.
        bool settled = waitUntil([&] {
            now = desktopValues();
            return now.wallpaper == path && now.converted == path &&
                   now.style == kStyleOfMode[mode][0] && now.tile == kStyleOfMode[mode][1];
        });
        say(why + ": after " + std::to_string(at - timeline.tickHigh) + " ms (expected " +
            std::to_string(ticks * kTick) + ") " + describe(now));
        EXPECT_TRUE(heldMeanwhile) << why << ": the window showed itself while waiting";
        if (now.wallpaper != path) {
            ADD_FAILURE() << why << ": the desktop got " << now.wallpaper << " instead of slot "
                          << slot << " (" << path << ", " << slots_[slot].picture.name << ")";
            return false;
        }
        EXPECT_TRUE(settled) << why << ": in mode " << mode << " the registry holds "
                             << describe(now);
        EXPECT_LE(earliest - kTickTolerance, at)
            << why << ": came " << earliest - at << " ms before tick " << ticks;
        EXPECT_GE(latest + kTickTolerance, lastMiss)
            << why << ": came " << lastMiss - latest << " ms or more after tick " << ticks;
        timeline.changeSeenAt(at, earliest);
        return true;
    }

    // The ticks from a change to the next: the wallpaper's time, then the changing one.
    int ticksOf(int slot) const { return slots_[slot].showTime + 1; }

    // Hides the window with Reduire. Once the grid is known, in the middle between two ticks, so
    // that the tick before the hide becomes the reference; before, the stamps around the click
    // bound it: the program saw its last tick within the second before the hide.
    void hide(MuraltoRun& run, Timeline& timeline) {
        if (timeline.onGrid) {
            int passed = timeline.waitForMidTick();
            DWORD tick = timeline.tickHigh + passed * kTick;
            // Sent messages go before timer ticks: a click sent before the next tick is handled
            // before it, however long a busy machine takes to answer, so the sending counts.
            DWORD sent = GetTickCount();
            run.click(e2e::HIDE);
            EXPECT_LT(sent - tick, kTick - kTickTolerance / 2) << "hiding came at the next tick";
            timeline.tickLow = timeline.tickHigh = tick;
        } else {
            DWORD before = GetTickCount();
            run.click(e2e::HIDE);
            timeline.startedBetween(before - kTick, GetTickCount());
        }
        EXPECT_FALSE(run.visible()) << "Reduire left the window shown";
    }

    // Shows the window from the tray in the middle between two ticks, after at least the given
    // ticks since the reference: the ticks that passed hidden count for the wallpaper on display.
    bool showFromTray(MuraltoRun& run, Timeline& timeline, int afterTicks = 0) {
        int passed = timeline.waitForMidTick(afterTicks);
        DWORD tick = timeline.tickHigh + passed * kTick;
        // Posted messages go before timer ticks too: the posting counts, not the sighting.
        DWORD posted = GetTickCount();
        run.post(e2e::WM_TRAYICON, 1, WM_LBUTTONUP);
        bool shown = waitUntil([&] { return run.visible(); });
        EXPECT_LT(posted - tick, kTick - kTickTolerance / 2) << "showing came at the next tick";
        timeline.counted += passed;
        timeline.tickLow = timeline.tickHigh = tick;
        return shown;
    }

    // ---- Saved settings --------------------------------------------------------------------

    void expectSaved(int lastWall, int randomWall, int startWall, int language) {
        e2e::SavedConfiguration saved = e2e::readConfiguration();
        ASSERT_TRUE(saved.present) << "no " << e2e::iniPath();
        EXPECT_EQ(std::to_string(lastWall), saved.value("SYSTEM", "lastWall"));
        EXPECT_EQ(std::to_string(randomWall), saved.value("SYSTEM", "randomWall"));
        EXPECT_EQ(std::to_string(startWall), saved.value("SYSTEM", "startWall"));
        EXPECT_EQ(std::to_string(language), saved.value("SYSTEM", "language"));
        EXPECT_EQ(static_cast<int>(slots_.size()), saved.wallpaperClasses());
        for (size_t i = 0; i < slots_.size(); ++i) {
            std::string c = "WALLPAPER " + std::to_string(i);
            const Slot& s = slots_[i];
            EXPECT_EQ(s.picture.name, saved.value(c, "original")) << c;
            EXPECT_EQ(slotPath(static_cast<int>(i)), saved.value(c, "filename")) << c;
            EXPECT_EQ(e2e::previewPath(static_cast<int>(i)), saved.value(c, "preview")) << c;
            EXPECT_EQ(std::to_string(s.showTime), saved.value(c, "showTime")) << c;
            EXPECT_EQ(std::to_string(s.showMode), saved.value(c, "showMode")) << c;
            EXPECT_EQ(std::to_string(s.picture.width) + "," + std::to_string(s.picture.height),
                      saved.value(c, "size"))
                << c;
        }
        say("Muralto.ini: lastWall " + saved.value("SYSTEM", "lastWall") + ", randomWall " +
            saved.value("SYSTEM", "randomWall") + ", startWall " +
            saved.value("SYSTEM", "startWall") + ", language " + saved.value("SYSTEM", "language") +
            ", " + std::to_string(saved.wallpaperClasses()) + " wallpapers");
    }

    DWORD day_ = 0;
    testing_support::Shortcut shortcut_;
    std::vector<e2e::Language> languages_;
    int english_ = -1;
    UserPicture bitmap_, jpeg_, tiff_;
    std::vector<UserPicture> holiday_;
    std::vector<Slot> slots_;
    RandomRounds rounds_; // the first run's generator and round
};

TEST_F(Day, AUsersDayWithTheInstalledProgram) {
    ASSERT_NO_FATAL_FAILURE(makePictures());
    ASSERT_NO_FATAL_FAILURE(findShortcut());

    // ---- First start: an empty window --------------------------------------------------------
    int lastSlot = 0;
    {
        MuraltoRun run(shortcut_.target, shortcut_.workingFolder, shortcut_.arguments);
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(run.findMainWindow()) << "no main window after starting " << shortcut_.target;
        ASSERT_TRUE(waitUntil([&] { return run.visible(); })) << "the first start stayed hidden";
        EXPECT_TRUE(waitUntil([&] { return run.text(e2e::COUNTER) == counterText(0, 0); }))
            << run.text(e2e::COUNTER);
        EXPECT_TRUE(e2e::folderExists(e2e::dataFolder()));
        say("first start: the window shows \"" + run.text(e2e::COUNTER) + "\"");

        // ---- Pictures, one at a time and twelve at once ----------------------------------
        ASSERT_NO_FATAL_FAILURE(addOne(run, bitmap_, kBitmapFilter));
        ASSERT_NO_FATAL_FAILURE(addOne(run, jpeg_, kJpegFilter));
        ASSERT_NO_FATAL_FAILURE(addOne(run, tiff_, kTiffFilter));
        ASSERT_NO_FATAL_FAILURE(addMany(run, holiday_, kJpegFilter));
        const int count = static_cast<int>(slots_.size());
        EXPECT_TRUE(waitUntil([&] { return run.text(e2e::COUNTER) == counterText(0, count); }))
            << run.text(e2e::COUNTER);
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(e2e::fileExists(slotPath(i))) << slotPath(i);
            EXPECT_TRUE(e2e::fileExists(e2e::previewPath(i))) << e2e::previewPath(i);
        }
        EXPECT_EQ(e2e::fileBytes(picturePath(bitmap_.name)), e2e::fileBytes(slotPath(0)))
            << "a bitmap is copied as it is";
        ASSERT_TRUE(warnings(run).empty()) << e2e::describe(warnings(run));

        // ---- Times and modes ---------------------------------------------------------------
        ASSERT_NO_FATAL_FAILURE(setTimeAndMode(run, 3, 1, kStretch));
        run.click(e2e::APPLY_ALL);
        for (Slot& s : slots_) {
            s.showTime = 1;
            s.showMode = kStretch;
        }
        say("Appliquer a tous: every wallpaper 1 s, stretched");
        ASSERT_NO_FATAL_FAILURE(setTimeAndMode(run, 0, 2, kTile));
        ASSERT_NO_FATAL_FAILURE(setTimeAndMode(run, 1, 3, kStretch));
        ASSERT_NO_FATAL_FAILURE(setTimeAndMode(run, 2, 4, kCentre));
        ASSERT_NO_FATAL_FAILURE(setTimeAndMode(run, 4, 1, kTile));
        // The wallpaper on display when the program quits has a time of its own, so that the
        // first change after the next start shows which wallpaper the program took up again.
        int quitSlot = kInOrderChanges;
        RandomRounds preview;
        for (int i = 0; i < kRandomChanges; ++i) quitSlot = preview.next(quitSlot, count);
        ASSERT_NE(0, quitSlot);
        ASSERT_NO_FATAL_FAILURE(setTimeAndMode(run, quitSlot, 4, kTile));

        // ---- In the tray, in order -----------------------------------------------------------
        ASSERT_TRUE(run.checked(e2e::RANDOM)) << "random changes are the default";
        run.click(e2e::RANDOM);
        // The refresh timer reads the box. Both timers run on the window's thread and the 50 ms
        // one is due first, so it reads the box before any sequence tick can act on it.
        say("before hiding: " + describe(desktopValues()));
        Timeline inOrder;
        hide(run, inOrder);
        auto hidden = [&] { return !run.visible(); };
        for (int slot = 1; slot <= 2; ++slot)
            ASSERT_TRUE(expectChange(slot, ticksOf(slot - 1), inOrder,
                                     "in order to slot " + std::to_string(slot), hidden));

        // Shown after two of slot 2's ticks, hidden again: those two still count, and the window
        // stops the count while it is shown.
        ASSERT_TRUE(showFromTray(run, inOrder, 2)) << "WM_TRAYICON did not show the window";
        ASSERT_EQ(2, inOrder.counted);
        std::string shown = e2e::desktopValue("Wallpaper");
        // Past the moment the change would have come had the count gone on.
        const DWORD shownFor = (ticksOf(2) - inOrder.counted) * kTick + kTick / 2;
        EXPECT_TRUE(holdsFor([&] { return e2e::desktopValue("Wallpaper") == shown; }, shownFor))
            << "the wallpaper changed while the window was shown: "
            << e2e::desktopValue("Wallpaper");
        say("shown from the tray with 2 ticks of slot 2 counted: no change for " +
            std::to_string(shownFor) + " ms");
        hide(run, inOrder);
        for (int slot = 3; slot <= kInOrderChanges; ++slot)
            ASSERT_TRUE(expectChange(slot, ticksOf(slot - 1) - inOrder.counted, inOrder,
                                     "in order to slot " + std::to_string(slot), hidden));
        lastSlot = kInOrderChanges;

        // ---- In the tray, at random ------------------------------------------------------------
        ASSERT_TRUE(showFromTray(run, inOrder)) << "WM_TRAYICON did not show the window";
        run.click(e2e::RANDOM);
        Timeline atRandom = inOrder;
        hide(run, atRandom);
        for (int i = 0; i < kRandomChanges; ++i) {
            int slot = rounds_.next(lastSlot, count);
            ASSERT_TRUE(expectChange(slot, ticksOf(lastSlot) - atRandom.counted, atRandom,
                                     "at random to slot " + std::to_string(slot), hidden));
            lastSlot = slot;
        }

        // ---- Back from the tray, in English, quit ------------------------------------------
        ASSERT_TRUE(showFromTray(run, atRandom)) << "WM_TRAYICON did not show the window";
        run.choose(e2e::LANGUAGE, english_);
        const e2e::Language& en = languages_[english_];
        EXPECT_TRUE(waitUntil([&] { return run.text(e2e::HIDE) == en.text(kTextHide); }))
            << run.text(e2e::HIDE);
        EXPECT_EQ(en.text(kTextQuit), run.text(e2e::QUIT));
        EXPECT_EQ(en.text(kTextRandom), run.text(e2e::RANDOM));
        EXPECT_EQ(counterText(english_, count), run.text(e2e::COUNTER));
        say("in English: \"" + run.text(e2e::HIDE) + "\", \"" + run.text(e2e::QUIT) + "\", \"" +
            run.text(e2e::COUNTER) + "\"");
        run.clickLater(e2e::QUIT);
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end after Quit";
        EXPECT_EQ(0u, run.exitCode());
        EXPECT_TRUE(warnings(run).empty()) << e2e::describe(warnings(run));
        say("quit with exit code " + std::to_string(run.exitCode()));
    }
    ASSERT_NO_FATAL_FAILURE(expectSaved(lastSlot, 1, 0, english_));
    const int count = static_cast<int>(slots_.size());

    // ---- Second start: into the tray, everything restored ----------------------------------
    {
        // The sequence timer starts with the main window, between these two stamps.
        DWORD beforeStart = GetTickCount();
        MuraltoRun run(shortcut_.target, shortcut_.workingFolder, shortcut_.arguments);
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(run.findMainWindow()) << "no main window at the second start";
        Timeline started;
        started.startedBetween(beforeStart, GetTickCount());
        EXPECT_FALSE(run.visible()) << "the second start showed the window";
        // A new process draws the same random numbers again; the first change comes after the
        // time of the restored lastWall (4 s, where slot 0 would give 2), never to that slot.
        RandomRounds rand = rounds_.restarted();
        int slot = rand.next(lastSlot, count);
        ASSERT_TRUE(
            expectChange(slot, ticksOf(lastSlot), started,
                         "second start, in the tray, at random to slot " + std::to_string(slot),
                         [&] { return !run.visible(); }));
        lastSlot = slot;
        ASSERT_TRUE(showFromTray(run, started)) << "WM_TRAYICON did not show the window";

        ASSERT_EQ(count, run.rowCount());
        const e2e::Language& en = languages_[english_];
        EXPECT_EQ(english_, run.selection(e2e::LANGUAGE));
        EXPECT_EQ(en.text(kTextHide), run.text(e2e::HIDE));
        EXPECT_EQ(counterText(english_, count), run.text(e2e::COUNTER));
        EXPECT_TRUE(run.checked(e2e::RANDOM));
        EXPECT_FALSE(run.checked(e2e::START_CHANGE));
        for (int row = 0; row < count; ++row) {
            expectRow(run, row);
            ASSERT_TRUE(run.selectRowSeen(row)) << "no refresh tick saw row " << row;
            expectFields(run, row, "restored");
        }
        say("second start: hidden, " + std::to_string(run.rowCount()) +
            " rows with their times and modes, \"" + run.text(e2e::HIDE) + "\"");

        // ---- Log-off with the start-up change on -------------------------------------------
        run.click(e2e::START_CHANGE);
        // WM_ENDSESSION is posted, and posted messages go before timer ticks: a tick must have
        // read the box first.
        ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the box was ticked";
        run.click(e2e::HIDE);
        int next = rand.next(lastSlot, count);
        std::string before = e2e::desktopValue("Wallpaper");
        ASSERT_TRUE(run.post(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
        ASSERT_TRUE(run.waitForExit()) << "Muralto.exe did not end at the log-off";
        EXPECT_EQ(0u, run.exitCode());
        EXPECT_TRUE(warnings(run).empty()) << e2e::describe(warnings(run));
        DesktopValues now = desktopValues();
        say("log-off: the program ended with exit code " + std::to_string(run.exitCode()) + "; " +
            describe(now));
        EXPECT_NE(before, now.wallpaper) << "the log-off left the wallpaper";
        EXPECT_EQ(slotPath(next), now.wallpaper) << "the next wallpaper at random is slot " << next;
        EXPECT_EQ(now.wallpaper, now.converted);
        EXPECT_EQ(kStyleOfMode[slots_[next].showMode][0], now.style);
        EXPECT_EQ(kStyleOfMode[slots_[next].showMode][1], now.tile);
        lastSlot = next;
    }
    ASSERT_NO_FATAL_FAILURE(expectSaved(lastSlot, 1, 1, english_));
    say("the day is over");
}

} // namespace
} // namespace day
