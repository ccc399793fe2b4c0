#include "monitor_identity.h"

#include <stdint.h>
#include <string.h>

#include "bounded_text.h"

MonitorIdentity identityOfInterface(const char* name) {
    MonitorIdentity identity = {};
    if (name == nullptr || name[0] == 0) return identity;
    // FNV-1a: a few monitors never meet a collision, and one would only cost a picture.
    uint32_t hash = 2166136261u;
    for (const char* c = name; *c != 0; ++c) {
        char lower = *c >= 'A' && *c <= 'Z' ? static_cast<char>(*c - 'A' + 'a') : *c;
        hash = (hash ^ static_cast<uint8_t>(lower)) * 16777619u;
    }
    formatText(identity.text, sizeof identity.text, "%08x", static_cast<unsigned>(hash));
    return identity;
}

MonitorIdentity identityOfPlace(int place) {
    MonitorIdentity identity;
    formatText(identity.text, sizeof identity.text, "@%d", place);
    return identity;
}

bool sameMonitor(const MonitorIdentity& a, const MonitorIdentity& b) {
    return a.text[0] != 0 && strcmp(a.text, b.text) == 0;
}

MonitorIdentity readIdentity(const char* text) {
    MonitorIdentity identity = {};
    size_t length = strlen(text);
    bool valid = false;
    if (length == 8) {
        valid = true;
        for (size_t i = 0; i < length; ++i)
            valid &= (text[i] >= '0' && text[i] <= '9') || (text[i] >= 'a' && text[i] <= 'f');
    } else if (text[0] == '@' && text[1] >= '0' && text[1] <= '9') {
        // Only the form identityOfPlace writes.
        valid = strcmp(identityOfPlace(parseDecimal(text + 1)).text, text) == 0;
    }
    if (valid) copyText(identity.text, sizeof identity.text, text);
    return identity;
}
