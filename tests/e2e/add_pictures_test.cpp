// Adding pictures with the Add button: the real open-file dialog, one picture at once, several
// through the add-progress dialog with its warnings and Cancel, and a long run of large photos.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <tiffio.h>

#include <algorithm>
#include <iterator>

#include "add_progress_dialog.h"
#include "folders.h"
#include "imaging_fixture.h"
#include "journey.h"
#include "open_file_dialog.h"
#include "screenshot.h"
#include "test_bitmaps.h"
#include "window_spy.h"

namespace e2e {
namespace {

const char kOpenTitle[] = "Charger un Wallpaper...";
const std::vector<std::string> kFilters = {"Image(s) Microsoft Bitmap (*.BMP)",
                                           "Image(s) JPEG (*.JPG)",
                                           "Image(s) TIFF (*.TIFF)",
                                           "Image(s) PNG (*.PNG)",
                                           "Image(s) WebP (*.WEBP)",
                                           "Photos HEIC, HEIF et AVIF (*.HEIC;*.HEIF;*.AVIF)"};
enum { BITMAP_FILTER = 0, JPEG_FILTER = 1, TIFF_FILTER = 2 };
const size_t kPreviewFileSize = 51126; // 151 x 112 pixels in 24 bits, with its headers
// Longer than the import of the largest picture these journeys choose.
const DWORD kImportPatience = 20000;

const std::string kBlanks(14, ' ');
const std::string kReadFailed = "[E001]: La lecture du fichier a \xE9"
                                "chou\xE9"
                                "e !" +
                                kBlanks;
const std::string kTableFull = "[E002]: Le nombre de wallpaper est limit\xE9 \xE0 500 !" + kBlanks;

std::string alreadyAdded(const std::string& name) {
    return "[E004]: Le wallpaper \"" + name + "\" a d\xE9ja \xE9t\xE9 ajout\xE9 !" + kBlanks;
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The message boxes as "owner: text" lines, to compare them in one go.
std::vector<std::string> shownWarnings(const MuraltoRun& run, HWND expectedOwner) {
    std::vector<std::string> lines;
    for (const auto& box : run.messageBoxes()) {
        std::string owner = box.owner == expectedOwner ? "" : "<another owner> ";
        std::string caption = box.caption == kMainCaption ? "" : "<caption " + box.caption + "> ";
        lines.push_back(owner + caption + box.text);
    }
    return lines;
}

// The number a counter text starts with, or -1 when it is not "<n> wallpaper(s) ...".
int counterNumber(const std::string& text) {
    const std::string tail = " wallpaper(s) dans la base de donn\xE9"
                             "es";
    if (text.size() <= tail.size() || text.compare(text.size() - tail.size(), tail.size(), tail))
        return -1;
    std::string digits = text.substr(0, text.size() - tail.size());
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoi(digits);
}

// Red, green, blue and white quarters: a preview or a conversion that is flipped, mirrored or
// has red and blue swapped shows at once.
uint32_t quarterColour(int x, int y, int width, int height) {
    bool right = x >= width / 2, bottom = y >= height / 2;
    return bottom ? (right ? 0xFFFFFF : 0x0000FF) : (right ? 0x00FF00 : 0xFF0000);
}

Rgb rgbOf(uint32_t colour) {
    return {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
            static_cast<uint8_t>(colour)};
}

// The quarters of a bitmap file, each sampled at its centre.
::testing::AssertionResult showsQuarters(const BitmapFile& file, int tolerance) {
    if (!file.hasHeaders()) return ::testing::AssertionFailure() << "no bitmap headers";
    int w = file.width(), h = std::abs(file.height());
    const POINT centres[] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    for (POINT c : centres) {
        Rgb want = rgbOf(quarterColour(c.x, c.y, w, h));
        auto close = closeTo(want, file.pixel(c.x, c.y), tolerance);
        if (!close) return close << " at (" << c.x << ", " << c.y << ")";
    }
    return ::testing::AssertionSuccess();
}

// What a 24-bit bitmap file of width x height pixels must look like from its headers.
std::string bitmapFileProblems(const BitmapFile& file, int width, int height) {
    std::string wrong;
    if (!file.hasHeaders()) return "no headers (" + std::to_string(file.bytes.size()) + " bytes)";
    auto check = [&](const char* what, long want, long got) {
        if (want != got)
            wrong += std::string(" ") + what + " " + std::to_string(got) + " instead of " +
                     std::to_string(want);
    };
    check("signature", 0x4D42, static_cast<long>(file.field(0, 2)));
    check("width", width, file.width());
    check("height", height, std::abs(file.height()));
    check("bits per pixel", 24, static_cast<long>(file.field(28, 2)));
    check("size", static_cast<long>(54 + file.stride() * static_cast<size_t>(height)),
          static_cast<long>(file.bytes.size()));
    return wrong;
}

// The preview area of the main window against a preview file; "" when every pixel matches.
std::string previewDifference(const MuraltoRun& run, const BitmapFile& preview) {
    POINT client = {0, 0};
    ClientToScreen(run.window(), &client);
    Screenshot shot = capture(run.window());
    if (shot.empty()) return "no screenshot";
    int wrong = 0;
    std::string first;
    for (int y = 0; y < PREVIEW_HEIGHT; ++y)
        for (int x = 0; x < PREVIEW_WIDTH; ++x) {
            Rgb want = preview.pixel(x, y);
            uint32_t got = shot.atScreen({client.x + PREVIEW_X + x, client.y + PREVIEW_Y + y});
            uint32_t wanted = uint32_t(want.r) << 16 | uint32_t(want.g) << 8 | want.b;
            if (got == wanted) continue;
            if (wrong++ == 0) {
                char line[96];
                snprintf(line, sizeof line, "(%d,%d) is 0x%06X instead of 0x%06X", x, y, got,
                         wanted);
                first = line;
            }
        }
    return wrong == 0 ? "" : std::to_string(wrong) + " pixels differ, first " + first;
}

class Adding : public Journey {
  protected:
    void SetUp() override {
        Journey::SetUp();
        std::string all = testing_support::currentFolder() + "\\pictures";
        CreateDirectoryA(all.c_str(), nullptr);
        pictures_ = all + "\\" + testing_support::testFileName("");
        testing_support::makeEmptyFolder(pictures_);
    }
    void TearDown() override {
        testing_support::removeFolder(pictures_);
        Journey::TearDown();
    }

    std::string picturePath(const std::string& name) const { return pictures_ + "\\" + name; }

    std::string bitmap(const std::string& name, int width, int height) const {
        std::string path = picturePath(name);
        EXPECT_TRUE(testing_support::writeBytes(
            path,
            testing_support::bitmapFileBytes(
                width, height, [=](int x, int y) { return quarterColour(x, y, width, height); })))
            << path;
        return path;
    }
    std::string jpeg(const std::string& name, int width, int height) const {
        std::string path = picturePath(name);
        EXPECT_TRUE(writeColourJpeg(path, quadrants(width, height), 90)) << path;
        return path;
    }
    std::string tiff(const std::string& name, int width, int height) const {
        std::string path = picturePath(name);
        EXPECT_TRUE(writeTiff(path, {{quadrants(width, height), ORIENTATION_TOPLEFT, {}}})) << path;
        return path;
    }

    // Clicks Add and waits for the open-file dialog.
    static OpenFileDialog clickAdd(MuraltoRun& run) {
        run.clickLater(ADD);
        return OpenFileDialog(run, kOpenTitle);
    }

    // Every file of the data folder and its previews folder.
    static std::vector<std::string> dataFiles() {
        std::vector<std::string> all;
        for (const std::string& name : filesIn(dataFolder())) all.push_back(name);
        for (const std::string& name : filesIn(previewFolder())) all.push_back("previews\\" + name);
        return all;
    }

    // Quits with the button: exit code 0, and no warning besides those already seen.
    static bool counterShows(const MuraltoRun& run, int count) {
        return waitUntil([&] { return run.text(COUNTER) == counterText(count); });
    }

    // A refused picture changes nothing visible, so the end of the add flow is waited for: its
    // dialogs and warnings closed (the main window enabled again) and a refresh tick run after.
    static bool addFlowOver(MuraltoRun& run) {
        return waitUntil([&] { return IsWindowEnabled(run.window()) != 0; }) &&
               run.waitForRefreshTick();
    }

    std::string pictures_;
};

class AddingOnePicture : public Adding {};

TEST_F(AddingOnePicture, TheAddButtonOffersTheBitmapFilterAndANewPictureIsAddedAtOnce) {
    std::string source = bitmap("Plage.bmp", 1024, 768);
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    WindowSpy progress(run.processId(), kAddProgressCaption);

    OpenFileDialog dialog = clickAdd(run);
    ASSERT_TRUE(dialog.found()) << "no dialog titled " << kOpenTitle;

    EXPECT_EQ(run.window(), GetWindow(dialog.window(), GW_OWNER));
    EXPECT_EQ(kFilters, dialog.filters());
    EXPECT_EQ(BITMAP_FILTER, dialog.filter()) << "the bitmap filter is not preselected";
    HWND readOnly = GetDlgItem(dialog.window(), chx1);
    EXPECT_TRUE(readOnly != nullptr && !IsWindowVisible(readOnly)) << "the read-only box shows";
    ASSERT_TRUE(dialog.openPath(source)) << "the dialog did not close";

    ASSERT_TRUE(waitUntil([&] { return run.rowCount() == 1; })) << run.rowCount() << " rows";
    EXPECT_EQ("Plage.bmp", run.cell(0, 0));
    EXPECT_EQ("1024x768", run.cell(0, 1));
    EXPECT_TRUE(counterShows(run, 1)) << run.text(COUNTER);
    EXPECT_TRUE(progress.seen().empty()) << "one picture went through the progress dialog";
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());

    // Kept at once: a kill now would lose nothing.
    const std::vector<std::string> kept = {"MUWallpaper0.bmp", "Muralto.ini", "previews\\MU0.bmp"};
    EXPECT_TRUE(waitUntil([&] { return dataFiles() == kept; })) << dataFiles().size() << " files";
    EXPECT_EQ(1, readConfiguration().wallpaperClasses());
    EXPECT_TRUE(fileBytes(source) == fileBytes(wallpaperPath(0)))
        << "the bitmap was not copied byte for byte";
    BitmapFile preview(fileBytes(previewPath(0)));
    EXPECT_EQ(kPreviewFileSize, preview.bytes.size());
    EXPECT_EQ("", bitmapFileProblems(preview, PREVIEW_WIDTH, PREVIEW_HEIGHT));
    EXPECT_TRUE(showsQuarters(preview, 0)) << "the preview is not the whole picture";

    // Selected, the new wallpaper shows its 60 seconds, centred, and its preview.
    run.selectRow(0);
    EXPECT_TRUE(waitUntil([&] { return run.text(TIME) == "60" && run.selection(MODE) == 0; }))
        << "time \"" << run.text(TIME) << "\", mode " << run.selection(MODE);
    std::string difference;
    EXPECT_TRUE(waitUntil([&] { return (difference = previewDifference(run, preview)).empty(); }))
        << "the preview area: " << difference;

    quitWithButton(run);
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ("Plage.bmp", saved.value("WALLPAPER 0", "original"));
    EXPECT_EQ(wallpaperPath(0), saved.value("WALLPAPER 0", "filename"));
    EXPECT_EQ(previewPath(0), saved.value("WALLPAPER 0", "preview"));
    EXPECT_EQ("1024,768", saved.value("WALLPAPER 0", "size"));
    EXPECT_EQ("60", saved.value("WALLPAPER 0", "showTime"));
    EXPECT_EQ("0", saved.value("WALLPAPER 0", "showMode"));
}

TEST_F(AddingOnePicture, APictureWhoseTitleIsInTheTableIsRefusedWithItsTitle) {
    configure(SystemSettings(), {{0, "Plage.bmp", 600, 0, 64, 48}});
    std::vector<std::string> before = dataFiles();
    std::string source = bitmap("Plage.bmp", 320, 200);
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));

