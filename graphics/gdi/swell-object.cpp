#include <cstdlib>

#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi.h"
#include "platform/cocoa/NSImage.h"

void DeleteObject(HGDIOBJ obj)
{
  if (!obj) return;
  if (obj->kind < GDP_KIND_PEN || obj->kind > GDP_KIND_BITMAP) {
    free(obj);
    return;
  }
  // The stock null pen and brush are shared static records.
  if ((obj->kind == GDP_KIND_PEN || obj->kind == GDP_KIND_BRUSH) && obj->param < 0) return;
  CGColorRelease(obj->cgColor);
  NSRelease(obj->extraObject);
  if (obj->image && obj->param) obj->image->release();
  GDP_OBJECT_DELETE(obj);
}
