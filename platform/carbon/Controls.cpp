#include <algorithm>
#include <cmath>

#include "platform/carbon/carbon_records.h"

namespace
{

bool contains(const CarbonControl* outer, const CarbonControl* c)
{
  for (; c; c = c->parent)
    if (c == outer)
      return true;
  return false;
}

} // namespace

void carbonSendDraw(CarbonControl* c, RgnHandle rgn, EventParamName name, EventParamType type, void* ref)
{
  EventRef e = carbonNewEvent(kEventClassControl, kEventControlDraw, c);
  SetEventParameter(e, name, type, sizeof ref, &ref);
  SetEventParameter(e, kEventParamRgnHandle, typeQDRgnHandle, sizeof rgn, &rgn);
  carbonSendAndRelease(e, c->target);
}

int carbonDrawNonComposited(CarbonWindow* w, const Rect& area)
{
  RgnHandle rgn = carbonNewRegion(area);
  CGrafPtr port = carbonRef<CGrafPtr>(w->port);
  int sent = carbonDrawViews(w, [&](CarbonControl* c) {
    if (CGRectIsEmpty(CGRectIntersection(carbonVisibleRect(c), carbonRectToHI(area))))
      return false;
    carbonSendDraw(c, rgn, kEventParamGrafPort, typeGrafPtr, port);
    return true;
  });
  DisposeRgn(rgn);
  return sent;
}

CarbonControl::~CarbonControl()
{
  carbonDispose(target);
  std::erase(window->controls, this);
}

CarbonControl* carbonNewControl(CarbonWindow* window, const HIRect& frame, UInt32 features)
{
  auto* c = new CarbonControl;
  c->window = window;
  c->frame = CGRectStandardize(frame);
  c->features = features;
  carbonRegister(c);
  c->target = carbonNewTarget(nullptr, c);
  window->controls.push_back(c);
  return c;
}

void carbonAttach(CarbonControl* child, CarbonControl* container)
{
  if (child->parent)
    std::erase(child->parent->children, child);
  child->parent = container;
  container->children.push_back(child);
  carbonSetNeedsDisplay(child, CGRectMake(0, 0, 1e9, 1e9));
}

Rect carbonRectFromHI(const HIRect& r)
{
  auto edge = [](CGFloat v) { return SInt16(std::clamp(std::lround(v), -32768l, 32767l)); };
  return Rect{edge(CGRectGetMinY(r)), edge(CGRectGetMinX(r)), edge(CGRectGetMaxY(r)), edge(CGRectGetMaxX(r))};
}

HIRect carbonRectToHI(const Rect& r)
{
  return CGRectMake(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void carbonSetFrame(CarbonControl* c, const HIRect& frame)
{
  HIRect old = c->frame;
  c->frame = CGRectStandardize(frame);
  if (CGRectEqualToRect(old, c->frame))
    return;
  carbonSetNeedsDisplay(c, CGRectMake(0, 0, 1e9, 1e9));
  UInt32 attributes = 0;
  if (old.origin.x != c->frame.origin.x || old.origin.y != c->frame.origin.y)
    attributes |= kControlBoundsChangePositionChanged;
  if (old.size.width != c->frame.size.width || old.size.height != c->frame.size.height)
    attributes |= kControlBoundsChangeSizeChanged;
  Rect before = carbonRectFromHI(old), now = carbonRectFromHI(c->frame);
  EventRef e = carbonNewEvent(kEventClassControl, kEventControlBoundsChanged, c);
  SetEventParameter(e, kEventParamOriginalBounds, typeQDRectangle, sizeof before, &before);
  SetEventParameter(e, kEventParamCurrentBounds, typeQDRectangle, sizeof now, &now);
  SetEventParameter(e, kEventParamAttributes, typeUInt32, sizeof attributes, &attributes);
  carbonSendAndRelease(e, c->target);
}

OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32 features, ControlRef* outControl)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "CreateUserPaneControl");
  if (!bounds || !outControl)
    return paramErr;
  CarbonControl* container = nullptr;
  if (w->composited())
  {
    container = carbonContentView(w);
  }
  else
  {
    if (!w->root)
      CreateRootControl(window, nullptr);
    container = w->root;
  }
  CarbonControl* c = carbonNewControl(w, carbonRectToHI(*bounds), features);
  carbonAttach(c, container);
  *outControl = carbonRef<ControlRef>(c);
  return noErr;
}

