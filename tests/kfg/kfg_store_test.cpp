// Query and edit operations: lookups, gets, sets, deletes, adds, counts and argument checks.
#include <string.h>

#include <string>

#include "kfg_fixture.h"

namespace {

class Store : public KfgTest {
  protected:
    // [SYSTEM] lastWall = 3, randomWall = 0; [DUP] a = 1; [DUP] b = 2, a = 9; an orphan first.
    void loadSample() {
        ASSERT_EQ(KFG_OK, open("orphan = free\n[SYSTEM]\nlastWall = 3\nrandomWall = 0\n"
                               "[DUP]\na = 1\n[DUP]\nb = 2\na = 9\n"));
    }
    _KFGINFOFILE* s() { return store.get(); }
};

TEST_F(Store, LookupsAreExactAndCaseSensitive) {
    loadSample();
    EXPECT_EQ(KFG_EXIST, KFG_existClass(s(), Text("SYSTEM")));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existClass(s(), Text("system")));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existClass(s(), Text("SYSTEM ")));
    EXPECT_EQ(KFG_EXIST, KFG_existMemberByClass(s(), Text("SYSTEM"), Text("lastWall")));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existMemberByClass(s(), Text("SYSTEM"), Text("lastwall")));
    EXPECT_EQ(KFG_EXIST, KFG_existInit(s(), Text("free")));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existInitByClass(s(), Text("SYSTEM"), Text("free")));
    EXPECT_EQ(KFG_EXIST, KFG_existInitByClass(s(), Text("DUP"), Text("2")));
}

TEST_F(Store, MembersOfNoClassAreFoundOnlyWithoutAClass) {
    loadSample();
    char buffer[16];
    EXPECT_EQ(KFG_EXIST, KFG_existMember(s(), Text("orphan")));
    EXPECT_EQ(KFG_OK, KFG_getInit(s(), Text("orphan"), buffer, sizeof buffer));
    EXPECT_STREQ("free", buffer);
    for (const char* cls : {"SYSTEM", "DUP", ""})
        EXPECT_EQ(KFG_NOTEXIST, KFG_existMemberByClass(s(), Text(cls), Text("orphan"))) << cls;
}

TEST_F(Store, ClassesOfTheSameName) {
    loadSample();
    EXPECT_EQ("2", init("DUP", "b")) << "a member that only the second class has is found";
    EXPECT_EQ("1", init("DUP", "a")) << "the lower class slot comes first";
    EXPECT_EQ(1, KFG_gelNumMember(s(), Text("DUP"))) << "only the first class is counted";
    EXPECT_EQ(KFG_OK, KFG_delClass(s(), Text("DUP")));
    EXPECT_EQ(KFG_EXIST, KFG_existClass(s(), Text("DUP")));
    EXPECT_EQ("9", init("DUP", "a"));
    EXPECT_EQ(2, KFG_gelNumMember(s(), Text("DUP")));
}

TEST_F(Store, GetFillsTheBufferWithinItsSize) {
    loadSample();
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(KFG_NOTFOUND, KFG_getInitByClass(s(), Text("SYSTEM"), Text("none"), buffer, 8));
    for (char c : buffer) EXPECT_EQ(0, c);

    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(KFG_ERR_SIZE, KFG_getInitByClass(s(), Text("SYSTEM"), Text("lastWall"), buffer, 0));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_getInit(s(), Text("lastWall"), buffer, -1));
    for (char c : buffer) EXPECT_EQ('x', c) << "a refused get leaves the buffer untouched";

    // An init longer than the buffer is cut to size - 1; nothing goes past size bytes.
    ASSERT_EQ(KFG_OK, KFG_setInitByMember(s(), Text("lastWall"), Text("0123456789")));
    EXPECT_EQ(KFG_OK, KFG_getInitByClass(s(), Text("SYSTEM"), Text("lastWall"), buffer, 5));
    EXPECT_STREQ("0123", buffer);
    EXPECT_EQ('x', buffer[5]);
    EXPECT_EQ(KFG_OK, KFG_getInit(s(), Text("lastWall"), buffer, 1));
    EXPECT_STREQ("", buffer);
}

