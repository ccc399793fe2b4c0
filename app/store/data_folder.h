// Where the program keeps its data: the folder Muralto of the user's own local application data
// (%LOCALAPPDATA%\Muralto), which a standard user may write and which Explorer and the desktop
// see as the program does.
//
// The program's buffers, its settings files and the desktop calls are in the ANSI code page, so
// the folder is used in an ANSI form that names it exactly: its own name when the code page
// writes every character of it, else its short (8.3) name when that is written exactly (a
// profile named in Polish or Japanese on a Western Windows). When neither is, or the name is too
// long for the names the program puts inside, there is no usable form: the start-up says so and
// ends rather than use a path that names another folder.
#ifndef MURALTO_DATA_FOLDER_H
#define MURALTO_DATA_FOLDER_H

#include <stddef.h>
#include <wchar.h>

enum DataFolderResult {
    DATA_FOLDER_OK = 0,
    DATA_FOLDER_NO_PROFILE = 1, // the system knows no local application data folder
    DATA_FOLDER_NOT_ANSI = 2,   // neither the name nor the short name is written exactly
    DATA_FOLDER_TOO_LONG = 3,   // no exact name leaves room for the names inside
};

// The longest data folder taken: the longest name the program makes in it,
// "\Muralto-part7-refused999.ini", must still fit a 255-character path field, with room to spare.
enum { MAX_DATA_FOLDER_LENGTH = 200 };

// The ANSI form of base + "\Muralto" into folder (size bytes), as above; folder is empty unless
// the result is DATA_FOLDER_OK. The short name is asked of the system, so base must exist.
int ansiDataFolder(const wchar_t* base, char* folder, size_t size);

// The ANSI bytes of wide (size bytes) when they read back as the same characters: no best fit
// (L for Ł), no question mark, nothing cut off.
bool exactAnsi(const wchar_t* wide, char* ansi, int size);

// The user's local application data folder, wide; false when the system knows none.
bool localAppDataFolder(wchar_t* folder, size_t count);

// Fills dataFolder (nothing is created). On failure dataFolder is empty and shown (count
// characters) gets the folder as the user knows it, for the message.
int initDataFolder(wchar_t* shown, size_t count);

#endif
