#pragma once
// PNG and JPEG files into bitmaps of A, R, G, B pixels.
//
// Each loader fills the bitmap it is given (resized to the image) or, given
// null, a new LICE_MemBitmap that the caller owns, and returns it; null on
// any failure. A failed load frees what it made; a given bitmap stays alive,
// resized to the image once the header has been read and holding the rows
// decoded before the failure. Decoding stops at the first sign of lost data,
// and images above LICE_MAX_BITMAP_PIXELS are refused before any pixel
// memory is taken.

#include "graphics/lice_bitmap.h"

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp = nullptr);
LICE_IBitmap* LICE_LoadJPG(const char* filename, LICE_IBitmap* bmp = nullptr);

// A PNG file read now and decoded when its pixels are first wanted: until
// then the bitmap has the header's size and holds the file's bytes. The
// first getBits() or resize() decodes it, as LICE_LoadPNG would; a decode
// that fails leaves it empty (0 x 0, no pixels). Any thread may be the
// first; the others wait for its decode.
class LICE_DeferredPNG : public LICE_IBitmap
{
public:
  // Null when the file cannot be read or its header is refused.
  static LICE_DeferredPNG* Open(const char* filename);
  ~LICE_DeferredPNG() override;
  LICE_DeferredPNG(const LICE_DeferredPNG&) = delete;
  LICE_DeferredPNG& operator=(const LICE_DeferredPNG&) = delete;

  LICE_PixelValue* getBits() override;
  int getWidth() override;
  int getHeight() override;
  int getRowSpan() override;
  bool resize(int w, int h) override;

  // Decodes now unless done; false when the pixels could not be had.
  bool decode();
  bool isDecoded() const;
  // hook(ctx) runs in each use that finds the pixels not yet decoded,
  // before that use decodes them, on as many threads as find them so at
  // once: an owner may decode several bitmaps together there. Set before
  // the bitmap is shared.
  void setFirstUseHook(void (*hook)(void* ctx), void* ctx);

private:
  struct State;
  explicit LICE_DeferredPNG(State* state);
  State* mState;
};
// name is looked up in the main bundle's Contents/Resources folder (in lice_sys).
LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp = nullptr);
// Numbered resources do not exist on this platform: always null.
LICE_IBitmap* LICE_LoadPNGFromResource(void* hInst, int resid, LICE_IBitmap* bmp = nullptr);
LICE_IBitmap* LICE_LoadJPGFromResource(void* hInst, int resid, LICE_IBitmap* bmp = nullptr);

// The image loaders' list, built at start-up: JPEG registers first and PNG
// second, so the list reads PNG, then JPEG. Nothing in the system walks it.
struct LICE_ImageLoaderEntry
{
  // checkFileName: load only a name whose extension is the loader's.
  LICE_IBitmap* (*loadfunc)(const char* filename, bool checkFileName, LICE_IBitmap* into);
  // Description and pattern pairs, each NUL-terminated, then one more NUL.
  const char* (*get_extlist)();
  LICE_ImageLoaderEntry* next;
};
extern LICE_ImageLoaderEntry* LICE_ImageLoader_list;

class LICE_PNGLoader
{
public:
  // With checkFileName, only a name ending in .png (any case) is loaded.
  static LICE_IBitmap* loadfunc(const char* filename, bool checkFileName, LICE_IBitmap* into);
  static const char* get_extlist();
};

class LICE_JPGLoader
{
public:
  // With checkFileName, only a name ending in .jpg, .jpeg or .jfif (any case) is loaded.
  static LICE_IBitmap* loadfunc(const char* filename, bool checkFileName, LICE_IBitmap* into);
  static const char* get_extlist();
};

// The two loaders' records in the list.
extern LICE_ImageLoaderEntry LICE_pngldr;
extern LICE_ImageLoaderEntry LICE_jgpldr;