    OpenFileDialog dialog = clickAdd(run);
    ASSERT_TRUE(dialog.found());
    ASSERT_TRUE(dialog.openPath(source));
    ASSERT_TRUE(waitUntil([&] { return run.messageBoxes().size() == 1; }))
        << describe(run.messageBoxes());
    EXPECT_EQ(std::vector<std::string>{alreadyAdded("Plage.bmp")},
              shownWarnings(run, run.window()));

    ASSERT_TRUE(addFlowOver(run)) << "no refresh tick after the warning";
    EXPECT_EQ(1, run.rowCount());
    EXPECT_EQ("64x48", run.cell(0, 1)) << "the row is not the configured one";
    EXPECT_EQ(counterText(1), run.text(COUNTER));
    EXPECT_EQ(before, dataFiles()) << "the refused picture left files";
    EXPECT_EQ(1u, run.messageBoxes().size()) << describe(run.messageBoxes());
    quitAfterWarnings(run);
}

TEST_F(AddingOnePicture, JpegAndTiffAreConvertedUnderTheirFiltersAndAJpegAsBitmapIsRefused) {
    std::string photo = jpeg("Phare.jpg", 640, 480);
    std::string scan = tiff("Falaise.tif", 320, 240);
    std::string misnamed = jpeg("Rocher.jpg", 200, 100);
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));

    const struct {
        std::string path;
        int filter, width, height;
    } kinds[] = {{photo, JPEG_FILTER, 640, 480}, {scan, TIFF_FILTER, 320, 240}};
    int number = 0;
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.path);
        OpenFileDialog dialog = clickAdd(run);
        ASSERT_TRUE(dialog.found());
        EXPECT_EQ(BITMAP_FILTER, dialog.filter()) << "each opening preselects the bitmap filter";
        dialog.chooseFilter(kind.filter);
        ASSERT_TRUE(dialog.openPath(kind.path));
        ASSERT_TRUE(waitUntil([&] { return run.rowCount() == number + 1; }))
            << run.rowCount() << " rows; " << describe(run.messageBoxes());
        EXPECT_EQ(sizeText(kind.width, kind.height), run.cell(number, 1));
        BitmapFile converted(fileBytes(wallpaperPath(number)));
        EXPECT_EQ("", bitmapFileProblems(converted, kind.width, kind.height));
        EXPECT_TRUE(showsQuarters(converted, 8));
        EXPECT_EQ(kPreviewFileSize, fileBytes(previewPath(number)).size());
        ++number;
    }
    EXPECT_EQ((std::vector<std::string>{"Phare.jpg", "Falaise.tif"}), run.titles());

    std::vector<std::string> before = dataFiles();
    OpenFileDialog dialog = clickAdd(run);
    ASSERT_TRUE(dialog.found());
    ASSERT_TRUE(dialog.openPath(misnamed)); // under the preselected bitmap filter
    ASSERT_TRUE(waitUntil([&] { return run.messageBoxes().size() == 1; }))
        << describe(run.messageBoxes());
    EXPECT_EQ(std::vector<std::string>{kReadFailed}, shownWarnings(run, run.window()));
    ASSERT_TRUE(addFlowOver(run)) << "no refresh tick after the warning";
    EXPECT_EQ(2, run.rowCount());
    EXPECT_EQ(before, dataFiles()) << "the refused picture left files";
    EXPECT_TRUE(counterShows(run, 2)) << run.text(COUNTER);
    quitAfterWarnings(run);
}

