// Table lookups and the choice of the next wallpaper, in order and at random.
#include <set>
#include <vector>

#include "program_fixture.h"

namespace {

using Table = ProgramTest;

void use(std::initializer_list<int> slots) {
    for (int slot : slots) {
        wallpaperTable[slot].used = 1;
        snprintf(wallpaperTable[slot].original, TITLE_SIZE, "title %d", slot);
        snprintf(wallpaperTable[slot].titleUtf8, TITLE_UTF8_SIZE, "title %d", slot);
        ++wallpaperCount;
    }
}

TEST_F(Table, LookupsSkipFreeSlots) {
    use({3, 8});
    snprintf(wallpaperTable[5].titleUtf8, TITLE_UTF8_SIZE, "title 8"); // a free slot's leftovers
    EXPECT_EQ(8, findSlotByTitle(wallpaperTable, "title 8"));
    EXPECT_EQ(0, findSlotByTitle(wallpaperTable, "nobody"));
    EXPECT_EQ(0, findSlotByTitle(wallpaperTable, nullptr));
    EXPECT_TRUE(hasTitle(wallpaperTable, "title 3"));
    EXPECT_FALSE(hasTitle(wallpaperTable, "Title 3")) << "titles are case-sensitive";
    EXPECT_FALSE(hasTitle(wallpaperTable, nullptr));
    EXPECT_FALSE(hasTitle(nullptr, "title 3"));

    snprintf(wallpaperTable[3].filename, PATH_SIZE, "C:\\a.bmp");
    snprintf(wallpaperTable[3].preview, PATH_SIZE, "C:\\p.bmp");
    EXPECT_TRUE(hasFilename(wallpaperTable, "C:\\a.bmp"));
    EXPECT_FALSE(hasFilename(wallpaperTable, "c:\\a.bmp"));
    EXPECT_FALSE(hasFilename(wallpaperTable, "C:\\p.bmp"));
    EXPECT_TRUE(hasPreview(wallpaperTable, "C:\\p.bmp"));
}

TEST_F(Table, FirstFreeSlot) {
    EXPECT_EQ(0, firstFreeSlot(wallpaperTable));
    use({0, 1, 3});
    EXPECT_EQ(2, firstFreeSlot(wallpaperTable));
    for (int i = 0; i < MAX_WALLPAPERS; ++i) wallpaperTable[i].used = 1;
    EXPECT_EQ(-1, firstFreeSlot(wallpaperTable));
    EXPECT_EQ(-1, firstFreeSlot(nullptr));
}

TEST_F(Table, ClearTableReleasesPreviewBitmaps) {
    use({4});
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    ASSERT_NE(nullptr, bitmap);
    wallpaperTable[4].previewBitmap = bitmap;
    wallpaperTable[4].showTime = 60;
    clearTable(wallpaperTable);
    EXPECT_EQ(0u, static_cast<unsigned>(GetObjectType(bitmap))) << "the bitmap was deleted";
    EXPECT_EQ(0, wallpaperTable[4].used);
    EXPECT_EQ(nullptr, wallpaperTable[4].previewBitmap);
    EXPECT_EQ(0, wallpaperTable[4].showTime);
    EXPECT_STREQ("", wallpaperTable[4].original);
}

TEST_F(Table, NextUsedSlotWrapsAround) {
    EXPECT_EQ(0, nextUsedSlot(7, wallpaperTable)) << "empty table";
    use({2, 5, 9});
    struct {
        int from, expected;
    } cases[] = {{-1, 2}, {0, 2}, {2, 5}, {5, 9}, {9, 2}, {499, 2}, {7, 9}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, nextUsedSlot(c.from, wallpaperTable)) << c.from;
}

TEST_F(Table, NextUsedSlotWithOneWallpaperAlwaysGivesIt) {
    use({6});
    for (int from : {0, 6, 7, 499}) EXPECT_EQ(6, nextUsedSlot(from, wallpaperTable)) << from;
}

TEST_F(Table, GeneratorIsTheClassicRuntimeSequence) {
    RandomGenerator generator;
    std::vector<int> drawn;
    for (int i = 0; i < 5; ++i) drawn.push_back(generator.next());
    EXPECT_EQ((std::vector<int>{41, 18467, 6334, 26500, 19169}), drawn);
}

TEST_F(Table, RandomChoiceNeverRepeatsAndReachesEverySlot) {
    EXPECT_EQ(0, randomUsedSlot(3, wallpaperTable)) << "empty table";
    use({7});
    EXPECT_EQ(7, randomUsedSlot(7, wallpaperTable)) << "the only wallpaper";
    use({2, 40, 499});
    std::set<int> reached;
    int slot = 7;
    for (int i = 0; i < 200; ++i) {
        int next = randomUsedSlot(slot, wallpaperTable);
        ASSERT_NE(slot, next) << "draw " << i;
        ASSERT_TRUE(wallpaperTable[next].used) << next;
        reached.insert(next);
        slot = next;
    }
    EXPECT_EQ((std::set<int>{2, 7, 40, 499}), reached);
}

TEST_F(Table, RandomChoiceDrawsItsRankFromTheUnseededGenerator) {
    use({0, 1, 2, 3, 4});
    // rank = rand() % 5 over 41, 18467, 6334, 26500: 1, 2, 4, 0.
    std::vector<int> choices;
    int slot = 0;
    for (int i = 0; i < 4; ++i) choices.push_back(slot = randomUsedSlot(slot, wallpaperTable));
    EXPECT_EQ((std::vector<int>{1, 2, 4, 0}), choices);
}

} // namespace
