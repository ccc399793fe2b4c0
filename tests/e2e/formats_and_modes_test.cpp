// Pictures of today through the real open-file dialog (PNG and WebP under their filters, .jpeg
// and .tif under the JPEG and TIFF ones), and the sequencer putting them up in Fit and Fill.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "folders.h"
#include "imaging_fixture.h"
#include "journey.h"
#include "open_file_dialog.h"
#include "options.h"
#include "screenshot.h"

namespace e2e {
namespace {

const char kOpenTitle[] = "Charger un Wallpaper...";
enum { JPEG_FILTER = 1, TIFF_FILTER = 2, PNG_FILTER = 3, WEBP_FILTER = 4 };
enum { MODE_FIT = 3, MODE_FILL = 4 };

struct TodaysPicture {
    const char* name;
    int filter;
    std::function<bool(const std::string&, const Picture&)> write;
};

class FormatsAndModes : public Journey {
  protected:
    static std::string folder() { return testing_support::currentFolder() + "\\today"; }
    // The dialog shows names with or without their extension, as the shell is set.
    static bool listed(const OpenFileDialog& dialog, const std::string& name) {
        std::string bare = name.substr(0, name.rfind('.'));
        for (const std::string& shown : dialog.listedNames())
            if (lstrcmpiA(shown.c_str(), name.c_str()) == 0 ||
                lstrcmpiA(shown.c_str(), bare.c_str()) == 0)
                return true;
        return false;
    }
};

TEST_F(FormatsAndModes, TodaysPicturesAreListedAddedAndShownInFitAndFill) {
    const std::vector<TodaysPicture> pictures = {
        {"Plage.jpeg", JPEG_FILTER,
         [](const std::string& path, const Picture& p) { return writeColourJpeg(path, p, 90); }},
        {"Scan.tif", TIFF_FILTER,
         [](const std::string& path, const Picture& p) {
             return writeTiff(path, {TiffImage{p, 1, {}}});
         }},
        {"Logo.png", PNG_FILTER,
         [](const std::string& path, const Picture& p) {
             PngImage png = {p.width, p.height, 2, 8, false, {}, {}, -1}; // RGB, 8 bits
             png.samples.assign(p.rgb.begin(), p.rgb.end());
             return writePng(path, png);
         }},
        {"Photo.webp", WEBP_FILTER,
         [](const std::string& path, const Picture& p) { return writeWebp(path, p, {}, true); }},
    };
    CreateDirectoryA(folder().c_str(), nullptr);
    for (size_t i = 0; i < pictures.size(); ++i)
        ASSERT_TRUE(pictures[i].write(folder() + "\\" + pictures[i].name,
                                      quadrants(64 + 16 * static_cast<uint32_t>(i), 48)))
            << pictures[i].name;

    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    for (size_t i = 0; i < pictures.size(); ++i) {
        const TodaysPicture& p = pictures[i];
        run.clickLater(ADD);
        OpenFileDialog dialog(run, kOpenTitle);
        ASSERT_TRUE(dialog.found()) << p.name;
        dialog.chooseFilter(p.filter);
        ASSERT_TRUE(dialog.enterFolder(folder())) << dialog.folder();
        EXPECT_TRUE(waitUntil([&] { return listed(dialog, p.name); }))
            << p.name << " is not listed under filter " << p.filter;
        ASSERT_TRUE(dialog.openNames(folder(), {p.name})) << p.name;
        ASSERT_TRUE(waitUntil([&] { return run.rowCount() == static_cast<int>(i) + 1; }))
            << p.name << ": " << describe(run.messageBoxes());
        EXPECT_EQ(std::to_string(64 + 16 * i) + "x48", run.cell(static_cast<int>(i), 1));
    }
    EXPECT_TRUE(run.messageBoxes().empty()) << describe(run.messageBoxes());

    // The mode box opened on its five entries, for the README.
    ASSERT_TRUE(run.selectRowSeen(0));
    ask(run.control(MODE), CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(waitUntil([&] { return ask(run.control(MODE), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    EXPECT_EQ(5u, run.entries(MODE).size());
    savePng(capture(run.window()), options.screenshotFolder + "\\mode-box.png");
    ask(run.control(MODE), CB_SHOWDROPDOWN, FALSE, 0);

    // Every wallpaper changed at each tick, in list order: slot 0 fits, slot 1 fills.
    const int modes[] = {MODE_FIT, MODE_FILL, 0, 1};
    for (int row = 0; row < 4; ++row) {
        ASSERT_TRUE(run.selectRowSeen(row));
        run.type(TIME, "0");
        run.choose(MODE, modes[row]);
    }
    ASSERT_TRUE(run.selectRowSeen(0)) << "no refresh tick took the last row's edits";
    run.click(RANDOM);
    ASSERT_FALSE(run.checked(RANDOM));
    run.click(HIDE);
    auto shownAs = [&](int slot, const char* style) {
        return waitUntil([&] {
            return desktopValue("Wallpaper") == wallpaperPath(slot) &&
                   desktopValue("ConvertedWallpaper") == wallpaperPath(slot) &&
                   desktopValue("WallpaperStyle") == style && desktopValue("TileWallpaper") == "0";
        });
    };
    EXPECT_TRUE(shownAs(1, "10")) << "no Fill: " << desktopValue("WallpaperStyle");
    EXPECT_TRUE(shownAs(0, "6")) << "no Fit: " << desktopValue("WallpaperStyle");
    run.post(WM_TRAYICON, 1, WM_LBUTTONUP);
    ASSERT_TRUE(waitUntil([&] { return run.visible(); }));
    quitWithButton(run);
}

} // namespace
} // namespace e2e
