// A phone's portrait photo, a HEIC stored landscape and turned upright by its irot box, added
// through the real open-file dialog under its own filter: the table and the preview show it
// upright.
#include <windows.h>

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

} // namespace
} // namespace e2e
