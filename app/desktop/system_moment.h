// What Windows says of the moment the sequence would change the desktop: a full-screen program
// holds the screen (a game, a film, a presentation), or Windows is saving the battery. Asked
// once a second while the sequence runs, through the two pointers, which tests point at
// readings of their own.
#ifndef MURALTO_SYSTEM_MOMENT_H
#define MURALTO_SYSTEM_MOMENT_H

#include <windows.h>

// The shell's notification state says busy, full-screen Direct3D or presentation mode.
extern bool (*fullScreenProgramRunning)();
// The power status says battery saver (Windows 10 and later; never on earlier systems).
extern bool (*batterySaverOn)();

// The system's own readings, which the pointers start with. The battery saver's is the state
// Windows last told window of (watchBatterySaver): asking for it at every second would read the
// power supplies each time, where Windows has them (and under Wine, from the disk).
bool systemFullScreenProgramRunning();
bool systemBatterySaverOn();

// Reads the battery saver's state once and asks Windows to tell window of its changes, as
// WM_POWERBROADCAST: Windows 10's battery saver and Windows 11's energy saver.
void watchBatterySaver(HWND window);
void stopWatchingBatterySaver();
// WM_POWERBROADCAST's event and data: a PBT_APMPOWERSTATUSCHANGE reads the state again, a
// PBT_POWERSETTINGCHANGE of one of the two settings watched gives it.
void batterySaverBroadcast(WPARAM event, LPARAM data);

#endif
