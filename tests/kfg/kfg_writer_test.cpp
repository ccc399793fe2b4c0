// What configuration files look like once written, byte for byte.
#include <stdio.h>
#include <string.h>

#include "kfg_fixture.h"

namespace {

using Writer = KfgTest;

const char kExample[] = "[SYSTEM]\r\n"
                        "lastWall = 3\r\n"
                        "randomWall = 0\r\n"
                        "\r\n"
                        "[WALLPAPER 0]\r\n"
                        "showTime = 60\r\n";

TEST_F(Writer, StoreBuiltWithAddsIsWrittenAsTheSixLines) {
    ASSERT_EQ(KFG_OK, addClass("SYSTEM"));
    ASSERT_EQ(KFG_OK, addMember("SYSTEM", "lastWall", "3"));
    ASSERT_EQ(KFG_OK, addMember("SYSTEM", "randomWall", "0"));
    ASSERT_EQ(KFG_OK, addClass("WALLPAPER 0"));
    ASSERT_EQ(KFG_OK, KFG_addMember(store.get(), Text("showTime"), Text("60")));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ(kExample, written());
}

TEST_F(Writer, ReadingAndWritingTheFileGivesTheSameBytes) {
    ASSERT_EQ(KFG_OK, open(kExample));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ(kExample, written());
}

TEST_F(Writer, EmptyInitKeepsTheTrailingSpace) {
    ASSERT_EQ(KFG_OK, addClass("S"));
    ASSERT_EQ(KFG_OK, addMember("S", "blank", ""));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("[S]\r\nblank = \r\n", written());
}

TEST_F(Writer, AFreeFirstClassSlotStartsTheFileWithAnEmptyLine) {
    ASSERT_EQ(KFG_OK, addClass("A"));
    ASSERT_EQ(KFG_OK, addClass("B"));
    ASSERT_EQ(KFG_OK, addMember("B", "k", "v"));
    ASSERT_EQ(KFG_OK, KFG_delClass(store.get(), Text("A")));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("\r\n[B]\r\nk = v\r\n", written());
}

TEST_F(Writer, StoreWithoutClassesGivesAnEmptyFile) {
    ASSERT_EQ(KFG_OK, KFG_addMember(store.get(), Text("orphan"), Text("1")));
    ASSERT_TRUE(testing_support::writeBytes(path, "old content"));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("", written());
}

TEST_F(Writer, StoreNotLoadedLeavesTheFileAlone) {
    ASSERT_TRUE(testing_support::writeBytes(path, "old content"));
    EXPECT_EQ(KFG_ERR_STORE, write());
    EXPECT_EQ(KFG_ERR_STORE, KFG_writeFile(nullptr, Text(path)));
    EXPECT_EQ(KFG_ERR_ARG, KFG_writeFile(store.get(), Text("")));
    EXPECT_EQ(KFG_ERR_ARG, KFG_writeFile(nullptr, nullptr));
    EXPECT_EQ("old content", written());
}

TEST_F(Writer, WritingDoesNotChangeTheStore) {
    ASSERT_EQ(KFG_OK, open(kExample));
    std::unique_ptr<_KFGINFOFILE> before(new _KFGINFOFILE(*store));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ(0, memcmp(before.get(), store.get(), sizeof *before));
}

TEST_F(Writer, RoundTripLosesWhatTheFormatCannotHold) {
    ASSERT_EQ(KFG_OK, addClass(" pad]cut "));
    ASSERT_EQ(KFG_OK, addMember(" pad]cut ", " name ", " a;b "));
    ASSERT_EQ(KFG_OK, addMember(" pad]cut ", "x=y", "1"));
    ASSERT_EQ(KFG_OK, addMember(" pad]cut ", "#hidden", "2"));
    ASSERT_EQ(KFG_OK, addMember(" pad]cut ", "[header", "3"));
    ASSERT_EQ(KFG_OK, addMember(" pad]cut ", "two\nlines", "4"));
    ASSERT_EQ(KFG_OK, write());
    ASSERT_EQ(KFG_OK, KFG_openFile(store.get(), Text(path)));
    EXPECT_STREQ("pad", store->classes[0].name);
    EXPECT_STREQ("name", store->members[0].name);
    EXPECT_STREQ("a", store->members[0].init);
    EXPECT_STREQ("x", store->members[1].name);
    EXPECT_STREQ("y = 1", store->members[1].init);
    EXPECT_STREQ("header = 3", store->classes[1].name);
    EXPECT_STREQ("two", store->members[2].name);
    EXPECT_STREQ("lines", store->members[3].name);
    EXPECT_EQ(KFG_NOTEXIST, KFG_existMember(store.get(), Text("#hidden")));
}

TEST_F(Writer, FailuresToWriteAreReported) {
    ASSERT_EQ(KFG_OK, open(kExample));
    EXPECT_EQ(KFG_ERR_FILE, KFG_writeFile(store.get(), Text("no such folder/x.ini")));
    // A full disk is reported, not taken for success.
    FILE* full = fopen("/dev/full", "wb");
    if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
    fclose(full);
    EXPECT_EQ(KFG_ERR_FILE, KFG_writeFile(store.get(), Text("/dev/full")));
}

} // namespace
