// The main window's texts, looked up by string id in the current language, and the language
// list that switches them.
#ifndef MURALTO_INTERFACE_TEXTS_H
#define MURALTO_INTERFACE_TEXTS_H

#include <windows.h>

enum {
    TEXT_LANGUAGE_LABEL = 0,
    TEXT_PREVIEW_FRAME = 1,
    TEXT_ADDRESS = 2,
    TEXT_RANDOM = 3,
    TEXT_START_CHANGE = 4,
    TEXT_LIST_FRAME = 5,
    TEXT_COUNTER = 6,
    TEXT_TIME_LABEL = 7,
    TEXT_SECONDS = 8,
    TEXT_MODE_LABEL = 9,
    TEXT_MODE_CENTRE = 10,
    TEXT_MODE_TILE = 11,
    TEXT_MODE_STRETCH = 12,
    TEXT_ADD = 13,
    TEXT_DELETE = 14,
    TEXT_DELETE_ALL = 15,
    TEXT_ABOUT = 16,
    TEXT_WEB_PAGE = 17,
    TEXT_HIDE = 18,
    TEXT_QUIT = 19,
    TEXT_OPEN_TITLE = 20,
    TEXT_ERROR_KFG = 21,
    TEXT_ERROR_READ = 22,
    TEXT_ERROR_FULL = 23,
    TEXT_ERROR_SAVE = 24,
    TEXT_ERROR_DUPLICATE = 25,
    TEXT_APPLY_ALL = 26,
    TEXT_MODE_FIT = 27,
    TEXT_MODE_FILL = 28,
    TEXT_ERROR_MOVE = 29,        // "%s": the old data folder that could not be copied
    TEXT_ERROR_DATA_FOLDER = 30, // "%s": the data folder that has no usable path
    TEXT_HEIF_FILTER = 31,       // the open-file dialog's sixth filter: HEIC, HEIF and AVIF
    TEXT_MENU_NEXT = 32,         // the notification icon's menu
    TEXT_MENU_PAUSE = 33,
    TEXT_MENU_RESUME = 34,
    TEXT_MENU_SHOW = 35,
    TEXT_MENU_QUIT = 36,
    TEXT_PAUSED = 37,                 // added to the icon's tip while paused
    TEXT_DROP_SKIPPED = 38,           // "%s": how many dropped files were not pictures
    TEXT_ERROR_HEIF_LIBRARY = 39,     // "%s": the missing file HEIC and AVIF photos need
    TEXT_ERROR_SELECTION = 40,        // more files chosen than the open-file dialog can return
    TEXT_WALK_FOLDER = 41,            // the progress dialog's label while a drop's folders are read
    TEXT_WALK_FOUND = 42,             // "%s": how many pictures they have given so far
    TEXT_MENU_PREVIOUS = 43,          // the notification icon's menu
    TEXT_MENU_PAUSE_FULL_SCREEN = 44, // checked while on
    TEXT_MENU_PAUSE_BATTERY_SAVER = 45, // checked while on
    TEXT_HELD_FULL_SCREEN = 46,         // added to the icon's tip while they hold the sequence
    TEXT_HELD_BATTERY_SAVER = 47,
    TEXT_CONFIRM_DELETE_ALL = 48, // asked before Delete all
    TEXT_NAME_COLUMN = 49,        // the list's column titles
    TEXT_SIZE_COLUMN = 50,
    TEXT_HELD_OTHER_WALLPAPER = 51,    // the tip's word when a wallpaper chosen elsewhere paused it
    TEXT_MENU_START_WITH_WINDOWS = 52, // checked while the user's Run key starts Muralto

    // The icon's menu with two or more monitors.
    TEXT_MENU_NEXT_ON_MONITOR = 53,
    TEXT_MENU_MATCH_SHAPES = 54,

    // A picture's moment of the day, and the tip while no picture is of the present one.
    TEXT_MOMENT_LABEL = 55, // the list of moments, whose entries follow in MomentKind's order
    TEXT_MOMENT_ALWAYS = 56,
    TEXT_MOMENT_DAY = 57,
    TEXT_MOMENT_NIGHT = 58,
    TEXT_MOMENT_HOURS = 59,
    TEXT_NO_PICTURE_NOW = 60, // added to the icon's tip while no picture's moment includes now
    TEXT_COUNT = 61,
};

// Text id in the current language; null when the language has none.
const char* interfaceText(int id);

// Installs the built-in French texts as the language store's fallback language.
void installBuiltInTexts();

// Reads the language file into the language store, with the built-in texts beside it for the
// texts a language lacks (a file made for 27 texts has no 27 and 28, the two newest modes).
// A text 25 of the file that does not hold exactly one "%s" and no
// other '%' is replaced by the built-in text 25; the other texts are kept as they are.
void loadInterfaceTexts(const char* languageFile);

// Sets every control text of the main window, refills the mode list and selects mode.
void applyInterfaceTexts(HWND window, int mode);

// Refills the list of moments in the current language and selects kind (MomentKind).
void fillMomentList(HWND window, int kind);

// The counter: "%d %s" with the count and text 6 ("0 %s" for a count of 0 or less).
void setCounterText(HWND window, int count);

// Fills the language list with the file's languages, or disables it when there are none.
void fillLanguageList(HWND window);

#endif
