// Importing pictures into the table: files, preview, slot and list row, and every refusal.
#include <windows.h>

#include <commctrl.h>
#include <string.h>

#include <string>

#include "folders.h"
#include "gdi_bitmap.h"
#include "imaging_fixture.h"
#include "wallpaper_import.h"
#include "wallpaper_list.h"
#include "preview_bitmap.h"
#include "program_fixture.h"
#include "resource.h"
#include "test_bitmaps.h"
#include "test_files.h"

using testing_support::fileExists;
using testing_support::readBytes;
using testing_support::writeBytes;

// A hidden window with the main window's list, for the rows the import appends.
class ImportHost {
  public:
    ImportHost() {
        InitCommonControls();
        window_ = CreateWindowA("STATIC", "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
        list_ = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, window_,
                              reinterpret_cast<HMENU>(IDC_LIST), nullptr, nullptr);
        LVCOLUMNA column;
        memset(&column, 0, sizeof column);
        column.mask = LVCF_WIDTH;
        column.cx = 100;
        SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        SendMessageA(list_, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    }
    ~ImportHost() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    int rows() const { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }
    std::string cell(int row, int column) const {
        char text[256] = "";
        LVITEMA item;
        memset(&item, 0, sizeof item);
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }
    // The same read in UTF-16, as UTF-8.
    std::string cellUtf8(int row, int column) const {
        wchar_t text[256] = L"";
        LVITEMW item;
        memset(&item, 0, sizeof item);
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        char utf8[3 * 256] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        return utf8;
    }

  private:
    HWND window_ = nullptr;
    HWND list_ = nullptr;
};

class ImportTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CreateDirectoryA(sourceFolder().c_str(), nullptr);
    }
    static std::string sourceFolder() { return std::string(dataFolder) + "\\..\\MuraltoSources"; }
    static std::string source(const std::string& name) { return sourceFolder() + "\\" + name; }
    // A bitmap source file of the given size.
    static std::string bitmapSource(const std::string& name, int width = 40, int height = 30) {
        std::string path = source(name);
        EXPECT_TRUE(writeBytes(path, testing_support::bitmapFileBytes(width, height, 0x208040)));
        return path;
    }
    int import(const std::string& path, int type) {
        int slot = -1;
        int result = importWallpaper(path.c_str(), type, &slot);
        if (result == IMPORT_OK) addListRow(GetDlgItem(host.window(), IDC_LIST), slot);
        return result;
    }
    ImportHost host;
};

TEST_F(ImportTest, PicturesGetTheFirstFreeFileNumbers) {
    ASSERT_EQ(IMPORT_OK, import(bitmapSource("a.bmp"), PICTURE_BITMAP));
    ASSERT_EQ(IMPORT_OK, import(bitmapSource("b.bmp"), PICTURE_BITMAP));
    EXPECT_EQ(inDataFolder("MUWallpaper0.bmp"), wallpaperTable[0].filename);
    EXPECT_EQ(inDataFolder("previews\\MU0.bmp"), wallpaperTable[0].preview);
    EXPECT_EQ(inDataFolder("MUWallpaper1.bmp"), wallpaperTable[1].filename);
    EXPECT_EQ(inDataFolder("previews\\MU1.bmp"), wallpaperTable[1].preview);
    EXPECT_EQ(2, wallpaperCount);
    ASSERT_EQ(2, host.rows());
    EXPECT_EQ("b.bmp", host.cell(1, 0));

    // Deleting the first wallpaper frees its converted file number (its preview stays).
    wallpaperTable[0].used = 0;
    DeleteObject(wallpaperTable[0].previewBitmap);
    wallpaperTable[0].previewBitmap = nullptr;
    --wallpaperCount;
    DeleteFileA(wallpaperTable[0].filename);
    ASSERT_EQ(IMPORT_OK, import(bitmapSource("c.bmp"), PICTURE_BITMAP));
    EXPECT_EQ(inDataFolder("MUWallpaper0.bmp"), wallpaperTable[0].filename);
    EXPECT_EQ(inDataFolder("previews\\MU2.bmp"), wallpaperTable[0].preview);
    EXPECT_STREQ("c.bmp", wallpaperTable[0].original);
}

