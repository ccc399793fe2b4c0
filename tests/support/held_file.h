// A file the test holds open without sharing, as another program may hold one: nothing else
// can open it until it is released (Wine enforces share modes between processes too).
#ifndef MURALTO_HELD_FILE_H
#define MURALTO_HELD_FILE_H

#include <windows.h>

#include <string>

namespace testing_support {

class HeldFile {
  public:
    explicit HeldFile(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return file_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (held()) CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE file_;
};

} // namespace testing_support

#endif