// Names with letters the ANSI code page (Windows-1252 here) lacks: Polish and Japanese ones.
class AddingAnyName : public Adding {
  protected:
    // A JPEG under a UTF-8 name: made under a plain one by the codec, then moved by the test.
    std::string jpegUtf8(const std::string& name, const Picture& picture) const {
        std::string plain = picturePath("plain.jpg");
        EXPECT_TRUE(writeColourJpeg(plain, picture, 95)) << plain;
        std::string path = picturePath(name);
        EXPECT_TRUE(testing_support::writeBytesUtf8(path, fileBytes(plain))) << path;
        testing_support::removeFile(plain);
        return path;
    }
};

TEST_F(AddingAnyName, APictureKeepsItsNameAcrossARestartAndOneDifferingInThoseLettersIsAnother) {
    const std::string japan = u8"Łódź_日本.jpg", china = u8"Łódź_中国.jpg";
    jpegUtf8(japan, quadrants(640, 480));
    jpegUtf8(china, Picture(320, 200, kBlue));
    {
        MuraltoRun run;
        ASSERT_TRUE(showMainWindow(run));
        OpenFileDialog dialog = clickAdd(run);
        ASSERT_TRUE(dialog.found());
        dialog.chooseFilter(JPEG_FILTER);
        ASSERT_TRUE(dialog.openPathUtf8(picturePath(japan)));
        ASSERT_TRUE(waitUntil([&] { return run.rowCount() == 1 || !run.messageBoxes().empty(); },
                              kImportPatience))
            << "no row";
        ASSERT_EQ(1, run.rowCount()) << describe(run.messageBoxes());
        EXPECT_EQ(japan, run.cellUtf8(0, 0));
        EXPECT_EQ("640x480", run.cell(0, 1));
        quitWithButton(run);
    }
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ("L\xF3"
              "dz_??.jpg",
              saved.value("WALLPAPER 0", "original"))
        << "the nearest form, for earlier versions";
    EXPECT_EQ(japan, saved.value("WALLPAPER 0", "titleUtf8"));

    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    ASSERT_EQ(1, run.rowCount()) << describe(run.messageBoxes());
    EXPECT_EQ(japan, run.cellUtf8(0, 0));
    run.selectRow(0);
    BitmapFile preview(fileBytes(previewPath(0)));
    std::string difference;
    EXPECT_TRUE(waitUntil([&] { return (difference = previewDifference(run, preview)).empty(); }))
        << "the preview area: " << difference;

    // Both chosen: the one in the table is refused by its name, the other is a wallpaper of its
    // own.
    WindowSpy spy(run.processId(), kAddProgressCaption);
    OpenFileDialog dialog = clickAdd(run);
    ASSERT_TRUE(dialog.found());
    dialog.chooseFilter(JPEG_FILTER);
    ASSERT_TRUE(dialog.openNamesUtf8(pictures_, {china, japan}));
    AddProgressDialog progress(run.process(), spy.waitForAny(kPatience));
    ASSERT_TRUE(progress.window() != nullptr) << "no progress dialog";
    ASSERT_TRUE(progress.waitUntilClosed(kImportPatience)) << "the dialog did not close by itself";
    ASSERT_TRUE(addFlowOver(run));
    ASSERT_EQ(2, run.rowCount()) << describe(run.messageBoxes());
    EXPECT_EQ(china, run.cellUtf8(1, 0));
    EXPECT_EQ("320x200", run.cell(1, 1));
    auto boxes = run.messageBoxes();
    ASSERT_EQ(1u, boxes.size()) << describe(boxes);
    EXPECT_EQ(u8"[E004]: Le wallpaper \"" + japan + u8"\" a déja été ajouté !" + kBlanks,
              boxes[0].textUtf8);

    // Each row leads to its own wallpaper: a time typed for the second stays the second's.
    ASSERT_TRUE(run.selectRowSeen(1));
    EXPECT_EQ("60", run.text(TIME));
    run.type(TIME, "45");
    ASSERT_TRUE(run.selectRowSeen(0));
    EXPECT_EQ("60", run.text(TIME));
    ASSERT_TRUE(run.selectRowSeen(1));
    EXPECT_EQ("45", run.text(TIME));
    quitAfterWarnings(run);
    saved = readConfiguration();
    EXPECT_EQ(china, saved.value("WALLPAPER 1", "titleUtf8"));
    EXPECT_EQ("45", saved.value("WALLPAPER 1", "showTime"));
    EXPECT_EQ("60", saved.value("WALLPAPER 0", "showTime"));
}