TEST_F(ImportTest, NewWallpaperIsFilledIn) {
    ASSERT_EQ(IMPORT_OK, import(bitmapSource("big picture.bmp", 1024, 768), PICTURE_BITMAP));
    WallpaperEntry& e = wallpaperTable[0];
    EXPECT_EQ(1, e.used);
    EXPECT_EQ(1024, e.width);
    EXPECT_EQ(768, e.height);
    EXPECT_EQ(60, e.showTime);
    EXPECT_EQ(0, e.showMode);
    EXPECT_STREQ("big picture.bmp", e.original);
    EXPECT_EQ(nullptr, e.previewBitmap) << "loaded when first drawn";
    BITMAP preview;
    ASSERT_NE(0, GetObjectA(slotPreview(&e), sizeof preview, &preview));
    EXPECT_EQ(151, preview.bmWidth);
    EXPECT_EQ(112, preview.bmHeight);
    EXPECT_EQ(51126u, readBytes(e.preview).size());
    EXPECT_EQ("big picture.bmp", host.cell(0, 0));
    EXPECT_EQ("1024x768", host.cell(0, 1));
}

// Against the exact area average of the converted file: a photo is reduced, a small
// picture enlarged.
TEST_F(ImportTest, ThePreviewShowsTheWholePictureAveraged) {
    ASSERT_TRUE(writeColourJpeg(source("rings.jpg"), zonePlate(1600, 1200), 95));
    ASSERT_EQ(IMPORT_OK, import(source("rings.jpg"), PICTURE_JPEG));
    ASSERT_TRUE(
        writeBytes(source("small.bmp"), testing_support::bitmapFileBytes(40, 30, [](int x, int y) {
                       return static_cast<uint32_t>(x * 6 << 16 | y * 8 << 8 | (x ^ y));
                   })));
    ASSERT_EQ(IMPORT_OK, import(source("small.bmp"), PICTURE_BITMAP));
    for (int slot : {0, 1}) {
        BitmapFile converted(readBytes(wallpaperTable[slot].filename));
        BitmapFile preview(readBytes(wallpaperTable[slot].preview));
        Picture picture(converted.width(), converted.height());
        for (uint32_t y = 0; y < picture.height; ++y)
            for (uint32_t x = 0; x < picture.width; ++x) picture.set(x, y, converted.pixel(x, y));
        std::vector<uint8_t> shown;
        for (uint32_t y = 0; y < 112; ++y)
            for (uint32_t x = 0; x < 151; ++x) {
                Rgb p = preview.pixel(x, y);
                shown.insert(shown.end(), {p.r, p.g, p.b});
            }
        double db = psnr(exactAreaAverage(picture, 151, 112), shown);
        printf("preview of %ux%u through the import: PSNR %.1f dB\n", picture.width, picture.height,
               db);
        EXPECT_GE(db, slot == 0 ? 40.0 : 999.0) << "slot " << slot;
    }
}

