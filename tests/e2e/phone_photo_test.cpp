// A phone's portrait photo, a HEIC stored landscape and turned upright by its irot box, added
// through the real open-file dialog under its own filter: the table and the preview show it
// upright.
#include <windows.h>

#include <string.h>

#include <string>

#include "folders.h"
#include "imaging_fixture.h"
#include "journey.h"
#include "main_window.h"
#include "open_file_dialog.h"
#include "options.h"
#include "screenshot.h"

namespace e2e {
namespace {

const char kOpenTitle[] = "Charger un Wallpaper...";
const int JPEG_FILTER = 1;
const int HEIF_FILTER = 5;
const char kPhoto[] = "IMG_0001.HEIC";

class PhonePhoto : public Journey {
  protected:
    static std::string folder() { return testing_support::currentFolder() + "\\phone"; }
};

// Red top left, green top right, blue bottom left, white bottom right, each sampled at the
// centre of its quarter of the width × height pixels that at(x, y) gives.
template <typename At>::testing::AssertionResult upright(int width, int height, At at) {
    const Rgb colours[] = {kRed, kGreen, kBlue, kWhite};
    for (int i = 0; i < 4; ++i) {
        int x = (i % 2 * 2 + 1) * width / 4, y = (i / 2 * 2 + 1) * height / 4;
        auto close = closeTo(colours[i], at(x, y), 48);
        if (!close) return close << " at (" << x << ", " << y << ")";
    }
    return ::testing::AssertionSuccess();
}

TEST_F(PhonePhoto, APortraitHeicIsAddedUnderItsFilterAndShownUpright) {
    CreateDirectoryA(folder().c_str(), nullptr);
    const std::string photo = folder() + "\\" + kPhoto;
    ASSERT_TRUE(CopyFileA(MURALTO_TEST_PICTURES "/portrait.heic", photo.c_str(), FALSE));

    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    run.clickLater(ADD);
    OpenFileDialog dialog(run, kOpenTitle);
    ASSERT_TRUE(dialog.found());
    dialog.chooseFilter(HEIF_FILTER);
    ASSERT_TRUE(dialog.openNames(folder(), {kPhoto}));
    ASSERT_TRUE(waitUntil([&] { return run.rowCount() == 1; })) << describe(run.messageBoxes());
    // Stored 96 × 64; upright it is a portrait.
    EXPECT_EQ("64x96", run.cell(0, 1));
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());

    BitmapFile preview(fileBytes(previewPath(0)));
    ASSERT_TRUE(preview.hasHeaders());
    EXPECT_TRUE(upright(PREVIEW_WIDTH, PREVIEW_HEIGHT, [&](int x, int y) {
        return preview.pixel(uint32_t(x), uint32_t(y));
    })) << "the preview file";

    // Selected, its preview is painted on the main window's monitor.
    ASSERT_TRUE(run.selectRowSeen(0));
    POINT client = {0, 0};
    ClientToScreen(run.window(), &client);
    Screenshot shot;
    ::testing::AssertionResult shown = ::testing::AssertionFailure();
    EXPECT_TRUE(waitUntil([&] {
        shot = capture(run.window());
        shown = upright(PREVIEW_WIDTH, PREVIEW_HEIGHT, [&](int x, int y) {
            uint32_t c = shot.atScreen({client.x + PREVIEW_X + x, client.y + PREVIEW_Y + y});
            return Rgb{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
        });
        return bool(shown);
    })) << "the preview area: "
        << shown.message();
    // The README's picture; what it shows was checked just above.
    savePng(shot, options.screenshotFolder + "\\main-window-heic.png");
    quitWithButton(run);
}

// Muralto.exe, KFG.dll and TXM.dll alone, started from a folder where libheif.dll and
// libde265.dll of someone else's lie, as a download or a shortcut may start it: a JPEG is added
// as always, a HEIC is answered by a message naming the missing file, and the planted DLLs are
// never loaded.
TEST_F(PhonePhoto, ThreeFilesAddAJpegAndNameTheMissingLibraryForAHeic) {
    const std::string start = testing_support::currentFolder() + "\\planted start";
    testing_support::makeEmptyFolder(start);
    for (const char* dll : {"libheif.dll", "libde265.dll"})
        ASSERT_TRUE(CopyFileA((std::string(MURALTO_PLANTED_DLLS) + "/" + dll).c_str(),
                              (start + "\\" + dll).c_str(), FALSE));
    CreateDirectoryA(folder().c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(MURALTO_TEST_PICTURES "/portrait.heic",
                          (folder() + "\\" + kPhoto).c_str(), FALSE));
    ASSERT_TRUE(writeColourJpeg(folder() + "\\beach.jpg", quadrants(64, 48), 90));

    MuraltoRun::Setup setup;
    setup.heifLibraries = false;
    setup.workingFolder = start;
    MuraltoRun run(setup);
    ASSERT_TRUE(showMainWindow(run));
    for (const char* name : {"beach.jpg", kPhoto}) {
        run.clickLater(ADD);
        OpenFileDialog dialog(run, kOpenTitle);
        ASSERT_TRUE(dialog.found());
        dialog.chooseFilter(strcmp(name, kPhoto) == 0 ? HEIF_FILTER : JPEG_FILTER);
        ASSERT_TRUE(dialog.openNames(folder(), {name}));
        ASSERT_TRUE(dialog.waitUntilClosed());
    }
    ASSERT_TRUE(waitUntil([&] { return run.messageBoxes().size() == 1; }))
        << describe(run.messageBoxes());
    EXPECT_NE(std::string::npos, run.messageBoxes()[0].text.find("[E007]"));
    EXPECT_NE(std::string::npos, run.messageBoxes()[0].text.find("\"libheif.dll\""));
    EXPECT_EQ(std::vector<std::string>{"beach.jpg"}, run.titles());
    run.clickLater(QUIT);
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(1u, run.messageBoxes().size()) << describe(run.messageBoxes());
    EXPECT_EQ(std::vector<std::string>({"libde265.dll", "libheif.dll"}),
              testing_support::filesIn(start))
        << "a planted DLL was loaded";
}

} // namespace
} // namespace e2e
