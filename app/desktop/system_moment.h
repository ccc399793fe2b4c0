// What Windows says of the moment the sequence would change the desktop: a full-screen program
// holds the screen (a game, a film, a presentation), or Windows is saving the battery. Read
// once a second while the sequence runs, through the two pointers, which tests point at
// readings of their own.
#ifndef MURALTO_SYSTEM_MOMENT_H
#define MURALTO_SYSTEM_MOMENT_H

// The shell's notification state says busy, full-screen Direct3D or presentation mode.
extern bool (*fullScreenProgramRunning)();
// The power status says battery saver (Windows 10 and later; never on earlier systems).
extern bool (*batterySaverOn)();

// The system's own readings, which the pointers start with.
bool systemFullScreenProgramRunning();
bool systemBatterySaverOn();

#endif