TEST_F(Store, SetsChangeOneFieldOfTheFirstMatch) {
    loadSample();
    EXPECT_EQ(KFG_OK, KFG_setInit(s(), Text("1"), Text("one")));
    EXPECT_EQ("one", init("DUP", "a"));
    EXPECT_STREQ("free", store->members[0].init);
    EXPECT_EQ(KFG_OK, KFG_setInitByClass(s(), Text("DUP"), Text("9"), Text("nine")));
    EXPECT_STREQ("nine", store->members[5].init);
    EXPECT_EQ(KFG_OK,
              KFG_setInitByClassAndMember(s(), Text("SYSTEM"), Text("randomWall"), Text("1")));
    EXPECT_EQ("1", init("SYSTEM", "randomWall"));
    EXPECT_EQ(KFG_OK, KFG_setClass(s(), Text("SYSTEM"), Text("GLOBAL")));
    EXPECT_EQ("3", init("GLOBAL", "lastWall"));
    EXPECT_EQ(KFG_OK, KFG_setMemberByClass(s(), Text("GLOBAL"), Text("lastWall"), Text("last")));
    EXPECT_EQ("3", init("GLOBAL", "last"));
    // A rename to a name that is taken gives two members of that name; the lower slot wins.
    EXPECT_EQ(KFG_OK, KFG_setMember(s(), Text("randomWall"), Text("orphan")));
    char buffer[16];
    EXPECT_EQ(KFG_OK, KFG_getInit(s(), Text("orphan"), buffer, sizeof buffer));
    EXPECT_STREQ("free", buffer);

    EXPECT_EQ(KFG_NOTFOUND, KFG_setInit(s(), Text("absent"), Text("x")));
    EXPECT_EQ(KFG_NOTFOUND, KFG_setClass(s(), Text("SYSTEM"), Text("x")));
    EXPECT_EQ(KFG_NOTFOUND, KFG_setInitByMember(s(), Text("absent"), Text("x")));
    EXPECT_EQ(3, store->classCount);
    EXPECT_EQ(6, store->memberCount);
}

TEST_F(Store, DeletesFreeSlotsThatTheNextAddTakes) {
    loadSample();
    int lines = store->lineCount;
    EXPECT_EQ(KFG_OK, KFG_delMember(s(), Text("randomWall")));
    EXPECT_EQ(0, store->members[2].used);
    EXPECT_EQ(5, store->memberCount);
    EXPECT_EQ(lines - 1, store->lineCount);
    EXPECT_EQ(KFG_OK, addMember("DUP", "new", "n"));
    EXPECT_STREQ("new", store->members[2].name) << "the freed slot is taken again";

    EXPECT_EQ(KFG_OK, KFG_delInit(s(), Text("free")));
    EXPECT_EQ(KFG_OK, KFG_delInitByClass(s(), Text("DUP"), Text("9")));
    EXPECT_EQ(KFG_OK, KFG_delMemberByClass(s(), Text("SYSTEM"), Text("lastWall")));
    EXPECT_EQ(KFG_NOTFOUND, KFG_delMemberByClass(s(), Text("SYSTEM"), Text("lastWall")));
    EXPECT_EQ(KFG_NOTFOUND, KFG_delMember(s(), Text("absent")));
    EXPECT_EQ(KFG_NOTFOUND, KFG_delInit(s(), Text("absent")));
    EXPECT_EQ(KFG_NOTFOUND, KFG_delClass(s(), Text("absent")));
    EXPECT_EQ(3, store->memberCount);
}

TEST_F(Store, DeletingAClassRemovesItAndItsMembersFromTheFile) {
    loadSample();
    int lines = store->lineCount;
    EXPECT_EQ(KFG_OK, KFG_delClass(s(), Text("SYSTEM")));
    EXPECT_EQ(0, KFG_gelNumMember(s(), Text("SYSTEM")));
    EXPECT_EQ(KFG_NOTEXIST, KFG_existMember(s(), Text("lastWall")));
    EXPECT_EQ(2, store->classCount);
    EXPECT_EQ(4, store->memberCount);
    EXPECT_EQ(lines - 2 - 2, store->lineCount);
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("\r\n[DUP]\r\na = 1\r\n\r\n[DUP]\r\nb = 2\r\na = 9\r\n", written());
}

