#include "platform/cocoa/NSTimer.h"

#include <cmath>

#include "platform/cocoa/NSRunLoop.h"

namespace
{

// The platform's floor for an interval of zero or less.
constexpr NSTimeInterval kMinimumInterval = 0.0001;

} // namespace

NSTimer* NSTimer::timerWithTimeInterval(NSTimeInterval interval, NSObject* target, NSTimerSEL selector,
                                        NSObject* userInfo, bool repeats)
{
  if (!target || !selector)
    NSFatal("NSTimer timerWithTimeInterval: nil target or selector");
  if (!(interval > 0))
    interval = kMinimumInterval;
  auto* t = new NSTimer;
  t->mInterval = interval;
  t->mFireDate = NSRunLoop::currentRunLoop()->now() + interval;
  t->mTarget = target->retain();
  t->mSelector = selector;
  t->mUserInfo = userInfo ? userInfo->retain() : nullptr;
  t->mRepeats = repeats;
  return t;
}

NSTimer* NSTimer::scheduledTimerWithTimeInterval(NSTimeInterval interval, NSObject* target, NSTimerSEL selector,
                                                 NSObject* userInfo, bool repeats)
{
  NSTimer* t = timerWithTimeInterval(interval, target, selector, userInfo, repeats);
  NSRunLoop::currentRunLoop()->addTimer(t, NSDefaultRunLoopMode);
  t->release();
  return t;
}

NSTimer::~NSTimer()
{
  NSRelease(mTarget);
  NSRelease(mUserInfo);
}

void NSTimer::fire()
{
  if (!mValid)
    return;
  // The callback may invalidate this timer and so free it and its target.
  retain();
  NSObject* target = mTarget;
  target->retain();
  (target->*mSelector)(this);
  target->release();
  if (!mRepeats)
    invalidate();
  release();
}

void NSTimer::invalidate()
{
  if (!mValid)
    return;
  mValid = false;
  retain();
  if (mRunLoop)
    mRunLoop->removeTimer(this);
  NSObject* target = mTarget;
  NSObject* info = mUserInfo;
  mTarget = nullptr;
  mUserInfo = nullptr;
  NSRelease(target);
  NSRelease(info);
  release();
}
