// The one clock behind GetTickCount, Sleep, worker-thread waits, timers and
// message times. Users get the system's monotonic clock; tests can switch to
// stepped time, which moves only when told, so everything that reads the
// clock moves together and no test waits on real time.
#pragma once

#include "platform/core/Types.h"

#include <functional>

// Milliseconds of the clock; wraps after 49.7 days.
DWORD ClockMilliseconds();
bool IsClockStepped();
// Stepped time starts at the present real time and stands still until
// AdvanceClock moves it; switching back returns to real time.
void UseSteppedClock(bool stepped);
void AdvanceClock(DWORD milliseconds);
// Called, outside the clock's own lock, each time stepped time moves, so that
// a thread waiting for a time of the stepped clock looks at it again.
void AddClockListener(std::function<void()> listener);
// True when QUORVANE_NO_PAUSES is set to anything but "0" (read once):
// benchmarks use it to turn the program's fixed pauses off.
bool PausesDisabled();
