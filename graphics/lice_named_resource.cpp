// Bundle resources are found through the drawing-context layer, so this loader
// lives apart from the rest: the raster library itself needs no platform.
#include <cstring>

#include "graphics/gdi/swell-misc.h"
#include "graphics/lice_loaders.h"

LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp)
{
  if (!name)
    return nullptr;
  char bundle[1536];
  GetModuleFileName(nullptr, bundle, sizeof bundle);
  static const char kResources[] = "/Contents/Resources/";
  char path[2048];
  size_t need = strlen(bundle) + strlen(kResources) + strlen(name) + 1;
  if (need > sizeof path)
    return nullptr;
  strcpy(path, bundle);
  strcat(path, kResources);
  strcat(path, name);
  return LICE_LoadPNG(path, bmp);
}
