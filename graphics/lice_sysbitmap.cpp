#include "graphics/lice_sysbitmap.h"

#include "graphics/gdi/swell-gdi.h"

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  if (dc)
    SWELL_DeleteGfxContext(dc);
}

bool LICE_SysBitmap::resize(int w, int h)
{
  if (w < 0)
    w = 0;
  if (h < 0)
    h = 0;
  if (w == width && h == height)
    return false;
  width = w;
  height = h;

  if (w && h && w <= allocWidth && h <= allocHeight && bits)
  {
    if (isFlipped())
      bits = static_cast<LICE_PixelValue*>(SWELL_GetCtxFrameBuffer(dc)) + int64_t(allocHeight - h) * allocWidth;
    return true;
  }

  allocWidth = w;
  allocHeight = h;
  if (dc)
    SWELL_DeleteGfxContext(dc);
  dc = nullptr;
  bits = nullptr;
  if (!w || !h)
    return false;

  // The context layer refuses sizes beyond its pixel cap, so a failed
  // allocation can never leave a large size over a short buffer.
  dc = SWELL_CreateMemContext(nullptr, w, h);
  bits = static_cast<LICE_PixelValue*>(SWELL_GetCtxFrameBuffer(dc));
  if (!bits)
  {
    width = height = 0;
    allocWidth = allocHeight = 0;
  }
  return true;
}
