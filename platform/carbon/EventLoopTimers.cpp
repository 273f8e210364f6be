#include "platform/carbon/carbon_records.h"

namespace
{

// The one event loop: a handle that is never disposed.
struct CarbonEventLoop : CarbonObject
{
};

EventLoopRef mainLoop()
{
  static EventLoopRef loop = [] {
    auto* l = new CarbonEventLoop;
    carbonRegister(l);
    return carbonRef<EventLoopRef>(l);
  }();
  return loop;
}

void fire(void* user)
{
  auto* t = static_cast<CarbonTimer*>(user);
  t->proc(carbonRef<EventLoopTimerRef>(t), t->user); // may remove t
}

} // namespace

CarbonTimer::~CarbonTimer()
{
  if (virtualClockIsScheduled(clock))
    virtualClockCancel(clock);
}

EventLoopRef GetMainEventLoop()
{
  return mainLoop();
}

EventLoopRef GetCurrentEventLoop()
{
  return mainLoop();
}

OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay, EventTimerInterval interval,
                               EventLoopTimerUPP proc, void* userData, EventLoopTimerRef* outTimer)
{
  carbonGet<CarbonEventLoop>(loop, "InstallEventLoopTimer");
  if (!proc)
    carbonFail("InstallEventLoopTimer", "null proc");
  if (!outTimer)
    return paramErr;
  auto* t = new CarbonTimer;
  t->proc = proc;
  t->user = userData;
  carbonRegister(t);
  t->clock = virtualClockSchedule(fireDelay, interval, fire, t);
  *outTimer = carbonRef<EventLoopTimerRef>(t);
  return noErr;
}

OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer)
{
  carbonDispose(carbonGet<CarbonTimer>(timer, "RemoveEventLoopTimer"));
  return noErr;
}

OSStatus SetEventLoopTimerNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire)
{
  virtualClockReschedule(carbonGet<CarbonTimer>(timer, "SetEventLoopTimerNextFireTime")->clock, nextFire);
  return noErr;
}
