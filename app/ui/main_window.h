// The main window: the modeless dialog in which the user manages the wallpapers. Its two timers
// drive the program: every 50 ms the refresh tick polls the controls and repaints the preview,
// every second the sequence tick runs the sequencer.
#ifndef MURALTO_MAIN_WINDOW_H
#define MURALTO_MAIN_WINDOW_H

#include <windows.h>

enum { REFRESH_TIMER = 10, SEQUENCE_TIMER = 80 };
enum { PREVIEW_WIDTH = 151, PREVIEW_HEIGHT = 112, PREVIEW_X = 35, PREVIEW_Y = 121 };
enum { OPEN_FILE_BUFFER_SIZE = 2000 };

extern char openFileBuffer[OPEN_FILE_BUFFER_SIZE]; // the open-file dialog's result; owner: Add
extern char firstName[256];                        // its first string; owner: the add flow

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Empties the wallpaper list and adds a row for every used slot in slot order.
void refillList(HWND window);
// Appends the slot's row: its title, then "%dx%d" of its size.
void addListRow(HWND list, int slot);
// Inserts a column at position 0; nothing for a null text.
void insertColumn(HWND list, const char* text, int width, int format);

#endif
