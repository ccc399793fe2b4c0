// The converters' files by UTF-8 path. Under Windows a name with letters of no ANSI code page
// reaches its file only through the wide calls; natively the path is taken as it is.
#include "file_open.h"
#include "imaging_fixture.h"
#include "picture_files.h"

namespace {

using testing_support::readBytesUtf8;
using testing_support::removeFileUtf8;

TEST(Utf8Paths, EveryConverterReadsItsSourceAndWritesItsTargetByThem) {
    const struct {
        int format; // in kPictureFormats
        bool (*convert)(const char*, const char*);
    } converters[] = {
        {1, convertJpegFile}, {2, convertTiffFile}, {3, convertPngFile}, {4, convertWebpFile}};
    const Picture picture = quadrants(24, 16);
    for (const auto& c : converters) {
        const std::string extension = kPictureFormats[c.format].extension;
        SCOPED_TRACE(extension);
        // Made under a plain name by the codec, then put under the UTF-8 one by the test itself.
        const std::string plain = testing_support::testFileName(("." + extension).c_str());
        ASSERT_TRUE(kPictureFormats[c.format].write(plain, picture));
        const std::string source =
            testing_support::testFileName((u8"_Łódź_日本." + extension).c_str());
        const std::string target =
            testing_support::testFileName((u8"_Łódź_中国_" + extension + ".bmp").c_str());
        ASSERT_TRUE(testing_support::writeBytesUtf8(source, testing_support::readBytes(plain)));
        testing_support::removeFile(plain);

        EXPECT_TRUE(c.convert(source.c_str(), target.c_str()));
        BitmapFile written(readBytesUtf8(target));
        removeFileUtf8(source);
        removeFileUtf8(target);
        ASSERT_TRUE(written.hasHeaders()) << "no target under its name";
        ASSERT_EQ(24, written.width());
        ASSERT_EQ(16, written.height());
        EXPECT_TRUE(closeTo(kRed, written.pixel(3, 3), 8));
        EXPECT_TRUE(closeTo(kWhite, written.pixel(20, 12), 8));
    }
}

#ifdef _WIN32
// Windows refuses a path of MAX_PATH characters or more unless it is absolute behind the "\\?\"
// prefix; Wine takes it either way, so the form the wide calls get is checked itself.
TEST(WidePaths, LongOnesAreMadeAbsoluteBehindThePrefix) {
    const std::string name(300, 'x');
    const std::wstring wideName(300, L'x');
    const struct {
        std::string given;
        std::wstring wanted;
    } cases[] = {
        {u8"C:\\pics\\..\\Łódź.jpg", L"C:\\pics\\..\\Łódź.jpg"},
        {"C:\\pics\\..\\" + name + ".jpg", L"\\\\?\\C:\\" + wideName + L".jpg"},
        {"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + wideName},
        {"\\\\?\\C:\\" + name, L"\\\\?\\C:\\" + wideName},
    };
    for (const auto& c : cases) {
        wchar_t wide[1024];
        ASSERT_TRUE(imaging::widePath(c.given.c_str(), wide, 1024)) << c.given;
        EXPECT_TRUE(c.wanted == wide) << c.given;
    }
    wchar_t wide[1024];
    EXPECT_FALSE(imaging::widePath("C:\\\xE9t\xE9.jpg", wide, 1024)) << "ANSI, not UTF-8";
    EXPECT_FALSE(imaging::widePath(("C:\\" + name).c_str(), wide, 200)) << "does not fit";
}
#endif

} // namespace
