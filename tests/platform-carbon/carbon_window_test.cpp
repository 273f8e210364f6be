#include <gtest/gtest.h>

#include <vector>

#include "platform/carbon/Carbon.h"
#include "platform/carbon/carbon_driver.h"

namespace
{

WindowRef NewWindow(WindowAttributes attributes, SInt16 w = 100, SInt16 h = 60)
{
  Rect r = {40, 30, SInt16(40 + h), SInt16(30 + w)};
  WindowRef window = nullptr;
  EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, attributes, &r, &window), noErr);
  return window;
}

ControlRef NewPane(WindowRef w, Rect r, UInt32 features = kControlSupportsEmbedding)
{
  ControlRef c = nullptr;
  EXPECT_EQ(CreateUserPaneControl(w, &r, features, &c), noErr);
  return c;
}

bool SameRect(Rect a, Rect b)
{
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

// Records what a control's target receives.
struct Recorder
{
  std::vector<UInt32> kinds;
  Rect bounds = {};
  HIPoint where = {};
  UInt32 modifiers = 0, clicks = 0;
  static OSStatus Handle(EventHandlerCallRef, EventRef e, void* user)
  {
    auto* r = static_cast<Recorder*>(user);
    r->kinds.push_back(GetEventKind(e));
    GetEventParameter(e, kEventParamCurrentBounds, typeQDRectangle, nullptr, sizeof r->bounds, nullptr, &r->bounds);
    GetEventParameter(e, kEventParamWindowMouseLocation, typeHIPoint, nullptr, sizeof r->where, nullptr, &r->where);
    GetEventParameter(e, kEventParamKeyModifiers, typeUInt32, nullptr, 4, nullptr, &r->modifiers);
    GetEventParameter(e, kEventParamClickCount, typeUInt32, nullptr, 4, nullptr, &r->clicks);
    return noErr;
  }
  void Listen(EventTargetRef target, UInt32 eventClass, const std::vector<UInt32>& wanted)
  {
    std::vector<EventTypeSpec> specs;
    for (UInt32 k : wanted)
      specs.push_back({eventClass, k});
    InstallEventHandler(target, Handle, specs.size(), specs.data(), this, nullptr);
  }
};

} // namespace

TEST(CarbonControls, CompositedWindowsHaveAContentViewThatPanesGoInto)
{
  WindowRef w = NewWindow(kWindowCompositingAttribute);
  WindowAttributes attributes = 0;
  GetWindowAttributes(w, &attributes);
  EXPECT_EQ(attributes, 1u << 19);
  HIViewRef content = nullptr;
  ASSERT_EQ(HIViewFindByID(HIViewGetRoot(w), kHIViewWindowContentID, &content), noErr);
  EXPECT_EQ(HIViewGetSuperview(content), HIViewGetRoot(w));
  ControlRef pane = NewPane(w, {0, 0, 20, 30}, 0x12000026);
  EXPECT_EQ(HIViewGetSuperview(pane), content);
  UInt32 features = 0;
  GetControlFeatures(pane, &features);
  EXPECT_EQ(features, 0x12000026u);
  EXPECT_EQ(GetControlOwner(pane), w);
  HIViewRef none = pane;
  EXPECT_EQ(HIViewFindByID(pane, kHIViewWindowContentID, &none), errUnknownControl);
  EXPECT_EQ(none, nullptr);
  ControlRef root = nullptr;
  EXPECT_EQ(CreateRootControl(w, &root), errRootAlreadyExists);
  DisposeWindow(w);
}

TEST(CarbonControls, OtherWindowsGetARootControlWithTheirFirstControl)
{
  WindowRef w = NewWindow(kWindowNoAttributes);
  ControlRef root = nullptr;
  EXPECT_EQ(GetRootControl(w, &root), errNoRootControl);
  EXPECT_EQ(HIViewGetRoot(w), nullptr);
  ControlRef pane = NewPane(w, {0, 0, 20, 30}, 0x26);
  ASSERT_EQ(GetRootControl(w, &root), noErr);
  EXPECT_EQ(HIViewGetSuperview(pane), root);
  EXPECT_EQ(EmbedControl(pane, root), noErr); // already there: stays
  WindowRef bare = NewWindow(kWindowNoAttributes);
  EXPECT_EQ(CreateRootControl(bare, &root), noErr);
  EXPECT_EQ(GetRootControl(bare, &pane), noErr);
  EXPECT_EQ(pane, root);
  DisposeWindow(bare);
  DisposeWindow(w);
}

