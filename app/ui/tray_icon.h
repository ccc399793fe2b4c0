// The notification-area icon, hiding the main window into it and bringing it back.
#ifndef MURALTO_TRAY_ICON_H
#define MURALTO_TRAY_ICON_H

#include <windows.h>

// The icon's callback message; any of them brings the window back.
enum { WM_TRAYICON = WM_USER + 518 };

// Adds (true) or removes (false) the icon; failures are silent.
void setTrayIcon(bool add);

// "Reduire": the sequencer starts while the window is hidden.
void hideToTray(HWND window);
// Any message from the icon: the window shows and the sequencer stops.
void restoreFromTray(HWND window);

#endif