class AddingSeveralPictures : public Adding {
  protected:
    // Clicks Add, chooses the names under the bitmap filter and waits for the progress dialog.
    AddProgressDialog chooseSeveral(MuraltoRun& run, WindowSpy& spy,
                                    const std::vector<std::string>& names) {
        OpenFileDialog dialog = clickAdd(run);
        EXPECT_TRUE(dialog.found());
        if (!dialog.found()) return AddProgressDialog(run.process(), nullptr);
        EXPECT_TRUE(dialog.openNames(pictures_, names));
        return AddProgressDialog(run.process(), spy.waitForAny(kPatience));
    }
};

TEST_F(AddingSeveralPictures, FiveWithTwoInTheTableShowTheProgressWarnTwiceAndAddThree) {
    configure(SystemSettings(),
              {{0, "Vue 2.bmp", 600, 0, 64, 48}, {1, "Vue 4.bmp", 600, 0, 64, 48}});
    const std::vector<std::string> names = {"Vue 1.bmp", "Vue 2.bmp", "Vue 3.bmp", "Vue 4.bmp",
                                            "Vue 5.bmp"};
    bitmap(names[0], 300, 200);
    bitmap(names[1], 30, 20);
    bitmap(names[2], 200, 300);
    bitmap(names[3], 30, 20);
    bitmap(names[4], 640, 480);
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    WindowSpy spy(run.processId(), kAddProgressCaption);

    // The bar was read while an import ran, and that import could end, and the dialog close,
    // before the question came. Each warning is held open instead: the dialog waits in it with
    // a known name done or not, and answers at once.
    run.holdMessageBoxes(true);
    AddProgressDialog progress = chooseSeveral(run, spy, names);
    ASSERT_TRUE(progress.window() != nullptr) << "no progress dialog";
    EXPECT_EQ(run.window(), GetWindow(progress.window(), GW_OWNER));
    EXPECT_TRUE(waitUntil([&] { return !IsWindowEnabled(run.window()); }))
        << "the main window stays enabled under the progress dialog";
    const struct { int name, rows; } held[] = {{1, 3}, {3, 4}};
    for (size_t i = 0; i < std::size(held); ++i) {
        const std::string& name = names[held[i].name];
        SCOPED_TRACE("warning for " + name);
        ASSERT_TRUE(waitUntil([&] { return run.messageBoxes().size() == i + 1; }, kImportPatience))
            << describe(run.messageBoxes());
        EXPECT_EQ(name, progress.shownName());
        int low = -1, high = -1;
        EXPECT_TRUE(progress.range(&low, &high, kPatience)) << "the bar's range is unreadable";
        EXPECT_EQ(0, low);
        EXPECT_EQ(5, high);
        EXPECT_EQ(held[i].name, progress.position(kPatience)) << "the names before it, counted";
        EXPECT_EQ(held[i].rows, run.rowCount());
        run.releaseMessageBoxes();
    }
    run.holdMessageBoxes(false);
    ASSERT_TRUE(progress.waitUntilClosed(kImportPatience)) << "the dialog did not close by itself";
    EXPECT_EQ(1u, spy.seen().size()) << "the progress dialog opened more than once";
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(run.window()) != 0; }));

    EXPECT_EQ((std::vector<std::string>{alreadyAdded(names[1]), alreadyAdded(names[3])}),
              shownWarnings(run, progress.window()));
    EXPECT_EQ(
        (std::vector<std::string>{"Vue 2.bmp", "Vue 4.bmp", "Vue 1.bmp", "Vue 3.bmp", "Vue 5.bmp"}),
        run.titles());
    EXPECT_EQ("300x200", run.cell(2, 1));
    EXPECT_EQ("200x300", run.cell(3, 1));
    EXPECT_EQ("640x480", run.cell(4, 1));
    EXPECT_TRUE(counterShows(run, 5)) << run.text(COUNTER);
    for (int n = 2; n < 5; ++n) {
        EXPECT_TRUE(fileExists(wallpaperPath(n))) << n;
        EXPECT_EQ(kPreviewFileSize, fileBytes(previewPath(n)).size()) << n;
    }
    EXPECT_EQ((std::vector<std::string>{
                  "MUWallpaper0.bmp", "MUWallpaper1.bmp", "MUWallpaper2.bmp", "MUWallpaper3.bmp",
                  "MUWallpaper4.bmp", "Muralto.ini", "previews\\MU0.bmp", "previews\\MU1.bmp",
                  "previews\\MU2.bmp", "previews\\MU3.bmp", "previews\\MU4.bmp"}),
              dataFiles());
    quitAfterWarnings(run);
}

