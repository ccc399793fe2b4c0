// "Start with Windows": the user's own Run key starts Muralto at log-on, for this user alone.
#ifndef MURALTO_START_WITH_WINDOWS_H
#define MURALTO_START_WITH_WINDOWS_H

// Whether the Run key of the current user has Muralto's value.
bool startsWithWindows();
// Writes the value (this program's path, quoted) or removes it; false when the key refused.
bool setStartWithWindows(bool on);

#endif
