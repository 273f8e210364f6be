#include "platform/carbon/virtual_clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace
{

constexpr int64_t kNever = INT64_MAX;

// For seconds >= 0; anything beyond about a century saturates to kNever.
int64_t toNanoseconds(double seconds)
{
  double ns = seconds * 1e9;
  return ns < 4e18 ? int64_t(std::llround(ns)) : kNever;
}

int64_t addSaturated(int64_t t, int64_t step)
{
  return step == kNever || t > kNever - step ? kNever : t + step;
}

// The n-th firing after base is at base + n * interval, each rounded on its
// own, so 15 firings of 1/15 s end exactly on the second.
struct Entry
{
  int64_t base;    // ns of firing 0, or kNever
  int64_t count;   // firings since base
  double interval; // seconds; 0 fires once
  VirtualClockProc proc;
  void* user;

  int64_t next() const
  {
    if (base == kNever || count == 0)
      return base;
    if (interval == 0.0)
      return kNever;
    return addSaturated(base, toNanoseconds(double(count) * interval));
  }
};

struct Clock
{
  int64_t now = 0;    // ns
  double elapsed = 0; // seconds stepped so far; steps add up here first
  VirtualClockTimer lastId = 0;
  bool advancing = false;
  std::map<VirtualClockTimer, Entry> timers; // id order is scheduling order
};

Clock& clock()
{
  static Clock c;
  return c;
}

[[noreturn]] void fail(const char* fn, const char* what)
{
  fprintf(stderr, "%s: %s\n", fn, what);
  abort();
}

int64_t fireTime(double delay)
{
  if (!(delay >= 0))
    return kNever;
  return addSaturated(clock().now, toNanoseconds(delay));
}

} // namespace

double virtualClockNow()
{
  return double(clock().now) / 1e9;
}

VirtualClockTimer virtualClockSchedule(double delay, double interval, VirtualClockProc proc, void* user)
{
  if (!proc)
    fail("virtualClockSchedule", "null proc");
  Clock& c = clock();
  c.timers[++c.lastId] = Entry{fireTime(delay), 0, interval > 0 ? interval : 0, proc, user};
  return c.lastId;
}

void virtualClockReschedule(VirtualClockTimer timer, double delay)
{
  auto it = clock().timers.find(timer);
  if (it == clock().timers.end())
    fail("virtualClockReschedule", "timer not scheduled");
  it->second.base = fireTime(delay);
  it->second.count = 0;
}

void virtualClockCancel(VirtualClockTimer timer)
{
  if (!clock().timers.erase(timer))
    fail("virtualClockCancel", "timer not scheduled");
}

bool virtualClockIsScheduled(VirtualClockTimer timer)
{
  return clock().timers.count(timer) != 0;
}

int virtualClockAdvance(double seconds)
{
  Clock& c = clock();
  if (!(seconds >= 0) || !std::isfinite(seconds))
    fail("virtualClockAdvance", "bad step");
  if (c.advancing)
    fail("virtualClockAdvance", "called from a timer");
  c.advancing = true;
  // Rounding the running sum, not each step, keeps 30 steps of 1/30 s at
  // exactly one second.
  c.elapsed += seconds;
  const int64_t target = std::max(c.now, toNanoseconds(c.elapsed));
  if (target == kNever)
    fail("virtualClockAdvance", "step too large");
  int fired = 0;
  for (;;)
  {
    auto due = c.timers.end();
    int64_t when = kNever;
    for (auto it = c.timers.begin(); it != c.timers.end(); ++it)
      if (int64_t t = it->second.next(); t <= target && t < when)
      {
        due = it;
        when = t;
      }
    if (due == c.timers.end())
      break;
    Entry& e = due->second;
    c.now = when;
    ++e.count;
    ++fired;
    e.proc(e.user); // may erase e
  }
  c.now = target;
  c.advancing = false;
  return fired;
}
