#include "kept_settings.h"

#include "app_state.h"
#include "interface_texts.h"
#include "main_window.h"
#include "settings.h"
#include "wallpaper_table.h"

namespace {

const UINT GATHER_MS = 2000;

bool unsaved = false;
bool failureTold = false; // a full disk would otherwise bring a box at every change
int saves = 0;

void save(HWND window) {
    KillTimer(window, SAVE_TIMER);
    ++saves;
    if (saveSettings()) {
        unsaved = false;
        failureTold = false;
        return;
    }
    unsaved = true;
    if (!failureTold) showWarning(window, interfaceText(TEXT_ERROR_SAVE));
    failureTold = true;
}

} // namespace

void saveNow(HWND window) { save(window); }

void saveSoon(HWND window) {
    unsaved = true;
    SetTimer(window, SAVE_TIMER, GATHER_MS, nullptr);
}

void onSaveTimer(HWND window) {
    if (unsaved) save(window);
    KillTimer(window, SAVE_TIMER);
}

void saveAtQuit(HWND window) {
    KillTimer(window, SAVE_TIMER);
    if (!unsaved && wallpaperCount <= 0) return; // nothing ever changed: no file is made
    failureTold = false;
    save(window);
}

int savesMade() { return saves; }
