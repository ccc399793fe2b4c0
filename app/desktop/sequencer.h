// Changing the desktop wallpaper in turn while the window is hidden in the notification area.
#ifndef MURALTO_SEQUENCER_H
#define MURALTO_SEQUENCER_H

#include <stdint.h>

// Ticks counted since the last change; never saved. Owner: sequencer.
extern int32_t secondsShown;

// Why the sequence counts no second: the user's pause, one of the pauses of its own
// (pauseForFullScreen, pauseOnBatterySaver) as the last tick found the system (system_moment.h),
// or no picture whose moment includes the time of the last tick (moment_now.h). A pause that
// came from a wallpaper chosen elsewhere (desktopShowsAnotherPicture) is told apart.
enum SequenceHold {
    SEQUENCE_RUNS,
    HELD_PAUSED,
    HELD_FOR_OTHER_WALLPAPER,
    HELD_FULL_SCREEN,
    HELD_BATTERY_SAVER,
    HELD_NO_PICTURE_NOW
};
SequenceHold sequenceHold();

// Whether the desktop's wallpaper, as Windows reports it, is another than the one the program
// shows (the picture on display, or the composed desktop with several monitors): the user chose
// one in Windows' own settings, or another program did.
bool desktopShowsAnotherPicture();

// The slot on display (the primary monitor's with several); -1 for none.
int displayedSlot();

// One second of the sequence timer. While hiddenInTray, not paused, not held by a pause of its
// own and the table is not empty: a wallpaper whose showTime is n stays for n + 1 ticks (0 or
// less: a change at every tick), then the next one whose moment includes now, in slot order or
// at random without repeats (random_round.h), goes on the desktop in its own mode. When the
// moment of the one on display is over, the change comes at once; when no picture's moment
// includes now, the one on display stays. After "Previous wallpaper" the next
// one is the picture it went back from (shown_history.h), until the sequence is back where it
// stood.
void sequenceTick();

// "Next wallpaper": the change the sequencer would make at the end of the time, made now, and
// the time starts afresh. Paused or not, hidden or not; nothing when the table is empty.
void changeWallpaperNow();

// "Previous wallpaper": the picture shown before the one on display goes back on the desktop
// (on every monitor, each its own), its time starting afresh; nothing when there is none. The
// random round does not count it as shown again.
void previousWallpaper();

// The picture on display put on the desktop again as it is, composed desktop included, when
// Windows may have lost it (a resume, an unlock, Explorer restarted): its time goes on. Nothing
// while the sequencer does not run (window shown, paused, empty table).
void applyShownAgain();

// The session ends: when startWall is set and the sequencer is not paused, the next wallpaper
// is written into the desktop settings only, so that Windows shows it at the next log-on;
// lastWall becomes that slot.
void sessionEndChange();

#endif
