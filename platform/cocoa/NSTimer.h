#pragma once
// Timers. A timer holds its target from creation until it is invalidated;
// a run loop it is added to holds the timer until then. A repeating timer
// fires every interval from its scheduled dates (a late one fires once and
// skips the dates it missed); a one-shot timer invalidates itself after
// firing. A timer may be invalidated from anywhere, its own callback
// included; an invalidated timer never fires again.

#include "platform/cocoa/NSObject.h"

class NSTimer;

// The message a timer sends: a member function of the target's class,
// taking the timer. Made with NSTimerSelector(&Class::method).
typedef void (NSObject::*NSTimerSEL)(NSTimer*);
template <class T>
NSTimerSEL NSTimerSelector(void (T::*method)(NSTimer*))
{
  return static_cast<NSTimerSEL>(method);
}

class NSTimer : public NSObject
{
public:
  // A timer first due one interval from now on this thread's run loop's
  // clock, not yet scheduled. An interval of 0 or less (or not a number)
  // becomes 0.1 ms, as on the platform. A nil target or selector aborts.
  // The caller owns the reference; userInfo is retained when non-null.
  static NSTimer* timerWithTimeInterval(NSTimeInterval interval, NSObject* target, NSTimerSEL selector,
                                        NSObject* userInfo, bool repeats);
  // As above, and added to this thread's run loop in the default mode;
  // the reference returned is lent (the run loop holds the timer).
  static NSTimer* scheduledTimerWithTimeInterval(NSTimeInterval interval, NSObject* target, NSTimerSEL selector,
                                                 NSObject* userInfo, bool repeats);

  // Sends the message now (a valid timer only); a one-shot timer is then
  // invalidated. The schedule is not changed.
  void fire();
  // Stops the timer for good and lets go of its target, user info and run
  // loop. Nothing happens a second time.
  void invalidate();
  bool isValid() const { return mValid; }
  NSTimeInterval timeInterval() const { return mInterval; }
  NSTimeInterval fireDate() const { return mFireDate; }
  NSObject* userInfo() const { return mUserInfo; }

protected:
  ~NSTimer() override;

private:
  friend class NSRunLoop;
  NSTimer() = default;

  NSTimeInterval mInterval = 0;
  NSTimeInterval mFireDate = 0;
  NSObject* mTarget = nullptr;
  NSTimerSEL mSelector = nullptr;
  NSObject* mUserInfo = nullptr;
  bool mRepeats = false;
  bool mValid = true;
  class NSRunLoop* mRunLoop = nullptr; // the loop holding it, while scheduled
};
