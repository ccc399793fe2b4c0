// The shipped Muralto.lng: five languages of the program's 61 interface texts, in the shape the
// program relies on (blanks, error prefixes, one %s in the texts that name something).
#include <string.h>

#include <string>

#include "txm_fixture.h"

namespace {

const int kStrings = 61;
const int kApplyAll = 26;
const int kErrorBlanks = 14;

// The error texts and their codes; -1 for the others.
int errorCode(int id) {
    if (id >= 21 && id <= 25) return id - 21; // E000 to E004
    if (id == 29 || id == 30) return id - 24; // E005 (old data not moved), E006 (data folder)
    if (id == 39 || id == 40) return id - 32; // E007 (HEIC library missing), E008 (selection)
    return -1;
}
// The texts given one name to show: the duplicate wallpaper, the old and the data folder, the
// count of dropped files skipped, the missing library, and the count of pictures found.
bool namesOne(int i) { return i == 25 || i == 29 || i == 30 || i == 38 || i == 39 || i == 42; }

// The program's built-in texts (Windows-1252), the error texts without their 14 closing blanks.
// The French of the file repeats them, except for id 26, whose built-in text is English by
// mistake.
const char* const kBuiltIn[kStrings] = {
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
    "[E000]: La dll \"KFG\" est invalide !",
    "[E001]: La lecture du fichier a \xE9"
    "chou\xE9"
    "e !",
    "[E002]: Le nombre de wallpaper est limit\xE9 \xE0 500 !",
    "[E003]: Impossible de sauvegarder la configuration !",
    "[E004]: Le wallpaper \"%s\" a d\xE9ja \xE9t\xE9 ajout\xE9 !",
    "Appl&y for all",
    "AJUSTE",
    "REMPLI",
    "[E005]: Impossible de copier les wallpapers de \"%s\" : la liste est vide, ce dossier "
    "reste intact et Muralto r\xE9"
    "essaiera au prochain d\xE9marrage !",
    "[E006]: Le dossier de donn\xE9"
    "es \"%s\" est inutilisable : son nom sort de la page de code de Windows ou est trop "
    "long !",
    "Photos HEIC, HEIF et AVIF (*.HEIC;*.HEIF;*.AVIF)",
    "Wallpaper suivant",
    "Pause",
    "Reprendre",
    "Afficher Muralto",
    "Quitter",
    "en pause",
    "%s fichier(s) ignor\xE9(s) : ce ne sont pas des images.",
    "[E007]: Les photos HEIC et AVIF demandent le fichier \"%s\" \xE0 c\xF4t\xE9 de Muralto.exe : "
    "r\xE9installez Muralto !",
    "[E008]: Trop de fichiers choisis en une fois : choisissez-en moins, ou d\xE9posez leur "
    "dossier sur la fen\xEAtre !",
    "Dossier : ",
    "%s image(s) trouv\xE9"
    "e(s)",
    "Wallpaper pr\xE9"
    "c\xE9"
    "dent",
    "Pause pendant les programmes en plein \xE9"
    "cran",
    "Pause en mode \xE9"
    "conomiseur de batterie",
    "en pause (programme en plein \xE9"
    "cran)",
    "en pause (\xE9"
    "conomiseur de batterie)",
    "Supprimer tous les wallpapers de la liste ?",
    "Nom(s)",
    "Taille(s)",
    "en pause (fond d'\xE9"
    "cran choisi dans Windows)",
    "D\xE9"
    "marrer avec Windows",
    "Wallpaper suivant sur cet \xE9"
    "cran",
    "Adapter les images \xE0 la forme de chaque \xE9"
    "cran",
    "Mome&nt : ",
    "Toujours",
    "De jour",
    "De nuit",
    "Heures",
    "aucune image pour ce moment",
};
const char kFrenchApplyForAll[] = "Appliquer \xE0 to&us";

const char* const kNames[] = {"Fran\xE7"
                              "ais",
                              "English", "Deutsch",
                              "Espa\xF1"
                              "ol",
                              "Italiano"};
const int kLanguages = sizeof kNames / sizeof kNames[0];

size_t trailingBlanks(const std::string& text) {
    size_t blanks = 0;
    while (blanks < text.size() && text[text.size() - 1 - blanks] == ' ') ++blanks;
    return blanks;
}

class LanguageFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(TXM_OK, TXM_openFile(store.get(), Text(MURALTO_LANGUAGE_FILE)));
    }
    std::string text(int language, int id) {
        const char* found = TXM_getString(store.get(), language, id);
        return found != nullptr ? found : "<null>";
    }
    std::unique_ptr<_TXMINFOFILE> store{new _TXMINFOFILE()};
};