TEST(CarbonControls, EmbeddingRefusesLoopsRootsNonEmbeddersAndOtherWindows)
{
  WindowRef w = NewWindow(kWindowCompositingAttribute), other = NewWindow(kWindowCompositingAttribute);
  ControlRef outer = NewPane(w, {0, 0, 50, 50}), leaf = NewPane(w, {0, 0, 5, 5}, 0);
  ControlRef inner = NewPane(w, {0, 0, 10, 10});
  ASSERT_EQ(HIViewAddSubview(outer, inner), noErr);
  EXPECT_EQ(EmbedControl(outer, inner), errCantEmbedIntoSelf);
  EXPECT_EQ(EmbedControl(outer, outer), errCantEmbedIntoSelf);
  EXPECT_EQ(EmbedControl(HIViewGetRoot(w), outer), errCantEmbedRoot);
  EXPECT_EQ(EmbedControl(inner, leaf), errControlIsNotEmbedder);
  EXPECT_EQ(EmbedControl(inner, HIViewGetRoot(other)), paramErr);
  EXPECT_EQ(HIViewGetSuperview(inner), outer);
  DisposeWindow(other);
  DisposeWindow(w);
}

TEST(CarbonControls, BoundsChangesAreAnnouncedWithTheNewBounds)
{
  WindowRef w = NewWindow(kWindowNoAttributes);
  ControlRef pane = NewPane(w, {5, 7, 15, 27});
  Recorder rec;
  rec.Listen(GetControlEventTarget(pane), kEventClassControl, {kEventControlBoundsChanged});
  SizeControl(pane, 40, 30);
  ASSERT_EQ(rec.kinds.size(), 1u);
  EXPECT_TRUE(SameRect(rec.bounds, {5, 7, 35, 47}));
  SizeControl(pane, 40, 30); // no change, no event
  HIRect frame = CGRectMake(0, 0, 40, 30);
  HIViewSetFrame(pane, &frame);
  EXPECT_EQ(rec.kinds.size(), 2u);
  EXPECT_TRUE(SameRect(rec.bounds, {0, 0, 30, 40}));
  DisposeWindow(w);
}

TEST(CarbonControls, ViewSpaceStartsAtTheViewsTopLeftInBothWindowKinds)
{
  WindowRef comp = NewWindow(kWindowCompositingAttribute), plain = NewWindow(kWindowNoAttributes);
  ControlRef outer = NewPane(comp, {10, 20, 50, 80});
  ControlRef inner = NewPane(comp, {3, 4, 13, 14});
  HIViewAddSubview(outer, inner); // frames are to the parent here
  HIPoint p = {30.5, 17.25};
  HIPointConvert(&p, kHICoordSpaceWindow, comp, kHICoordSpaceView, inner);
  EXPECT_EQ(p.x, 30.5 - 24);
  EXPECT_EQ(p.y, 17.25 - 13);
  HIPointConvert(&p, kHICoordSpaceView, inner, kHICoordSpace72DPIGlobal, nullptr);
  EXPECT_EQ(p.x, 30.5 + 30); // the window's content starts at (30, 40)
  EXPECT_EQ(p.y, 17.25 + 40);

  ControlRef a = NewPane(plain, {10, 20, 50, 80}), b = NewPane(plain, {12, 24, 22, 34});
  EmbedControl(b, a); // frames stay in window coordinates here
  p = {30, 17};
  HIPointConvert(&p, kHICoordSpaceWindow, plain, kHICoordSpaceView, b);
  EXPECT_EQ(p.x, 6);
  EXPECT_EQ(p.y, 5);
  DisposeWindow(plain);
  DisposeWindow(comp);
}

TEST(CarbonControls, MouseDownReachesTheWindowThenClicksThePaneUnderIt)
{
  WindowRef w = NewWindow(kWindowCompositingAttribute);
  ControlRef pane = NewPane(w, {10, 10, 20, 20});
  Recorder windowRec, paneRec;
  windowRec.Listen(GetWindowEventTarget(w), kEventClassMouse, {kEventMouseDown, kEventMouseWheelMoved});
  paneRec.Listen(GetControlEventTarget(pane), kEventClassControl, {kEventControlClick});
  // The window's handler takes it: no click.
  EXPECT_EQ(carbonDriverSendMouse(w, kEventMouseDown, {12.5, 15}, cmdKey | shiftKey, 2), noErr);
  EXPECT_EQ(windowRec.where.x, 12.5);
  EXPECT_EQ(windowRec.modifiers, 0x300u);
  EXPECT_EQ(windowRec.clicks, 2u);
  EXPECT_TRUE(paneRec.kinds.empty());

  WindowRef w2 = NewWindow(kWindowNoAttributes);
  ControlRef pane2 = NewPane(w2, {10, 10, 20, 20});
  paneRec.Listen(GetControlEventTarget(pane2), kEventClassControl, {kEventControlClick});
  carbonDriverSendMouse(w2, kEventMouseDown, {25, 15}, 0, 1); // beside it
  EXPECT_TRUE(paneRec.kinds.empty());
  EXPECT_EQ(carbonDriverSendMouse(w2, kEventMouseDown, {15, 19}, optionKey, 1), noErr);
  EXPECT_EQ(paneRec.kinds, std::vector<UInt32>{kEventControlClick});
  EXPECT_EQ(paneRec.modifiers, UInt32(optionKey));

  auto axisAndDelta = [](EventHandlerCallRef, EventRef e, void* user) -> OSStatus {
    EventMouseWheelAxis axis = 9;
    SInt32 delta = 0;
    GetEventParameter(e, kEventParamMouseWheelAxis, typeMouseWheelAxis, nullptr, 2, nullptr, &axis);
    GetEventParameter(e, kEventParamMouseWheelDelta, typeSInt32, nullptr, 4, nullptr, &delta);
    *static_cast<SInt32*>(user) = axis * 100 + delta;
    return noErr;
  };
  SInt32 got = 0;
  EventTypeSpec spec = {kEventClassMouse, kEventMouseWheelMoved};
  InstallEventHandler(GetWindowEventTarget(w2), axisAndDelta, 1, &spec, &got, nullptr);
  carbonDriverSendWheel(w2, {1, 1}, kEventMouseWheelAxisY, -3, 0);
  EXPECT_EQ(got, 97);
  DisposeWindow(w2);
  DisposeWindow(w);
}

