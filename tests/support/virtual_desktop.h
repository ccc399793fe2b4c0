// Running a driver on a Wine virtual desktop of its own. The notification area exists only
// inside a virtual desktop (on a bare X display Shell_NotifyIconA fails), so a driver starts a
// second copy of itself on a desktop named "muralto" and hands back that copy's output and exit
// code. Wine turns a new desktop into a virtual desktop, with a task bar and its notification
// area, when HKCU\Software\Wine\Explorer\Desktops names a size for it. Programs the second copy
// starts inherit that desktop, so the driver sees their windows and tray icons.
#ifndef MURALTO_VIRTUAL_DESKTOP_H
#define MURALTO_VIRTUAL_DESKTOP_H

#include <initializer_list>
#include <string>

#include "options.h"

namespace e2e {

// True in the copy that runs on the virtual desktop.
bool insideVirtualDesktop(int argc, char** argv);
// Starts the copy on the virtual desktop, of size "<width>x<height>", and returns its exit code;
// a copy that runs longer than wholeRunLimit milliseconds is stopped and fails. who prefixes the
// messages.
int runInsideVirtualDesktop(const char* who, unsigned long wholeRunLimit,
                            const char* size = "1024x768");
// Waits, bounded, for the desktop's task bar, which comes up with its first window.
bool waitForTaskBar();

// A driver of the real program, as its main() runs it.
struct Driver {
    const char* who;             // prefixes the messages
    unsigned long wholeRunLimit; // milliseconds, below the limit of whatever runs the driver
    const char* usage;           // the options it takes, shown when one is missing
    const char* desktopSize;     // "<width>x<height>"
};
// The whole of a driver's main(): starts the copy on the virtual desktop; in that copy reads the
// required options, waits for the task bar, makes the screenshot folder when there is one and
// runs the tests. Returns the exit code.
int runDriver(int argc, char** argv, const Driver& driver,
              std::initializer_list<std::string Options::*> required);

} // namespace e2e

#endif
