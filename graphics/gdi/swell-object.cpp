#include <cstdlib>

#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi.h"
#include "graphics/gdi/swell-gdi-ops.h"
#include "platform/cocoa/NSImage.h"
#include "platform/text/TextStyle.h"

void DeleteObject(HGDIOBJ obj)
{
  // Also the values SelectObject hands back for empty slots.
  if (!GDP_IsObject(obj))
    return;
  if (obj->kind < GDP_KIND_PEN || obj->kind > GDP_KIND_BITMAP)
  {
    free(obj);
    return;
  }
  // The stock null pen and brush are shared static records.
  if ((obj->kind == GDP_KIND_PEN || obj->kind == GDP_KIND_BRUSH) && obj->param < 0)
    return;
  CGColorRelease(obj->cgColor);
  NSRelease(obj->extraObject);
  TextStyleDispose(static_cast<TextStyleRef>(obj->atsuStyle));
  if (obj->image && obj->param)
    obj->image->release();
  GDP_OBJECT_DELETE(obj);
}
