// The interface texts: built in without a language file, and switched with the language list.
#include "journey.h"
#include "language_file.h"
#include "options.h"

namespace e2e {
namespace {

// Which text id each control shows; the counter and the mode list are checked on their own.
const struct {
    int control;
    int text;
} kControlTexts[] = {
    {LANGUAGE_LABEL, 0}, {PREVIEW_FRAME, 1}, {RANDOM, 3},        {START_CHANGE, 4},
    {LIST_FRAME, 5},     {TIME_LABEL, 7},    {SECONDS_LABEL, 8}, {MODE_LABEL, 9},
    {ADD, 13},           {DELETE_ONE, 14},   {DELETE_ALL, 15},   {ABOUT, 16},
    {WEB_PAGE, 17},      {HIDE, 18},         {QUIT, 19},         {APPLY_ALL, 26},
};

// The controls whose text differs from the language's, one per line.
std::string wrongTexts(const MuraltoRun& run, const Language& language, int count) {
    std::string wrong;
    auto check = [&](const std::string& what, const std::string& want, const std::string& got) {
        if (want != got) wrong += "\n  " + what + ": \"" + got + "\" instead of \"" + want + "\"";
    };
    for (const auto& c : kControlTexts)
        check("control " + std::to_string(c.control), language.text(c.text), run.text(c.control));
    check("counter", std::to_string(count) + " " + language.text(6), run.text(COUNTER));
    std::vector<std::string> modes = run.entries(MODE);
    modes.resize(3, "<no entry>");
    for (int i = 0; i < 3; ++i)
        check("mode entry " + std::to_string(i), language.text(10 + i), modes[i]);
    return wrong;
}

Language builtInTexts() {
    Language french;
    french.name = "<built in>";
    french.texts = {
        "&Langue: ",
        "Ecran d'aper\xE7u : ",
        "Adresse du wallpaper : ",
        "Choisir un wallpaper au &hasard",
        "Changer le wallpaper au &d\xE9marrage",
        "Liste des &Wallpapers : ",
        "wallpaper(s) dans la base de donn\xE9"
        "es",
        "&Temps d'affichage : ",
        "secondes",
        "&Mode d'affichage : ",
        "CENTRE",
        "MOSAIQUE",
        "ETIRE",
        "&Ajouter...",
        "&Supprimer",
        "Supprimer t&out",
        "\xC0 &Propos...",
        "S&ite Web...",
        "&R\xE9"
        "duire",
        "&Quitter",
        "Charger un Wallpaper...",
    };
    french.texts.resize(26, "<not shown in the window>");
    french.texts.push_back("Appl&y for all");
    return french;
}

class Languages : public Journey {};

TEST_F(Languages, WithoutALanguageFileTheListIsDisabledAndTheTextsAreBuiltIn) {
    MuraltoRun::Setup setup;
    setup.languageFile = false;
    MuraltoRun run(setup);
    ASSERT_TRUE(showMainWindow(run));
    EXPECT_FALSE(run.enabled(LANGUAGE));
    EXPECT_FALSE(run.enabled(LANGUAGE_LABEL));
    EXPECT_TRUE(run.entries(LANGUAGE).empty()) << run.entries(LANGUAGE).size() << " entries";
    EXPECT_EQ("", wrongTexts(run, builtInTexts(), 0));
    quitWithButton(run);
}

TEST_F(Languages, ChoosingEnglishChangesEveryTextAtOnceAndIsSaved) {
    std::vector<Language> languages = readLanguageFile(options.programFolder + "\\Muralto.lng");
    ASSERT_GE(languages.size(), 2u) << "the shipped language file";
    int english = -1;
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i].name == "English") english = static_cast<int>(i);
    ASSERT_GT(english, 0) << "no English after the first language";

    configure(SystemSettings(), threeWallpapers());
    MuraltoRun run;
    ASSERT_TRUE(showMainWindow(run));
    std::vector<std::string> names;
    for (const Language& l : languages) names.push_back(l.name);
    EXPECT_EQ(names, run.entries(LANGUAGE));
    EXPECT_EQ(0, run.selection(LANGUAGE));
    EXPECT_TRUE(waitUntil([&] { return wrongTexts(run, languages[0], 3).empty(); }))
        << wrongTexts(run, languages[0], 3);

    // A wallpaper in mode 2 keeps its mode through the change, which refills the mode list:
    // the refresh tick after it would copy a wrong entry into the wallpaper.
    ASSERT_TRUE(run.selectRowSeen(2));
    ASSERT_EQ(2, run.selection(MODE));
    run.choose(LANGUAGE, english);
    EXPECT_EQ("", wrongTexts(run, languages[english], 3)) << "right after the choice";
    EXPECT_EQ(2, run.selection(MODE));
    EXPECT_EQ(english, run.selection(LANGUAGE));
    ASSERT_TRUE(run.waitForRefreshTick()) << "no refresh tick after the choice";
    EXPECT_EQ(2, run.selection(MODE)) << "the wallpaper's mode changed with the language";
    EXPECT_EQ("", wrongTexts(run, languages[english], 3)) << "after a refresh tick";

    quitWithButton(run);
    SavedConfiguration saved = readConfiguration();
    EXPECT_EQ(std::to_string(english), saved.value("SYSTEM", "language"));
    EXPECT_EQ("2", saved.value("WALLPAPER 2", "showMode"));
}

} // namespace
} // namespace e2e
