// Which physical monitor a monitor is, so that its picture and count stay with it when monitors
// come and go or another one becomes the primary.
#ifndef MURALTO_MONITOR_IDENTITY_H
#define MURALTO_MONITOR_IDENTITY_H

enum { MONITOR_IDENTITY_SIZE = 12 };

// Eight hexadecimal digits, a checksum of the monitor's device interface name (short enough for
// sixteen of them to fit one settings value), or "@" and its place in the list when the system
// names none. Empty: a monitor known by its place alone, as files of earlier versions give them.
struct MonitorIdentity {
    char text[MONITOR_IDENTITY_SIZE];
};

// The identity of the monitor whose device interface name is name, case aside (the system
// writes the same name in either case); an empty one when the name is null or empty.
MonitorIdentity identityOfInterface(const char* name);
MonitorIdentity identityOfPlace(int place);

// Whether two identities name one monitor: an empty one names none.
bool sameMonitor(const MonitorIdentity& a, const MonitorIdentity& b);

// An identity as a settings file writes it; an empty one for anything else.
MonitorIdentity readIdentity(const char* text);

#endif
