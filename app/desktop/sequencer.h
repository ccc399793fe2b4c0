// Changing the desktop wallpaper in turn while the window is hidden in the notification area.
#ifndef MURALTO_SEQUENCER_H
#define MURALTO_SEQUENCER_H

#include <stdint.h>

// Ticks counted since the last change; never saved. Owner: sequencer.
extern int32_t secondsShown;

// One second of the sequence timer. While hiddenInTray, not paused and the table is not empty:
// a wallpaper whose showTime is n stays for n + 1 ticks (0 or less: a change at every tick),
// then the next one, in slot order or at random without repeats (random_round.h), goes on the
// desktop in its own mode.
void sequenceTick();

// "Next wallpaper": the change the sequencer would make at the end of the time, made now, and
// the time starts afresh. Paused or not, hidden or not; nothing when the table is empty.
void changeWallpaperNow();

// The picture on display put on the desktop again as it is, composed desktop included, when
// Windows may have lost it (a resume, an unlock, Explorer restarted): its time goes on. Nothing
// while the sequencer does not run (window shown, paused, empty table).
void applyShownAgain();

// The session ends: when startWall is set and the sequencer is not paused, the next wallpaper
// is written into the desktop settings only, so that Windows shows it at the next log-on;
// lastWall becomes that slot.
void sessionEndChange();

#endif
