#pragma once
// The stand-ins' virtual clock: timers fire only when a test or host moves
// the clock forward, never on their own, so timed behaviour is exact and
// repeatable. Time is kept in whole nanoseconds so that intervals such as
// 2/30 s add up without drift. Main thread only.

#include <cstdint>

typedef uint64_t VirtualClockTimer; // 0 never names a timer
typedef void (*VirtualClockProc)(void* user);

// Seconds since the process started its clock (0 at first use).
double virtualClockNow();

// A timer that fires first delay seconds from now (at once when 0, never
// while delay is negative), then every interval seconds (once when interval
// is 0 or less). Aborts for a null proc.
VirtualClockTimer virtualClockSchedule(double delay, double interval, VirtualClockProc proc, void* user);
// Moves the next firing to delay seconds from now (never when negative);
// later firings follow it at the timer's interval.
void virtualClockReschedule(VirtualClockTimer timer, double delay);
// Aborts for a timer that is not scheduled (never was, or already cancelled).
void virtualClockCancel(VirtualClockTimer timer);
bool virtualClockIsScheduled(VirtualClockTimer timer);

// Moves the clock forward by seconds (0 fires what is due now), firing
// every due timer in time order, ties in the order they were scheduled,
// with the clock reading each firing's time while its proc runs. Procs may
// schedule and cancel timers, themselves included. Returns the number of
// firings. Aborts for a negative or non-finite step, or when called from
// inside a proc.
int virtualClockAdvance(double seconds);
