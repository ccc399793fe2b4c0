#include "add_pictures.h"

#include <commctrl.h>
#include <commdlg.h>
#include <string.h>

#include "app_state.h"
#include "bounded_text.h"
#include "file_probe.h"
#include "wallpaper_import.h"
#include "wallpaper_list.h"
#include "interface_texts.h"
#include "resource.h"
#include "wallpaper_table.h"

char openFileBuffer[OPEN_FILE_BUFFER_SIZE];
char firstName[NAME_SIZE];

namespace {

const UINT_PTR IMPORT_TIMER = 10;
const char PICTURE_FILTERS[] = "Image(s) Microsoft Bitmap (*.BMP)\0*.BMP\0"
                               "Image(s) JPEG (*.JPG)\0*.JPG;*.JPEG;*.JPE\0"
                               "Image(s) TIFF (*.TIFF)\0*.TIF;*.TIFF\0"
                               "Image(s) PNG (*.PNG)\0*.PNG\0"
                               "Image(s) WebP (*.WEBP)\0*.WEBP\0";

int selectionPos = 0; // index in openFileBuffer of the next name to import
int selectionType = 0;
bool firstNameCut = false;

struct AddProgress {
    int total;
    int done;
    bool busy; // one of the dialog's message boxes is open: ticks must not import
    HWND mainWindow;
};
AddProgress progress;

// Text 25 with the name; not shown when the language has no such text.
void warnDuplicate(HWND owner, const char* name) {
    const char* format = interfaceText(TEXT_ERROR_DUPLICATE);
    if (format == nullptr) return;
    char message[1024]; // wsprintfA never writes more than 1024 bytes
    wsprintfA(message, format, name);
    showWarning(owner, message);
}

// Compared as the import would store it: a title cut to the table's field would otherwise be
// added again, and both rows would lead to the first slot of that title.
bool alreadyInTable(const char* path) {
    char title[TITLE_SIZE];
    pictureTitle(path, title, sizeof title);
    return hasTitle(wallpaperTable, title);
}

// Imports the picture and shows its row in the main window's list.
int importAndList(HWND mainWindow, const char* path, int pictureType) {
    int slot = -1;
    int result = importWallpaper(path, pictureType, &slot);
    if (result == IMPORT_OK) addListRow(GetDlgItem(mainWindow, IDC_LIST), slot);
    return result;
}

void warnImportResult(HWND owner, int result) {
    if (result == IMPORT_FAILED) showWarning(owner, interfaceText(TEXT_ERROR_READ));
    if (result == IMPORT_TABLE_FULL) showWarning(owner, interfaceText(TEXT_ERROR_FULL));
}

void addSingleFile(HWND mainWindow, int pictureType) {
    char title[NAME_SIZE] = "";
    if (GetFileTitleA(firstName, title, sizeof title) != 0)
        copyText(title, sizeof title, firstName);
    if (alreadyInTable(firstName)) {
        warnDuplicate(mainWindow, title);
        return;
    }
    warnImportResult(mainWindow, importAndList(mainWindow, firstName, pictureType));
}

// ---- The add-progress dialog ------------------------------------------------------------

void setBusyWarning(HWND dialog, void (*warn)(HWND, int), int value) {
    progress.busy = true;
    warn(dialog, value);
    progress.busy = false;
}

void onProgressInit(HWND dialog) {
    progress.busy = false;
    progress.total = 0;
    progress.done = 0;
    char name[NAME_SIZE];
    for (int pos = selectionPos; pos < OPEN_FILE_BUFFER_SIZE && openFileBuffer[pos] != '\0';) {
        pos = nextSelectedName(openFileBuffer, OPEN_FILE_BUFFER_SIZE, pos, name, sizeof name);
        ++progress.total;
    }
    SendDlgItemMessageA(dialog, IDC_ADD_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, progress.total));
    SetTimer(dialog, IMPORT_TIMER, 0, nullptr);
}

void endProgress(HWND dialog) {
    KillTimer(dialog, IMPORT_TIMER);
    EndDialog(dialog, 0);
}

