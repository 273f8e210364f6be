#include "platform/carbon/carbon_records.h"

namespace
{

bool isEmpty(const Rect& r)
{
  return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

RgnHandle carbonNewRegion(const Rect& r)
{
  RgnHandle rgn = NewRgn();
  RectRgn(rgn, &r);
  return rgn;
}

RgnHandle NewRgn()
{
  auto* r = new CarbonRegion;
  carbonRegister(r);
  return carbonRef<RgnHandle>(r);
}

void DisposeRgn(RgnHandle rgn)
{
  carbonDispose(carbonGet<CarbonRegion>(rgn, "DisposeRgn"));
}

void SetRectRgn(RgnHandle rgn, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom)
{
  CarbonRegion* r = carbonGet<CarbonRegion>(rgn, "SetRectRgn");
  Rect b = {top, left, bottom, right};
  r->bounds = isEmpty(b) ? Rect{0, 0, 0, 0} : b;
}

void RectRgn(RgnHandle rgn, const Rect* r)
{
  if (!r)
    carbonFail("RectRgn", "null rectangle");
  SetRectRgn(rgn, r->left, r->top, r->right, r->bottom);
}

void SetEmptyRgn(RgnHandle rgn)
{
  SetRectRgn(rgn, 0, 0, 0, 0);
}

Boolean EmptyRgn(RgnHandle rgn)
{
  return isEmpty(carbonGet<CarbonRegion>(rgn, "EmptyRgn")->bounds);
}

Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds)
{
  CarbonRegion* r = carbonGet<CarbonRegion>(rgn, "GetRegionBounds");
  if (!bounds)
    carbonFail("GetRegionBounds", "null rectangle");
  *bounds = r->bounds;
  return bounds;
}

OSStatus QDBeginCGContext(CGrafPtr port, CGContextRef* context)
{
  CarbonPort* p = carbonGet<CarbonPort>(port, "QDBeginCGContext");
  if (!context)
    carbonFail("QDBeginCGContext", "null context pointer");
  if (p->open)
    return paramErr;
  CGContextRef c = carbonWindowContext(p->window);
  if (!c)
    return paramErr;
  p->open = c;
  *context = c;
  return noErr;
}

OSStatus QDEndCGContext(CGrafPtr port, CGContextRef* context)
{
  CarbonPort* p = carbonGet<CarbonPort>(port, "QDEndCGContext");
  if (!context)
    carbonFail("QDEndCGContext", "null context pointer");
  if (!p->open || *context != p->open)
    return paramErr;
  CGContextRelease(p->open);
  p->open = nullptr;
  *context = nullptr;
  return noErr;
}
