#include <png.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

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

// Reads up to the image data; false when the header's size is refused.
// Runs under the caller's error jump.
bool readHeader(PngRead& r, FILE* fp, int64_t maxPixels, png_uint_32* w, png_uint_32* h)
{
  // libpng refuses larger headers itself; the product is checked below.
  png_uint_32 side = maxPixels > PNG_UINT_31_MAX ? PNG_UINT_31_MAX : png_uint_32(maxPixels);
  png_set_user_limits(r.png, side, side);
  limitChunks(r.png);
  png_init_io(r.png, fp);
  png_read_info(r.png, r.info);
  *w = png_get_image_width(r.png, r.info);
  *h = png_get_image_height(r.png, r.info);
  return int64_t(*w) * *h <= maxPixels;
}

bool decode(PngRead& r, FILE* fp, LICE_IBitmap* given, int64_t maxPixels)
{
  png_uint_32 w, h;
  if (!readHeader(r, fp, maxPixels, &w, &h))
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

template <class Read>
bool underJump(PngRead& r, Read read)
{
  if (setjmp(png_jmpbuf(r.png)))
    return false;
  return read();
}

// Runs read on fresh libpng structures; false on its failure or any libpng error.
template <class Read>
bool withPng(PngRead& r, Read read)
{
  r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!r.png)
    return false;
  r.info = png_create_info_struct(r.png);
  bool ok = r.info && underJump(r, read);
  png_destroy_read_struct(&r.png, r.info ? &r.info : nullptr, nullptr);
  free(r.rows);
  return ok;
}

} // namespace

LICE_IBitmap* lice_ReadPNG(FILE* fp, LICE_IBitmap* bmp, int64_t maxPixels)
{
  if (!fp)
    return nullptr;
  PngRead r;
  if (withPng(r, [&] { return decode(r, fp, bmp, maxPixels); }))
    return r.bitmap;
  lice_loadAbandon(bmp, r.bitmap);
  return nullptr;
}

bool lice_ReadPNGSize(FILE* fp, int64_t maxPixels, int* w, int* h)
{
  PngRead r;
  png_uint_32 pw = 0, ph = 0;
  if (!fp || !withPng(r, [&] { return readHeader(r, fp, maxPixels, &pw, &ph); }))
    return false;
  *w = int(pw);
  *h = int(ph);
  return true;
}

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp)
{
  return lice_loadFile(filename, bmp, lice_ReadPNG);
}

struct LICE_DeferredPNG::State
{
  int width = 0, height = 0;
  std::vector<unsigned char> file; // until decoded
  std::mutex decoding;
  std::atomic<bool> decoded{false};
  LICE_MemBitmap pixels; // complete once decoded is set
  void (*hook)(void*) = nullptr;
  void* hookCtx = nullptr;
};

LICE_DeferredPNG::LICE_DeferredPNG(State* state) : mState(state) {}

LICE_DeferredPNG::~LICE_DeferredPNG()
{
  delete mState;
}

LICE_DeferredPNG* LICE_DeferredPNG::Open(const char* filename)
{
  FILE* fp = filename ? fopen(filename, "rb") : nullptr;
  if (!fp)
    return nullptr;
  State* s = new State;
  unsigned char chunk[16384];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, fp)) > 0;)
    s->file.insert(s->file.end(), chunk, chunk + n);
  s->file.shrink_to_fit();
  bool ok = !ferror(fp);
  fclose(fp);
  FILE* mem = ok && !s->file.empty() ? fmemopen(s->file.data(), s->file.size(), "rb") : nullptr;
  ok = mem && lice_ReadPNGSize(mem, LICE_MAX_BITMAP_PIXELS, &s->width, &s->height);
  if (mem)
    fclose(mem);
  if (ok)
    return new LICE_DeferredPNG(s);
  delete s;
  return nullptr;
}

bool LICE_DeferredPNG::decode()
{
  std::lock_guard<std::mutex> lock(mState->decoding);
  if (!mState->decoded.load(std::memory_order_relaxed))
  {
    std::vector<unsigned char> file;
    file.swap(mState->file);
    FILE* mem = fmemopen(file.data(), file.size(), "rb");
    LICE_MemBitmap& px = mState->pixels;
    bool ok = mem && lice_ReadPNG(mem, &px, LICE_MAX_BITMAP_PIXELS) == &px;
    if (mem)
      fclose(mem);
    if (!ok || px.getWidth() != mState->width || px.getHeight() != mState->height)
      px.resize(0, 0);
    mState->decoded.store(true, std::memory_order_release);
  }
  return mState->pixels.getBits() != nullptr;
}

bool LICE_DeferredPNG::isDecoded() const
{
  return mState->decoded.load(std::memory_order_acquire);
}

void LICE_DeferredPNG::setFirstUseHook(void (*hook)(void* ctx), void* ctx)
{
  mState->hook = hook;
  mState->hookCtx = ctx;
}

LICE_PixelValue* LICE_DeferredPNG::getBits()
{
  if (!isDecoded())
  {
    if (mState->hook)
      mState->hook(mState->hookCtx);
    decode();
  }
  return mState->pixels.getBits();
}

int LICE_DeferredPNG::getWidth()
{
  return isDecoded() ? mState->pixels.getWidth() : mState->width;
}

int LICE_DeferredPNG::getHeight()
{
  return isDecoded() ? mState->pixels.getHeight() : mState->height;
}

int LICE_DeferredPNG::getRowSpan()
{
  return getWidth();
}

bool LICE_DeferredPNG::resize(int w, int h)
{
  getBits();
  return mState->pixels.resize(w, h);
}
