// One running copy per session: the program lives hidden in the notification area and starts
// from the Start menu and at log-on, so a second start is easy. A second copy would load the
// configuration file on disk and remove, as stale, the pictures that the first one has added and
// not saved yet; instead it brings the first one's window forward and ends.
#ifndef MURALTO_RUNNING_COPY_H
#define MURALTO_RUNNING_COPY_H

// True when no other copy runs in this session: this process is now the one, until it ends.
// Otherwise shows the running copy's main window as a click on its icon does (once that window
// exists, waiting a few seconds for it at most) and returns false: the caller ends at once.
// Touches no file.
bool becomeTheRunningCopy();

#endif
