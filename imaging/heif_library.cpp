#ifdef _WIN32
// The one-time load (InitOnceExecuteOnce) is declared for Windows Vista and later only; the
// program asks for Windows 7 in its manifest.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#include "heif_library.h"

#include "heif_functions.h"

#ifdef _WIN32
#include <windows.h>

#include <wchar.h>
#endif

namespace imaging {

#ifndef _WIN32

const HeifLibrary* heifLibrary() {
    static const HeifLibrary linked = {
        heif_context_alloc,
        heif_context_free,
        heif_context_set_maximum_image_size_limit,
        heif_context_read_from_memory_without_copy,
        heif_context_get_primary_image_handle,
        heif_image_handle_get_width,
        heif_image_handle_get_height,
        heif_image_handle_has_alpha_channel,
        heif_image_handle_get_luma_bits_per_pixel,
        heif_image_handle_release,
        heif_decode_image,
        heif_image_get_width,
        heif_image_get_height,
        heif_image_get_chroma_format,
        heif_image_get_bits_per_pixel_range,
        heif_image_get_plane_readonly,
        heif_image_release,
    };
    return &linked;
}

const wchar_t* missingHeifLibrary() { return L""; }

#else

namespace {

// The program's folder can be as long as a path gets.
const DWORD FOLDER_CAPACITY = 32768;

HeifLibrary loaded;
bool available = false;
const wchar_t* missing = L"";
INIT_ONCE loadOnce = INIT_ONCE_STATIC_INIT;

// The folder of the running program with its closing backslash, into folder; its length, 0
// when it cannot be had.
size_t programFolder(wchar_t* folder, DWORD capacity) {
    DWORD length = GetModuleFileNameW(nullptr, folder, capacity);
    if (length == 0 || length >= capacity) return 0;
    wchar_t* slash = wcsrchr(folder, L'\\');
    if (slash == nullptr) return 0;
    slash[1] = L'\0';
    return static_cast<size_t>(slash + 1 - folder);
}

bool besideProgram(wchar_t* path, size_t folderLength, const wchar_t* name) {
    if (folderLength + wcslen(name) >= FOLDER_CAPACITY) return false;
    wcscpy(path + folderLength, name);
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

template <typename Function> bool resolve(HMODULE module, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *function != nullptr;
}

bool resolveAll(HMODULE module) {
    HeifLibrary& l = loaded;
    return resolve(module, "heif_context_alloc", &l.context_alloc) &&
           resolve(module, "heif_context_free", &l.context_free) &&
           resolve(module, "heif_context_set_maximum_image_size_limit",
                   &l.context_set_maximum_image_size_limit) &&
           resolve(module, "heif_context_read_from_memory_without_copy",
                   &l.context_read_from_memory_without_copy) &&
           resolve(module, "heif_context_get_primary_image_handle",
                   &l.context_get_primary_image_handle) &&
           resolve(module, "heif_image_handle_get_width", &l.image_handle_get_width) &&
           resolve(module, "heif_image_handle_get_height", &l.image_handle_get_height) &&
           resolve(module, "heif_image_handle_has_alpha_channel",
                   &l.image_handle_has_alpha_channel) &&
           resolve(module, "heif_image_handle_get_luma_bits_per_pixel",
                   &l.image_handle_get_luma_bits_per_pixel) &&
           resolve(module, "heif_image_handle_release", &l.image_handle_release) &&
           resolve(module, "heif_decode_image", &l.decode_image) &&
           resolve(module, "heif_image_get_width", &l.image_get_width) &&
           resolve(module, "heif_image_get_height", &l.image_get_height) &&
           resolve(module, "heif_image_get_chroma_format", &l.image_get_chroma_format) &&
           resolve(module, "heif_image_get_bits_per_pixel_range",
                   &l.image_get_bits_per_pixel_range) &&
           resolve(module, "heif_image_get_plane_readonly", &l.image_get_plane_readonly) &&
           resolve(module, "heif_image_release", &l.image_release);
}

// Loaded by full path: the search then covers that file's own folder (for libde265.dll) and
// System32, never the current folder nor PATH. The module stays loaded until the process ends.
BOOL CALLBACK load(INIT_ONCE*, void*, void**) {
    static wchar_t path[FOLDER_CAPACITY];
    const size_t folder = programFolder(path, FOLDER_CAPACITY);
    missing = L"libheif.dll";
    if (folder == 0 || !besideProgram(path, folder, L"libheif.dll")) return TRUE;
    HMODULE module = LoadLibraryExW(
        path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr && resolveAll(module)) {
        available = true;
        missing = L"";
    } else if (!besideProgram(path, folder, L"libde265.dll")) {
        missing = L"libde265.dll";
    }
    return TRUE;
}

} // namespace

const HeifLibrary* heifLibrary() {
    InitOnceExecuteOnce(&loadOnce, load, nullptr, nullptr);
    return available ? &loaded : nullptr;
}

const wchar_t* missingHeifLibrary() {
    InitOnceExecuteOnce(&loadOnce, load, nullptr, nullptr);
    return missing;
}

#endif

} // namespace imaging
