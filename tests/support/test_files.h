// Small helpers for tests that read and write real files, natively and under Wine.
#ifndef MURALTO_TEST_FILES_H
#define MURALTO_TEST_FILES_H

#include <string>

namespace testing_support {

// A mutable copy of a text, for interfaces that take char*.
class Text {
  public:
    Text(const char* text) : text_(text) {}
    Text(std::string text) : text_(std::move(text)) {}
    operator char*() { return text_.data(); }

  private:
    std::string text_;
};

// A file name in the working directory that is unique to the running test.
std::string testFileName(const char* suffix);

bool writeBytes(const std::string& path, const std::string& bytes);
// The text with every line ending in CR LF, as the program writes its configuration.
std::string withCrLf(const std::string& text);
bool writeWithCrLf(const std::string& path, const std::string& text);
// The whole file, or "<missing>" when it cannot be opened.
std::string readBytes(const std::string& path);
bool fileExists(const std::string& path);
void removeFile(const std::string& path);

// The same for UTF-8 paths, whatever the ANSI code page: natively the calls above; under
// Windows its wide calls, and an absolute path of MAX_PATH characters or more behind the "\\?\"
// prefix. Made here, without the program's own path code, which is under test.
bool writeBytesUtf8(const std::string& utf8Path, const std::string& bytes);
std::string readBytesUtf8(const std::string& utf8Path);
void removeFileUtf8(const std::string& utf8Path);
#ifdef _WIN32
std::wstring widePathUtf8(const std::string& utf8Path);
#endif

} // namespace testing_support

#endif
