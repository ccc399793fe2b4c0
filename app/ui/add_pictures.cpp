#include "add_pictures.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <string.h>
#include <wchar.h>

#include "app_state.h"
#include "dropped_files.h"
#include "file_probe.h"
#include "import_workers.h"
#include "wallpaper_import.h"
#include "wallpaper_list.h"
#include "interface_texts.h"
#include "resource.h"
#include "unicode_text.h"
#include "wallpaper_table.h"

wchar_t openFileBuffer[OPEN_FILE_BUFFER_SIZE];
wchar_t firstName[SOURCE_PATH_SIZE];

namespace {

const UINT_PTR IMPORT_TIMER = 10;
// While a drop's folders are read, the dialog shows where the walk is this often.
const UINT_PTR WALK_TIMER = 11;
const UINT WALK_SHOW_MS = 100;
// The filters' order is their index, which the import takes as the picture's kind
// (wallpaper_import.h): a new one goes last. The sixth is named in the user's language.
const wchar_t FIXED_FILTERS[] = L"Image(s) Microsoft Bitmap (*.BMP)\0*.BMP\0"
                                L"Image(s) JPEG (*.JPG)\0*.JPG;*.JPEG;*.JPE\0"
                                L"Image(s) TIFF (*.TIFF)\0*.TIF;*.TIFF\0"
                                L"Image(s) PNG (*.PNG)\0*.PNG\0"
                                L"Image(s) WebP (*.WEBP)\0*.WEBP\0";
const wchar_t HEIF_PATTERN[] = L"*.HEIC;*.HEIF;*.AVIF";
const wchar_t HEIF_DEFAULT_NAME[] = L"HEIC, HEIF, AVIF (*.HEIC;*.HEIF;*.AVIF)";
// The fixed filters, the sixth's name (a text holds at most 255 characters) and pattern, and
// the closing terminator.
const int FILTERS_SIZE = sizeof FIXED_FILTERS / sizeof FIXED_FILTERS[0] + 256 +
                         sizeof HEIF_PATTERN / sizeof HEIF_PATTERN[0] + 1;

int selectionPos = 0; // index in openFileBuffer of the next name to read
int selectionType = 0;
bool firstNameCut = false;
bool addFlowRunning = false;  // a drop must not refill openFileBuffer under the flow
bool tableFullWarned = false; // the table's limit is told once a flow, however many it refuses

struct AddProgress {
    int total;
    int done;
    bool busy;      // one of the dialog's message boxes is open: ticks must not import
    bool cancelled; // by a Cancel that came during such a box
    bool tableFull; // the table refused a name: the names after it are refused too
    HWND mainWindow;
};
AddProgress progress;

// Compared as the import would store it: a title cut to the table's field would otherwise be
// added again, and both rows would lead to the first slot of that title. The full title is
// compared: two names that differ only in letters the ANSI code page lacks are two pictures.
bool alreadyInTable(const char* path) {
    char original[TITLE_SIZE], titleUtf8[TITLE_UTF8_SIZE];
    pictureTitle(path, original, titleUtf8);
    return hasTitle(wallpaperTable, titleUtf8);
}

// The folder and a name of a multiple selection as one UTF-8 path; false when it does not fit.
bool joinPath(const wchar_t* folder, const wchar_t* name, char* path, int capacity) {
    wchar_t joined[SOURCE_PATH_SIZE];
    size_t folderLength = wcslen(folder), nameLength = wcslen(name);
    // A drive's root ends in a backslash already; a drop's names are full paths.
    bool separator = folderLength != 0 && folder[folderLength - 1] != L'\\';
    size_t length = folderLength + (separator ? 1 : 0) + nameLength;
    if (length >= SOURCE_PATH_SIZE) return false;
    wmemcpy(joined, folder, folderLength);
    if (separator) joined[folderLength] = L'\\';
    wmemcpy(joined + length - nameLength, name, nameLength);
    joined[length] = L'\0';
    return wideToUtf8(joined, path, capacity);
}

// Imports the picture (a UTF-8 path) and shows its row in the main window's list.
int importAndList(HWND mainWindow, const char* path, int pictureType) {
    int slot = -1;
    int result = importWallpaper(path, pictureType, &slot);
    if (result == IMPORT_OK) addListRow(GetDlgItem(mainWindow, IDC_LIST), slot);
    return result;
}

// A selection of many HEIC photos without their library hears of it once.
bool libraryWarned = false;

void warnImportResult(HWND owner, int result) {
    if (result == IMPORT_NO_LIBRARY && !libraryWarned) {
        showWarningNaming(owner, interfaceText(TEXT_ERROR_HEIF_LIBRARY),
                          missingLibrary(PICTURE_HEIF));
        libraryWarned = true;
    }
    if (result == IMPORT_FAILED) showWarning(owner, interfaceText(TEXT_ERROR_READ));
    if (result == IMPORT_TABLE_FULL && !tableFullWarned) {
        showWarning(owner, interfaceText(TEXT_ERROR_FULL));
        tableFullWarned = true;
    }
}

// The one path chosen: firstName, and path, the same in UTF-8.
void addSingleFile(HWND mainWindow, const char* path, int pictureType) {
    if (alreadyInTable(path)) {
        wchar_t title[MAX_PATH] = L"";
        if (GetFileTitleW(firstName, title, MAX_PATH) != 0) lstrcpynW(title, firstName, MAX_PATH);
        showWarningNaming(mainWindow, interfaceText(TEXT_ERROR_DUPLICATE), title);
        return;
    }
    warnImportResult(mainWindow, importAndList(mainWindow, path, pictureType));
}

// ---- The names read ahead while workers convert their pictures ---------------------------
// Each name of the selection, from its reading to its end, in the selection's order: refused
// at once (its warning waits for its turn), or converted by a worker. The first one is the
// one the dialog shows; it ends when its conversion is finished, as an import ended before.

enum Refusal { NOT_REFUSED, REFUSED_UNREADABLE, REFUSED_DUPLICATE, REFUSED_FULL };

struct PendingName {
    wchar_t name[SOURCE_PATH_SIZE]; // as the dialog shows it
    Refusal refusal;
    ImportJob job; // when not refused
};

const int MAX_PENDING = 2 * MAX_IMPORT_WORKERS;
PendingName pending[MAX_PENDING]; // 700 KB: off the stack; a ring from pendingFirst
int pendingFirst = 0;
int pendingCount = 0;
int pendingLimit = 1; // two per worker: one converting and one waiting its turn
int converting = 0;   // pending names not refused
ImportWorkers workers;
bool workersRunning = false;
bool firstShown = false; // the dialog shows the first name: its turn has come

PendingName& pendingAt(int index) { return pending[(pendingFirst + index) % MAX_PENDING]; }

// A conversion on its way holds its targets from the moment they are chosen.
bool heldByPending(void*, const char* path) {
    for (int i = 0; i < pendingCount; ++i) {
        const PictureConversion& c = pendingAt(i).job.conversion;
        if (pendingAt(i).refusal == NOT_REFUSED &&
            (strcmp(c.filename, path) == 0 || strcmp(c.preview, path) == 0))
            return true;
    }
    return false;
}

bool moreNames() {
    return selectionPos < OPEN_FILE_BUFFER_SIZE && openFileBuffer[selectionPos] != L'\0';
}

// What becomes of the next name, decided as far as it can be now. A name, or a folder and
// name, that does not fit its buffer is not imported: it is reported as unreadable, and no
// buffer is overrun. False when it must wait: the table's free slots may all go to the
// conversions on their way.
bool readNextName() {
    if (!moreNames() || pendingCount >= pendingLimit || progress.tableFull) return false;
    const int freeSlots = MAX_WALLPAPERS - usedCount(wallpaperTable);
    int nextPos = selectionPos;
    PendingName& p = pendingAt(pendingCount);
    bool nameCut = false;
    nextPos = nextSelectedName(openFileBuffer, OPEN_FILE_BUFFER_SIZE, nextPos, p.name,
                               SOURCE_PATH_SIZE, &nameCut);
    PictureConversion& c = p.job.conversion;
    if (nameCut || firstNameCut || !joinPath(firstName, p.name, c.source, sizeof c.source)) {
        p.refusal = REFUSED_UNREADABLE;
    } else if (alreadyInTable(c.source)) {
        p.refusal = REFUSED_DUPLICATE;
    } else if (freeSlots <= converting) {
        if (converting > 0) return false;
        p.refusal = REFUSED_FULL;
    } else {
        // A drop has no filter: each file's kind comes from its first bytes.
        c.pictureType = selectionType == PICTURE_BY_CONTENT ? pictureKind(c.source) : selectionType;
        const HeldTargets held = {heldByPending, nullptr, converting};
        p.refusal = chooseTargets(&c, &held) ? NOT_REFUSED : REFUSED_UNREADABLE;
    }
    selectionPos = nextPos;
    p.job.finished = 0;
    ++pendingCount;
    if (p.refusal != NOT_REFUSED) return true;
    ++converting;
    // A full queue, which the limit above prevents, converts it here; without workers it is
    // converted in its turn (endFirstName).
    if (workersRunning && !handOutConversion(&workers, &p.job)) {
        convertPicture(&c);
        p.job.finished = 1;
    }
    return true;
}

bool firstIsReady() {
    if (pendingCount == 0) return false;
    const PendingName& p = pendingAt(0);
    return p.refusal != NOT_REFUSED || !workersRunning || conversionFinished(&p.job);
}

void setBusyWarning(HWND dialog, void (*warn)(HWND, int), int value) {
    progress.busy = true;
    warn(dialog, value);
    progress.busy = false;
}

void warnNaming(HWND dialog, const wchar_t* name) {
    progress.busy = true;
    showWarningNaming(dialog, interfaceText(TEXT_ERROR_DUPLICATE), name);
    progress.busy = false;
}

// The first name's end, as one import ended before: its slot and row, or its warning. A
// title that came into the table since it was read is a duplicate after all.
void endFirstName(HWND dialog) {
    PendingName& p = pendingAt(0);
    if (p.refusal == NOT_REFUSED) {
        if (workersRunning)
            finishConversion(&workers, &p.job);
        else if (!p.job.finished)
            convertPicture(&p.job.conversion);
        --converting;
    }
    // Off the ring first: a Cancel during its warning finds the rest only.
    pendingFirst = (pendingFirst + 1) % MAX_PENDING;
    --pendingCount;
    firstShown = false;
    if (p.refusal == REFUSED_UNREADABLE) {
        setBusyWarning(dialog, warnImportResult, IMPORT_FAILED);
    } else if (p.refusal == REFUSED_DUPLICATE) {
        warnNaming(dialog, p.name);
    } else if (p.refusal == REFUSED_FULL) {
        progress.tableFull = true;
        setBusyWarning(dialog, warnImportResult, IMPORT_TABLE_FULL);
    } else if (p.job.conversion.converted && alreadyInTable(p.job.conversion.source)) {
        discardConversion(&p.job.conversion);
        warnNaming(dialog, p.name);
    } else {
        int slot = -1;
        int result = takeConversion(&p.job.conversion, &slot);
        if (result == IMPORT_OK)
            addListRow(GetDlgItem(progress.mainWindow, IDC_LIST), slot);
        else
            setBusyWarning(dialog, warnImportResult, result);
    }
    ++progress.done;
    SendDlgItemMessageA(dialog, IDC_ADD_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(progress.done),
                        0);
}

void showFirstName(HWND dialog) {
    if (pendingCount == 0 || firstShown) return;
    SetDlgItemTextW(dialog, IDC_ADD_NAME, pendingAt(0).name);
    firstShown = true;
}

// Every name still pending is dropped: the workers start no more, finish the conversions they
// run, and every file made for one of them is removed.
void dropPending() {
    if (workersRunning) stopImportWorkers(&workers);
    workersRunning = false;
    for (int i = 0; i < pendingCount; ++i) {
        PendingName& p = pendingAt(i);
        if (p.refusal == NOT_REFUSED) discardConversion(&p.job.conversion);
    }
    pendingCount = 0;
    converting = 0;
}

// ---- A drop's folders, read before its pictures are imported -----------------------------
// The walk runs on a thread of its own while the dialog answers and shows where it is; it
// lists the pictures into openFileBuffer, which becomes the selection once the walk is over.

wchar_t droppedPaths[OPEN_FILE_BUFFER_SIZE]; // the paths of the drop itself, which the walk reads
PathList dropped;                            // what the walk lists, in openFileBuffer
bool droppedCut = false;                     // more paths were dropped than droppedPaths holds
DropWalk dropWalk;
bool walking = false;                         // the dialog reads a drop's folders before it imports
bool walkCancelled = false;                   // Cancel came during the walk
wchar_t templateLabel[64], templateFrame[64]; // the dialog's own texts, back for the import
wchar_t shownFolder[SOURCE_PATH_SIZE];
int shownFound = -1;

// Copies the drop's paths; a path too long to open is skipped, and those that no longer fit
// are left out as pictures that do not fit the list are.
void copyDroppedPaths(HDROP drop) {
    int at = 0;
    droppedCut = false;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        int length = static_cast<int>(DragQueryFileW(drop, i, nullptr, 0));
        if (length == 0 || length >= SOURCE_PATH_SIZE) {
            ++dropped.skipped;
            continue;
        }
        if (at + length + 2 > OPEN_FILE_BUFFER_SIZE) {
            droppedCut = true;
            break;
        }
        DragQueryFileW(drop, i, droppedPaths + at, static_cast<UINT>(length) + 1);
        at += length + 1;
    }
    droppedPaths[at] = L'\0';
}

