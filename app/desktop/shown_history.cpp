#include "shown_history.h"

#include <string.h>

ShownHistory shownHistories[MONITOR_CAPACITY];

namespace {

bool onDisplay(const ShownHistory& history, int slot) {
    return history.count > 0 && history.slots[history.at] == slot;
}

void forgetIn(ShownHistory* history, int slot) {
    int kept = 0, at = 0;
    for (int i = 0; i < history->count; ++i) {
        const int entry = history->slots[i];
        // Two entries side by side once the picture between them is gone are one.
        if (entry == slot || (kept > 0 && history->slots[kept - 1] == entry)) continue;
        if (i <= history->at) at = kept;
        history->slots[kept++] = entry;
    }
    history->count = kept;
    history->at = kept > 0 ? (at < kept ? at : kept - 1) : 0;
}

} // namespace

void recordShown(ShownHistory* history, int slot) {
    if (onDisplay(*history, slot)) return;
    history->count = history->count > 0 ? history->at + 1 : 0;
    if (history->count == HISTORY_CAPACITY) {
        memmove(history->slots, history->slots + 1,
                sizeof history->slots[0] * (HISTORY_CAPACITY - 1));
        --history->count;
    }
    history->slots[history->count] = slot;
    history->at = history->count++;
}

int stepBack(ShownHistory* history, int current) {
    recordShown(history, current);
    if (history->at == 0) return -1;
    return history->slots[--history->at];
}

int stepForward(ShownHistory* history, int current) {
    if (!onDisplay(*history, current) || history->at + 1 >= history->count) return -1;
    return history->slots[++history->at];
}

int entryOnDisplay(const ShownHistory& history) {
    return history.count > 0 ? history.slots[history.at] : -1;
}

void forgetShown(int slot) {
    for (ShownHistory& history : shownHistories) forgetIn(&history, slot);
}

void clearShownHistories() { memset(shownHistories, 0, sizeof shownHistories); }