TEST_F(AddingSeveralPictures, CancelDuringAnImportKeepsItAndStartsNoOther) {
    std::vector<std::string> names;
    for (int i = 1; i <= 10; ++i) {
        char name[32];
        snprintf(name, sizeof name, "Lac %02d.bmp", i);
        names.push_back(name);
        // The third is large, so that Cancel is pressed while it is being imported.
        bitmap(name, i == 3 ? 3000 : 40, i == 3 ? 2000 : 30);
    }
    // The fourth is in the table already: its warning, held open, stops the run there at the
    // latest, so that the dialog is still open when Cancel comes, however late that is.
    configure(SystemSettings(), {{9, names[3], 600, 0, 40, 30}});
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    WindowSpy spy(run.processId(), kAddProgressCaption);
    run.holdMessageBoxes(true);

    AddProgressDialog progress = chooseSeveral(run, spy, names);
    ASSERT_TRUE(progress.window() != nullptr) << "no progress dialog";
    ASSERT_TRUE(waitUntil(
        [&] {
            std::string shown = progress.shownName();
            return shown == names[2] || shown == names[3];
        },
        kImportPatience))
        << "the dialog shows \"" << progress.shownName() << "\"";
    progress.pressCancel();
    // Cancel was pressed during the third import or, on a slow driver, during the fourth's
    // warning. Posted, it is handled before the import timer's next tick, so the label keeps
    // the name it came during; either way the first three are kept and no other starts.
    std::string during = progress.shownName();
    EXPECT_TRUE(during == names[2] || during == names[3]) << "Cancel came during " << during;
    run.holdMessageBoxes(false);
    ASSERT_TRUE(progress.waitUntilClosed(kImportPatience)) << "Cancel did not close the dialog";

    ASSERT_TRUE(addFlowOver(run)) << "no refresh tick after the dialog";
    EXPECT_EQ(4, run.rowCount()) << ::testing::PrintToString(run.titles());
    EXPECT_EQ((std::vector<std::string>{names[3], names[0], names[1], names[2]}), run.titles());
    EXPECT_EQ("3000x2000", run.cell(3, 1));
    EXPECT_TRUE(counterShows(run, 4)) << run.text(COUNTER);
    EXPECT_EQ(
        (std::vector<std::string>{"MUWallpaper0.bmp", "MUWallpaper1.bmp", "MUWallpaper2.bmp",
                                  "MUWallpaper9.bmp", "Muralto.ini", "previews\\MU0.bmp",
                                  "previews\\MU1.bmp", "previews\\MU2.bmp", "previews\\MU9.bmp"}),
        dataFiles());
    std::vector<std::string> expected;
    if (during == names[3]) expected.push_back(alreadyAdded(names[3]));
    EXPECT_EQ(expected, shownWarnings(run, progress.window()));
    quitAfterWarnings(run);
}

