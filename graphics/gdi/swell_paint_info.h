#pragma once
// The paint-info question: windows and views that paint through a context
// of their own implement this interface (the getSwellPaintInfo: message),
// and GetDC hands that context out instead of locking focus.

#include "graphics/gdi/swell-types.h"

class SWELL_PaintInfoSource
{
public:
  // ps arrives zeroed; fill ps->hdc with the context being painted, or
  // leave it null when not painting.
  virtual void getSwellPaintInfo(PAINTSTRUCT* ps) = 0;

protected:
  ~SWELL_PaintInfoSource() = default;
};
