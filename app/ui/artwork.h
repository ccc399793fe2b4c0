// The windows' artwork (app/ui/art): the banner and the preview monitor, drawn by their
// owner-drawn controls at whatever size the dialog gives them, and the monitor's glass, where
// the main window paints the preview.
#ifndef MURALTO_ARTWORK_H
#define MURALTO_ARTWORK_H

#include <windows.h>

// Sent by Windows 8.1 and later when a window moves to a monitor of another DPI; the build's
// headers are those of Windows XP.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The monitor at 1x, in pixels: its size, and the glass, which the art generator
// (art/make_art.py) leaves as a plain rectangle as large as a preview.
enum {
    MONITOR_WIDTH = 177,
    MONITOR_HEIGHT = 159,
    GLASS_X = 12,
    GLASS_Y = 15,
    GLASS_WIDTH = 151,
    GLASS_HEIGHT = 112
};
enum { BANNER_WIDTH = 281, BANNER_HEIGHT = 81 };

// Draws the banner or the monitor into the whole of its owner-drawn static control: from the 1x
// bitmap at its own size and from the 2x one, smoothly, at any larger size (the dialog's layout
// keeps the control's proportions close to the art's). False for a control that shows no art.
bool drawArtItem(const DRAWITEMSTRUCT& item);

// After a DPI change, which lays the dialog out again: its art is drawn anew, whole, at its
// controls' new sizes.
void redrawArt(HWND dialog);

// Where the preview goes in the client area of the main window: the glass of the monitor as the
// monitor control draws it.
RECT previewRect(HWND mainWindow);

// Copies a width x height picture selected into source onto target's rectangle to: at its
// own size as it is, at another size smoothly (halftone).
void drawPicture(HDC target, const RECT& to, HDC source, int width, int height);

#endif
