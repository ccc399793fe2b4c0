// What a dialog of the program under test must show at a DPI, read from another process: its
// size, where its controls are, and whether their texts fit. Each check returns its problems,
// one a line, or "" when there is none.
#ifndef MURALTO_DPI_LAYOUT_CHECKS_H
#define MURALTO_DPI_LAYOUT_CHECKS_H

#include <windows.h>

#include <string>

#include "dialog_template.h"

namespace e2e {

// The dialog's client area is its template's size in the base units of its font (which tells
// that font is the one the texts are measured in), and it grows with the DPI: within 6 % of
// the size its template has at 96 DPI times dpi / 96. A font that does not scale (a raster
// font has a few sizes only) or a dialog drawn for 96 DPI fails here.
std::string sizeProblems(HWND dialog, const DialogTemplate& dialogTemplate, HFONT font, int dpi);

// Every control lies inside the dialog's client area.
std::string controlsOutside(HWND dialog);

// Every text fits its control in the dialog's font: its width in the room the control leaves
// for text, its lines in the control's height. The room: a check box's box takes a square of
// the control's height, a combo box's button as much, a push button's frame two pixels each
// side at 96 DPI; a static text, a group box and an edit field have their whole width. Entries
// of combo boxes are measured too; '&' marks a mnemonic and is not drawn.
std::string textsThatDoNotFit(HWND dialog, HFONT font, int dpi);

// No two controls share a mnemonic (the letter after '&'), whatever its case: Alt and that
// letter must lead to one place.
std::string mnemonicClashes(HWND dialog);

} // namespace e2e

#endif
