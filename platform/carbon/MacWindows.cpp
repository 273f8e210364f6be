#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/carbon/carbon_records.h"
#include "platform/coregraphics/CGBitmapContext.h"

namespace
{

unsigned char* newPixels(SInt16 width, SInt16 height)
{
  uint64_t w = uint64_t(width), h = uint64_t(height);
  if (!w || !h || w * h > kCGMaxBitmapPixels)
    return nullptr;
  return static_cast<unsigned char*>(calloc(size_t(h), size_t(w) * 4));
}

bool isContent(WindowRegionCode region)
{
  return region == kWindowStructureRgn || region == kWindowContentRgn;
}

// The deepest embedded control under p (window coordinates), front first.
CarbonControl* hitControl(CarbonControl* c, HIPoint p)
{
  for (auto it = c->children.rbegin(); it != c->children.rend(); ++it)
  {
    HIRect r = carbonVisibleRect(*it);
    if (p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) && p.y < CGRectGetMaxY(r))
      return hitControl(*it, p);
  }
  return c->root ? nullptr : c;
}

// A mouse-down that no handler took clicks the control under the mouse.
OSStatus clickControl(CarbonWindow* w, EventRef mouse)
{
  HIPoint where;
  if (!w->root || GetEventParameter(mouse, kEventParamWindowMouseLocation, typeHIPoint, nullptr, sizeof where, nullptr,
                                    &where) != noErr)
    return eventNotHandledErr;
  CarbonControl* hit = hitControl(w->root, where);
  if (!hit)
    return eventNotHandledErr;
  EventRef click = carbonNewEvent(kEventClassControl, kEventControlClick, hit);
  for (EventParamName name : {kEventParamWindowMouseLocation, kEventParamKeyModifiers, kEventParamClickCount})
  {
    EventParamType type;
    ByteCount size;
    unsigned char value[16];
    if (GetEventParameter(mouse, name, typeWildCard, &type, sizeof value, &size, value) == noErr &&
        size <= sizeof value)
      SetEventParameter(click, name, type, size, value);
  }
  return carbonSendAndRelease(click, hit->target);
}

} // namespace

CarbonWindow::~CarbonWindow()
{
  carbonDispose(target);
  carbonDispose(port);
  free(pixels);
}

CGContextRef carbonWindowContext(CarbonWindow* w)
{
  if (!w->pixels)
    return nullptr;
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef c = CGBitmapContextCreate(w->pixels, size_t(w->width()), size_t(w->height()), 8, size_t(w->width()) * 4,
                                         space, kCGImageAlphaNoneSkipFirst);
  CGColorSpaceRelease(space);
  return c;
}

OSStatus carbonStandardHandling(CarbonTarget* target, EventRef event)
{
  if (target->window && GetEventClass(event) == kEventClassMouse && GetEventKind(event) == kEventMouseDown)
    return clickControl(target->window, event);
  return eventNotHandledErr;
}

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow)
{
  if (!contentBounds || !outWindow)
    return paramErr;
  const Rect& b = *contentBounds;
  if (b.right < b.left || b.bottom < b.top)
    return paramErr;
  auto* w = new CarbonWindow;
  w->windowClass = windowClass;
  w->attributes = attributes;
  w->bounds = b;
  w->pixels = newPixels(w->width(), w->height());
  carbonRegister(w);
  w->target = carbonNewTarget(w, nullptr);
  w->port = new CarbonPort;
  w->port->window = w;
  carbonRegister(w->port);
  if (w->composited())
  {
    HIRect all = CGRectMake(0, 0, w->width(), w->height());
    w->root = carbonNewControl(w, all, kControlSupportsEmbedding);
    w->root->root = true;
    CarbonControl* content = carbonNewControl(w, all, kControlSupportsEmbedding);
    content->id = kHIViewWindowContentID;
    carbonAttach(content, w->root);
  }
  *outWindow = carbonRef<WindowRef>(w);
  return noErr;
}

void DisposeWindow(WindowRef window)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "DisposeWindow");
  // Controls dispose what is embedded in them, so start at the top.
  while (!w->controls.empty())
  {
    CarbonControl* c = w->controls.back();
    while (c->parent)
      c = c->parent;
    DisposeControl(carbonRef<ControlRef>(c));
  }
  carbonDispose(w);
}

OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* outAttributes)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "GetWindowAttributes");
  if (!outAttributes)
    return paramErr;
  *outAttributes = w->attributes;
  return noErr;
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* outBounds)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "GetWindowBounds");
  if (!isContent(region) || !outBounds)
    return paramErr;
  *outBounds = w->bounds;
  return noErr;
}

OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "SetWindowBounds");
  if (!isContent(region) || !bounds || bounds->right < bounds->left || bounds->bottom < bounds->top)
    return paramErr;
  SInt16 oldW = w->width(), oldH = w->height();
  w->bounds = *bounds;
  if (oldW != w->width() || oldH != w->height())
  {
    unsigned char* pixels = newPixels(w->width(), w->height());
    if (pixels && w->pixels)
    {
      size_t rowBytes = size_t(std::min(oldW, w->width())) * 4;
      for (SInt16 y = 0; y < std::min(oldH, w->height()); ++y)
        memcpy(pixels + size_t(y) * w->width() * 4, w->pixels + size_t(y) * oldW * 4, rowBytes);
    }
    free(w->pixels);
    w->pixels = pixels;
  }
  w->needsUpdate = true;
  if (w->root)
  {
    HIRect all = CGRectMake(0, 0, w->width(), w->height());
    carbonSetFrame(w->root, all);
    for (CarbonControl* c : w->root->children)
      if (carbonIsContentView(c))
        carbonSetFrame(c, all);
    if (w->composited())
      for (CarbonControl* c : w->controls)
        carbonSetNeedsDisplay(c, CGRectMake(0, 0, 1e9, 1e9));
  }
  return noErr;
}

EventTargetRef GetWindowEventTarget(WindowRef window)
{
  return carbonRef<EventTargetRef>(carbonGet<CarbonWindow>(window, "GetWindowEventTarget")->target);
}

Boolean IsValidWindowPtr(WindowRef possibleWindow)
{
  return dynamic_cast<CarbonWindow*>(carbonFind(possibleWindow)) != nullptr;
}

CGrafPtr GetWindowPort(WindowRef window)
{
  return carbonRef<CGrafPtr>(carbonGet<CarbonWindow>(window, "GetWindowPort")->port);
}
