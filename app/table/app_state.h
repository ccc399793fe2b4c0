// The program's process-wide state and its one way of telling the user about a problem.
#ifndef MURALTO_APP_STATE_H
#define MURALTO_APP_STATE_H

#include <windows.h>

#include "kfg.h"
#include "txm.h"

// Shown as the caption of every message box and of the main window.
extern const char* const APP_TITLE; // "Muralto Version 3.05"

extern HINSTANCE appInstance;      // owner: start-up, set once the main window exists
extern HWND mainWindow;            // owner: start-up
extern char dataFolder[256];       // %LOCALAPPDATA%\Muralto (see data_folder.h); owner: start-up
extern char iniFilePath[256];      // dataFolder + "\Muralto.ini"; owner: settings
extern _TXMINFOFILE languageStore; // owner: start-up (read once, cleared at the end)
extern _KFGINFOFILE configStore;   // owner: settings
extern bool settingsLoaded;        // the configuration file opened at start-up; owner: start-up
extern bool configRefused; // a configuration file exists but could not be read; owner: settings
extern bool hiddenInTray;  // the window is hidden and the sequencer runs; owner: tray icon

// A warning box with the program's caption; a null text shows nothing.
void showWarning(HWND owner, const char* text);
// The same with the text's "%s" replaced by name, which may hold any character (a folder in the
// user's profile, a picture's title), shown in UTF-16 so that the name shows as it is.
void showWarningNaming(HWND owner, const char* text, const wchar_t* name);
// The text (in the ANSI code page) with its "%s" replaced by name, in UTF-16 into out; false,
// with out unchanged, for a null text or one that does not fit capacity characters.
bool textNaming(const char* text, const wchar_t* name, wchar_t* out, size_t capacity);

#endif
