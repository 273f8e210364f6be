#include <gtest/gtest.h>

#include <string>

#include "platform/carbon/Carbon.h"
#include "platform/carbon/carbon_driver.h"

namespace
{

// A window whose event target records which handlers ran, in order.
struct Chain : ::testing::Test
{
  void SetUp() override
  {
    Rect r = {0, 0, 10, 10};
    ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &r, &window), noErr);
    target = GetWindowEventTarget(window);
  }
  void TearDown() override { DisposeWindow(window); }

  struct Step
  {
    Chain* chain;
    char name;
    OSStatus result;
    bool callNext = false;
    EventHandlerRef removeFirst = nullptr;
  };
  static OSStatus Run(EventHandlerCallRef call, EventRef event, void* user)
  {
    auto* s = static_cast<Step*>(user);
    s->chain->trace += s->name;
    if (s->removeFirst)
      RemoveEventHandler(s->removeFirst);
    if (s->callNext)
      s->chain->trace += "(" + std::to_string(CallNextEventHandler(call, event)) + ")";
    return s->result;
  }
  EventHandlerRef Install(Step* s)
  {
    EventTypeSpec spec = {kEventClassMouse, kEventMouseMoved};
    EventHandlerRef h = nullptr;
    EXPECT_EQ(InstallEventHandler(target, Run, 1, &spec, s, &h), noErr);
    return h;
  }
  OSStatus Send() { return carbonDriverSendMouse(window, kEventMouseMoved, HIPoint{1, 1}, 0, 0); }

  WindowRef window = nullptr;
  EventTargetRef target = nullptr;
  std::string trace;
};

} // namespace

TEST(CarbonEventParameters, TypedCopiesWithTruncationAndClearFailures)
{
  EventRef e = nullptr;
  ASSERT_EQ(CreateEvent(nullptr, kEventClassMouse, kEventMouseDown, 0, kEventAttributeNone, &e), noErr);
  EXPECT_EQ(GetEventClass(e), MacFourCC("mous"));
  EXPECT_EQ(GetEventKind(e), 1u);
  SInt32 delta = -3;
  SetEventParameter(e, kEventParamMouseWheelDelta, typeSInt32, sizeof delta, &delta);
  SInt32 out = 0;
  EventParamType type = 0;
  ByteCount size = 0;
  EXPECT_EQ(GetEventParameter(e, kEventParamMouseWheelDelta, typeSInt32, &type, sizeof out, &size, &out), noErr);
  EXPECT_EQ(out, -3);
  EXPECT_EQ(type, typeSInt32);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(GetEventParameter(e, kEventParamMouseWheelDelta, typeUInt32, nullptr, 4, nullptr, &out), errAECoercionFail);
  EXPECT_EQ(GetEventParameter(e, kEventParamClickCount, typeUInt32, nullptr, 4, nullptr, &out),
            eventParameterNotFoundErr);
  // A short buffer gets what fits; the full size is still reported.
  HIPoint p = {1.5, -2};
  SetEventParameter(e, kEventParamWindowMouseLocation, typeHIPoint, sizeof p, &p);
  double first[2] = {9, 9};
  EXPECT_EQ(GetEventParameter(e, kEventParamWindowMouseLocation, typeWildCard, nullptr, sizeof(double), &size, first),
            noErr);
  EXPECT_EQ(first[0], 1.5);
  EXPECT_EQ(first[1], 9);
  EXPECT_EQ(size, sizeof p);
  ReleaseEvent(e);
  EXPECT_DEATH(Gestalt(gestaltSystemVersion, nullptr), "Gestalt: null response");
}

TEST_F(Chain, NewestHandlerFirstAndNotHandledPassesOn)
{
  Step a{this, 'a', noErr}, b{this, 'b', eventNotHandledErr}, c{this, 'c', eventNotHandledErr};
  Install(&a);
  Install(&b);
  Install(&c);
  EXPECT_EQ(Send(), noErr);
  EXPECT_EQ(trace, "cba");
  // Nobody takes it: the window's standard handling answers.
  a.result = eventNotHandledErr;
  trace.clear();
  EXPECT_EQ(Send(), eventNotHandledErr);
  EXPECT_EQ(trace, "cba");
}