TEST(CarbonControls, DisposingTheWindowDisposesItsControlsInnermostFirst)
{
  WindowRef w = NewWindow(kWindowCompositingAttribute);
  ControlRef outer = NewPane(w, {0, 0, 10, 10}), inner = NewPane(w, {0, 0, 5, 5});
  HIViewAddSubview(outer, inner);
  std::vector<ControlRef> order;
  auto note = [](EventHandlerCallRef, EventRef e, void* user) -> OSStatus {
    ControlRef c = nullptr;
    GetEventParameter(e, kEventParamDirectObject, typeControlRef, nullptr, sizeof c, nullptr, &c);
    static_cast<std::vector<ControlRef>*>(user)->push_back(c);
    return noErr;
  };
  EventTypeSpec spec = {kEventClassControl, kEventControlDispose};
  InstallEventHandler(GetControlEventTarget(outer), note, 1, &spec, &order, nullptr);
  InstallEventHandler(GetControlEventTarget(inner), note, 1, &spec, &order, nullptr);
  EXPECT_TRUE(IsValidWindowPtr(w) && IsValidControlHandle(inner));
  EXPECT_FALSE(IsValidWindowPtr(reinterpret_cast<WindowRef>(inner)));
  DisposeWindow(w);
  EXPECT_EQ(order, (std::vector<ControlRef>{inner, outer}));
  EXPECT_FALSE(IsValidWindowPtr(w) || IsValidControlHandle(inner) || IsValidWindowPtr(nullptr));
}

TEST(CarbonWindows, ResizingKeepsTheTopLeftAndCutsNothingElse)
{
  WindowRef w = NewWindow(kWindowNoAttributes, 4, 3);
  Rect r;
  EXPECT_EQ(GetWindowBounds(w, kWindowContentRgn, &r), noErr);
  EXPECT_TRUE(SameRect(r, {40, 30, 43, 34}));
  EXPECT_EQ(GetWindowBounds(w, 0, &r), paramErr);
  CGContextRef ctx = nullptr;
  ASSERT_EQ(QDBeginCGContext(GetWindowPort(w), &ctx), noErr);
  CGContextFillRect(ctx, CGRectMake(0, 2, 1, 1)); // the top-left pixel: y counts up
  QDEndCGContext(GetWindowPort(w), &ctx);
  Rect bigger = {0, 0, 5, 6};
  EXPECT_EQ(SetWindowBounds(w, kWindowContentRgn, &bigger), noErr);
  Rect inverted = {0, 0, -1, 6};
  EXPECT_EQ(SetWindowBounds(w, kWindowContentRgn, &inverted), paramErr);
  CGImageRef image = carbonDriverCopyWindowImage(w);
  ASSERT_EQ(CGImageGetWidth(image), 6u);
  ASSERT_EQ(CGImageGetHeight(image), 5u);
  const unsigned char* px = CGImageGetBytes(image);
  EXPECT_EQ(px[0], 0xFF); // opaque black survives the resize
  for (size_t i = 4; i < 6 * 5 * 4; ++i)
    EXPECT_EQ(px[i], 0) << i;
  CGImageRelease(image);
  DisposeWindow(w);
}

TEST(Gestalt, SystemVersionOnlyAndSetByTheDriver)
{
  SInt32 v = 0;
  EXPECT_EQ(Gestalt(gestaltSystemVersion, &v), noErr);
  EXPECT_EQ(v, 0x1068);
  carbonDriverSetSystemVersion(0x1049);
  Gestalt(gestaltSystemVersion, &v);
  EXPECT_EQ(v, 0x1049);
  carbonDriverSetSystemVersion(0x1068);
  EXPECT_EQ(Gestalt(MacFourCC("cpuf"), &v), gestaltUndefSelectorErr);
  EXPECT_EQ(v, 0x1049);
}