// The three the table has no room for are told once, not each.
TEST_F(AddingSeveralPictures, WithTwoSlotsLeftTwoAreAddedAndTheFullTableIsToldOnce) {
    std::vector<Wallpaper> configured;
    for (int n = 0; n < 498; ++n) {
        char title[32];
        snprintf(title, sizeof title, "Fond %03d.bmp", n);
        configured.push_back({n, title, 600, 0, 2, 2});
    }
    configureLarge(SystemSettings(), configured);
    const std::vector<std::string> names = {"Neige 1.bmp", "Neige 2.bmp", "Neige 3.bmp",
                                            "Neige 4.bmp", "Neige 5.bmp"};
    for (const std::string& name : names) bitmap(name, 48, 32);
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    ASSERT_EQ(498, run.rowCount()) << "the configuration was not read whole";
    WindowSpy spy(run.processId(), kAddProgressCaption);

    AddProgressDialog progress = chooseSeveral(run, spy, names);
    ASSERT_TRUE(progress.window() != nullptr) << "no progress dialog";
    ASSERT_TRUE(progress.waitUntilClosed(kImportPatience)) << "the dialog did not close by itself";

    EXPECT_EQ((std::vector<std::string>{kTableFull}), shownWarnings(run, progress.window()));
    ASSERT_EQ(500, run.rowCount());
    EXPECT_EQ(names[0], run.cell(498, 0));
    EXPECT_EQ(names[1], run.cell(499, 0));
    EXPECT_TRUE(counterShows(run, 500)) << run.text(COUNTER);
    for (int n : {498, 499}) {
        EXPECT_TRUE(fileExists(wallpaperPath(n))) << n;
        EXPECT_EQ(kPreviewFileSize, fileBytes(previewPath(n)).size()) << n;
    }
    EXPECT_FALSE(fileExists(wallpaperPath(500)));
    EXPECT_FALSE(fileExists(previewPath(500)));
    quitAfterWarnings(run);
}