void setDialogText(HWND dialog, int control, const char* text) {
    wchar_t wide[256];
    if (text != nullptr && ansiToWide(text, wide, 256)) SetDlgItemTextW(dialog, control, wide);
}

void showWalk(HWND dialog, const wchar_t* folder, int found) {
    if (wcscmp(folder, shownFolder) != 0) {
        lstrcpynW(shownFolder, folder, SOURCE_PATH_SIZE);
        SetDlgItemTextW(dialog, IDC_ADD_NAME, folder);
    }
    if (found == shownFound) return;
    shownFound = found;
    wchar_t count[16], title[256];
    wsprintfW(count, L"%d", found);
    if (textNaming(interfaceText(TEXT_WALK_FOUND), count, title, 256))
        SetDlgItemTextW(dialog, IDC_ADD_FRAME, title);
}

void startWalk(HWND dialog) {
    GetDlgItemTextW(dialog, IDC_ADD_LABEL, templateLabel, 64);
    GetDlgItemTextW(dialog, IDC_ADD_FRAME, templateFrame, 64);
    setDialogText(dialog, IDC_ADD_LABEL, interfaceText(TEXT_WALK_FOLDER));
    shownFolder[0] = L'\0';
    shownFound = -1;
    SetDlgItemTextW(dialog, IDC_ADD_NAME, L"");
    showWalk(dialog, L"", 0);
    startDropWalk(&dropWalk, droppedPaths, &dropped);
    SetTimer(dialog, WALK_TIMER, WALK_SHOW_MS, nullptr);
}

