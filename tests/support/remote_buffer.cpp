#include "remote_buffer.h"

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

} // namespace e2e
