#include "remote_buffer.h"

#include <commctrl.h>

#include "window_messages.h"

namespace e2e {

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size)
    : process_(process),
      base_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      size_(size) {}

RemoteBuffer::~RemoteBuffer() {
    if (base_ != nullptr) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
}

bool RemoteBuffer::write(size_t offset, const void* data, size_t size) {
    if (base_ == nullptr || offset > size_ || size > size_ - offset) return false;
    SIZE_T written = 0;
    return WriteProcessMemory(process_, at(offset), data, size, &written) && written == size;
}

bool RemoteBuffer::read(size_t offset, void* data, size_t size) const {
    if (base_ == nullptr || offset > size_ || size > size_ - offset) return false;
    SIZE_T got = 0;
    return ReadProcessMemory(process_, at(offset), data, size, &got) && got == size;
}

bool listViewText(HANDLE process, HWND list, int row, int column, std::string* text) {
    const size_t textSize = 260;
    RemoteBuffer buffer(process, sizeof(LVITEMA) + textSize);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = static_cast<char*>(buffer.at(sizeof item));
    item.cchTextMax = textSize;
    char value[textSize] = "";
    bool read = buffer.valid() && buffer.write(0, &item, sizeof item) &&
                buffer.write(sizeof item, value, textSize) &&
                sendWithin(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), buffer.param()) &&
                buffer.read(sizeof item, value, textSize);
    value[textSize - 1] = '\0';
    *text = value;
    return read;
}

bool listViewTextUtf8(HANDLE process, HWND list, int row, int column, std::string* text) {
    const size_t textSize = 260;
    RemoteBuffer buffer(process, sizeof(LVITEMW) + textSize * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = static_cast<wchar_t*>(buffer.at(sizeof item));
    item.cchTextMax = textSize;
    wchar_t value[textSize] = L"";
    DWORD_PTR answer = 0;
    bool read = buffer.valid() && buffer.write(0, &item, sizeof item) &&
                buffer.write(sizeof item, value, sizeof value) &&
                SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                    buffer.param(), SMTO_NORMAL, kPatience, &answer) &&
                buffer.read(sizeof item, value, sizeof value);
    value[textSize - 1] = L'\0';
    char utf8[3 * textSize] = "";
    WideCharToMultiByte(CP_UTF8, 0, value, -1, utf8, sizeof utf8, nullptr, nullptr);
    *text = utf8;
    return read;
}

} // namespace e2e
