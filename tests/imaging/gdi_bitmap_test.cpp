// saveBitmapFile on GDI bitmaps of each depth, as previews are saved.
#include <windows.h>

#include "gdi_bitmap.h"
#include "imaging_fixture.h"

namespace {

using GdiBitmap = ImagingTest;

const int kWidth = 151, kHeight = 112;

struct Bitmap {
    HBITMAP handle = nullptr;
    ~Bitmap() {
        if (handle != nullptr) DeleteObject(handle);
    }
};

// One pixel as the device stores it at each depth, and the colour the file must hold.
struct DevicePixel {
    uint32_t value;
    Rgb colour;
};

struct Depth {
    int bits;
    DevicePixel quadrant[4]; // top left, top right, bottom left, bottom right
};

const Depth kDepths[] = {
    // 5-6-5: each colour in the high bits of its byte, nothing replicated into the low ones.
    {16,
     {{0xF800, {0xF8, 0, 0}},
      {0x07E0, {0, 0xFC, 0}},
      {0x001F, {0, 0, 0xF8}},
      {0x8A51, {0x88, 0x48, 0x88}}}},
    {24, {{0xFF0000, kRed}, {0x00FF00, kGreen}, {0x0000FF, kBlue}, {0x336699, {0x33, 0x66, 0x99}}}},
    {32,
     {{0xAB0000FFu, kBlue},
      {0x0000FF00, kGreen},
      {0x00FF0000, kRed},
      {0xFF123456u, {0x12, 0x34, 0x56}}}},
};

// A kWidth × kHeight bitmap of the four quadrants, rows padded to whole 16-bit words.
HBITMAP makeBitmap(int bits, const DevicePixel* quadrant) {
    int bytesPerPixel = bits / 8;
    int pitch = (kWidth * bits + 15) / 16 * 2;
    std::vector<uint8_t> data(size_t(pitch) * kHeight, 0xEE);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint32_t value = quadrant[(y >= kHeight / 2) * 2 + (x >= kWidth / 2)].value;
            for (int i = 0; i < bytesPerPixel; ++i)
                data[size_t(y) * pitch + x * bytesPerPixel + i] = uint8_t(value >> (8 * i));
        }
    return CreateBitmap(kWidth, kHeight, 1, bits, data.data());
}

TEST_F(GdiBitmap, EachDepthGivesAPreviewFileWithItsColours) {
    for (const Depth& depth : kDepths) {
        SCOPED_TRACE(testing::Message() << depth.bits << " bits");
        Bitmap bitmap;
        bitmap.handle = makeBitmap(depth.bits, depth.quadrant);
        ASSERT_NE(nullptr, bitmap.handle);
        BITMAP description;
        ASSERT_NE(0, GetObjectA(bitmap.handle, sizeof description, &description));
        ASSERT_EQ(depth.bits, description.bmBitsPixel);

        saveBitmapFile(&bitmap.handle, target.c_str());
        BitmapFile file = written();
        ASSERT_EQ(51126u, file.bytes.size());
        EXPECT_EQ(51126u, file.field(2, 4));
        EXPECT_EQ(96u, file.field(38, 4));
        EXPECT_EQ(96u, file.field(42, 4));
        EXPECT_EQ(kWidth, file.width());
        EXPECT_EQ(kHeight, file.height());
        int corners[4][2] = {{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}};
        for (int q = 0; q < 4; ++q)
            EXPECT_EQ(depth.quadrant[q].colour, file.pixel(corners[q][0], corners[q][1]))
                << "quadrant " << q;
        for (uint32_t row : {0u, 111u}) EXPECT_EQ(std::string(3, '\0'), file.fill(row));
    }
}

TEST_F(GdiBitmap, EightBitsGiveABlackPictureOfTheSameSize) {
    std::vector<uint8_t> data(152 * kHeight, 0x7F);
    Bitmap bitmap;
    bitmap.handle = CreateBitmap(kWidth, kHeight, 1, 8, data.data());
    ASSERT_NE(nullptr, bitmap.handle);
    saveBitmapFile(&bitmap.handle, target.c_str());
    BitmapFile file = written();
    ASSERT_EQ(51126u, file.bytes.size());
    EXPECT_EQ(96u, file.field(38, 4));
    EXPECT_EQ(std::string(51126 - 54, '\0'), file.bytes.substr(54));
}

TEST_F(GdiBitmap, AnExistingTargetIsReplaced) {
    ASSERT_TRUE(testing_support::writeBytes(target, std::string(60000, 'x')));
    Bitmap bitmap;
    bitmap.handle = makeBitmap(24, kDepths[1].quadrant);
    saveBitmapFile(&bitmap.handle, target.c_str());
    BitmapFile file = written();
    ASSERT_EQ(51126u, file.bytes.size());
    EXPECT_EQ(kRed, file.pixel(0, 0));
}

TEST_F(GdiBitmap, NoBitmapWritesNoFile) {
    saveBitmapFile(nullptr, target.c_str());
    EXPECT_FALSE(targetExists()) << "no address";
    HBITMAP none = nullptr;
    saveBitmapFile(&none, target.c_str());
    EXPECT_FALSE(targetExists()) << "a null handle";
    Bitmap bitmap;
    bitmap.handle = makeBitmap(32, kDepths[2].quadrant);
    saveBitmapFile(&bitmap.handle, nullptr);
    saveBitmapFile(&bitmap.handle, "no such folder\\x.bmp");
}

} // namespace
