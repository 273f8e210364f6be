#pragma once
// One run loop per thread, with the timers added to it. A stand-in run
// loop never waits: runMode fires what is due and returns. Its clock is
// the system's monotonic clock, or a virtual one that only moves when the
// loop runs, so tests step through time exactly.

#include <vector>

#include "platform/cocoa/NSObject.h"

class NSTimer;

enum NSRunLoopMode : int
{
  NSDefaultRunLoopMode,
  NSEventTrackingRunLoopMode,
  NSModalPanelRunLoopMode,
  // For adding a timer only: it then fires in each of the modes above.
  NSRunLoopCommonModes,
};
constexpr NSRunLoopMode kCFRunLoopCommonModes = NSRunLoopCommonModes;

class NSRunLoop
{
public:
  // This thread's run loop, made on first use and freed with the thread.
  static NSRunLoop* currentRunLoop();

  // Schedules a valid timer in mode (again in another mode adds that mode).
  // The loop holds a reference until the timer is invalidated.
  void addTimer(NSTimer* timer, NSRunLoopMode mode);

  // Seconds on this loop's clock.
  NSTimeInterval now() const;
  // Switches to a virtual clock standing at start. Timers keep their dates.
  void useVirtualClock(NSTimeInterval start);
  void useSystemClock();
  bool usesVirtualClock() const { return mVirtual; }

  // Fires the timers of mode due up to limitDate, earliest first (equal
  // dates in the order they were scheduled). On the virtual clock, time
  // steps to each fire date as its timer fires and ends at limitDate (if
  // later); on the system clock, nothing past the present fires and the
  // call never waits. Returns how many timers fired. A common mode aborts.
  int runMode(NSRunLoopMode mode, NSTimeInterval limitDate);
  // runMode in the default mode up to now + seconds.
  int runFor(NSTimeInterval seconds);
  // Timers scheduled and valid.
  int timerCount() const { return int(mEntries.size()); }

  ~NSRunLoop();

private:
  friend class NSTimer;
  struct Entry
  {
    NSTimer* timer; // retained
    unsigned modes; // bit per mode
    unsigned long order;
  };
  NSRunLoop() = default;
  void removeTimer(NSTimer* timer);
  Entry* nextDue(unsigned modeBit, NSTimeInterval limit);

  std::vector<Entry> mEntries;
  unsigned long mNextOrder = 0;
  bool mVirtual = false;
  NSTimeInterval mVirtualNow = 0;
};