// The preview made from the rows on their way to the file is, byte for byte, the one made
// before from the converted file loaded whole, for every kind of picture.
TEST_F(ImportTest, ThePreviewIsTheOneTheLoadedFileGave) {
    const std::string before = source("before.bmp");
    for (int type = PICTURE_BITMAP; type <= PICTURE_WEBP; ++type) {
        const PictureFormat& format = kPictureFormats[type - 1];
        SCOPED_TRACE(format.extension);
        const std::string path = source(std::string("photo.") + format.extension);
        ASSERT_TRUE(format.write(path, photoLike(1003, 751)));
        int slot = -1;
        ASSERT_EQ(IMPORT_OK, importWallpaper(path.c_str(), type, &slot));
        HBITMAP full =
            static_cast<HBITMAP>(LoadImageA(nullptr, wallpaperTable[slot].filename, IMAGE_BITMAP, 0,
                                            0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(nullptr, full);
        HBITMAP preview = makePreviewBitmap(full, PREVIEW_FILE_WIDTH, PREVIEW_FILE_HEIGHT);
        DeleteObject(full);
        saveBitmapFile(&preview, before.c_str());
        DeleteObject(preview);
        EXPECT_TRUE(readBytes(before) == readBytes(wallpaperTable[slot].preview));
    }
    DeleteFileA(before.c_str());
}

TEST_F(ImportTest, BitmapIsCopiedUnchangedAndOtherPicturesAreReencoded) {
    std::string bitmap = bitmapSource("plain.bmp", 5, 3);
    ASSERT_EQ(IMPORT_OK, import(bitmap, PICTURE_BITMAP));
    EXPECT_EQ(readBytes(bitmap), readBytes(wallpaperTable[0].filename));

    ASSERT_TRUE(writeColourJpeg(source("photo.jpg"), quadrants(64, 48), 95));
    ASSERT_TRUE(writeTiff(source("scan.tif"), {TiffImage{quadrants(33, 20), 1, {}}}));
    ASSERT_EQ(IMPORT_OK, import(source("photo.jpg"), PICTURE_JPEG));
    ASSERT_EQ(IMPORT_OK, import(source("scan.tif"), PICTURE_TIFF));
    struct {
        int slot, width, height;
    } converted[] = {{1, 64, 48}, {2, 33, 20}};
    for (const auto& c : converted) {
        BitmapFile file(readBytes(wallpaperTable[c.slot].filename));
        ASSERT_TRUE(file.hasHeaders()) << c.slot;
        EXPECT_EQ(24u, file.field(28, 2)) << c.slot;
        EXPECT_EQ(c.width, file.width());
        EXPECT_EQ(c.height, file.height());
        EXPECT_TRUE(closeTo(kRed, file.pixel(0, 0), 40)) << file.pixel(0, 0);
        EXPECT_EQ(c.width, wallpaperTable[c.slot].width);
    }
}

// A phone held upright stores its photo lying on its side, with EXIF orientation 6: the
// converted file, the size in the list and the preview are all upright (48 x 64, the stored
// bottom-left quadrant, blue, now top left).
TEST_F(ImportTest, APhotoTakenUprightIsImportedUpright) {
    std::string path = source("portrait.jpg");
    ASSERT_TRUE(writeColourJpeg(path, quadrants(64, 48), 95));
    std::string exif = std::string("Exif\0\0", 6) + exifBlock(true, 6);
    ASSERT_TRUE(writeBytes(path, withApp1(readBytes(path), exif)));
    ASSERT_EQ(IMPORT_OK, import(path, PICTURE_JPEG));
    EXPECT_EQ(48, wallpaperTable[0].width);
    EXPECT_EQ(64, wallpaperTable[0].height);
    EXPECT_EQ("48x64", host.cellUtf8(0, 1));
    BitmapFile converted(readBytes(wallpaperTable[0].filename));
    EXPECT_EQ(48, converted.width());
    EXPECT_EQ(64, converted.height());
    BitmapFile preview(readBytes(wallpaperTable[0].preview));
    struct {
        uint32_t x, y;
        Rgb colour;
    } corners[] = {{5, 5, kBlue}, {145, 5, kRed}, {5, 106, kWhite}, {145, 106, kGreen}};
    for (const auto& c : corners)
        EXPECT_TRUE(closeTo(c.colour, preview.pixel(c.x, c.y), 40)) << c.x << ", " << c.y;
}

TEST_F(ImportTest, LongTitlesAreCutTo49Characters) {
    std::string name = std::string(60, 't') + ".bmp";
    ASSERT_EQ(IMPORT_OK, import(bitmapSource(name), PICTURE_BITMAP));
    EXPECT_EQ(std::string(49, 't'), wallpaperTable[0].original);
}

// A source deep in folders, its path longer than MAX_PATH, its folders and name in letters of no
// ANSI code page: every kind of picture is read, and keeps its title as it is.
TEST_F(ImportTest, LongPathsInAnyLettersAreReadForEveryKind) {
    char base[MAX_PATH];
    ASSERT_NE(0u, GetFullPathNameA(sourceFolder().c_str(), sizeof base, base, nullptr));
    const std::string part = u8"\\Łódź_日本_" + std::string(90, 'd');
    std::string folder = base;          // made by the test, which needs it absolute
    std::string given = sourceFolder(); // given to the import, with its ".."
    for (int depth = 0; depth < 3; ++depth) {
        folder += part;
        given += part;
        ASSERT_TRUE(testing_support::makeFolderUtf8(folder)) << depth;
    }
    const Picture picture = quadrants(40, 30);
    for (int type = PICTURE_BITMAP; type <= PICTURE_WEBP; ++type) {
        const PictureFormat& format = kPictureFormats[type - 1];
        SCOPED_TRACE(format.extension);
        const std::string name =
            u8"Zdjęcie_写真_" + std::string(format.extension) + "." + format.extension;
        const std::string plain = source(std::string("plain.") + format.extension);
        ASSERT_TRUE(format.write(plain, picture));
        ASSERT_TRUE(testing_support::writeBytesUtf8(folder + "\\" + name, readBytes(plain)));
        const std::string path = given + "\\" + name;
        ASSERT_GT(MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0), MAX_PATH + 50);

        ASSERT_EQ(IMPORT_OK, import(path, type));
        const int slot = type - 1;
        EXPECT_EQ(name, wallpaperTable[slot].titleUtf8);
        EXPECT_EQ(name, host.cellUtf8(slot, 0));
        BitmapFile converted(readBytes(wallpaperTable[slot].filename));
        EXPECT_EQ(40, converted.width());
        EXPECT_TRUE(closeTo(kRed, converted.pixel(5, 5), 8));
    }
    testing_support::removeTreeUtf8(std::string(base) + part);
}

TEST_F(ImportTest, FullTableRefusesWithoutTouchingAFile) {
    for (int i = 0; i < MAX_WALLPAPERS - 1; ++i) wallpaperTable[i].used = 1;
    wallpaperCount = MAX_WALLPAPERS - 1;
    ASSERT_EQ(IMPORT_OK, import(bitmapSource("last.bmp"), PICTURE_BITMAP));
    EXPECT_EQ(1, wallpaperTable[MAX_WALLPAPERS - 1].used);
    size_t files = dataFolderFiles().size();
    EXPECT_EQ(IMPORT_TABLE_FULL, import(bitmapSource("one more.bmp"), PICTURE_BITMAP));
    EXPECT_EQ(files, dataFolderFiles().size());
    EXPECT_EQ(MAX_WALLPAPERS, wallpaperCount);
}

// A refused picture leaves no file behind and no slot taken.
TEST_F(ImportTest, PicturesThatCannotBecomeWallpapersAreRefused) {
    ASSERT_TRUE(writeColourJpeg(source("photo.jpg"), quadrants(16, 16), 90));
    std::string jpeg = readBytes(source("photo.jpg"));
    ASSERT_TRUE(writeBytes(source("truncated.jpg"), jpeg.substr(0, 40)));
    ASSERT_TRUE(writeBytes(source("noise.bmp"), "BM this is not a bitmap at all"));
    struct {
        const char* name;
        int type;
    } cases[] = {
        {"photo.jpg", PICTURE_BITMAP}, // a JPEG chosen under the bitmap filter
        {"truncated.jpg", PICTURE_JPEG}, {"noise.bmp", PICTURE_BITMAP},
        {"noise.bmp", PICTURE_TIFF},     {"photo.jpg", PICTURE_PNG},
        {"photo.jpg", PICTURE_WEBP},     {"photo.jpg", 6}, // no such kind
        {"missing.jpg", PICTURE_JPEG},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IMPORT_FAILED, import(source(c.name), c.type)) << c.name << " as " << c.type;
        EXPECT_EQ(0u, dataFolderFiles().size()) << c.name << " as " << c.type;
        EXPECT_EQ(0, wallpaperTable[0].used);
        EXPECT_EQ(0, wallpaperCount);
        EXPECT_EQ(0, host.rows());
    }
}
