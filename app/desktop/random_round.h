// Random order without repeats: each wallpaper is shown once in a round before any is shown
// again. A slot's shownInRound flag says it has been shown in the current round, so an import
// (a cleared slot) joins the round and a delete leaves it with its slot.
#ifndef MURALTO_RANDOM_ROUND_H
#define MURALTO_RANDOM_ROUND_H

#include "wallpaper_table.h"

// The next wallpaper after current (the slot on the desktop), drawn with tableRandom among the
// used slots not yet shown in this round, current excepted, and flagged as shown. When none is
// left, a new round starts: every flag is cleared and the draw is among all used slots but
// current. The only used slot when there is one; 0 when none.
int nextInRound(int current, WallpaperEntry* table);

#endif
