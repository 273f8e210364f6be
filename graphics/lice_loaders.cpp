#include <strings.h>

#include <cstring>
#include <initializer_list>
#include <new>

#include "graphics/lice_loader_private.h"
#include "graphics/lice_loaders.h"

LICE_ImageLoaderEntry* LICE_ImageLoader_list = nullptr;

LICE_IBitmap* lice_loadBitmap(LICE_IBitmap* given, int w, int h)
{
  if (!given)
  {
    LICE_MemBitmap* made = new (std::nothrow) LICE_MemBitmap(w, h);
    if (made && made->getBits())
      return made;
    delete made;
    return nullptr;
  }
  given->resize(w, h);
  if (given->getWidth() == w && given->getHeight() == h && given->getBits())
    return given;
  return nullptr;
}

void lice_loadAbandon(LICE_IBitmap* given, LICE_IBitmap* bm)
{
  if (bm != given)
    delete bm;
}

LICE_IBitmap* lice_loadFile(const char* filename, LICE_IBitmap* bmp, LICE_FileReader read)
{
  FILE* fp = filename ? fopen(filename, "rb") : nullptr;
  if (!fp)
    return nullptr;
  LICE_IBitmap* result = read(fp, bmp, LICE_MAX_BITMAP_PIXELS);
  fclose(fp);
  return result;
}

LICE_PixelValue* lice_loadRow(LICE_IBitmap* bm, int y)
{
  int row = bm->isFlipped() ? bm->getHeight() - 1 - y : y;
  return bm->getBits() + int64_t(row) * bm->getRowSpan();
}

bool lice_hasExtension(const char* filename, const char* const* exts)
{
  if (!filename || !*filename)
    return false;
  const char* p = filename + strlen(filename) - 1;
  while (p > filename && *p != '.' && *p != '/' && *p != '\\')
    --p;
  if (*p != '.')
    return false;
  for (; *exts; ++exts)
    if (!strcasecmp(p, *exts))
      return true;
  return false;
}

LICE_IBitmap* LICE_LoadPNGFromResource(void*, int, LICE_IBitmap*)
{
  return nullptr;
}

LICE_IBitmap* LICE_LoadJPGFromResource(void*, int, LICE_IBitmap*)
{
  return nullptr;
}

namespace
{

const char* const kPngExts[] = {".png", nullptr};
const char* const kJpgExts[] = {".jpg", ".jpeg", ".jfif", nullptr};

// The literal's own terminator is the list's final NUL.
const char kPngFilter[] = "PNG files (*.PNG)\0*.PNG\0";
const char kJpgFilter[] = "JPEG files (*.JPG;*.JPEG;*.JFIF)\0*.JPG;*.JPEG;*.JFIF\0";

} // namespace

LICE_IBitmap* LICE_PNGLoader::loadfunc(const char* filename, bool checkFileName, LICE_IBitmap* into)
{
  if (checkFileName && !lice_hasExtension(filename, kPngExts))
    return nullptr;
  return LICE_LoadPNG(filename, into);
}

const char* LICE_PNGLoader::get_extlist()
{
  return kPngFilter;
}

LICE_IBitmap* LICE_JPGLoader::loadfunc(const char* filename, bool checkFileName, LICE_IBitmap* into)
{
  if (checkFileName && !lice_hasExtension(filename, kJpgExts))
    return nullptr;
  return LICE_LoadJPG(filename, into);
}

const char* LICE_JPGLoader::get_extlist()
{
  return kJpgFilter;
}

LICE_ImageLoaderEntry LICE_jgpldr{LICE_JPGLoader::loadfunc, LICE_JPGLoader::get_extlist, nullptr};
LICE_ImageLoaderEntry LICE_pngldr{LICE_PNGLoader::loadfunc, LICE_PNGLoader::get_extlist, nullptr};

namespace
{

// Both in one place, so that their order does not depend on the link.
struct RegisterLoaders
{
  RegisterLoaders()
  {
    for (LICE_ImageLoaderEntry* e : {&LICE_jgpldr, &LICE_pngldr})
    {
      e->next = LICE_ImageLoader_list;
      LICE_ImageLoader_list = e;
    }
  }
} registerLoaders;

} // namespace
