// Bounded waits: every question to the program under test has a deadline.
#ifndef MURALTO_E2E_WAITING_H
#define MURALTO_E2E_WAITING_H

#include <windows.h>

namespace e2e {

// Long enough for a Wine program to start or to react to a message on a loaded machine.
const DWORD kPatience = 5000;

// Polls condition every pollMs until it holds or timeoutMs has passed; the last answer counts.
template <typename Condition>
bool waitUntil(Condition condition, DWORD timeoutMs = kPatience, DWORD pollMs = 20) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(pollMs);
    }
}

// True when condition holds at every poll during durationMs.
template <typename Condition> bool holdsFor(Condition condition, DWORD durationMs) {
    DWORD start = GetTickCount();
    do {
        if (!condition()) return false;
        Sleep(20);
    } while (GetTickCount() - start < durationMs);
    return condition();
}

} // namespace e2e

#endif
