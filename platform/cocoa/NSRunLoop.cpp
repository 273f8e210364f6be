#include "platform/cocoa/NSRunLoop.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>

#include "platform/cocoa/NSTimer.h"

namespace
{

thread_local std::unique_ptr<NSRunLoop> tRunLoop;

unsigned modeBits(NSRunLoopMode mode)
{
  return mode == NSRunLoopCommonModes ? 0x7u : 1u << unsigned(mode);
}

NSTimeInterval systemSeconds()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return NSTimeInterval(ts.tv_sec) + NSTimeInterval(ts.tv_nsec) * 1e-9;
}

} // namespace

NSRunLoop* NSRunLoop::currentRunLoop()
{
  if (!tRunLoop)
    tRunLoop.reset(new NSRunLoop);
  return tRunLoop.get();
}

NSRunLoop::~NSRunLoop()
{
  while (!mEntries.empty())
    mEntries.back().timer->invalidate();
}

void NSRunLoop::addTimer(NSTimer* timer, NSRunLoopMode mode)
{
  if (!timer)
    NSFatal("NSRunLoop addTimer: nil timer");
  if (mode < NSDefaultRunLoopMode || mode > NSRunLoopCommonModes)
    NSFatal("NSRunLoop addTimer: unknown mode %d", int(mode));
  if (!timer->isValid())
    return;
  if (timer->mRunLoop && timer->mRunLoop != this)
    NSFatal("NSRunLoop addTimer: timer %p is in another run loop", static_cast<void*>(timer));
  for (Entry& e : mEntries)
  {
    if (e.timer == timer)
    {
      e.modes |= modeBits(mode);
      return;
    }
  }
  timer->retain();
  timer->mRunLoop = this;
  mEntries.push_back({timer, modeBits(mode), mNextOrder++});
}

void NSRunLoop::removeTimer(NSTimer* timer)
{
  auto it = std::find_if(mEntries.begin(), mEntries.end(), [timer](const Entry& e) { return e.timer == timer; });
  if (it == mEntries.end())
    return;
  mEntries.erase(it);
  timer->mRunLoop = nullptr;
  timer->release();
}

NSTimeInterval NSRunLoop::now() const
{
  return mVirtual ? mVirtualNow : systemSeconds();
}

void NSRunLoop::useVirtualClock(NSTimeInterval start)
{
  mVirtual = true;
  mVirtualNow = start;
}

void NSRunLoop::useSystemClock()
{
  mVirtual = false;
}

NSRunLoop::Entry* NSRunLoop::nextDue(unsigned modeBit, NSTimeInterval limit)
{
  Entry* best = nullptr;
  for (Entry& e : mEntries)
  {
    if (!(e.modes & modeBit) || !e.timer->isValid() || e.timer->mFireDate > limit)
      continue;
    if (!best || e.timer->mFireDate < best->timer->mFireDate ||
        (e.timer->mFireDate == best->timer->mFireDate && e.order < best->order))
      best = &e;
  }
  return best;
}

int NSRunLoop::runMode(NSRunLoopMode mode, NSTimeInterval limitDate)
{
  if (mode < NSDefaultRunLoopMode || mode >= NSRunLoopCommonModes)
    NSFatal("NSRunLoop runMode: cannot run in mode %d", int(mode));
  unsigned bit = modeBits(mode);
  if (!mVirtual)
    limitDate = std::min(limitDate, systemSeconds());
  int fired = 0;
  while (Entry* e = nextDue(bit, limitDate))
  {
    NSTimer* timer = e->timer;
    timer->retain();
    NSTimeInterval due = timer->mFireDate;
    if (mVirtual)
      mVirtualNow = std::max(mVirtualNow, due);
    if (timer->mRepeats)
    {
      // From the scheduled date, skipping dates already past.
      NSTimeInterval next = due + timer->mInterval, present = now();
      if (next <= present)
        next = due + timer->mInterval * (std::floor((present - due) / timer->mInterval) + 1);
      timer->mFireDate = next;
    }
    timer->fire();
    timer->release();
    ++fired;
  }
  if (mVirtual)
    mVirtualNow = std::max(mVirtualNow, limitDate);
  return fired;
}

int NSRunLoop::runFor(NSTimeInterval seconds)
{
  return runMode(NSDefaultRunLoopMode, now() + seconds);
}