// Waits for the walk's thread, which Cancel has asked to stop at its next file or folder.
void stopWalk(HWND dialog) {
    KillTimer(dialog, WALK_TIMER);
    endDropWalk(&dropWalk, true);
    walking = false;
    walkCancelled = true;
}

// ---- The add-progress dialog ------------------------------------------------------------

// The selection's first string: one path, or the folder of the names after it.
void startSelection(int pictureType) {
    // A selection that fills the whole buffer has no terminator of its own.
    openFileBuffer[OPEN_FILE_BUFFER_SIZE - 1] = L'\0';
    selectionPos = nextSelectedName(openFileBuffer, OPEN_FILE_BUFFER_SIZE, 0, firstName,
                                    SOURCE_PATH_SIZE, &firstNameCut);
    selectionType = pictureType;
}

void startImports(HWND dialog) {
    wchar_t name[SOURCE_PATH_SIZE];
    for (int pos = selectionPos; pos < OPEN_FILE_BUFFER_SIZE && openFileBuffer[pos] != L'\0';) {
        pos = nextSelectedName(openFileBuffer, OPEN_FILE_BUFFER_SIZE, pos, name, SOURCE_PATH_SIZE);
        ++progress.total;
    }
    SendDlgItemMessageA(dialog, IDC_ADD_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, progress.total));
    pendingFirst = pendingCount = converting = 0;
    firstShown = false;
    const int count = importWorkerCount();
    workersRunning = startImportWorkers(&workers, count);
    pendingLimit = workersRunning ? 2 * workers.threadCount : 1;
    SetTimer(dialog, IMPORT_TIMER, 0, nullptr);
}

