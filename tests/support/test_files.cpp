#include "test_files.h"

#include <gtest/gtest.h>
#include <stdio.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace testing_support {

std::string testFileName(const char* suffix) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name() + suffix;
    for (char& c : name)
        if (c == '/') c = '_';
    return name;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

std::string withCrLf(const std::string& text) {
    std::string crlf;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
        crlf += text[i];
    }
    return crlf;
}

bool writeWithCrLf(const std::string& path, const std::string& text) {
    return writeBytes(path, withCrLf(text));
}

namespace {

// The whole of an open file, which it closes; "<missing>" for none.
std::string readAndClose(FILE* file) {
    if (file == nullptr) return "<missing>";
    std::string bytes;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

} // namespace

std::string readBytes(const std::string& path) { return readAndClose(fopen(path.c_str(), "rb")); }

bool fileExists(const std::string& path) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    fclose(file);
    return true;
}

void removeFile(const std::string& path) { remove(path.c_str()); }

#ifndef _WIN32

bool writeBytesUtf8(const std::string& utf8Path, const std::string& bytes) {
    return writeBytes(utf8Path, bytes);
}
std::string readBytesUtf8(const std::string& utf8Path) { return readBytes(utf8Path); }
void removeFileUtf8(const std::string& utf8Path) { removeFile(utf8Path); }

#else

std::wstring widePathUtf8(const std::string& utf8Path) {
    std::wstring wide(utf8Path.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path.c_str(), -1, &wide[0],
                                     static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    bool absolute = wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\';
    if (absolute && wide.size() >= MAX_PATH) wide = L"\\\\?\\" + wide;
    return wide;
}

namespace {

FILE* openUtf8(const std::string& utf8Path, const wchar_t* mode) {
    return _wfopen(widePathUtf8(utf8Path).c_str(), mode);
}

} // namespace

bool writeBytesUtf8(const std::string& utf8Path, const std::string& bytes) {
    FILE* file = openUtf8(utf8Path, L"wb");
    if (file == nullptr) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

std::string readBytesUtf8(const std::string& utf8Path) {
    return readAndClose(openUtf8(utf8Path, L"rb"));
}

void removeFileUtf8(const std::string& utf8Path) { DeleteFileW(widePathUtf8(utf8Path).c_str()); }

#endif

} // namespace testing_support
