// Random order without repeats: each wallpaper is shown once in a round before any is shown
// again. A slot's shownInRound flag says it has been shown in the current round, so an import
// (a cleared slot) joins the round and a delete leaves it with its slot.
#ifndef MURALTO_RANDOM_ROUND_H
#define MURALTO_RANDOM_ROUND_H

#include <stdint.h>

#include "wallpaper_table.h"

// The slots a choice runs over: the round's own (the used slots of one shape, say), and among
// them those not to be taken now (shown on another monitor). Rounds of different groups go on
// side by side.
struct SlotGroup {
    uint8_t inGroup[MAX_WALLPAPERS];
    uint8_t passOver[MAX_WALLPAPERS];
};

// The next wallpaper after current (the slot on the desktop), drawn with tableRandom among the
// used slots not yet shown in this round, current excepted, and flagged as shown. When none is
// left, a new round starts: every flag is cleared and the draw is among all used slots but
// current. The only used slot when there is one; 0 when none.
int nextInRound(int current, WallpaperEntry* table);

// The same within a group: the draw is among its used slots not passed over, and a new round
// clears only its own flags. current when it is the only slot the group offers; -1 when it
// offers none.
int nextInRound(int current, WallpaperEntry* table, const SlotGroup& group);

// Table order within a group, for the sequence in order: the lowest slot above from that the
// group offers, else the lowest one (from itself, perhaps); -1 when it offers none.
int nextInOrder(int from, const WallpaperEntry* table, const SlotGroup& group);

#endif
