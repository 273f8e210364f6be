#include "platform/carbon/carbon_driver.h"

#include "platform/carbon/carbon_records.h"
#include "platform/coregraphics/CGBitmapContext.h"

namespace
{

EventRef newMouseEvent(CarbonWindow* w, UInt32 kind, HIPoint where, UInt32 modifiers)
{
  EventRef e = carbonNewEvent(kEventClassMouse, kind, nullptr);
  HIPoint global = {where.x + w->bounds.left, where.y + w->bounds.top};
  WindowRef window = carbonRef<WindowRef>(w);
  SetEventParameter(e, kEventParamMouseLocation, typeHIPoint, sizeof global, &global);
  SetEventParameter(e, kEventParamWindowMouseLocation, typeHIPoint, sizeof where, &where);
  SetEventParameter(e, kEventParamWindowRef, typeWindowRef, sizeof window, &window);
  SetEventParameter(e, kEventParamKeyModifiers, typeUInt32, sizeof modifiers, &modifiers);
  return e;
}

// One draw event per view that needs display, with a context over the
// window's pixels set up as the platform hands it to a view.
int drawComposited(CarbonWindow* w)
{
  return carbonDrawViews(w, [w](CarbonControl* c) {
    if (CGRectIsNull(c->dirty))
      return false;
    HIRect area = c->dirty;
    c->dirty = CGRectNull;
    CGContextRef ctx = carbonWindowContext(w);
    if (!ctx)
      return false;
    HIPoint o = carbonViewOrigin(c);
    HIRect visible = carbonVisibleRect(c);
    // Device rows count up from the window's bottom; views count down from
    // their own top-left.
    CGContextTranslateCTM(ctx, o.x, w->height() - o.y);
    CGContextScaleCTM(ctx, 1, -1);
    CGContextClipToRect(
      ctx, CGRectMake(visible.origin.x - o.x, visible.origin.y - o.y, visible.size.width, visible.size.height));
    CGContextClipToRect(ctx, area);
    RgnHandle rgn = carbonNewRegion(carbonRectFromHI(area));
    carbonSendDraw(c, rgn, kEventParamCGContextRef, typeCGContextRef, ctx);
    DisposeRgn(rgn);
    CGContextRelease(ctx);
    return true;
  });
}

} // namespace

OSStatus carbonDriverSendMouse(WindowRef window, UInt32 kind, HIPoint where, UInt32 modifiers, UInt32 clickCount)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "carbonDriverSendMouse");
  EventRef e = newMouseEvent(w, kind, where, modifiers);
  EventMouseButton button = kEventMouseButtonPrimary;
  SetEventParameter(e, kEventParamMouseButton, typeMouseButton, sizeof button, &button);
  if (kind == kEventMouseDown || kind == kEventMouseUp)
    SetEventParameter(e, kEventParamClickCount, typeUInt32, sizeof clickCount, &clickCount);
  return carbonSendAndRelease(e, w->target);
}

OSStatus carbonDriverSendWheel(WindowRef window, HIPoint where, EventMouseWheelAxis axis, SInt32 delta,
                               UInt32 modifiers)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "carbonDriverSendWheel");
  EventRef e = newMouseEvent(w, kEventMouseWheelMoved, where, modifiers);
  SetEventParameter(e, kEventParamMouseWheelAxis, typeMouseWheelAxis, sizeof axis, &axis);
  SetEventParameter(e, kEventParamMouseWheelDelta, typeSInt32, sizeof delta, &delta);
  return carbonSendAndRelease(e, w->target);
}

int carbonDriverUpdateWindow(WindowRef window)
{
  CarbonWindow* w = carbonGet<CarbonWindow>(window, "carbonDriverUpdateWindow");
  if (w->composited())
    return drawComposited(w);
  if (!w->needsUpdate)
    return 0;
  w->needsUpdate = false;
  return carbonDrawNonComposited(w, Rect{0, 0, w->height(), w->width()});
}

CGImageRef carbonDriverCopyWindowImage(WindowRef window)
{
  CGContextRef ctx = carbonWindowContext(carbonGet<CarbonWindow>(window, "carbonDriverCopyWindowImage"));
  CGImageRef image = CGBitmapContextCreateImage(ctx);
  CGContextRelease(ctx);
  return image;
}
