#include "random_round.h"

namespace {

// The group of every used slot, none passed over.
const SlotGroup& everySlot() {
    static const SlotGroup all = [] {
        SlotGroup group = {};
        for (uint8_t& in : group.inGroup) in = 1;
        return group;
    }();
    return all;
}

bool offered(const WallpaperEntry* table, const SlotGroup& group, int slot) {
    return table[slot].used && group.inGroup[slot] && !group.passOver[slot];
}

bool candidate(const WallpaperEntry* table, const SlotGroup& group, int slot, int current) {
    return offered(table, group, slot) && !table[slot].shownInRound && slot != current;
}

int countCandidates(const WallpaperEntry* table, const SlotGroup& group, int current) {
    int count = 0;
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
        count += candidate(table, group, slot, current);
    return count;
}

int candidateOfRank(const WallpaperEntry* table, const SlotGroup& group, int current, int rank) {
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
        if (candidate(table, group, slot, current) && rank-- == 0) return slot;
    return 0;
}

} // namespace

int nextInRound(int current, WallpaperEntry* table) {
    if (table == nullptr) return 0;
    int slot = nextInRound(current, table, everySlot());
    return slot < 0 ? 0 : slot;
}

int nextInRound(int current, WallpaperEntry* table, const SlotGroup& group) {
    if (table == nullptr) return -1;
    int count = countCandidates(table, group, current);
    if (count == 0) {
        // The round is over (what is left of it is the wallpaper on display, shown just now, or
        // pictures other monitors show).
        for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
            if (group.inGroup[slot]) table[slot].shownInRound = 0;
        count = countCandidates(table, group, current);
    }
    // A group of one wallpaper: it stays, and the round it makes is always complete.
    if (count == 0) {
        bool stays = current >= 0 && current < MAX_WALLPAPERS && offered(table, group, current);
        return stays ? current : -1;
    }
    int slot = candidateOfRank(table, group, current, tableRandom.next() % count);
    table[slot].shownInRound = 1;
    return slot;
}

int nextInOrder(int from, const WallpaperEntry* table, const SlotGroup& group) {
    if (table == nullptr) return -1;
    for (int slot = from + 1; slot < MAX_WALLPAPERS; ++slot)
        if (offered(table, group, slot)) return slot;
    for (int slot = 0; slot <= from && slot < MAX_WALLPAPERS; ++slot)
        if (offered(table, group, slot)) return slot;
    return -1;
}
