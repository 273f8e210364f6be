#include <gtest/gtest.h>

#include <vector>

#include "platform/cocoa/NSRunLoop.h"
#include "platform/cocoa/NSTimer.h"

namespace
{

// Counts ticks and records the clock at each; can stop its own timer.
class Ticker : public NSObject
{
public:
  void tick(NSTimer* t)
  {
    times.push_back(NSRunLoop::currentRunLoop()->now());
    if (stopAfter && int(times.size()) == stopAfter)
      t->invalidate();
    if (other)
      other->invalidate();
  }
  std::vector<double> times;
  int stopAfter = 0;
  NSTimer* other = nullptr;
};

struct VirtualClock : ::testing::Test
{
  void SetUp() override { loop->useVirtualClock(100); }
  void TearDown() override
  {
    EXPECT_EQ(loop->timerCount(), 0);
    loop->useSystemClock();
  }
  NSRunLoop* loop = NSRunLoop::currentRunLoop();
};

} // namespace

TEST_F(VirtualClock, ARepeatingTimerFirstTicksOneIntervalAfterItsCreation)
{
  auto* ticker = new Ticker;
  NSTimer* t = NSTimer::timerWithTimeInterval(0.25, ticker, NSTimerSelector(&Ticker::tick), nullptr, true);
  loop->addTimer(t, kCFRunLoopCommonModes);
  t->release();
  EXPECT_EQ(loop->runFor(0.2), 0);
  EXPECT_EQ(loop->runFor(0.9), 4); // to 101.1: ticks at .25, .5, .75, 1.0
  EXPECT_EQ(ticker->times, (std::vector<double>{100.25, 100.5, 100.75, 101}));
  EXPECT_DOUBLE_EQ(loop->now(), 101.1);
  EXPECT_EQ(loop->runMode(NSEventTrackingRunLoopMode, 101.3), 1); // common modes fire while tracking
  t->invalidate();
  EXPECT_EQ(loop->runFor(10), 0);
  ticker->release();
}

TEST_F(VirtualClock, ATimerHoldsItsTargetUntilInvalidatedAndMayInvalidateItself)
{
  auto* ticker = new Ticker;
  ticker->stopAfter = 2;
  NSTimer::scheduledTimerWithTimeInterval(1, ticker, NSTimerSelector(&Ticker::tick), nullptr, true);
  EXPECT_EQ(ticker->retainCount(), 2);
  ticker->retain(); // to look at it afterwards
  ticker->release();
  ticker->release(); // only the timer keeps it now
  EXPECT_EQ(loop->runFor(5), 2);
  // Freed with the timer's reference; the run loop went on without it.
}

TEST_F(VirtualClock, NothingFiresAfterInvalidationEvenWhenAlreadyDue)
{
  auto* a = new Ticker;
  auto* b = new Ticker;
  // Both due at 101; a was scheduled first, fires first and stops b.
  NSTimer::scheduledTimerWithTimeInterval(1, a, NSTimerSelector(&Ticker::tick), nullptr, false);
  NSTimer* tb = NSTimer::scheduledTimerWithTimeInterval(1, b, NSTimerSelector(&Ticker::tick), nullptr, false);
  tb->retain();
  a->other = tb;
  EXPECT_EQ(loop->runFor(5), 1);
  EXPECT_TRUE(b->times.empty());
  EXPECT_FALSE(tb->isValid());
  tb->fire(); // invalid: nothing
  EXPECT_TRUE(b->times.empty());
  EXPECT_EQ(b->retainCount(), 1); // let go at invalidation
  tb->release();
  a->release();
  b->release();
}

TEST_F(VirtualClock, ModesKeepATimerOutOfOtherLoops)
{
  auto* ticker = new Ticker;
  NSTimer* t = NSTimer::scheduledTimerWithTimeInterval(0, ticker, NSTimerSelector(&Ticker::tick), nullptr, false);
  EXPECT_DOUBLE_EQ(t->timeInterval(), 0.0001);
  EXPECT_EQ(loop->runMode(NSModalPanelRunLoopMode, 101), 0);
  EXPECT_EQ(loop->runMode(NSDefaultRunLoopMode, 101), 1);
  ticker->release();
}

TEST(NSRunLoopSystemClock, ALateRepeatingTimerFiresOnceAndSkipsMissedDates)
{
  NSRunLoop* loop = NSRunLoop::currentRunLoop();
  auto* ticker = new Ticker;
  NSTimer* t = NSTimer::scheduledTimerWithTimeInterval(0.001, ticker, NSTimerSelector(&Ticker::tick), nullptr, true);
  double start = loop->now();
  while (loop->now() < start + 0.02)
  {
  }
  EXPECT_EQ(loop->runMode(NSDefaultRunLoopMode, 1e300), 1);
  EXPECT_GT(t->fireDate(), loop->now() - 0.001);
  t->invalidate();
  ticker->release();
}

TEST(NSTimerDeathTest, NilTargetsAndCommonModeRunsAbort)
{
  EXPECT_DEATH(NSTimer::timerWithTimeInterval(1, nullptr, NSTimerSelector(&Ticker::tick), nullptr, true), "nil target");
  EXPECT_DEATH(NSRunLoop::currentRunLoop()->runMode(NSRunLoopCommonModes, 0), "cannot run");
}
