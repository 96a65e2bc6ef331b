#pragma once
#include <QtGlobal>

// The time that an instant dropped on the time grid snaps to: the nearest
// multiple of `gridMinutes` within its local hour, seconds dropped.
// Snapping applies when the setting is on and Alt is up, or the setting is
// off and Alt is down (Alt inverts the setting); otherwise, or for a grid
// that is not positive, `t` is returned unchanged. A minute that rounds up
// to 60 moves to the next hour, except at 23 h, where it stays at 23:59 so
// that a time never snaps into the next day.
//
// The minutes are counted within the instant's own hour, not rebuilt from
// the wall clock, so on the night the clocks go back an instant of the
// repeated hour snaps within its own pass.
qint64 SnapTime(qint64 t, bool snapSetting, int gridMinutes, bool altDown);
