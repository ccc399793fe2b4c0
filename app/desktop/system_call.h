// Calls of newer Windows versions than the oldest the program starts on, looked up by name in a
// system DLL the process has loaded: null where this Windows lacks them.
#ifndef MURALTO_SYSTEM_CALL_H
#define MURALTO_SYSTEM_CALL_H

#include <windows.h>

template <typename Call> Call systemCall(const char* module, const char* name) {
    HMODULE loaded = GetModuleHandleA(module);
    return reinterpret_cast<Call>(
        reinterpret_cast<void*>(loaded != nullptr ? GetProcAddress(loaded, name) : nullptr));
}

#endif
