#include "shell_drop.h"

#include <shlobj.h>
#include <string.h>

#include "test_files.h"

namespace e2e {

std::unique_ptr<RemoteBuffer> dropFiles(HANDLE process, HWND window,
                                        const std::vector<std::string>& paths) {
    // The names after the header, each ending in a zero, and one more zero after the last.
    std::wstring names;
    for (const std::string& path : paths) names += testing_support::widePathUtf8(path) + L'\0';
    names += L'\0';
    DROPFILES header = {};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    size_t namesSize = names.size() * sizeof(wchar_t);
    std::unique_ptr<RemoteBuffer> block(new RemoteBuffer(process, sizeof header + namesSize));
    if (!block->valid() || !block->write(0, &header, sizeof header) ||
        !block->write(sizeof header, names.data(), namesSize) ||
        !PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block->at(0)), 0))
        return nullptr;
    return block;
}

HDROP dropHandle(const std::vector<std::string>& paths) {
    std::wstring names;
    for (const std::string& path : paths) names += testing_support::widePathUtf8(path) + L'\0';
    names += L'\0';
    DROPFILES header = {sizeof header, {0, 0}, FALSE, TRUE};
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
    void* handle = GlobalAlloc(GPTR, block.size());
    if (handle != nullptr) memcpy(handle, block.data(), block.size());
    return static_cast<HDROP>(handle);
}

} // namespace e2e
