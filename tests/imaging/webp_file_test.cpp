// convertWebpFile: lossy, lossless and alpha files, and files it refuses.
#include "imaging_fixture.h"
#include "picture_files.h"
#include "test_bitmaps.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;
using WebpFile = ImagingTest;

bool convert(const std::string& source, const std::string& target) {
    return convertWebpFile(source.c_str(), target.c_str());
}

struct Kind {
    const char* name;
    bool lossless, alpha;
};
const Kind kKinds[] = {{"lossy", false, false},
                       {"lossless", true, false},
                       {"lossy with alpha", false, true},
                       {"lossless with alpha", true, true}};

// 37 × 23, odd for fill bytes and chroma subsampling; alpha from 0 to 255 across.
const Picture kPicture = photoLike(37, 23);
std::vector<uint8_t> alphaOf(const Kind& kind) {
    return kind.alpha ? alphaAcross(kPicture) : std::vector<uint8_t>();
}

TEST_F(WebpFile, LosslessFilesGiveTheirColoursOverBlackLossyOnesCloseAndAllAsDwebpDoes) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::vector<uint8_t> alpha = alphaOf(kind);
        ASSERT_TRUE(writeWebp(source, kPicture, alpha, kind.lossless));
        ASSERT_TRUE(convert(source, target));
        BitmapFile file = written();
        Picture expected(37, 23), ours(37, 23);
        for (uint32_t i = 0; i < 37 * 23; ++i) {
            Rgb c = kPicture.at(i % 37, i / 37);
            expected.set(i % 37, i / 37,
                         overBlack(c.r, c.g, c.b, kind.alpha ? alpha[i] : 255, 255));
            ours.set(i % 37, i / 37, file.pixel(i % 37, i / 37));
        }
        ASSERT_EQ(expectedBitmap(expected, 0).size(), file.bytes.size());
        if (kind.lossless)
            EXPECT_EQ(expectedBitmap(expected, 0), file.bytes);
        else
            EXPECT_LT(
                25, psnr(std::vector<double>(expected.rgb.begin(), expected.rgb.end()), ours.rgb));
#ifndef _WIN32
        Picture theirs = referenceDecode("dwebp -quiet -pam -o -", source);
        ASSERT_EQ(37u, theirs.width) << "dwebp failed (scripts/setup installs webp)";
        EXPECT_EQ(expectedBitmap(theirs, 0), file.bytes);
#endif
    }
}

TEST_F(WebpFile, CutAndHugeFilesGiveFalseAndNoTarget) {
    EXPECT_FALSE(convert("no such file.webp", target));
    ASSERT_TRUE(writeWebp(source, kPicture, {}, true));
    const std::string lossless = readBytes(source);
    ASSERT_TRUE(writeWebp(source, kPicture, alphaOf(kKinds[2]), false));
    const std::string lossy = readBytes(source);
    ASSERT_EQ("VP8X", lossy.substr(12, 4));
    // Its header claims a 40000 × 40000 canvas (a 4.8 GB bitmap file); the file ends there.
    std::string huge = lossy.substr(0, 30);
    huge.replace(24, 6, "\x3F\x9C\x00\x3F\x9C\x00", 6);
    expectRefused(convertWebpFile,
                  {
                      {"an empty file", ""},
                      {"a bitmap file", testing_support::bitmapFileBytes(8, 8, 0x336699)},
                      {"noise after a WebP header", lossy.substr(0, 12) + std::string(300, '\x5A')},
                      {"a lossy file cut in half", lossy.substr(0, lossy.size() / 2)},
                      {"a lossless file cut in half", lossless.substr(0, lossless.size() / 2)},
                      {"a file claiming a huge picture", huge},
                  });
}

} // namespace
