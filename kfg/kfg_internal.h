// Helpers shared by the file and the store halves of the library.
#ifndef MURALTO_KFG_INTERNAL_H
#define MURALTO_KFG_INTERNAL_H

#include "kfg.h"

namespace kfg {

// Every field and every byte of every slot set to zero: the empty store.
void resetStore(_KFGINFOFILE* store);

// True when text (NUL-terminated) has at most KFG_TEXT_SIZE - 1 characters.
bool fitsField(const char* text);

// Copies text into a KFG_TEXT_SIZE field, cut to the field, always terminated, rest zeroed.
void setField(char* field, const char* text);

} // namespace kfg

#endif
