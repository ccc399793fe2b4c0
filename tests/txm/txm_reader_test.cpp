// How language files are read: the header, the records, their texts and the capacities.
#include <string.h>

#include <vector>

#include "txm_fixture.h"

namespace {

using Reader = TxmTest;

const char kHeader[] = "<h:HTXM>\n";

// Every string of a language, in id order.
std::vector<std::string> stringsOf(const _TXMLANGUAGE& language) {
    std::vector<std::string> texts;
    for (int id = 0; id < language.stringCount; ++id) texts.push_back(language.strings[id].text);
    return texts;
}

TEST_F(Reader, AFileWithoutTheHeaderIsRefusedAndLeavesTheStoreCleared) {
    const char* refused[] = {
        "",
        "no record at all\n",
        "<h:HTX>\n<n:English>\n",
        "<h;HTXM>\n<n:English>\n",
        "<H:HTXM>\n",
        "<h:htxm>\n",
        "<hHTXM>\n",
        "<h:\nHTXM>\n",
        "<n:English>\n<h:HTXM>\n", // the header must be the first record
        "\x1A<h:HTXM>\n",          // nothing after the end-of-file mark counts
        "<h:HT",
    };
    for (const char* file : refused) {
        ASSERT_EQ(TXM_OK, open("<h:HTXM>\n<n:Old>\n<s:old>\n"));
        ASSERT_EQ(TXM_OK, setDefault(0, "built-in"));
        EXPECT_EQ(TXM_ERR_FILE, open(file)) << "file: " << shown(file);
        EXPECT_TRUE(isCleared()) << "file: " << shown(file);
        EXPECT_EQ(0, languages()) << "file: " << shown(file);
        EXPECT_EQ("<null>", text(0, 0)) << "file: " << shown(file);
    }
}

TEST_F(Reader, TheHeaderIsTheFirstRecordWhateverStandsBeforeOrInIt) {
    const char* accepted[] = {
        "<h:HTXM>",
        "<h:HTXM",
        "<h:HTXM Muralto>\r\n",
        "a comment, > included\n\n  <h:HTXM>\n",
        "\xEF\xBB\xBF<h:HTXM>\n",
    };
    for (const char* file : accepted) {
        EXPECT_EQ(TXM_OK, open(file)) << "file: " << shown(file);
        EXPECT_EQ(1, store->loaded) << "file: " << shown(file);
        EXPECT_EQ(0, store->languageCount) << "file: " << shown(file);
        EXPECT_EQ(0, languages()) << "file: " << shown(file);
    }
}

TEST_F(Reader, FilesThatCannotBeOpenedLeaveTheStoreAsItWas) {
    ASSERT_EQ(TXM_OK, setDefault(3, "built-in"));
    EXPECT_EQ(TXM_ERR_FILE, TXM_openFile(store.get(), Text("no such file.lng")));
    EXPECT_EQ(TXM_ERR_FILE, TXM_openFile(store.get(), Text("."))); // a folder
    EXPECT_EQ(TXM_ERR_ARG, TXM_openFile(store.get(), Text("")));
    EXPECT_EQ(TXM_ERR_ARG, TXM_openFile(store.get(), nullptr));
    EXPECT_EQ(TXM_ERR_ARG, TXM_openFile(nullptr, nullptr)); // the path is checked first
    EXPECT_EQ(TXM_ERR_STORE, TXM_openFile(nullptr, Text(path)));
    EXPECT_EQ(1, store->loaded);
    EXPECT_EQ("\"built-in\"", text(0, 3));
    EXPECT_EQ("\"Default\"", name(0));
}

TEST_F(Reader, LanguagesAndTheirStringsFollowTheFileOrder) {
    ASSERT_EQ(TXM_OK, open(std::string(kHeader) + "A comment line: not a record\n"
                                                  "<n:Fran\xE7"
                                                  "ais>\n<s:Langue: >\n<s:Ecran d'aper\xE7u : >\n\n"
                                                  "<n:English>\n<s:Language: >\n"));
    EXPECT_EQ(2, store->languageCount);
    EXPECT_EQ(3, store->stringTotal);
    EXPECT_EQ(2, languages());
    EXPECT_EQ("\"Fran\xE7"
              "ais\"",
              name(0));
    EXPECT_EQ("\"English\"", name(1));
    EXPECT_EQ((std::vector<std::string>{"Langue: ", "Ecran d'aper\xE7u : "}),
              stringsOf(store->languages[0]));
    EXPECT_EQ(std::vector<std::string>{"Language: "}, stringsOf(store->languages[1]));
    for (int i = 2; i < TXM_LANGUAGE_RECORDS; ++i)
        EXPECT_EQ(0, store->languages[i].present) << "record " << i;
}

TEST_F(Reader, RecordsThatHaveNoPlaceAreIgnoredWhole) {
    std::string file = std::string(kHeader) + "<s:before any language>\n<x:other letter>\n";
    for (int i = 1; i <= 6; ++i)
        file += "<n:L" + std::to_string(i) + ">\n<s:of L" + std::to_string(i) + ">\n";
    // The sixth language's name is a whole record: the "<s:" inside it starts nothing.
    file += "<n:L7<s:inside a name>\n<s:after L7>\n";
    ASSERT_EQ(TXM_OK, open(file));
    EXPECT_EQ(5, store->languageCount);
    EXPECT_EQ(5, languages());
    EXPECT_EQ("\"L5\"", name(4));
    EXPECT_EQ(std::vector<std::string>{"of L1"}, stringsOf(store->languages[0]));
    // Strings after an ignored language go on filling the fifth.
    EXPECT_EQ((std::vector<std::string>{"of L5", "of L6", "after L7"}),
              stringsOf(store->languages[4]));
    EXPECT_EQ(0, store->languages[5].present);
    EXPECT_EQ(7, store->stringTotal);
}

TEST_F(Reader, TheHundredAndFirstStringOfALanguageIsIgnored) {
    std::string file = std::string(kHeader) + "<n:Full>\n";
    for (int i = 0; i <= TXM_MAX_STRINGS; ++i) file += "<s:text " + std::to_string(i) + ">\n";
    file += "<n:Next>\n<s:next 0>\n";
    ASSERT_EQ(TXM_OK, open(file));
    EXPECT_EQ(TXM_MAX_STRINGS, store->languages[0].stringCount);
    EXPECT_EQ("\"text 99\"", text(0, 99));
    EXPECT_EQ(TXM_MAX_STRINGS + 1, store->stringTotal);
    EXPECT_EQ("\"next 0\"", text(1, 0));
}

TEST_F(Reader, TextRules) {
    struct {
        const char* record;
        const char* text;
    } cases[] = {
        {"<s:Langue: >", "Langue: "},                        // trailing blanks are kept
        {"<s:  two  blanks  >", "  two  blanks  "},          // and leading and inner ones
        {"<s:no closing bracket  ", "no closing bracket  "}, // runs to the end of the line
        {"<s:a<b>", "a<b"},                                  // '<' is ordinary inside a text
        {"<s:first> <s:passed over>", "first"},              // the rest of the line is passed over
        {"<s:>", ""},
        {"<s::colon>", ":colon"},    // only the first colon is the record's
        {"<sno colon>", "no colon"}, // the character is the text's first
        {"<s\tword>", "\tword"},
        {"<s:lone\rCR>", "lone\rCR"},   // a CR not before a LF is ordinary
        {"<s:\xC0 \xFF>", "\xC0 \xFF"}, // bytes are kept as they are
        {"<s", ""},                     // a record cut by its line end
    };
    for (const auto& c : cases) {
        ASSERT_EQ(TXM_OK, open(std::string(kHeader) + "<n:L>\n" + c.record + "\n<s:next>\n"))
            << "record: " << shown(c.record);
        EXPECT_EQ(shown(c.text), text(0, 0)) << "record: " << shown(c.record);
        EXPECT_EQ("\"next\"", text(0, 1)) << "record: " << shown(c.record);
        EXPECT_EQ(2, store->languages[0].stringCount) << "record: " << shown(c.record);
    }
}

TEST_F(Reader, TextsAreCutAtTheirCapacity) {
    std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXY"; // 25 characters
    std::string longText(255, 't');
    // What passes the capacity is still the record's: the "<s:" in it starts nothing.
    ASSERT_EQ(TXM_OK, open(std::string(kHeader) + "<n:" + longName + ">\n<s:" + longText +
                           "rest<s:not a record>\n<s:next>\n"));
    EXPECT_EQ("\"" + longName.substr(0, 20) + "\"", name(0));
    EXPECT_EQ(2, store->languages[0].stringCount);
    EXPECT_EQ(longText, store->languages[0].strings[0].text);
    EXPECT_EQ("\"next\"", text(0, 1));
}

TEST_F(Reader, AFileEndingRightAfterARecordAddsNothingMore) {
    const char* endings[] = {"",  "\n", "\r\n", "\n\n  \n", "\x1A", "\n\x1A<s:after the mark>\n",
                             "<", "\n<"};
    for (const char* ending : endings) {
        ASSERT_EQ(TXM_OK, open(std::string(kHeader) + "<n:L>\n<s:first>\n<s:last>" + ending))
            << "ending: " << shown(ending);
        EXPECT_EQ(1, store->languageCount) << "ending: " << shown(ending);
        EXPECT_EQ(2, store->languages[0].stringCount) << "ending: " << shown(ending);
        EXPECT_EQ("\"last\"", text(0, 1)) << "ending: " << shown(ending);
    }
    // The same with a name record last.
    ASSERT_EQ(TXM_OK, open(std::string(kHeader) + "<n:L>\n<s:one>\n<n:M>"));
    EXPECT_EQ(2, store->languageCount);
    EXPECT_EQ(0, store->languages[1].stringCount);
    EXPECT_EQ(1, store->stringTotal);
}

TEST_F(Reader, CrLfAndLfFilesReadTheSame) {
    const char lf[] = "<h:HTXM>\n<n:One>\n<s:a >\n<s:no bracket \n\n<n:Two>\n<s:b> rest\n";
    ASSERT_EQ(TXM_OK, open(lf));
    std::unique_ptr<_TXMINFOFILE> fromLf(new _TXMINFOFILE());
    memcpy(fromLf.get(), store.get(), sizeof *store);
    std::string crlf;
    for (const char* p = lf; *p != '\0'; ++p) crlf += *p == '\n' ? "\r\n" : std::string(1, *p);
    ASSERT_EQ(TXM_OK, open(crlf));
    EXPECT_EQ(0, memcmp(fromLf.get(), store.get(), sizeof *store));
    EXPECT_EQ("\"no bracket \"", text(0, 1));
    EXPECT_EQ("\"b\"", text(1, 0));
}

TEST_F(Reader, ReadingAgainReplacesTheWholeStore) {
    ASSERT_EQ(TXM_OK, open("<h:HTXM>\n<n:A>\n<s:a0>\n<s:a1>\n<n:B>\n<n:C>\n"));
    ASSERT_EQ(TXM_OK, setDefault(5, "built-in"));
    ASSERT_EQ(TXM_OK, open("<h:HTXM>\n<n:X>\n<s:x0>\n"));
    EXPECT_EQ(1, store->languageCount);
    EXPECT_EQ(1, store->stringTotal);
    EXPECT_EQ(1, languages());
    EXPECT_EQ("<null>", text(0, 1));
    EXPECT_EQ("<null>", text(0, 5)); // built-in texts go with the old content
    EXPECT_EQ(0, store->languages[1].present);
}

} // namespace