TEST_F(Store, ClassIdentifiersFollowTheCurrentClass) {
    ASSERT_EQ(KFG_OK, addClass("A"));
    EXPECT_EQ(1, store->loaded);
    EXPECT_EQ(1, store->classes[0].id);
    ASSERT_EQ(KFG_OK, addClass("B"));
    EXPECT_EQ(2, store->classes[1].id);
    EXPECT_EQ(2, store->currentClass);
    EXPECT_EQ(4, store->lineCount);

    ASSERT_EQ(KFG_OK, open("[A]\n[B]\n[C]\n"));
    ASSERT_EQ(KFG_OK, KFG_addMember(s(), Text("m"), Text("v")));
    EXPECT_EQ("v", init("C", "m"));
    ASSERT_EQ(KFG_OK, addClass("D"));
    EXPECT_EQ(3, store->classes[3].id);
}

TEST_F(Store, MemberAddedToAnEmptyStoreBelongsToNoClass) {
    ASSERT_EQ(KFG_OK, KFG_addMember(s(), Text("m"), Text("v")));
    EXPECT_EQ(1, store->loaded);
    EXPECT_EQ(0, store->members[0].classId);
    ASSERT_EQ(KFG_OK, addClass("A"));
    EXPECT_EQ(1, store->classes[0].id);
    EXPECT_EQ(KFG_EXIST, KFG_existMember(s(), Text("m")));
    EXPECT_EQ(0, KFG_gelNumMember(s(), Text("A")));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("[A]\r\n", written());
}

TEST_F(Store, AddingToAMissingClassAddsNothing) {
    store->lineCount = 7; // some leftover of an earlier, failed read
    EXPECT_EQ(KFG_NOTFOUND, addMember("none", "m", "v"));
    EXPECT_EQ(0, store->loaded);
    EXPECT_EQ(0, store->lineCount) << "the store was reset";
    ASSERT_EQ(KFG_OK, addClass("A"));
    EXPECT_EQ(KFG_NOTFOUND, addMember("none", "m", "v"));
    EXPECT_EQ(0, store->memberCount);
}

// After deleting a class that is not the current one, a new class must not take an identifier
// that a class in the store still has, or it would share that class's members.
TEST_F(Store, NewClassNeverSharesTheIdentifierOfAnother) {
    ASSERT_EQ(KFG_OK, addClass("A"));
    ASSERT_EQ(KFG_OK, addClass("B"));
    ASSERT_EQ(KFG_OK, addMember("B", "b", "1"));
    ASSERT_EQ(KFG_OK, KFG_delClass(s(), Text("A")));
    ASSERT_EQ(KFG_OK, addClass("C"));
    EXPECT_NE(store->classes[0].id, store->classes[1].id);
    EXPECT_EQ(0, KFG_gelNumMember(s(), Text("C")));
    EXPECT_EQ(1, KFG_gelNumMember(s(), Text("B")));
    ASSERT_EQ(KFG_OK, write());
    EXPECT_EQ("[C]\r\n\r\n[B]\r\nb = 1\r\n", written());

    // The same after a file read: classes 0 to 2, the first one deleted.
    ASSERT_EQ(KFG_OK, open("[X]\n[Y]\ny = 1\n[Z]\nz = 1\n"));
    ASSERT_EQ(KFG_OK, KFG_delClass(s(), Text("X")));
    ASSERT_EQ(KFG_OK, addClass("W"));
    ASSERT_EQ(KFG_OK, addClass("V"));
    EXPECT_EQ(0, KFG_gelNumMember(s(), Text("W")));
    EXPECT_EQ(0, KFG_gelNumMember(s(), Text("V")));
    EXPECT_EQ(1, KFG_gelNumMember(s(), Text("Z")));
}

TEST_F(Store, CapacitiesAreEnforced) {
    for (int i = 0; i < KFG_MAX_CLASSES; ++i)
        ASSERT_EQ(KFG_OK, addClass(("C" + std::to_string(i)).c_str()));
    EXPECT_EQ(KFG_ERR_FULL, addClass("one too many"));
    EXPECT_EQ(KFG_MAX_CLASSES, store->classCount);
    for (int i = 0; i < KFG_MAX_MEMBERS; ++i)
        ASSERT_EQ(KFG_OK, addMember("C0", ("m" + std::to_string(i)).c_str(), "v"));
    EXPECT_EQ(KFG_ERR_FULL, addMember("C0", "extra", "v"));
    EXPECT_EQ(KFG_ERR_FULL, KFG_addMember(s(), Text("extra"), Text("v")));
    EXPECT_EQ(KFG_MAX_MEMBERS, store->memberCount);
    EXPECT_EQ(KFG_MAX_MEMBERS, KFG_gelNumMember(s(), Text("C0")));
}

