#include "random_round.h"

namespace {

bool candidate(const WallpaperEntry* table, int slot, int current) {
    return table[slot].used && !table[slot].shownInRound && slot != current;
}

int countCandidates(const WallpaperEntry* table, int current) {
    int count = 0;
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot) count += candidate(table, slot, current);
    return count;
}

int candidateOfRank(const WallpaperEntry* table, int current, int rank) {
    for (int slot = 0; slot < MAX_WALLPAPERS; ++slot)
        if (candidate(table, slot, current) && rank-- == 0) return slot;
    return 0;
}

} // namespace

int nextInRound(int current, WallpaperEntry* table) {
    if (table == nullptr) return 0;
    int count = countCandidates(table, current);
    if (count == 0) {
        // The round is over (what is left of it is the wallpaper on display, shown just now).
        for (int slot = 0; slot < MAX_WALLPAPERS; ++slot) table[slot].shownInRound = 0;
        count = countCandidates(table, current);
    }
    // A table of one wallpaper: it stays, and the round it makes is always complete.
    if (count == 0)
        return current >= 0 && current < MAX_WALLPAPERS && table[current].used ? current : 0;
    int slot = candidateOfRank(table, current, tableRandom.next() % count);
    table[slot].shownInRound = 1;
    return slot;
}
