// Lookups, the built-in language and clearing.
#include <string.h>

#include "txm_fixture.h"

namespace {

using Lookup = TxmTest;

// Two languages: the first has strings 0 to 2, the second only string 0.
const char kTwoLanguages[] = "<h:HTXM>\n<n:One>\n<s:one 0>\n<s:one 1>\n<s:one 2>\n"
                             "<n:Two>\n<s:two 0>\n";

TEST_F(Lookup, ALanguageFallsBackToTheBuiltInTextsForTheIdsItLacks) {
    ASSERT_EQ(TXM_OK, open(kTwoLanguages));
    for (int id = 0; id < 5; ++id)
        ASSERT_EQ(TXM_OK, setDefault(id, ("built-in " + std::to_string(id)).c_str()));
    struct {
        int language, id;
        const char* expected;
    } cases[] = {
        {0, 0, "\"one 0\""},      {0, 2, "\"one 2\""},      {0, 3, "\"built-in 3\""},
        {1, 0, "\"two 0\""},      {1, 1, "\"built-in 1\""}, {3, 0, "\"built-in 0\""},
        {4, 4, "\"built-in 4\""}, {0, 5, "<null>"},         {3, 99, "<null>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, text(c.language, c.id))
            << "language " << c.language << ", id " << c.id;
}

TEST_F(Lookup, WithoutBuiltInTextsMissingStringsAreNull) {
    ASSERT_EQ(TXM_OK, open(kTwoLanguages));
    EXPECT_EQ("<null>", text(1, 1));
    EXPECT_EQ("<null>", text(3, 0));
    EXPECT_EQ("\"two 0\"", text(1, 0));
}

TEST_F(Lookup, LanguagesAndIdsOutOfRangeGiveNull) {
    ASSERT_EQ(TXM_OK, open(kTwoLanguages));
    ASSERT_EQ(TXM_OK, setDefault(0, "built-in"));
    ASSERT_EQ(TXM_OK, setDefault(99, "built-in 99"));
    struct {
        int language, id;
    } cases[] = {{5, 0}, {6, 0}, {-1, 0}, {0, 100}, {0, -1}, {1000, 1000}};
    for (const auto& c : cases)
        EXPECT_EQ("<null>", text(c.language, c.id)) << "language " << c.language << ", id " << c.id;
    EXPECT_EQ("\"built-in 99\"", text(0, 99));
}

TEST_F(Lookup, NullAndUnloadedStoresAnswerNothing) {
    EXPECT_EQ(nullptr, TXM_getString(nullptr, 0, 0));
    EXPECT_EQ(nullptr, TXM_getLangName(nullptr, 0));
    EXPECT_EQ(0, TXM_getNumLanguage(nullptr));
    // An unloaded store answers nothing, even with texts in it.
    store->languages[0].present = 1;
    store->languages[0].strings[0].present = 1;
    EXPECT_EQ("<null>", text(0, 0));
    EXPECT_EQ("<null>", name(0));
    EXPECT_EQ(0, languages());
}

TEST_F(Lookup, SetDefaultChecksTheStoreThenTheIdThenTheText) {
    struct {
        bool nullStore;
        int id;
        bool nullText;
        int expected;
    } cases[] = {
        {true, 0, false, TXM_ERR_STORE},  {true, 100, true, TXM_ERR_STORE},
        {false, -1, false, TXM_ERR_SIZE}, {false, 100, false, TXM_ERR_SIZE},
        {false, 100, true, TXM_ERR_SIZE}, {false, 0, true, TXM_ERR_ARG},
    };
    for (const auto& c : cases) {
        Text builtIn("text");
        int result = TXM_setDefault(c.nullStore ? nullptr : store.get(), c.id,
                                    c.nullText ? nullptr : static_cast<char*>(builtIn));
        EXPECT_EQ(c.expected, result)
            << "id " << c.id << ", null store " << c.nullStore << ", null text " << c.nullText;
        EXPECT_TRUE(isCleared()) << "id " << c.id << ": the store changed";
    }
    EXPECT_EQ(TXM_OK, setDefault(0, "first"));
    EXPECT_EQ(TXM_OK, setDefault(99, "last"));
    EXPECT_EQ("\"first\"", text(0, 0));
    EXPECT_EQ("\"last\"", text(4, 99));
}

TEST_F(Lookup, SetDefaultLoadsAnEmptyStoreAsTheDefaultLanguage) {
    ASSERT_EQ(TXM_OK, setDefault(7, "Temps d'affichage : "));
    EXPECT_EQ(1, store->loaded);
    EXPECT_EQ(1, store->languages[TXM_DEFAULT_LANGUAGE].present);
    EXPECT_EQ(0, languages()); // the built-in language is not counted
    EXPECT_EQ("\"Temps d'affichage : \"", text(2, 7));
    // A later text replaces the earlier one whole; a long one is cut at 255 characters.
    ASSERT_EQ(TXM_OK, setDefault(7, "short"));
    EXPECT_EQ("\"short\"", text(0, 7));
    EXPECT_EQ(0, store->languages[TXM_DEFAULT_LANGUAGE].strings[7].text[6]);
    std::string longText(300, 'x');
    ASSERT_EQ(TXM_OK, setDefault(8, longText.c_str()));
    EXPECT_EQ(longText.substr(0, 255), store->languages[TXM_DEFAULT_LANGUAGE].strings[8].text);
}

TEST_F(Lookup, LanguageNames) {
    // A store with built-in texts only: every language is named after the built-in one.
    EXPECT_EQ("<null>", name(0));
    ASSERT_EQ(TXM_OK, setDefault(0, "Langue: "));
    EXPECT_EQ("\"Default\"", name(0));
    EXPECT_EQ("\"Default\"", name(4));

    // A store read from a file: the names it has; absent records give record 5's, empty here
    // since the built-in texts came into a loaded store.
    ASSERT_EQ(TXM_OK, open(kTwoLanguages));
    ASSERT_EQ(TXM_OK, setDefault(0, "Langue: "));
    EXPECT_EQ(0, store->languages[TXM_DEFAULT_LANGUAGE].present);
    struct {
        int language;
        const char* expected;
    } cases[] = {{0, "\"One\""}, {1, "\"Two\""}, {2, "\"\""},
                 {4, "\"\""},    {5, "<null>"},  {-1, "<null>"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, name(c.language)) << "language " << c.language;
    EXPECT_EQ(2, languages());
}

TEST_F(Lookup, ClearEmptiesTheWholeStore) {
    ASSERT_EQ(TXM_OK, open(kTwoLanguages));
    ASSERT_EQ(TXM_OK, setDefault(50, "built-in"));
    EXPECT_EQ(TXM_OK, TXM_clear(store.get()));
    EXPECT_TRUE(isCleared());
    EXPECT_EQ(0, languages());
    EXPECT_EQ("<null>", text(0, 50));
    EXPECT_EQ(TXM_ERR_STORE, TXM_clear(nullptr));
}

} // namespace
