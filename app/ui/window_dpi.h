// The DPI a window is drawn at, for what the program places in pixels itself.
#ifndef MURALTO_WINDOW_DPI_H
#define MURALTO_WINDOW_DPI_H

#include <windows.h>

enum { BASE_DPI = 96 }; // the DPI at which a pixel is a pixel: 100 % on Windows

// Sent by Windows 8.1 and later when a window moves to a monitor of another DPI; the build's
// headers are those of Windows XP.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the window's monitor (GetDpiForWindow, Windows 10 1607 and later), or else the
// screen's, which is the one DPI of the older systems.
UINT windowDpi(HWND window);

// A length given in pixels at 96 DPI, at dpi.
int scaledForDpi(int pixelsAt96, UINT dpi);

#endif