// Twenty photos of 4000 x 3000 pixels, made once and kept in the build tree across runs.
class AddingManyPhotos : public Adding {
  protected:
    static constexpr int kCount = 20, kWidth = 4000, kHeight = 3000;

    static std::string photoFolder() {
        return testing_support::currentFolder() + "\\photos-4000x3000";
    }

    static std::string photoName(int i) {
        char name[32];
        snprintf(name, sizeof name, "Photo %02d.jpg", i + 1);
        return name;
    }

    // Writes the photos that are missing; each gets a block of its own, so that their
    // previews differ. A photo is written under another name first, so that a run stopped
    // half-way leaves no truncated one behind.
    static void makePhotos() {
        CreateDirectoryA(photoFolder().c_str(), nullptr);
        Picture base(1, 1);
        bool haveBase = false;
        DWORD start = GetTickCount();
        int made = 0;
        for (int i = 0; i < kCount; ++i) {
            std::string path = photoFolder() + "\\" + photoName(i);
            if (fileExists(path)) continue;
            if (!haveBase) {
                base = photoLike(kWidth, kHeight);
                haveBase = true;
            }
            Picture photo = base;
            Rgb colour = {static_cast<uint8_t>(40 + 10 * i), static_cast<uint8_t>(230 - 9 * i),
                          static_cast<uint8_t>(i % 2 ? 200 : 30)};
            uint32_t left = static_cast<uint32_t>(i % 5) * 800, top = (i / 5) * 750;
            for (uint32_t y = top; y < top + 750; ++y)
                for (uint32_t x = left; x < left + 800; ++x) photo.set(x, y, colour);
            std::string part = path + ".part";
            ASSERT_TRUE(writeColourJpeg(part, photo, 90, true)) << part;
            ASSERT_TRUE(MoveFileA(part.c_str(), path.c_str())) << path;
            ++made;
        }
        if (made > 0)
            printf("made %d photos of %d x %d in %.1f s\n", made, kWidth, kHeight,
                   (GetTickCount() - start) / 1000.0);
    }
};

