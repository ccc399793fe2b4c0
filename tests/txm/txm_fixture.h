// A zeroed language store on the heap (it is too large for a test's stack) and file helpers.
#ifndef MURALTO_TXM_FIXTURE_H
#define MURALTO_TXM_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_files.h"
#include "txm.h"

using testing_support::Text;

// The bytes of a literal, embedded NULs included.
template <size_t N> std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// A printable form of a looked-up text: null shows as <null>.
inline std::string shown(const char* text) {
    return text != nullptr ? "\"" + std::string(text) + "\"" : "<null>";
}

class TxmTest : public ::testing::Test {
  protected:
    void SetUp() override { path = testing_support::testFileName(".lng"); }
    void TearDown() override { testing_support::removeFile(path); }

    // Writes bytes to this test's file and opens it into the store.
    int open(const std::string& bytes) {
        EXPECT_TRUE(testing_support::writeBytes(path, bytes));
        return TXM_openFile(store.get(), Text(path));
    }
    int setDefault(int id, const char* text) { return TXM_setDefault(store.get(), id, Text(text)); }
    std::string text(int language, int id) {
        return shown(TXM_getString(store.get(), language, id));
    }
    std::string name(int language) { return shown(TXM_getLangName(store.get(), language)); }
    int languages() { return TXM_getNumLanguage(store.get()); }

    // True when every byte of the store is zero, as after TXM_clear.
    bool isCleared() {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(store.get());
        for (size_t i = 0; i < sizeof *store; ++i)
            if (p[i] != 0) return false;
        return true;
    }

    std::unique_ptr<_TXMINFOFILE> store{new _TXMINFOFILE()};
    std::string path;
};

#endif
