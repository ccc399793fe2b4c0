// JPEG, TIFF, PNG, WebP and HEIF (HEIC, AVIF) files turned into 24-bit bitmap files, the form
// the desktop takes. Portable: standard C file I/O with libjpeg, libtiff, libpng, libwebp and
// libheif. Paths are UTF-8 (file_open.h).
#ifndef MURALTO_PICTURE_FILES_H
#define MURALTO_PICTURE_FILES_H

namespace imaging {
struct BitmapRowSink;
}

// Each decodes the whole source before it creates the target, replacing any file there. True
// when the target has been written. False otherwise: a failure before the target is created
// leaves whatever is there untouched, and a failure while writing removes the partial target.
// rows, when not null, sees each row of the target as it is written (bitmap_file.h).
bool convertJpegFile(const char* source, const char* target, const imaging::BitmapRowSink* rows);
bool convertTiffFile(const char* source, const char* target, const imaging::BitmapRowSink* rows);
// Transparent pixels are composited over black.
bool convertPngFile(const char* source, const char* target, const imaging::BitmapRowSink* rows);
bool convertWebpFile(const char* source, const char* target, const imaging::BitmapRowSink* rows);
// .heic, .heif and .avif: the primary picture, upright as the file says (rotation, mirroring,
// cropping), deeper samples rounded to 8 bits, transparent pixels composited over black.
bool convertHeifFile(const char* source, const char* target, const imaging::BitmapRowSink* rows);

// The same without anyone watching the rows: the form the tests and fuzzers take by address.
inline bool convertJpegFile(const char* source, const char* target) {
    return convertJpegFile(source, target, nullptr);
}
inline bool convertTiffFile(const char* source, const char* target) {
    return convertTiffFile(source, target, nullptr);
}
inline bool convertPngFile(const char* source, const char* target) {
    return convertPngFile(source, target, nullptr);
}
inline bool convertWebpFile(const char* source, const char* target) {
    return convertWebpFile(source, target, nullptr);
}
inline bool convertHeifFile(const char* source, const char* target) {
    return convertHeifFile(source, target, nullptr);
}

#endif
