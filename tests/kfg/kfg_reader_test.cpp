// How configuration files are read: line rules, kinds of lines, counters and capacities.
#include <string.h>

#include "kfg_fixture.h"

namespace {

using Reader = KfgTest;

TEST_F(Reader, HeadersGiveTheBareName) {
    ASSERT_EQ(KFG_OK, open("  [ SYSTEM ]  \n[\tOPEN\n[CUT] words after\n[]\n"));
    ASSERT_EQ(4, store->classCount);
    const char* expected[] = {"SYSTEM", "OPEN", "CUT", ""};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(1, store->classes[i].used);
        EXPECT_STREQ(expected[i], store->classes[i].name) << "class " << i;
        EXPECT_EQ(i, store->classes[i].id);
    }
    EXPECT_EQ(3, store->currentClass);
}

TEST_F(Reader, MemberLinesSplitAtTheFirstEqualsAndTheFirstSemicolonAfterIt) {
    ASSERT_EQ(KFG_OK, open("[S]\n"
                           " \tshowTime \t=\t 60 \t; seconds\n"
                           "a = b = x\n"
                           "key\n"
                           "=x\n"
                           "n;x = v;w\n"
                           "empty =\n"));
    struct {
        const char* name;
        const char* init;
    } expected[] = {{"showTime", "60"}, {"a", "b = x"}, {"key", ""},
                    {"", "x"},          {"n;x", "v"},   {"empty", ""}};
    ASSERT_EQ(6, store->memberCount);
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(expected[i].name, store->members[i].name) << "member " << i;
        EXPECT_STREQ(expected[i].init, store->members[i].init) << "member " << i;
        EXPECT_EQ(0, store->members[i].classId);
    }
}

TEST_F(Reader, CommentsAndBlankLinesAreIgnoredButCounted) {
    ASSERT_EQ(KFG_OK, open("# comment\n  ; comment\n\n \t \n[S]\nk = v\n"));
    EXPECT_EQ(1, store->classCount);
    EXPECT_EQ(1, store->memberCount);
    EXPECT_EQ(7, store->lineCount); // six lines and the read that meets the end
    EXPECT_EQ(37, store->fileSize);
}

TEST_F(Reader, EmptyFileIsALoadedStoreWithoutClasses) {
    ASSERT_EQ(KFG_OK, open(""));
    EXPECT_EQ(1, store->loaded);
    EXPECT_EQ(0, store->classCount);
    EXPECT_EQ(1, store->lineCount);
    EXPECT_EQ(65535, store->currentClass);
    EXPECT_EQ(0, store->fileSize);
}

TEST_F(Reader, LineCountAddsOneOnlyWhenTheFileEndsWithALineBreak) {
    ASSERT_EQ(KFG_OK, open("[A]\nx = 1"));
    EXPECT_EQ(2, store->lineCount);
    ASSERT_EQ(KFG_OK, open("[A]\nx = 1\n"));
    EXPECT_EQ(3, store->lineCount);
}

TEST_F(Reader, MembersBeforeTheFirstHeaderBelongToNoClass) {
    ASSERT_EQ(KFG_OK, open("early = 1\n[S]\nlate = 2\n"));
    EXPECT_EQ(KFG_NO_CLASS, store->members[0].classId);
    EXPECT_EQ(KFG_EXIST, KFG_existMember(store.get(), Text("early")));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existMemberByClass(store.get(), Text("S"), Text("early")));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("[S]\r\nlate = 2\r\n", written());
}

TEST_F(Reader, RepeatedHeadersGiveDistinctClasses) {
    ASSERT_EQ(KFG_OK, open("[S]\na = 1\n[S]\nb = 2\n"));
    EXPECT_EQ(0, store->classes[0].id);
    EXPECT_EQ(1, store->classes[1].id);
    EXPECT_EQ("2", init("S", "b"));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("[S]\r\na = 1\r\n\r\n[S]\r\nb = 2\r\n", written());
}

TEST_F(Reader, LongLinesAreCutAt255Characters) {
    std::string name(255, 'n');
    ASSERT_EQ(KFG_OK, open("[S]\n" + name + std::string(45, 'r') + "\n"));
    ASSERT_EQ(2, store->memberCount);
    EXPECT_EQ(name, store->members[0].name);
    EXPECT_EQ(std::string(45, 'r'), store->members[1].name);
}