// Texts that do not fit a field are refused and nothing changes, not even a store reset.
TEST_F(Store, TextsLongerThan255CharactersAreRefused) {
    std::string fits(255, 'f');
    std::string tooLong(256, 'l');
    EXPECT_EQ(KFG_ERR_SIZE, addClass(tooLong.c_str()));
    EXPECT_EQ(0, store->loaded);
    ASSERT_EQ(KFG_OK, addClass(fits.c_str()));
    EXPECT_EQ(KFG_ERR_SIZE, addMember(fits.c_str(), tooLong.c_str(), "v"));
    EXPECT_EQ(KFG_ERR_SIZE, addMember(fits.c_str(), "m", tooLong.c_str()));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_addMember(s(), Text("m"), Text(tooLong)));
    EXPECT_EQ(0, store->memberCount);
    ASSERT_EQ(KFG_OK, addMember(fits.c_str(), "m", fits.c_str()));
    EXPECT_EQ(fits, init(fits.c_str(), "m"));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_setClass(s(), Text(fits), Text(tooLong)));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_setMember(s(), Text("m"), Text(tooLong)));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_setMemberByClass(s(), Text(fits), Text("m"), Text(tooLong)));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_setInit(s(), Text(fits), Text(tooLong)));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_setInitByClass(s(), Text(fits), Text(fits), Text(tooLong)));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_setInitByClassAndMember(s(), Text(fits), Text("m"), Text(tooLong)));
    EXPECT_EQ(KFG_ERR_SIZE, KFG_setInitByMember(s(), Text("m"), Text(tooLong)));
    EXPECT_EQ(fits, init(fits.c_str(), "m"));
    EXPECT_EQ(KFG_EXIST, KFG_existClass(s(), Text(fits)));
}

// Texts are checked first, in parameter order, then the store, its flag, then the size.
TEST_F(Store, ArgumentsAreCheckedInOrder) {
    char buffer[4] = "abc";
    char* none = nullptr;
    _KFGINFOFILE* noStore = nullptr;
    EXPECT_EQ(KFG_ERR_ARG, KFG_getInitByClass(noStore, none, Text("m"), buffer, 0));
    EXPECT_EQ(KFG_ERR_ARG, KFG_getInitByClass(noStore, Text("c"), Text("m"), none, 0));
    EXPECT_EQ(KFG_ERR_STORE, KFG_getInitByClass(noStore, Text("c"), Text("m"), buffer, 0));
    EXPECT_EQ(KFG_ERR_STORE, KFG_getInitByClass(s(), Text("c"), Text("m"), buffer, 0));
    EXPECT_STREQ("abc", buffer);
    EXPECT_EQ(KFG_ERR_ARG, KFG_addClass(noStore, none));
    EXPECT_EQ(KFG_ERR_STORE, KFG_addClass(noStore, Text("c")));
    EXPECT_EQ(KFG_ERR_STORE, KFG_addMember(noStore, Text("m"), Text("v")));
    EXPECT_EQ(KFG_ERR_ARG, KFG_addMemberByClass(s(), Text("c"), Text("m"), none));

    // Every operation that is not an add refuses a store that is not loaded.
    Text t("t");
    EXPECT_EQ(KFG_ERR_STORE, KFG_existClass(s(), t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_existMember(s(), t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_existMemberByClass(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_existInit(s(), t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_existInitByClass(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_getInit(s(), t, buffer, 4));
    EXPECT_EQ(KFG_ERR_STORE, KFG_setClass(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_setMember(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_setMemberByClass(s(), t, t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_setInit(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_setInitByClass(s(), t, t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_setInitByClassAndMember(s(), t, t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_setInitByMember(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_delClass(s(), t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_delMember(s(), t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_delMemberByClass(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_delInit(s(), t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_delInitByClass(s(), t, t));
    EXPECT_EQ(KFG_ERR_STORE, KFG_gelNumMember(s(), t));
    EXPECT_EQ(KFG_ERR_ARG, KFG_gelNumMember(s(), none));
}

} // namespace
