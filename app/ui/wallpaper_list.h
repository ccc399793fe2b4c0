// The main window's wallpaper list: one row per used slot, its title then its size.
#ifndef MURALTO_WALLPAPER_LIST_H
#define MURALTO_WALLPAPER_LIST_H

#include <windows.h>

// Empties the list of the main window and adds a row for every used slot in slot order.
void refillList(HWND window);
// Appends the slot's row: its title (titleUtf8), then "%dx%d" of its size.
void addListRow(HWND list, int slot);
// Selects the slot's row, alone, and scrolls it into view; nothing for a slot not in the list.
void selectSlotRow(HWND window, int slot);
// Inserts a column at position 0; nothing for a null text.
void insertColumn(HWND list, const char* text, int width, int format);

#endif
