#include <gtest/gtest.h>

#include <vector>

#include "platform/carbon/virtual_clock.h"

namespace
{

struct Log
{
  std::vector<double> times;
  std::vector<int> order;
};

struct Tick
{
  Log* log;
  int id;
  VirtualClockTimer cancelOnFire = 0;
};

void record(void* user)
{
  auto* t = static_cast<Tick*>(user);
  t->log->times.push_back(virtualClockNow());
  t->log->order.push_back(t->id);
  if (t->cancelOnFire)
    virtualClockCancel(t->cancelOnFire);
}

} // namespace

TEST(VirtualClock, HalfRateTimerFiresAtOnceThenEveryTwoFramesWithoutDrift)
{
  Log log;
  Tick tick{&log, 1};
  const double t0 = virtualClockNow();
  VirtualClockTimer t = virtualClockSchedule(0, 2.0 / 30, record, &tick);
  EXPECT_EQ(virtualClockAdvance(0), 1);
  // Steps of one frame each: a firing every second step, 15 a second.
  int fired = 0;
  for (int i = 0; i < 30; ++i)
    fired += virtualClockAdvance(1.0 / 30);
  EXPECT_EQ(fired, 15);
  ASSERT_EQ(log.times.size(), 16u);
  for (size_t n = 0; n < log.times.size(); ++n)
    EXPECT_NEAR(log.times[n] - t0, double(n) * 2 / 30, 1e-9);
  EXPECT_NEAR(virtualClockNow() - t0, 1.0, 1e-9);
  // One long step fires every firing it covers, in order.
  EXPECT_EQ(virtualClockAdvance(1.0), 15);
  virtualClockCancel(t);
  EXPECT_FALSE(virtualClockIsScheduled(t));
  EXPECT_EQ(virtualClockAdvance(1.0), 0);
}

TEST(VirtualClock, TiesFireInSchedulingOrderAndProcsMayCancel)
{
  Log log;
  Tick a{&log, 1}, b{&log, 2}, c{&log, 3};
  VirtualClockTimer ta = virtualClockSchedule(0.5, 0, record, &a);
  VirtualClockTimer tb = virtualClockSchedule(0.5, 0.5, record, &b);
  VirtualClockTimer tc = virtualClockSchedule(0.25, 0.25, record, &c);
  b.cancelOnFire = tb;                    // a repeating timer that stops itself
  EXPECT_EQ(virtualClockAdvance(0.5), 4); // c at 0.25, then c, a, b at 0.5
  EXPECT_EQ(log.order, (std::vector<int>{3, 1, 2, 3}));
  EXPECT_TRUE(virtualClockIsScheduled(ta)); // a one-shot stays until cancelled
  EXPECT_FALSE(virtualClockIsScheduled(tb));
  virtualClockReschedule(ta, 0.1); // fires again after a reschedule
  c.cancelOnFire = tc;
  EXPECT_EQ(virtualClockAdvance(0.25), 2);
  virtualClockCancel(ta);
  EXPECT_EQ(virtualClockAdvance(10), 0);
}

TEST(VirtualClock, NegativeDelayWaitsForAReschedule)
{
  Log log;
  Tick a{&log, 1};
  VirtualClockTimer t = virtualClockSchedule(-1, 0.1, record, &a);
  EXPECT_EQ(virtualClockAdvance(5), 0);
  virtualClockReschedule(t, 0);
  EXPECT_EQ(virtualClockAdvance(0.15), 2);
  virtualClockCancel(t);
  // Intervals and delays too long to count in nanoseconds mean never again.
  t = virtualClockSchedule(0, 1e300, record, &a);
  VirtualClockTimer late = virtualClockSchedule(1e300, 0, record, &a);
  EXPECT_EQ(virtualClockAdvance(1e6), 1);
  virtualClockCancel(t);
  virtualClockCancel(late);
}

TEST(VirtualClockDeathTest, MisuseAborts)
{
  VirtualClockTimer t = virtualClockSchedule(
    1, 0, [](void*) {}, nullptr);
  virtualClockCancel(t);
  EXPECT_DEATH(virtualClockCancel(t), "virtualClockCancel: timer not scheduled");
  EXPECT_DEATH(virtualClockAdvance(-0.1), "bad step");
  EXPECT_DEATH(virtualClockSchedule(0, 0, nullptr, nullptr), "null proc");
  VirtualClockTimer nested = virtualClockSchedule(
    0, 0, [](void*) { virtualClockAdvance(1); }, nullptr);
  EXPECT_DEATH(virtualClockAdvance(0), "called from a timer");
  virtualClockCancel(nested);
}