TEST_F(LanguageFile, HasFiveLanguagesOfExactly61Strings) {
    EXPECT_EQ(kLanguages, TXM_getNumLanguage(store.get()));
    EXPECT_EQ(kLanguages * kStrings, store->stringTotal);
    for (int language = 0; language < kLanguages; ++language) {
        EXPECT_EQ(shown(kNames[language]), shown(TXM_getLangName(store.get(), language)));
        EXPECT_EQ(kStrings, store->languages[language].stringCount) << kNames[language];
    }
}

TEST_F(LanguageFile, TheFrenchIsTheBuiltInTexts) {
    for (int id = 0; id < kStrings; ++id) {
        std::string expected = id == kApplyAll ? kFrenchApplyForAll : kBuiltIn[id];
        if (errorCode(id) >= 0) expected += std::string(kErrorBlanks, ' ');
        EXPECT_EQ(shown(expected.c_str()), shown(text(0, id).c_str())) << "id " << id;
    }
}

TEST_F(LanguageFile, EveryLanguageHasTheShapeOfTheFrench) {
    for (int language = 0; language < kLanguages; ++language) {
        for (int id = 0; id < kStrings; ++id) {
            std::string where = std::string(kNames[language]) + ", id " + std::to_string(id) +
                                ": " + shown(text(language, id).c_str());
            std::string translated = text(language, id), french = text(0, id);
            ASSERT_NE("<null>", translated) << where;
            EXPECT_GT(translated.size(), trailingBlanks(translated)) << where;
            EXPECT_NE(' ', translated[0]) << where;
            EXPECT_EQ(trailingBlanks(french), trailingBlanks(translated)) << where;
            if (errorCode(id) >= 0) {
                std::string prefix = "[E00" + std::to_string(errorCode(id)) + "]: ";
                EXPECT_EQ(prefix, translated.substr(0, prefix.size())) << where;
                EXPECT_EQ(static_cast<size_t>(kErrorBlanks), trailingBlanks(translated)) << where;
            }
            size_t percent = translated.find('%');
            if (namesOne(id)) {
                EXPECT_EQ("%s", translated.substr(percent == std::string::npos ? 0 : percent, 2))
                    << where;
                EXPECT_EQ(std::string::npos, translated.find('%', percent + 1)) << where;
            } else {
                EXPECT_EQ(std::string::npos, percent) << where;
            }
        }
    }
}

// Every record of the file stands alone on its line and closes on it, so that no text runs
// to the end of its line or takes the next record's place.
TEST_F(LanguageFile, EveryRecordClosesOnItsOwnLine) {
    std::string bytes = testing_support::readBytes(MURALTO_LANGUAGE_FILE);
    ASSERT_NE("<missing>", bytes);
    EXPECT_EQ(std::string::npos, bytes.find('\x1A'));
    size_t start = 0, records = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        ASSERT_NE(std::string::npos, end) << "the last line lacks its CR LF";
        std::string line = bytes.substr(start, end - start);
        start = end + 2;
        EXPECT_EQ(std::string::npos, line.find('\n')) << "a bare LF in " << shown(line.c_str());
        if (line.find('<') == std::string::npos) continue;
        ++records;
        EXPECT_EQ('<', line.front()) << shown(line.c_str());
        EXPECT_EQ('>', line.back()) << shown(line.c_str());
        EXPECT_EQ(line.find('>'), line.size() - 1) << shown(line.c_str());
        EXPECT_EQ(line.rfind('<'), 0u) << shown(line.c_str());
    }
    EXPECT_EQ(static_cast<size_t>(1 + kLanguages * (1 + kStrings)), records);
}

} // namespace