TEST_F(AddingManyPhotos, TwentyLargePhotosKeepTheCounterListAndPreviewConsistentThroughout) {
    makePhotos();
    std::vector<std::string> names;
    for (int i = 0; i < kCount; ++i) names.push_back(photoName(i));
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    WindowSpy spy(run.processId(), kAddProgressCaption);

    OpenFileDialog dialog = clickAdd(run);
    ASSERT_TRUE(dialog.found());
    dialog.chooseFilter(JPEG_FILTER);
    ASSERT_TRUE(dialog.openNames(photoFolder(), names));
    AddProgressDialog progress(run.process(), spy.waitForAny(kPatience));
    ASSERT_TRUE(progress.window() != nullptr) << "no progress dialog";
    DWORD start = GetTickCount();

    // Out of the way of the preview, as a user would drag it.
    RECT window;
    GetWindowRect(progress.window(), &window);
    int height = window.bottom - window.top;
    progress.moveTo(0, GetSystemMetrics(SM_CYSCREEN) - height - 40);
    POINT client = {0, 0};
    ClientToScreen(run.window(), &client);
    RECT previewArea = {client.x + PREVIEW_X, client.y + PREVIEW_Y,
                        client.x + PREVIEW_X + PREVIEW_WIDTH,
                        client.y + PREVIEW_Y + PREVIEW_HEIGHT};

    // Every ~100 ms until the dialog closes (a sample waits for the running import):
    // - the counter never shows more than the list holds, and follows it within two imports:
    //   the refresh tick can lose the race against the import timer (period 0) once;
    // - the tick that writes the counter enables the editing controls first;
    // - the selected row's preview paints, and once painted stays painted.
    const DWORD kRunLimit = kCount * kImportPatience / 4; // far beyond any sane run
    const int kEditing[] = {LIST, TIME, MODE, DELETE_ALL, HIDE, APPLY_ALL};
    int samples = 0, lastRows = 0, lastCounter = 0, previewRow = -1;
    bool previewPainted = false;
    DWORD selectedAt = 0;
    std::string previewProblem;
    BitmapFile preview("");
    while (progress.open() && GetTickCount() - start < kRunLimit) {
        // The counter is read before the controls and the rows, and once more after the rows:
        // an import or a tick may come between two reads, and each relation below compares a
        // value with one read after it, so it holds whatever came between.
        std::string counter = textWithoutMessage(run.control(COUNTER));
        std::string disabled;
        for (int id : kEditing)
            if (!IsWindowEnabled(run.control(id))) disabled += " " + std::to_string(id);
        LRESULT rowCount = 0;
        bool answered =
            sendWithin(run.control(LIST), LVM_GETITEMCOUNT, 0, 0, &rowCount, kImportPatience);
        int rows = static_cast<int>(rowCount);
        int after = counterNumber(textWithoutMessage(run.control(COUNTER)));
        if (!progress.open()) break;
        ASSERT_TRUE(answered) << "the list did not answer within " << kImportPatience << " ms";
        int shown = counterNumber(counter);
        ++samples;
        ASSERT_TRUE(shown >= 0 && after >= 0) << "counter \"" << counter << "\"";
        ASSERT_TRUE(shown <= rows && after >= rows - 2 && rows >= lastRows && shown >= lastCounter)
            << "sample " << samples << ": counter " << shown << ", " << rows
            << " rows, then counter " << after << " (before: " << lastCounter << " with "
            << lastRows << ")";
        ASSERT_TRUE(shown == 0 || disabled.empty())
            << "counter " << shown << " but controls disabled:" << disabled;
        lastRows = rows;
        lastCounter = after;

        // The first row, then the eleventh once it is there.
        int wanted = rows >= 11 ? 10 : rows >= 1 ? 0 : -1;
        if (wanted != previewRow) {
            ASSERT_TRUE(previewRow < 0 || previewPainted)
                << "row " << previewRow << "'s preview never painted: " << previewProblem;
            ASSERT_TRUE(run.selectRowWithin(wanted, kImportPatience)) << "selecting row " << wanted;
            previewRow = wanted;
            preview = BitmapFile(fileBytes(previewPath(wanted)));
            ASSERT_EQ(kPreviewFileSize, preview.bytes.size()) << previewPath(wanted);
            previewPainted = false;
            selectedAt = GetTickCount();
        }
        GetWindowRect(progress.window(), &window);
        RECT overlap;
        if (previewRow >= 0 && !IntersectRect(&overlap, &window, &previewArea)) {
            previewProblem = previewDifference(run, preview);
            ASSERT_TRUE(!previewPainted || previewProblem.empty())
                << "sample " << samples << ", row " << previewRow
                << ": the preview was painted, then " << previewProblem;
            if (previewProblem.empty()) previewPainted = true;
            ASSERT_TRUE(previewPainted || GetTickCount() - selectedAt < kImportPatience)
                << "row " << previewRow << "'s preview did not paint: " << previewProblem;
        }
        Sleep(100);
    }
    DWORD elapsed = GetTickCount() - start;
    ASSERT_FALSE(progress.open()) << "the run took longer than " << kRunLimit / 1000 << " s";
    printf("%d photos of %d x %d added through the progress dialog in %.1f s: %.2f s per "
           "photo (%d samples)\n",
           kCount, kWidth, kHeight, elapsed / 1000.0, elapsed / 1000.0 / kCount, samples);
    EXPECT_GE(samples, kCount / 2) << "too few samples to follow the run";
    EXPECT_EQ(10, previewRow) << "the run ended before the eleventh row was selected";
    EXPECT_TRUE(previewPainted) << "row " << previewRow << "'s preview: " << previewProblem;

    EXPECT_EQ(names, run.titles());
    for (int row = 0; row < kCount; ++row) EXPECT_EQ("4000x3000", run.cell(row, 1)) << row;
    EXPECT_TRUE(counterShows(run, kCount)) << run.text(COUNTER);
    // The pictures and the settings that list them, saved once at the end.
    EXPECT_TRUE(waitUntil([&] { return dataFiles().size() == 2 * kCount + 1; }))
        << dataFiles().size() << " files";
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());
    quitWithButton(run);
}

} // namespace
} // namespace e2e
