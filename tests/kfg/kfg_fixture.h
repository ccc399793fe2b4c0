// A zeroed store on the heap (it is too large for a test's stack) and file helpers.
#ifndef MURALTO_KFG_FIXTURE_H
#define MURALTO_KFG_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "kfg.h"
#include "test_files.h"

using testing_support::Text;

// The bytes of a literal, embedded NULs included.
template <size_t N> std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

class KfgTest : public ::testing::Test {
  protected:
    void SetUp() override { path = testing_support::testFileName(".ini"); }
    void TearDown() override { testing_support::removeFile(path); }

    // Writes bytes to this test's file and opens it into the store.
    int open(const std::string& bytes) {
        EXPECT_TRUE(testing_support::writeBytes(path, bytes));
        return KFG_openFile(store.get(), Text(path));
    }
    int write() { return KFG_writeFile(store.get(), Text(path)); }
    std::string written() { return testing_support::readBytes(path); }

    std::string init(const char* className, const char* member) {
        char buffer[KFG_TEXT_SIZE];
        int result =
            KFG_getInitByClass(store.get(), Text(className), Text(member), buffer, sizeof buffer);
        return result == KFG_OK ? buffer : "<not found>";
    }
    int addClass(const char* name) { return KFG_addClass(store.get(), Text(name)); }
    int addMember(const char* cls, const char* name, const char* value) {
        return KFG_addMemberByClass(store.get(), Text(cls), Text(name), Text(value));
    }

    std::unique_ptr<_KFGINFOFILE> store{new _KFGINFOFILE()};
    std::string path;
};

#endif
