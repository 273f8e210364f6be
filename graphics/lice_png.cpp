#include <png.h>

#include <cstdio>
#include <cstdlib>

#include "graphics/lice_loader_private.h"
#include "graphics/lice_loaders.h"

namespace
{

// Picks the transforms from the image's own header so that every colour
// type and depth comes out as 8-bit A, R, G, B.
void requestARGB(png_structp png, png_infop info)
{
  int depth = png_get_bit_depth(png, info);
  int type = png_get_color_type(png, info);
  bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

  if (type == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
    png_set_expand_gray_1_2_4_to_8(png);
  if (trns)
    png_set_tRNS_to_alpha(png);
  if (depth == 16)
    png_set_strip_16(png);
  if (depth < 8)
    png_set_packing(png);
  if (!(type & PNG_COLOR_MASK_COLOR))
    png_set_gray_to_rgb(png);
  if (trns || (type & PNG_COLOR_MASK_ALPHA))
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Everything touched on both sides of the jump lives here, unchanged after
// setjmp except through the volatile members.
struct PngRead
{
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_bytep* volatile rows = nullptr;
  LICE_IBitmap* volatile bitmap = nullptr;
};

// Only the chunks that make the pixels are read: every other one (all but
// IHDR, PLTE, tRNS, IDAT and IEND) is skipped as it streams past, so libpng
// never buffers a length that a file declares, and a chunk running past the
// end of the file fails the read at once. The limits bound what libpng may
// still keep.
void limitChunks(png_structp png)
{
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_chunk_cache_max(png, 16);
  png_set_chunk_malloc_max(png, 64 * 1024);
}

bool decode(PngRead& r, FILE* fp, LICE_IBitmap* given, int64_t maxPixels)
{
  if (setjmp(png_jmpbuf(r.png)))
    return false;
  // libpng refuses larger headers itself; the product is checked below.
  png_uint_32 side = maxPixels > PNG_UINT_31_MAX ? PNG_UINT_31_MAX : png_uint_32(maxPixels);
  png_set_user_limits(r.png, side, side);
  limitChunks(r.png);
  png_init_io(r.png, fp);
  png_read_info(r.png, r.info);
  png_uint_32 w = png_get_image_width(r.png, r.info), h = png_get_image_height(r.png, r.info);
  if (int64_t(w) * h > maxPixels)
    return false;
  requestARGB(r.png, r.info);
  if (png_get_rowbytes(r.png, r.info) != size_t(w) * 4)
    return false;

  r.bitmap = lice_loadBitmap(given, int(w), int(h));
  if (!r.bitmap)
    return false;
  r.rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * h));
  if (!r.rows)
    return false;
  for (png_uint_32 y = 0; y < h; ++y)
    r.rows[y] = reinterpret_cast<png_bytep>(lice_loadRow(r.bitmap, int(y)));
  png_read_image(r.png, r.rows);
  png_read_end(r.png, nullptr);
  return true;
}

} // namespace

LICE_IBitmap* lice_ReadPNG(FILE* fp, LICE_IBitmap* bmp, int64_t maxPixels)
{
  if (!fp)
    return nullptr;
  PngRead r;
  r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!r.png)
    return nullptr;
  r.info = png_create_info_struct(r.png);
  bool ok = r.info && decode(r, fp, bmp, maxPixels);
  png_destroy_read_struct(&r.png, r.info ? &r.info : nullptr, nullptr);
  free(r.rows);
  if (ok)
    return r.bitmap;
  lice_loadAbandon(bmp, r.bitmap);
  return nullptr;
}

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp)
{
  return lice_loadFile(filename, bmp, lice_ReadPNG);
}
