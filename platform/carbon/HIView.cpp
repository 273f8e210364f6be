#include "platform/carbon/carbon_records.h"

namespace
{

bool sameID(HIViewID a, HIViewID b)
{
  return a.signature == b.signature && a.id == b.id;
}

CarbonControl* findByID(CarbonControl* c, HIViewID id)
{
  if (sameID(c->id, id))
    return c;
  for (CarbonControl* child : c->children)
    if (CarbonControl* found = findByID(child, id))
      return found;
  return nullptr;
}

void collect(const CarbonControl* c, std::vector<uintptr_t>& out)
{
  for (const CarbonControl* child : c->children)
  {
    out.push_back(child->handle);
    collect(child, out);
  }
}

// The top-left of space in global coordinates.
HIPoint spaceOrigin(HICoordinateSpace space, void* object, const char* fn)
{
  switch (space)
  {
  case kHICoordSpace72DPIGlobal:
  case kHICoordSpaceScreenPixel: return HIPoint{0, 0};
  case kHICoordSpaceWindow: {
    const Rect& b = carbonGet<CarbonWindow>(object, fn)->bounds;
    return HIPoint{CGFloat(b.left), CGFloat(b.top)};
  }
  case kHICoordSpaceView: {
    CarbonControl* c = carbonGet<CarbonControl>(object, fn);
    HIPoint o = carbonViewOrigin(c);
    return HIPoint{o.x + c->window->bounds.left, o.y + c->window->bounds.top};
  }
  default: carbonFail(fn, "unknown coordinate space");
  }
}

} // namespace

bool carbonIsContentView(const CarbonControl* c)
{
  return sameID(c->id, kHIViewWindowContentID);
}

CarbonControl* carbonContentView(const CarbonWindow* w)
{
  for (CarbonControl* c : w->root->children)
    if (carbonIsContentView(c))
      return c;
  return w->root;
}

HIPoint carbonViewOrigin(const CarbonControl* c)
{
  HIPoint o = c->frame.origin;
  if (c->window->composited())
    for (const CarbonControl* p = c->parent; p; p = p->parent)
    {
      o.x += p->frame.origin.x;
      o.y += p->frame.origin.y;
    }
  return o;
}

HIRect carbonVisibleRect(const CarbonControl* c)
{
  HIPoint o = carbonViewOrigin(c);
  HIRect r = CGRectMake(o.x, o.y, c->frame.size.width, c->frame.size.height);
  if (c->window->composited() && c->parent)
    r = CGRectIntersection(r, carbonVisibleRect(c->parent));
  return r;
}

std::vector<uintptr_t> carbonPaintOrder(const CarbonWindow* w)
{
  std::vector<uintptr_t> order;
  if (w->root)
    collect(w->root, order);
  return order;
}

void carbonSetNeedsDisplay(CarbonControl* c, HIRect rect)
{
  if (!c->window->composited())
    return;
  HIRect cut = CGRectIntersection(rect, CGRectMake(0, 0, c->frame.size.width, c->frame.size.height));
  if (CGRectIsEmpty(cut))
    return;
  if (CGRectIsNull(c->dirty))
  {
    c->dirty = cut;
    return;
  }
  CGFloat x0 = std::min(CGRectGetMinX(c->dirty), CGRectGetMinX(cut));
  CGFloat y0 = std::min(CGRectGetMinY(c->dirty), CGRectGetMinY(cut));
  CGFloat x1 = std::max(CGRectGetMaxX(c->dirty), CGRectGetMaxX(cut));
  CGFloat y1 = std::max(CGRectGetMaxY(c->dirty), CGRectGetMaxY(cut));
  c->dirty = CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

HIViewRef HIViewGetRoot(WindowRef window)
{
  return carbonRef<HIViewRef>(carbonGet<CarbonWindow>(window, "HIViewGetRoot")->root);
}

OSStatus HIViewFindByID(HIViewRef start, HIViewID id, HIViewRef* outView)
{
  CarbonControl* c = carbonGet<CarbonControl>(start, "HIViewFindByID");
  if (!outView)
    return paramErr;
  CarbonControl* found = findByID(c, id);
  *outView = carbonRef<HIViewRef>(found);
  return found ? OSStatus(noErr) : OSStatus(errUnknownControl);
}

OSStatus HIViewAddSubview(HIViewRef parent, HIViewRef child)
{
  return EmbedControl(child, parent);
}

HIViewRef HIViewGetSuperview(HIViewRef view)
{
  return carbonRef<HIViewRef>(carbonGet<CarbonControl>(view, "HIViewGetSuperview")->parent);
}

OSStatus HIViewSetFrame(HIViewRef view, const HIRect* frame)
{
  CarbonControl* c = carbonGet<CarbonControl>(view, "HIViewSetFrame");
  if (!frame)
    return paramErr;
  carbonSetFrame(c, *frame);
  return noErr;
}

OSStatus HIViewGetFrame(HIViewRef view, HIRect* outFrame)
{
  CarbonControl* c = carbonGet<CarbonControl>(view, "HIViewGetFrame");
  if (!outFrame)
    return paramErr;
  *outFrame = c->frame;
  return noErr;
}

OSStatus HIViewSetNeedsDisplay(HIViewRef view, Boolean needsDisplay)
{
  CarbonControl* c = carbonGet<CarbonControl>(view, "HIViewSetNeedsDisplay");
  HIRect all = CGRectMake(0, 0, c->frame.size.width, c->frame.size.height);
  return HIViewSetNeedsDisplayInRect(view, &all, needsDisplay);
}

OSStatus HIViewSetNeedsDisplayInRect(HIViewRef view, const HIRect* rect, Boolean needsDisplay)
{
  CarbonControl* c = carbonGet<CarbonControl>(view, "HIViewSetNeedsDisplayInRect");
  if (!rect)
    return paramErr;
  if (!c->window->composited())
    return errNeedsCompositedWindow;
  if (needsDisplay)
    carbonSetNeedsDisplay(c, CGRectStandardize(*rect));
  else if (CGRectEqualToRect(CGRectIntersection(c->dirty, *rect), c->dirty))
    c->dirty = CGRectNull;
  return noErr;
}

Boolean HIViewGetNeedsDisplay(HIViewRef view)
{
  return !CGRectIsNull(carbonGet<CarbonControl>(view, "HIViewGetNeedsDisplay")->dirty);
}

void HIPointConvert(HIPoint* point, HICoordinateSpace sourceSpace, void* sourceObject,
                    HICoordinateSpace destinationSpace, void* destinationObject)
{
  if (!point)
    carbonFail("HIPointConvert", "null point");
  HIPoint from = spaceOrigin(sourceSpace, sourceObject, "HIPointConvert");
  HIPoint to = spaceOrigin(destinationSpace, destinationObject, "HIPointConvert");
  point->x += from.x - to.x;
  point->y += from.y - to.y;
}