TEST_F(Reader, CrLfAndLfReadTheSame) {
    ASSERT_EQ(KFG_OK, open("[S]\r\nk = v\r\n\r\n[T]\r\nm = w\r\n"));
    EXPECT_EQ(5 + 1, store->lineCount);
    EXPECT_EQ("v", init("S", "k"));
    EXPECT_EQ("w", init("T", "m"));
    // A CR LF right after 255 characters still ends that line; it gives one more empty line.
    ASSERT_EQ(KFG_OK, open("[S]\r\n" + std::string(255, 'k') + "\r\nnext\r\n"));
    EXPECT_EQ(2, store->memberCount);
    EXPECT_STREQ("next", store->members[1].name);
}

TEST_F(Reader, ByteRules) {
    // A CR that is not before a LF is an ordinary character; NUL drops the rest of its line;
    // 0xFF is ordinary; 0x1A ends the file.
    ASSERT_EQ(KFG_OK, open(bytes("[S]\nk = a\rb\nn = x\0dropped\n\xFF = \xFF\n\x1A"
                                 "after = 1\n")));
    ASSERT_EQ(3, store->memberCount);
    EXPECT_STREQ("a\rb", store->members[0].init);
    EXPECT_STREQ("x", store->members[1].init);
    EXPECT_STREQ("\xFF", store->members[2].name);
    EXPECT_EQ(KFG_NOTEXIST, KFG_existMember(store.get(), Text("after")));
}

TEST_F(Reader, CapacitiesAreEnforced) {
    std::string classes;
    for (int i = 0; i < KFG_MAX_CLASSES; ++i) classes += "[C" + std::to_string(i) + "]\n";
    ASSERT_EQ(KFG_OK, open(classes));
    EXPECT_EQ(KFG_MAX_CLASSES, store->classCount);
    EXPECT_EQ(KFG_ERR_FULL, open(classes + "[one too many]\n"));
    EXPECT_EQ(0, store->loaded);
    EXPECT_EQ(KFG_ERR_STORE, KFG_existClass(store.get(), Text("C0")));

    std::string members = "[S]\n";
    for (int i = 0; i < KFG_MAX_MEMBERS; ++i) members += "m" + std::to_string(i) + " = 1\n";
    ASSERT_EQ(KFG_OK, open(members));
    EXPECT_EQ(KFG_MAX_MEMBERS, store->memberCount);
    EXPECT_EQ(KFG_ERR_FULL, open(members + "extra = 1\n"));
    EXPECT_EQ(KFG_ERR_STORE, KFG_getInit(store.get(), Text("m0"), Text("...."), 4));
}

TEST_F(Reader, FailedOpensLeaveALoadedStoreAsItWas) {
    ASSERT_EQ(KFG_OK, open("[S]\nk = v\n"));
    EXPECT_EQ(KFG_ERR_FILE, KFG_openFile(store.get(), Text("no such file.ini")));
    EXPECT_EQ(KFG_ERR_FILE, KFG_openFile(store.get(), Text("."))); // a folder
    EXPECT_EQ(KFG_ERR_ARG, KFG_openFile(store.get(), Text("")));
    EXPECT_EQ(KFG_ERR_ARG, KFG_openFile(store.get(), nullptr));
    EXPECT_EQ(KFG_ERR_ARG, KFG_openFile(nullptr, nullptr)); // the path is checked first
    EXPECT_EQ(KFG_ERR_STORE, KFG_openFile(nullptr, Text(path)));
    EXPECT_EQ(1, store->loaded);
    EXPECT_EQ("v", init("S", "k"));
}

TEST_F(Reader, OpeningReplacesTheWholeStore) {
    ASSERT_EQ(KFG_OK, addClass("OLD"));
    ASSERT_EQ(KFG_OK, addMember("OLD", "k", "v"));
    ASSERT_EQ(KFG_OK, open("[NEW]\n"));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existClass(store.get(), Text("OLD")));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existMember(store.get(), Text("k")));
    EXPECT_EQ(0, store->members[0].used);
    EXPECT_EQ(0, store->currentClass);
}

} // namespace
