// The main window: the modeless dialog in which the user manages the wallpapers. Its timers
// drive the program: while the window is shown, every 50 ms the refresh tick polls the controls
// and repaints the preview; every second the sequence tick runs the sequencer and brings the
// icon's tip up to date. A third one runs only while the notification icon waits for the shell
// (tray_icon.h), and another a couple of seconds after an edit, to keep it (kept_settings.h).
// The global hotkeys come to it too (hotkeys.h).
#ifndef MURALTO_MAIN_WINDOW_H
#define MURALTO_MAIN_WINDOW_H

#include <windows.h>

enum { REFRESH_TIMER = 10, TRAY_ICON_TIMER = 20, SAVE_TIMER = 30, SEQUENCE_TIMER = 80 };
// The preview is drawn over the glass of the monitor control at the window's scale
// (artwork.h); at 96 DPI, with the dialog font's base units of 6 x 13, at its own size from the
// client point (PREVIEW_X, PREVIEW_Y).
enum { PREVIEW_WIDTH = 151, PREVIEW_HEIGHT = 112, PREVIEW_X = 35, PREVIEW_Y = 121 };
INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
