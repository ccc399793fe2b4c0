// The pictures each monitor has shown, newest last, so that "Previous wallpaper" can go back
// through them and "Next" come forward again before the sequence goes on. Kept for the run
// only; a deleted picture drops out.
#ifndef MURALTO_SHOWN_HISTORY_H
#define MURALTO_SHOWN_HISTORY_H

#include <stdint.h>

#include "monitor_shows.h"

// The last 50 pictures before the one on display are remembered, that one too.
enum { HISTORY_BACK = 50, HISTORY_CAPACITY = HISTORY_BACK + 1 };

struct ShownHistory {
    int32_t slots[HISTORY_CAPACITY]; // oldest first
    int32_t count;
    int32_t at; // the entry on display; entries after it are those Previous went back over
};

// One per monitor, the primary first; owner: the sequencer.
extern ShownHistory shownHistories[MONITOR_CAPACITY];

// slot goes on display as the sequence's next picture: what Previous went back over is
// forgotten, and the oldest entry gives way when the history is full. Nothing changes when
// slot is already the entry on display.
void recordShown(ShownHistory* history, int slot);

// The picture before current (the one on display, recorded first if it is not), which becomes
// the entry on display; -1 when there is none.
int stepBack(ShownHistory* history, int current);

// The picture Previous went back from, when current is the entry on display and there is one;
// -1 otherwise, and the sequence goes on.
int stepForward(ShownHistory* history, int current);

// The entry on display, or the nearest one left after a delete; -1 for an empty history.
int entryOnDisplay(const ShownHistory& history);

// A deleted picture leaves every history; the entry on display stays the nearest one.
void forgetShown(int slot);

// Every history empty: a new table, or a table emptied.
void clearShownHistories();

#endif
