// The process-wide bitmap cache: every image is decoded once and shared by
// all editors of all plug-in instances in the process. Items are keyed by
// resource id (-1 for retained bitmaps), looked up in list order and freed
// at process exit, or by a release once no editor holds them. The lock is
// held around lookup, append and removal only, never while decoding.

#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include "wdl/IPlug/graphics/IGraphicsLice.h"
#include "wdl/mutex.h"
#include "wdl/ptrlist.h"

namespace {

struct BitmapCacheItem {
  int mID;
  LICE_IBitmap* mImage;
  // Loads and retains not yet released, per editor (the editor's own
  // BitmapHolds). A release frees the bitmap only when no editor holds it.
  std::vector<std::pair<const void*, int>> mHolds;

  void Hold(const void* holder)
  {
    for (auto& h : mHolds)
      if (h.first == holder) {
        ++h.second;
        return;
      }
    mHolds.emplace_back(holder, 1);
  }

  // Drops one of holder's holds, or all of them; true when no editor holds
  // the bitmap afterwards.
  bool Drop(const void* holder, bool all)
  {
    for (size_t i = 0; i < mHolds.size(); ++i)
      if (mHolds[i].first == holder && (all || --mHolds[i].second == 0)) {
        mHolds.erase(mHolds.begin() + long(i));
        break;
      }
    return mHolds.empty();
  }
};

void ReportMissing(int id, const char* name)
{
  fprintf(stderr, "IGraphicsLice: image %d \"%s\" could not be loaded; it is drawn empty\n", id, name ? name : "");
}

class BitmapCache {
public:
  ~BitmapCache()
  {
    for (int i = 0, n = mItems.GetSize(); i < n; ++i) delete mItems.Get(i)->mImage;
    mItems.Empty(true);
  }

  // The image cached for id, held once more by holder; null on a miss.
  LICE_IBitmap* Acquire(const void* holder, int id)
  {
    PlugMutexScope lock(&mMutex);
    BitmapCacheItem* item = FindID(id);
    if (!item) return nullptr;
    item->Hold(holder);
    return item->mImage;
  }

  // Caches img under id, unless another thread cached that id meanwhile:
  // then img is freed and the first one is returned. Held by holder either
  // way. Null when the list cannot grow.
  LICE_IBitmap* AddOrAcquire(const void* holder, int id, LICE_IBitmap* img)
  {
    PlugMutexScope lock(&mMutex);
    if (BitmapCacheItem* item = id >= 0 ? FindID(id) : FindImage(img)) {
      item->Hold(holder);
      if (item->mImage != img) delete img;
      return item->mImage;
    }
    auto* item = new (std::nothrow) BitmapCacheItem{id, img, {}};
    if (!item || !mItems.Add(item)) {
      delete item;
      return nullptr;
    }
    item->Hold(holder);
    return img;
  }

  void Release(const void* holder, LICE_IBitmap* img)
  {
    {
      PlugMutexScope lock(&mMutex);
      BitmapCacheItem* item = FindImage(img);
      if (!item || !item->Drop(holder, false)) return;
      mItems.Delete(mItems.Find(item), true);
    }
    delete img;
  }

  void DropHolder(const void* holder)
  {
    PlugMutexScope lock(&mMutex);
    for (int i = 0, n = mItems.GetSize(); i < n; ++i) mItems.Get(i)->Drop(holder, true);
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

IGraphicsLice::BitmapHolds::~BitmapHolds()
{
  s_bitmapCache().DropHolder(this);
}

IBitmap IGraphicsLice::LoadIBitmap(int id, const char* name, int nStates)
{
  BitmapCache& cache = s_bitmapCache();
  LICE_IBitmap* img = cache.Acquire(&mBitmapHolds, id);
  if (!img) {
    LICE_IBitmap* loaded = OSLoadBitmap(id, name);
    bool missing = !loaded;
    if (missing) loaded = new LICE_MemBitmap();
    img = cache.AddOrAcquire(&mBitmapHolds, id, loaded);
    if (!img) {
      delete loaded;
      return IBitmap(nullptr, 0, 0, nStates);
    }
    // Cached empty, so the report comes once per id.
    if (missing && img == loaded) ReportMissing(id, name);
  }
  return IBitmap(img, img->getWidth(), img->getHeight(), nStates);
}

void IGraphicsLice::RetainBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData) s_bitmapCache().AddOrAcquire(&mBitmapHolds, -1, pBitmap->mData);
}

void IGraphicsLice::ReleaseBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData) s_bitmapCache().Release(&mBitmapHolds, pBitmap->mData);
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
