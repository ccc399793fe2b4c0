// The version of a configuration library older than the store layout the program needs.
#include "kfg.h"

float KFG_getVersFloat() { return 2.49f; }

char* KFG_getVersChar() {
    static char version[] = "KFG Version 2.49";
    return version;
}
