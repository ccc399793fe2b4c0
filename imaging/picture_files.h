// JPEG, TIFF, PNG, WebP and HEIF (HEIC, AVIF) files turned into 24-bit bitmap files, the form
// the desktop takes. Portable: standard C file I/O with libjpeg, libtiff, libpng, libwebp and
// libheif. Paths are UTF-8 (file_open.h).
#ifndef MURALTO_PICTURE_FILES_H
#define MURALTO_PICTURE_FILES_H

// Each decodes the whole source before it creates the target, replacing any file there. True
// when the target has been written. False otherwise: a failure before the target is created
// leaves whatever is there untouched, and a failure while writing removes the partial target.
bool convertJpegFile(const char* source, const char* target);
bool convertTiffFile(const char* source, const char* target);
// Transparent pixels are composited over black.
bool convertPngFile(const char* source, const char* target);
bool convertWebpFile(const char* source, const char* target);
// .heic, .heif and .avif: the primary picture, upright as the file says (rotation, mirroring,
// cropping), deeper samples rounded to 8 bits, transparent pixels composited over black.
bool convertHeifFile(const char* source, const char* target);

#endif