// One name of the selection. A name, or a folder and name, that does not fit its buffer is not
// imported: it is reported as unreadable, and no buffer is overrun.
void importNextName(HWND dialog) {
    char name[NAME_SIZE];
    bool nameCut = false;
    selectionPos = nextSelectedName(openFileBuffer, OPEN_FILE_BUFFER_SIZE, selectionPos, name,
                                    sizeof name, &nameCut);
    SetDlgItemTextA(dialog, IDC_ADD_NAME, name);
    char path[JOINED_PATH_SIZE];
    bool fits =
        !nameCut && !firstNameCut && formatText(path, sizeof path, "%s\\%s", firstName, name);
    if (!fits) {
        progress.busy = true;
        showWarning(dialog, interfaceText(TEXT_ERROR_READ));
        progress.busy = false;
    } else if (alreadyInTable(path)) {
        progress.busy = true;
        warnDuplicate(dialog, name);
        progress.busy = false;
    } else {
        int result = importAndList(progress.mainWindow, path, selectionType);
        if (result != IMPORT_OK) setBusyWarning(dialog, warnImportResult, result);
    }
    ++progress.done;
    SendDlgItemMessageA(dialog, IDC_ADD_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(progress.done),
                        0);
}

void onProgressTick(HWND dialog, WPARAM timer) {
    if (timer != IMPORT_TIMER || progress.busy) return;
    if (selectionPos >= OPEN_FILE_BUFFER_SIZE || openFileBuffer[selectionPos] == '\0') {
        endProgress(dialog);
        return;
    }
    importNextName(dialog);
}

INT_PTR CALLBACK addProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        onProgressInit(dialog);
        return FALSE;
    case WM_TIMER:
        onProgressTick(dialog, wParam);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ADD_CANCEL) endProgress(dialog);
        return FALSE;
    case WM_CLOSE:
        endProgress(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

int nextSelectedName(const char* buffer, int bufferSize, int start, char* target, int capacity,
                     bool* cut) {
    memset(target, 0, static_cast<size_t>(capacity));
    int length = 0;
    while (start + length < bufferSize && buffer[start + length] != '\0') ++length;
    int copied = length < capacity - 1 ? length : capacity - 1;
    memcpy(target, buffer + start, static_cast<size_t>(copied));
    if (cut != nullptr) *cut = copied < length;
    int next = start + length + 1;
    return next < bufferSize ? next : bufferSize;
}

void runAddFlow(HWND mainWindow, int pictureType) {
    // A selection that fills the whole buffer has no terminator of its own.
    openFileBuffer[OPEN_FILE_BUFFER_SIZE - 1] = '\0';
    selectionPos = nextSelectedName(openFileBuffer, OPEN_FILE_BUFFER_SIZE, 0, firstName,
                                    sizeof firstName, &firstNameCut);
    selectionType = pictureType;
    bool moreNames = selectionPos < OPEN_FILE_BUFFER_SIZE && openFileBuffer[selectionPos] != '\0';
    if (!firstNameCut && fileCanBeOpened(firstName)) {
        addSingleFile(mainWindow, pictureType);
    } else if (firstNameCut && !moreNames) {
        showWarning(mainWindow, interfaceText(TEXT_ERROR_READ)); // one path too long to open
    } else {
        progress.mainWindow = mainWindow;
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ADD_PROGRESS), mainWindow,
                        addProgressProc, 0);
    }
}

void addPictures(HWND mainWindow) {
    OPENFILENAMEA dialog;
    memset(&dialog, 0, sizeof dialog);
    openFileBuffer[0] = '\0';
    // The whole record, as the running Windows knows it: its size differs between 32-bit and
    // 64-bit programs, and a size the dialog does not know keeps it from opening.
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = PICTURE_FILTERS;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = openFileBuffer;
    dialog.nMaxFile = OPEN_FILE_BUFFER_SIZE;
    dialog.lpstrTitle = interfaceText(TEXT_OPEN_TITLE);
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY |
                   OFN_OVERWRITEPROMPT;
    if (GetOpenFileNameA(&dialog) != 1) return;
    runAddFlow(mainWindow, static_cast<int>(dialog.nFilterIndex));
}
