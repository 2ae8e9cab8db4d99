#pragma once
// The process clock. Everything that schedules work (run-loop timers, delayed dispatch
// blocks, animations) reads time from sim::now(), a monotonic count of seconds, and
// NSDate reads sim::wallTime(), seconds since 1970.
//
// Running processes use the real clock. Tests and the device's scripted mode switch the
// process to the virtual clock, on which time stands still until someone advances it:
// advanceVirtualClock(seconds) walks the main run loop from one due time to the next,
// and at each one sets the clock to exactly that time and runs what is due (timers in
// order of due time, ties in the order they were scheduled, then whatever that work
// queued for the same instant). Nothing sleeps, so a scripted minute of animations and
// timers takes microseconds and runs the same way every time. Wall time moves in
// lockstep with the virtual clock from a fixed start, so formatted dates are
// reproducible too.
//
// Choose the clock before scheduling anything: fire times are kept in the clock's own
// seconds and are not converted when the clock changes.

namespace sim {

// 2016-03-01 10:00:00 UTC: the wall time at which a virtual clock starts unless the
// caller gives another.
inline constexpr double kVirtualWallStart = 1456826400.0;

// Seconds on the process clock (monotonic; real or virtual).
double now();

// Seconds since 1970-01-01 00:00:00 UTC (real, or moving with the virtual clock).
double wallTime();

// Switches the process to a virtual clock that reads `startSeconds` and whose wall time
// reads `wallStartSeconds` at that moment. Calling it again restarts the virtual clock.
void useVirtualClock(double startSeconds = 0, double wallStartSeconds = kVirtualWallStart);

// Switches the process back to the real clock.
void useRealClock();

bool isVirtualClock();

// Lets `seconds` pass on the virtual clock, running on the calling (main) thread all the
// work of the main run loop that falls due meanwhile, each piece at its own due time,
// in the mode the main loop is running in (the default mode when it is not running).
// Advancing is time passing, not a run of the loop: stop() inside it ends the run
// that encloses it, if any, and the clock still reaches its target. Nested runs inside
// the work may take the clock further than the target; it never goes back.
// Stops loudly on the real clock, off the main thread or for negative seconds.
// (Implemented with the run loop, which owns the due work.)
void advanceVirtualClock(double seconds);

// The run loop's step on the virtual clock: moves it forward to `seconds` without
// running anything (a time in the past leaves it unchanged). Everyone else advances.
void moveVirtualClockTo(double seconds);

} // namespace sim