void onProgressInit(HWND dialog) {
    progress.busy = false;
    progress.cancelled = false;
    progress.tableFull = false;
    progress.total = 0;
    progress.done = 0;
    if (walking)
        startWalk(dialog);
    else
        startImports(dialog);
}

void endProgress(HWND dialog) {
    KillTimer(dialog, IMPORT_TIMER);
    if (walking) stopWalk(dialog);
    dropPending();
    EndDialog(dialog, 0);
}

// The walk shown where it is; once it is over, its pictures are imported as a selection.
void onWalkTick(HWND dialog) {
    static wchar_t folder[SOURCE_PATH_SIZE];
    int found = 0;
    bool ended = dropWalkStatus(&dropWalk, folder, SOURCE_PATH_SIZE, &found);
    showWalk(dialog, folder, found);
    if (!ended) return;
    KillTimer(dialog, WALK_TIMER);
    endDropWalk(&dropWalk, false);
    walking = false;
    if (dropped.used <= 1) {
        EndDialog(dialog, 0);
        return;
    }
    SetDlgItemTextW(dialog, IDC_ADD_LABEL, templateLabel);
    SetDlgItemTextW(dialog, IDC_ADD_FRAME, templateFrame);
    SetDlgItemTextW(dialog, IDC_ADD_NAME, L"");
    startSelection(PICTURE_BY_CONTENT);
    startImports(dialog);
}