OSStatus CreateRootControl(WindowRef window, ControlRef* outControl)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "CreateRootControl");
  if (w->root)
    return errRootAlreadyExists;
  w->root = carbonNewControl(w, CGRectMake(0, 0, w->width(), w->height()), kControlSupportsEmbedding);
  w->root->root = true;
  if (outControl)
    *outControl = carbonRef<ControlRef>(w->root);
  return noErr;
}

OSStatus GetRootControl(WindowRef window, ControlRef* outControl)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "GetRootControl");
  if (!outControl)
    return paramErr;
  *outControl = carbonRef<ControlRef>(w->root);
  return w->root ? OSStatus(noErr) : OSStatus(errNoRootControl);
}

OSStatus EmbedControl(ControlRef control, ControlRef container)
{
  CarbonControl* c = carbonGet<CarbonControl>(control, "EmbedControl");
  CarbonControl* into = carbonGet<CarbonControl>(container, "EmbedControl");
  if (c->root)
    return errCantEmbedRoot;
  if (contains(c, into))
    return errCantEmbedIntoSelf;
  if (c->window != into->window)
    return paramErr;
  if (!(into->features & kControlSupportsEmbedding))
    return errControlIsNotEmbedder;
  carbonAttach(c, into);
  return noErr;
}

void SizeControl(ControlRef control, SInt16 width, SInt16 height)
{
  CarbonControl* c = carbonGet<CarbonControl>(control, "SizeControl");
  carbonSetFrame(
    c, CGRectMake(c->frame.origin.x, c->frame.origin.y, std::max<SInt16>(width, 0), std::max<SInt16>(height, 0)));
}

Rect* GetControlBounds(ControlRef control, Rect* bounds)
{
  CarbonControl* c = carbonGet<CarbonControl>(control, "GetControlBounds");
  if (!bounds)
    carbonFail("GetControlBounds", "null rectangle");
  *bounds = carbonRectFromHI(c->frame);
  return bounds;
}

OSStatus GetControlFeatures(ControlRef control, UInt32* outFeatures)
{
  CarbonControl* c = carbonGet<CarbonControl>(control, "GetControlFeatures");
  if (!outFeatures)
    return paramErr;
  *outFeatures = c->features;
  return noErr;
}

WindowRef GetControlOwner(ControlRef control)
{
  return carbonRef<WindowRef>(carbonGet<CarbonControl>(control, "GetControlOwner")->window);
}

EventTargetRef GetControlEventTarget(ControlRef control)
{
  return carbonRef<EventTargetRef>(carbonGet<CarbonControl>(control, "GetControlEventTarget")->target);
}

Boolean IsValidControlHandle(ControlRef possibleControl)
{
  return dynamic_cast<CarbonControl*>(carbonFind(possibleControl)) != nullptr;
}

void DisposeControl(ControlRef control)
{
  CarbonControl* c = carbonGet<CarbonControl>(control, "DisposeControl");
  while (!c->children.empty())
    DisposeControl(carbonRef<ControlRef>(c->children.back()));
  uintptr_t handle = c->handle;
  carbonSendAndRelease(carbonNewEvent(kEventClassControl, kEventControlDispose, c), c->target);
  c = carbonGet<CarbonControl>(reinterpret_cast<void*>(handle), "DisposeControl");
  if (c->parent)
    std::erase(c->parent->children, c);
  if (c->window->root == c)
    c->window->root = nullptr;
  carbonDispose(c);
}

void UpdateControls(WindowRef window, RgnHandle region)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "UpdateControls");
  Rect area = {0, 0, w->height(), w->width()};
  if (region)
    GetRegionBounds(region, &area);
  if (!w->composited())
  {
    carbonDrawNonComposited(w, area);
    return;
  }
  for (CarbonControl* c : w->controls)
  {
    HIPoint o = carbonViewOrigin(c);
    carbonSetNeedsDisplay(c,
                          CGRectMake(area.left - o.x, area.top - o.y, area.right - area.left, area.bottom - area.top));
  }
}
