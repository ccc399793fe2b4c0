#include "interface_texts.h"

#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "resource.h"
#include "txm.h"
#include "wallpaper_table.h"

namespace {

// Windows-1252 bytes. Text 26 is English on purpose: it is what the program has always shown
// without a language file.
const char* const BUILT_IN_TEXTS[TEXT_COUNT] = {
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
    "[E000]: La dll \"KFG\" est invalide !              ",
    "[E001]: La lecture du fichier a \xE9"
    "chou\xE9"
    "e !              ",
    "[E002]: Le nombre de wallpaper est limit\xE9 \xE0 500 !              ",
    "[E003]: Impossible de sauvegarder la configuration !              ",
    "[E004]: Le wallpaper \"%s\" a d\xE9ja \xE9t\xE9 ajout\xE9 !              ",
    "Appl&y for all",
    "AJUSTE",
    "REMPLI",
    "[E005]: Impossible de copier les wallpapers de \"%s\" : la liste est vide, ce dossier "
    "reste intact et Muralto r\xE9"
    "essaiera au prochain d\xE9marrage !              ",
    "[E006]: Le dossier de donn\xE9"
    "es \"%s\" est inutilisable : son nom sort de la page de code de Windows ou est trop "
    "long !              ",
    "Photos HEIC, HEIF et AVIF (*.HEIC;*.HEIF;*.AVIF)",
    "Wallpaper suivant",
    "Pause",
    "Reprendre",
    "Afficher Muralto",
    "Quitter",
    "en pause",
    "%s fichier(s) ignor\xE9(s) : ce ne sont pas des images.",
    "[E007]: Les photos HEIC et AVIF demandent le fichier \"%s\" \xE0 c\xF4t\xE9 de Muralto.exe : "
    "r\xE9installez Muralto !              ",
    "[E008]: Trop de fichiers choisis en une fois : choisissez-en moins, ou d\xE9posez leur "
    "dossier sur la fen\xEAtre !              ",
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

struct ControlText {
    int control;
    int text;
};

void setControlText(HWND window, int control, int text) {
    const char* value = interfaceText(text);
    SetDlgItemTextA(window, control, value != nullptr ? value : "");
}

void setControlTexts(HWND window, const ControlText* texts, int count) {
    for (int i = 0; i < count; ++i) setControlText(window, texts[i].control, texts[i].text);
}

// Text 25 is given to wsprintfA with one name: exactly one '%', and it starts "%s".
bool formatsOneName(const char* text) {
    const char* sign = strchr(text, '%');
    return sign != nullptr && sign[1] == 's' && strchr(sign + 1, '%') == nullptr;
}

} // namespace

const char* interfaceText(int id) { return TXM_getString(&languageStore, language, id); }

void installBuiltInTexts() {
    for (int id = 0; id < TEXT_COUNT; ++id)
        if (BUILT_IN_TEXTS[id] != nullptr)
            TXM_setDefault(&languageStore, id, const_cast<char*>(BUILT_IN_TEXTS[id]));
}

// Any other conversion in text 25 would make wsprintfA read arguments that were never passed:
// such a translation gives way to the built-in text.
void loadInterfaceTexts(const char* languageFile) {
    bool read = TXM_openFile(&languageStore, const_cast<char*>(languageFile)) == TXM_OK;
    installBuiltInTexts();
    if (!read) return;
    for (int i = 0; i < TXM_FILE_LANGUAGES; ++i) {
        _TXMSTRING& text = languageStore.languages[i].strings[TEXT_ERROR_DUPLICATE];
        if (text.present && !formatsOneName(text.text))
            copyText(text.text, sizeof text.text, BUILT_IN_TEXTS[TEXT_ERROR_DUPLICATE]);
    }
}

void setCounterText(HWND window, int count) {
    const char* text = interfaceText(TEXT_COUNTER);
    char counter[300];
    formatText(counter, sizeof counter, "%d %s", count > 0 ? count : 0,
               text != nullptr ? text : "");
    SetDlgItemTextA(window, IDC_COUNTER, counter);
}

void applyInterfaceTexts(HWND window, int mode) {
    static const ControlText labels[] = {
        {IDC_LANGUAGE_LABEL, TEXT_LANGUAGE_LABEL},
        {IDC_PREVIEW_FRAME, TEXT_PREVIEW_FRAME},
        {IDC_ADDRESS, TEXT_ADDRESS},
        {IDC_RANDOM, TEXT_RANDOM},
        {IDC_START_CHANGE, TEXT_START_CHANGE},
        {IDC_LIST_FRAME, TEXT_LIST_FRAME},
    };
    static const ControlText fieldLabels[] = {
        {IDC_TIME_LABEL, TEXT_TIME_LABEL},
        {IDC_SECONDS_LABEL, TEXT_SECONDS},
        {IDC_MODE_LABEL, TEXT_MODE_LABEL},
        {IDC_MOMENT_LABEL, TEXT_MOMENT_LABEL},
    };
    static const ControlText buttons[] = {
        {IDC_ADD, TEXT_ADD},     {IDC_DELETE, TEXT_DELETE},       {IDC_DELETE_ALL, TEXT_DELETE_ALL},
        {IDC_ABOUT, TEXT_ABOUT}, {IDC_WEB_PAGE, TEXT_WEB_PAGE},   {IDC_HIDE, TEXT_HIDE},
        {IDC_QUIT, TEXT_QUIT},   {IDC_APPLY_ALL, TEXT_APPLY_ALL},
    };
    setControlTexts(window, labels, sizeof labels / sizeof labels[0]);
    setCounterText(window, wallpaperCount);
    setControlTexts(window, fieldLabels, sizeof fieldLabels / sizeof fieldLabels[0]);

    // An entry whose text is missing is still added, so that entry indexes stay the modes.
    HWND modes = GetDlgItem(window, IDC_MODE);
    SendMessageA(modes, CB_RESETCONTENT, 0, 0);
    static const int modeTexts[] = {TEXT_MODE_CENTRE, TEXT_MODE_TILE, TEXT_MODE_STRETCH,
                                    TEXT_MODE_FIT, TEXT_MODE_FILL};
    for (int text : modeTexts) {
        const char* value = interfaceText(text);
        SendMessageA(modes, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(value != nullptr ? value : ""));
    }
    SendMessageA(modes, CB_SETCURSEL, static_cast<WPARAM>(mode), 0);

    setControlTexts(window, buttons, sizeof buttons / sizeof buttons[0]);
}

void fillMomentList(HWND window, int kind) {
    HWND moments = GetDlgItem(window, IDC_MOMENT);
    SendMessageA(moments, CB_RESETCONTENT, 0, 0);
    for (int text = TEXT_MOMENT_ALWAYS; text <= TEXT_MOMENT_HOURS; ++text) {
        const char* value = interfaceText(text);
        SendMessageA(moments, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(value != nullptr ? value : ""));
    }
    SendMessageA(moments, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
}

void fillLanguageList(HWND window) {
    HWND list = GetDlgItem(window, IDC_LANGUAGE);
    if (TXM_getNumLanguage(&languageStore) < 1) {
        EnableWindow(list, FALSE);
        EnableWindow(GetDlgItem(window, IDC_LANGUAGE_LABEL), FALSE);
        return;
    }
    for (int i = 0; i < TXM_FILE_LANGUAGES; ++i) {
        const _TXMLANGUAGE& record = languageStore.languages[i];
        if (record.present)
            SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.name));
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(language), 0);
}