// Cancel stops the reading of names. The name shown ends as its import always has, kept when
// its picture converts, unless it is ending already (Cancel came during its warning); the
// others, the next one too while its turn has not come, are dropped with their files.
void onProgressCancel(HWND dialog) {
    if (!progress.busy && firstShown) endFirstName(dialog);
    progress.cancelled = true;
    endProgress(dialog);
}

// A name's turn comes with a tick, which shows it, and it ends with that tick or a later one:
// one name per tick at most, and between two ticks the dialog answers.
void onProgressTick(HWND dialog, WPARAM timer) {
    if (timer == WALK_TIMER && walking) onWalkTick(dialog);
    if (timer != IMPORT_TIMER || progress.busy || progress.cancelled) return;
    while (readNextName()) {
    }
    // The names read after a refusal for want of room are refused too, and not told.
    if (pendingCount == 0 || progress.tableFull) {
        endProgress(dialog);
        return;
    }
    showFirstName(dialog);
    if (firstIsReady()) endFirstName(dialog);
    // The names read after it are handed out at once, not a tick later.
    while (!progress.cancelled && readNextName()) {
    }
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
        if (LOWORD(wParam) == IDC_ADD_CANCEL) onProgressCancel(dialog);
        return FALSE;
    case WM_CLOSE:
        onProgressCancel(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

void startFlow() {
    addFlowRunning = true;
    libraryWarned = false;
    tableFullWarned = false;
}

void showProgressDialog(HWND mainWindow) {
    progress.mainWindow = mainWindow;
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ADD_PROGRESS), mainWindow, addProgressProc,
                    0);
}

} // namespace

int nextSelectedName(const wchar_t* buffer, int bufferSize, int start, wchar_t* target,
                     int capacity, bool* cut) {
    wmemset(target, L'\0', static_cast<size_t>(capacity));
    int length = 0;
    while (start + length < bufferSize && buffer[start + length] != L'\0') ++length;
    int copied = length < capacity - 1 ? length : capacity - 1;
    wmemcpy(target, buffer + start, static_cast<size_t>(copied));
    if (cut != nullptr) *cut = copied < length;
    int next = start + length + 1;
    return next < bufferSize ? next : bufferSize;
}

