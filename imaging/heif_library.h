// Where the HEIF converter finds libheif. Under Windows, libheif.dll (and the
// libde265.dll it imports) is loaded at the first HEIC or AVIF picture, by its full path in the
// program's own folder and nowhere else: the program starts and works without the two files,
// and never takes a file of that name from the current folder. Elsewhere libheif is linked.
#ifndef MURALTO_HEIF_LIBRARY_H
#define MURALTO_HEIF_LIBRARY_H

namespace imaging {

// libheif's functions (heif_functions.h).
struct HeifLibrary;

// The functions, the library loaded on the first call from any thread; null when it cannot be
// loaded (then it is not tried again).
const HeifLibrary* heifLibrary();

// The file name the user is missing when heifLibrary() is null: "libheif.dll", or
// "libde265.dll" when only that one is not beside the program; empty when the library loaded.
const wchar_t* missingHeifLibrary();

} // namespace imaging

#endif
