// Memory inside another process, for the control messages whose arguments hold pointers that
// Windows does not carry across processes (the list view's LVM_* messages).
#ifndef MURALTO_E2E_REMOTE_BUFFER_H
#define MURALTO_E2E_REMOTE_BUFFER_H

#include <windows.h>

#include <stddef.h>

#include <string>

namespace e2e {

class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool valid() const { return base_ != nullptr; }
    // The address of offset as the other process sees it.
    void* at(size_t offset) const { return static_cast<char*>(base_) + offset; }
    LPARAM param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(at(offset)); }

    bool write(size_t offset, const void* data, size_t size);
    bool read(size_t offset, void* data, size_t size) const;

  private:
    HANDLE process_;
    void* base_;
    size_t size_;
};

// The text of a list view's cell in another process, into *text; false when the process gave
// no buffer or the list no answer within the patience of window_messages.
bool listViewText(HANDLE process, HWND list, int row, int column, std::string* text);
// The same read in UTF-16 (LVM_GETITEMTEXTW), as UTF-8: whatever letters the cell holds.
bool listViewTextUtf8(HANDLE process, HWND list, int row, int column, std::string* text);

} // namespace e2e

#endif