void runAddFlow(HWND mainWindow, int pictureType) {
    startFlow();
    startSelection(pictureType);
    bool moreNames = selectionPos < OPEN_FILE_BUFFER_SIZE && openFileBuffer[selectionPos] != L'\0';
    // One path, or the folder of several names.
    static char firstPath[SOURCE_PATH_UTF8_SIZE]; // 12 KB: off the stack
    if (!firstNameCut && wideToUtf8(firstName, firstPath, sizeof firstPath) &&
        sourceCanBeOpened(firstPath)) {
        addSingleFile(mainWindow, firstPath, pictureType);
    } else if (firstNameCut && !moreNames) {
        showWarning(mainWindow, interfaceText(TEXT_ERROR_READ)); // one path too long to open
    } else {
        showProgressDialog(mainWindow);
    }
    addFlowRunning = false;
}

void addDroppedFiles(HWND mainWindow, HDROP drop) {
    // A box of the window is open (the flow's own, the About box): the drop would run under it.
    if (addFlowRunning || !IsWindowEnabled(mainWindow)) {
        DragFinish(drop);
        return;
    }
    // The selection as a drop makes it: an empty first string, then full paths.
    dropped = {openFileBuffer, OPEN_FILE_BUFFER_SIZE, 1, 0, false};
    openFileBuffer[0] = openFileBuffer[1] = L'\0';
    copyDroppedPaths(drop);
    DragFinish(drop);
    startFlow();
    walking = true;
    walkCancelled = false;
    showProgressDialog(mainWindow);
    addFlowRunning = false;
    if (walkCancelled) return; // the user stopped it: what the walk had seen is not told
    if ((dropped.full || droppedCut) && !tableFullWarned)
        showWarning(mainWindow, interfaceText(TEXT_ERROR_FULL));
    if (dropped.skipped > 0) {
        wchar_t skipped[16];
        wsprintfW(skipped, L"%d", dropped.skipped);
        showWarningNaming(mainWindow, interfaceText(TEXT_DROP_SKIPPED), skipped);
    }
}

// The dialog's filter list: pairs of name and pattern, each ending in a null, then one more.
void buildFilters(wchar_t* filters) {
    const int fixed = sizeof FIXED_FILTERS / sizeof FIXED_FILTERS[0] - 1; // the last null is ours
    memcpy(filters, FIXED_FILTERS, fixed * sizeof filters[0]);
    wchar_t* name = filters + fixed;
    const char* text = interfaceText(TEXT_HEIF_FILTER);
    if (text == nullptr || text[0] == '\0' || !ansiToWide(text, name, 256))
        wcscpy(name, HEIF_DEFAULT_NAME);
    wchar_t* pattern = name + wcslen(name) + 1;
    wcscpy(pattern, HEIF_PATTERN);
    pattern[wcslen(pattern) + 1] = L'\0';
}

void addPictures(HWND mainWindow) {
    static wchar_t filters[FILTERS_SIZE];
    buildFilters(filters);
    OPENFILENAMEW dialog;
    memset(&dialog, 0, sizeof dialog);
    openFileBuffer[0] = L'\0';
    wchar_t title[256];
    bool titled = ansiToWide(interfaceText(TEXT_OPEN_TITLE), title, 256);
    // The whole record, as the running Windows knows it: its size differs between 32-bit and
    // 64-bit programs, and a size the dialog does not know keeps it from opening.
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = filters;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = openFileBuffer;
    dialog.nMaxFile = OPEN_FILE_BUFFER_SIZE;
    dialog.lpstrTitle = titled ? title : nullptr;
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY |
                   OFN_OVERWRITEPROMPT;
    if (GetOpenFileNameW(&dialog) != TRUE) {
        // A selection whose names do not fit the buffer comes back as nothing: say so.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            showWarning(mainWindow, interfaceText(TEXT_ERROR_SELECTION));
        return;
    }
    runAddFlow(mainWindow, static_cast<int>(dialog.nFilterIndex));
}
