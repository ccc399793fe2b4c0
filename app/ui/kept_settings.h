// What the user does is kept as it is done: every change to the table or the settings is saved
// through the settings' crash-safe save, so that a kill loses at most the change being made.
// Typed edits (a time, a mode) are gathered and saved a couple of seconds after the last one.
#ifndef MURALTO_KEPT_SETTINGS_H
#define MURALTO_KEPT_SETTINGS_H

#include <windows.h>

// The change just made is saved now (and any gathered edits with it).
void saveNow(HWND window);
// The change just made is saved once no other has come for a couple of seconds (SAVE_TIMER).
void saveSoon(HWND window);
// SAVE_TIMER: the gathered edits saved.
void onSaveTimer(HWND window);

// The way out: what is not saved yet is saved, and so is where the sequence stands when the
// table holds pictures. A save that fails is told, once until one succeeds.
void saveAtQuit(HWND window);

// Saves made since the start, counted for tests and benchmarks.
int savesMade();

#endif
