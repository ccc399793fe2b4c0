// The About box and the button that opens the user guide page.
#ifndef MURALTO_ABOUT_BOX_H
#define MURALTO_ABOUT_BOX_H

#include <windows.h>

// Modal; only its "&Ok" button closes it (Escape and the close box leave it open).
void showAboutBox(HWND owner);

// Opens the user guide page shipped beside the program in Internet Explorer.
void openWebPage(HWND owner);

#endif
