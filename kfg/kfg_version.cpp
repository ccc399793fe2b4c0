// The library's version, which the program checks before it trusts the store's layout.
#include "kfg.h"

float KFG_getVersFloat() { return 2.5f; }

char* KFG_getVersChar() {
    static char version[] = "KFG Version 2.50";
    return version;
}