TEST_F(Chain, CallNextRunsTheRestOnceBeforeTheCallerContinues)
{
  Step a{this, 'a', noErr}, b{this, 'b', eventNotHandledErr, true};
  Install(&a);
  Install(&b);
  EXPECT_EQ(Send(), eventNotHandledErr); // b's own answer ends the dispatch
  EXPECT_EQ(trace, "ba(0)");
  a.result = eventNotHandledErr;
  trace.clear();
  Send();
  EXPECT_EQ(trace, "ba(-9874)"); // standard handling ran inside, not again after
}

TEST_F(Chain, HandlersRemovedDuringDispatchDoNotRun)
{
  Step a{this, 'a', noErr}, b{this, 'b', eventNotHandledErr};
  EventHandlerRef ha = Install(&a);
  b.removeFirst = ha;
  EventHandlerRef hb = Install(&b);
  EXPECT_EQ(Send(), eventNotHandledErr);
  EXPECT_EQ(trace, "b");
  RemoveEventHandler(hb);
  EXPECT_EQ(Send(), eventNotHandledErr);
  EXPECT_EQ(trace, "b");
}

TEST(EventLoopTimers, FirstTickAtOnceThenEveryIntervalAndNothingAfterRemoval)
{
  struct State
  {
    int ticks = 0;
    EventLoopTimerRef self = nullptr;
  } s;
  auto proc = [](EventLoopTimerRef timer, void* user) {
    auto* st = static_cast<State*>(user);
    EXPECT_EQ(timer, st->self);
    if (++st->ticks == 3)
      RemoveEventLoopTimer(timer);
  };
  ASSERT_EQ(InstallEventLoopTimer(GetMainEventLoop(), 0, 2.0 / 30, proc, &s, &s.self), noErr);
  virtualClockAdvance(0);
  EXPECT_EQ(s.ticks, 1);
  virtualClockAdvance(1.0 / 30);
  EXPECT_EQ(s.ticks, 1);
  virtualClockAdvance(1.0 / 30);
  EXPECT_EQ(s.ticks, 2);
  virtualClockAdvance(10);
  EXPECT_EQ(s.ticks, 3); // removed itself on the third
  EXPECT_EQ(InstallEventLoopTimer(GetMainEventLoop(), 0, 1, proc, &s, nullptr), paramErr);
}

TEST(CarbonEventsDeathTest, UsingWhatWasDisposedAborts)
{
  EXPECT_DEATH(ReleaseEvent(nullptr), "ReleaseEvent: null reference");
  EventLoopTimerRef t = nullptr;
  InstallEventLoopTimer(
    GetMainEventLoop(), 1, 0, [](EventLoopTimerRef, void*) {}, nullptr, &t);
  RemoveEventLoopTimer(t);
  EXPECT_DEATH(RemoveEventLoopTimer(t), "RemoveEventLoopTimer: invalid or disposed reference");

  Rect r = {0, 0, 10, 10};
  WindowRef w = nullptr;
  CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &r, &w);
  EventTypeSpec spec = {kEventClassMouse, kEventMouseDown};
  EventHandlerRef h = nullptr;
  auto handler = [](EventHandlerCallRef, EventRef, void*) -> OSStatus { return noErr; };
  InstallEventHandler(GetWindowEventTarget(w), handler, 1, &spec, nullptr, &h);
  RemoveEventHandler(h);
  EXPECT_DEATH(RemoveEventHandler(h), "RemoveEventHandler: invalid or disposed reference");
  InstallEventHandler(GetWindowEventTarget(w), handler, 1, &spec, nullptr, &h);
  DisposeWindow(w); // takes the window's handlers with it
  EXPECT_DEATH(RemoveEventHandler(h), "RemoveEventHandler: invalid");
  EXPECT_DEATH(GetWindowAttributes(w, nullptr), "GetWindowAttributes: invalid");
  EXPECT_DEATH(GetWindowEventTarget(nullptr), "GetWindowEventTarget: null reference");
  EventRef e = nullptr;
  CreateEvent(nullptr, kEventClassMouse, kEventMouseDown, 0, 0, &e);
  EXPECT_DEATH(CallNextEventHandler(reinterpret_cast<EventHandlerCallRef>(&r), e), "not a call reference");
  ReleaseEvent(e);
  EXPECT_DEATH(Gestalt(gestaltSystemVersion, nullptr), "Gestalt: null response");
}
