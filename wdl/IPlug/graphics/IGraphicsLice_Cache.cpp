// The process-wide bitmap cache: every image is decoded once and shared by
// all editors of all plug-in instances in the process. Items are keyed by
// resource id (-1 for retained bitmaps), looked up in list order and freed
// at process exit, or when the last hold on them is released. The lock is
// held around lookup, append and removal only, never while decoding.

#include <cstdio>
#include <new>

#include "wdl/IPlug/graphics/IGraphicsLice.h"
#include "wdl/mutex.h"
#include "wdl/ptrlist.h"

namespace {

struct BitmapCacheItem {
  int mID;
  LICE_IBitmap* mImage;
  // Loads and retains not yet released. A bitmap is freed only at 0, so one
  // editor's release cannot pull an image from under another.
  int mHolds;
};

class BitmapCache {
public:
  ~BitmapCache()
  {
    for (int i = 0, n = mItems.GetSize(); i < n; ++i) delete mItems.Get(i)->mImage;
    mItems.Empty(true);
  }

  // The image cached for id, with one more hold; null on a miss.
  LICE_IBitmap* Acquire(int id)
  {
    PlugMutexScope lock(&mMutex);
    BitmapCacheItem* item = FindID(id);
    if (!item) return nullptr;
    ++item->mHolds;
    return item->mImage;
  }

  // Caches img under id, unless another thread cached that id meanwhile:
  // then img is freed and the first one is returned. Null when the list cannot grow.
  LICE_IBitmap* AddOrAcquire(int id, LICE_IBitmap* img)
  {
    PlugMutexScope lock(&mMutex);
    if (BitmapCacheItem* item = id >= 0 ? FindID(id) : FindImage(img)) {
      ++item->mHolds;
      if (item->mImage != img) delete img;
      return item->mImage;
    }
    BitmapCacheItem* item = new (std::nothrow) BitmapCacheItem{id, img, 1};
    if (!item || !mItems.Add(item)) {
      delete item;
      return nullptr;
    }
    return img;
  }

  void Release(LICE_IBitmap* img)
  {
    LICE_IBitmap* freed = nullptr;
    {
      PlugMutexScope lock(&mMutex);
      BitmapCacheItem* item = FindImage(img);
      if (!item || --item->mHolds > 0) return;
      mItems.Delete(mItems.Find(item), true);
      freed = img;
    }
    delete freed;
  }

private:
  BitmapCacheItem* FindID(int id) const
  {
    for (int i = 0, n = mItems.GetSize(); i < n; ++i)
      if (mItems.Get(i)->mID == id) return mItems.Get(i);
    return nullptr;
  }

  BitmapCacheItem* FindImage(const LICE_IBitmap* img) const
  {
    for (int i = 0, n = mItems.GetSize(); i < n; ++i)
      if (mItems.Get(i)->mImage == img) return mItems.Get(i);
    return nullptr;
  }

  WDL_PtrList<BitmapCacheItem> mItems{4096};
  WDL_Mutex mMutex;
};

BitmapCache& s_bitmapCache()
{
  static BitmapCache cache;
  return cache;
}

}  // namespace

IBitmap IGraphicsLice::LoadIBitmap(int id, const char* name, int nStates)
{
  BitmapCache& cache = s_bitmapCache();
  LICE_IBitmap* img = cache.Acquire(id);
  if (!img) {
    LICE_IBitmap* loaded = OSLoadBitmap(id, name);
    bool missing = !loaded;
    if (missing) loaded = new LICE_MemBitmap();
    img = cache.AddOrAcquire(id, loaded);
    if (!img) {
      delete loaded;
      return IBitmap(nullptr, 0, 0, nStates);
    }
    // Cached empty, so the report comes once per id.
    if (missing && img == loaded)
      fprintf(stderr, "IGraphicsLice: image %d \"%s\" could not be loaded; it is drawn empty\n", id,
              name ? name : "");
  }
  return IBitmap(img, img->getWidth(), img->getHeight(), nStates);
}

void IGraphicsLice::RetainBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData) s_bitmapCache().AddOrAcquire(-1, pBitmap->mData);
}

void IGraphicsLice::ReleaseBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData) s_bitmapCache().Release(pBitmap->mData);
}

IBitmap IGraphicsLice::CropBitmap(IBitmap* pBitmap, IRECT* pR)
{
  if (!pBitmap || !pR) return IBitmap();
  LICE_MemBitmap* img = new (std::nothrow) LICE_MemBitmap(pR->Width(), pR->Height());
  if (!img) return IBitmap();
  // Whatever the source does not cover stays transparent black.
  LICE_Clear(img, 0);
  LICE_Blit(img, pBitmap->mData, 0, 0, pR->L, pR->T, pR->Width(), pR->Height(), 1.0f, LICE_BLIT_MODE_COPY);
  IBitmap out(img, img->getWidth(), img->getHeight(), pBitmap->N);
  RetainBitmap(&out);
  return out;
}
