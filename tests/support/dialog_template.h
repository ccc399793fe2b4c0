// A dialog template as a program's resources hold it, read from the file without running the
// program, and the font the dialog manager makes from it: what a driver needs to measure the
// texts of another process's dialog in that dialog's own font.
#ifndef MURALTO_DIALOG_TEMPLATE_H
#define MURALTO_DIALOG_TEMPLATE_H

#include <windows.h>

#include <string>

namespace e2e {

struct DialogTemplate {
    bool found = false;
    DWORD style = 0;
    int width = 0; // dialog units
    int height = 0;
    int pointSize = 0; // the DS_SETFONT font
    int weight = 0;
    bool italic = false;
    std::wstring face;
};

// The extended template (DIALOGEX) of dialog id in the module's resources; not found when it
// is missing or of another format.
DialogTemplate readDialogTemplate(const std::string& module, int id);

// The font the dialog manager gives the dialog and its controls at dpi: the template's face
// (MS Shell Dlg with DS_SHELLFONT is MS Shell Dlg 2), its points at dpi. The caller deletes it.
HFONT createDialogFont(const DialogTemplate& dialog, int dpi);

// The dialog base units of a font, as Windows reckons them: the mean width of the 52 Latin
// letters, rounded, and the font's height.
SIZE dialogBaseUnits(HFONT font);

} // namespace e2e

#endif
