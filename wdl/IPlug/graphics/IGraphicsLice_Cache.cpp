// The process-wide bitmap cache: every image is decoded once and shared by
// all editors of all plug-in instances in the process. Items are keyed by
// resource id (-1 for retained bitmaps), looked up in list order and freed
// at process exit, or by a release once no editor holds them. The lock is
// held around lookup, append and removal only, never while decoding.
//
// PNG images from the bundle arrive undecoded (LICE_DeferredPNG), so that
// creating a plug-in instance costs no decoding. One background thread
// decodes them from then on, largest first, and the first drawing that
// needs any of them decodes every one still pending, side by side, as an
// editor that draws one is about to draw them all.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "wdl/IPlug/graphics/IGraphicsLice.h"
#include "wdl/mutex.h"
#include "wdl/ptrlist.h"

namespace
{

// The largest editor strip is about a quarter of all the decoding, so more
// threads than this gain nothing.
constexpr int kMaxDecodeThreads = 4;

struct BitmapCacheItem
{
  int mID;
  LICE_IBitmap* mImage;
  // Set until the image is taken to be decoded.
  LICE_DeferredPNG* mDeferred;
  std::string mName;
  // Loads and retains not yet released, per editor (the editor's own
  // BitmapHolds). A release frees the bitmap only when no editor holds it.
  std::vector<std::pair<const void*, int>> mHolds;

  void Hold(const void* holder)
  {
    for (auto& h : mHolds)
      if (h.first == holder)
      {
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
      if (mHolds[i].first == holder && (all || --mHolds[i].second == 0))
      {
        mHolds.erase(mHolds.begin() + long(i));
        break;
      }
    return mHolds.empty();
  }
};

// An image taken to be decoded.
struct Pending
{
  LICE_DeferredPNG* image;
  int id;
  std::string name;
  bool ok;
};

void ReportMissing(int id, const char* name)
{
  fprintf(stderr, "IGraphicsLice: image %d \"%s\" could not be loaded; it is drawn empty\n", id, name ? name : "");
}

// Runs work(i) for every i below n on up to kMaxDecodeThreads threads, this
// one among them; on this one alone when no thread can be started.
template <class Work>
void RunSideBySide(int n, Work work)
{
  std::atomic<int> next{0};
  auto worker = [&] {
    for (int i; (i = next.fetch_add(1)) < n;)
      work(i);
  };
  const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> helpers;
  for (int i = 1; i < std::min({n, kMaxDecodeThreads, cores}); ++i)
  {
    try
    {
      helpers.emplace_back(worker);
    }
    catch (const std::system_error&)
    {
      break;
    }
  }
  worker();
  for (std::thread& t : helpers)
    t.join();
}

class BitmapCache
{
public:
  ~BitmapCache()
  {
    {
      PlugMutexScope lock(&mMutex);
      mStopping = true;
    }
    if (mPrefetcher.joinable())
      mPrefetcher.join();
    for (int i = 0, n = mItems.GetSize(); i < n; ++i)
      delete mItems.Get(i)->mImage;
    mItems.Empty(true);
  }

  // The image cached for id, held once more by holder; null on a miss.
  LICE_IBitmap* Acquire(const void* holder, int id)
  {
    PlugMutexScope lock(&mMutex);
    BitmapCacheItem* item = FindID(id);
    if (!item)
      return nullptr;
    item->Hold(holder);
    return item->mImage;
  }

  // Caches img under id (name kept for a later report), unless another
  // thread cached that id meanwhile: then img is freed and the first one is
  // returned. Held by holder either way. Null when the list cannot grow.
  LICE_IBitmap* AddOrAcquire(const void* holder, int id, LICE_IBitmap* img, const char* name = nullptr)
  {
    PlugMutexScope lock(&mMutex);
    if (BitmapCacheItem* item = id >= 0 ? FindID(id) : FindImage(img))
    {
      item->Hold(holder);
      if (item->mImage != img)
        delete img;
      return item->mImage;
    }
    auto* deferred = dynamic_cast<LICE_DeferredPNG*>(img);
    if (deferred && deferred->isDecoded())
      deferred = nullptr;
    auto* item = new (std::nothrow) BitmapCacheItem{id, img, deferred, name ? name : "", {}};
    if (!item || !mItems.Add(item))
    {
      delete item;
      return nullptr;
    }
    item->Hold(holder);
    if (deferred)
    {
      deferred->setFirstUseHook(DecodePendingHook, this);
      StartPrefetch();
    }
    return img;
  }

  void Release(const void* holder, LICE_IBitmap* img)
  {
    {
      PlugMutexScope lock(&mMutex);
      BitmapCacheItem* item = FindImage(img);
      if (!item || !item->Drop(holder, false))
        return;
      mItems.Delete(mItems.Find(item), true);
    }
    // A decode running side by side, or in the background, may still be writing it.
    PlugMutexScope decoding(&mDecoding);
    std::lock_guard<std::mutex> prefetching(mPrefetching);
    delete img;
  }

  void DropHolder(const void* holder)
  {
    PlugMutexScope lock(&mMutex);
    for (int i = 0, n = mItems.GetSize(); i < n; ++i)
      mItems.Get(i)->Drop(holder, true);
  }

private:
  static void DecodePendingHook(void* cache) { static_cast<BitmapCache*>(cache)->DecodePending(); }

  // Takes the pending images (all, or the largest alone) under the lock,
  // largest first, so that no thread is left with a big one at the end.
  std::vector<Pending> TakePending(bool all)
  {
    std::vector<Pending> pending;
    for (int i = 0, n = mItems.GetSize(); i < n; ++i)
    {
      BitmapCacheItem* item = mItems.Get(i);
      if (item->mDeferred && !item->mDeferred->isDecoded())
        pending.push_back({item->mDeferred, item->mID, item->mName, false});
    }
    auto pixels = [](const Pending& p) { return int64_t(p.image->getWidth()) * p.image->getHeight(); };
    std::stable_sort(pending.begin(), pending.end(),
                     [&](const Pending& x, const Pending& y) { return pixels(x) > pixels(y); });
    if (!all && pending.size() > 1)
      pending.resize(1);
    for (const Pending& p : pending)
      FindImage(p.image)->mDeferred = nullptr;
    return pending;
  }

  void DecodePending()
  {
    PlugMutexScope decoding(&mDecoding);
    std::vector<Pending> pending;
    {
      PlugMutexScope lock(&mMutex);
      pending = TakePending(true);
    }
    RunSideBySide(int(pending.size()), [&](int i) { pending[size_t(i)].ok = pending[size_t(i)].image->decode(); });
    for (const Pending& p : pending)
      if (!p.ok)
        ReportMissing(p.id, p.name.c_str());
    // The one the background thread has in hand, reported too.
    std::lock_guard<std::mutex> prefetching(mPrefetching);
  }

  // Under the lock.
  void StartPrefetch()
  {
    if (mPrefetchRunning || mStopping)
      return;
    if (mPrefetcher.joinable())
      mPrefetcher.join(); // it has finished
    try
    {
      mPrefetcher = std::thread([this] { Prefetch(); });
      mPrefetchRunning = true;
    }
    catch (const std::system_error&)
    {
      // The first use decodes them all.
    }
  }

  void Prefetch()
  {
    for (;;)
    {
      std::lock_guard<std::mutex> prefetching(mPrefetching);
      std::vector<Pending> next;
      {
        PlugMutexScope lock(&mMutex);
        if (!mStopping)
          next = TakePending(false);
        if (next.empty())
        {
          mPrefetchRunning = false;
          return;
        }
      }
      if (!next[0].image->decode())
        ReportMissing(next[0].id, next[0].name.c_str());
    }
  }

  BitmapCacheItem* FindID(int id) const
  {
    for (int i = 0, n = mItems.GetSize(); i < n; ++i)
      if (mItems.Get(i)->mID == id)
        return mItems.Get(i);
    return nullptr;
  }

  BitmapCacheItem* FindImage(const LICE_IBitmap* img) const
  {
    for (int i = 0, n = mItems.GetSize(); i < n; ++i)
      if (mItems.Get(i)->mImage == img)
        return mItems.Get(i);
    return nullptr;
  }

  WDL_PtrList<BitmapCacheItem> mItems{4096};
  WDL_Mutex mMutex;
  // Held by a side-by-side decode and by the deletion of a released bitmap.
  WDL_Mutex mDecoding;
  // Held by the background thread while it takes and decodes one image.
  std::mutex mPrefetching;
  std::thread mPrefetcher;
  bool mPrefetchRunning = false, mStopping = false; // under mMutex
};

BitmapCache& s_bitmapCache()
{
  static BitmapCache cache;
  return cache;
}

} // namespace

IGraphicsLice::BitmapHolds::~BitmapHolds()
{
  s_bitmapCache().DropHolder(this);
}

IBitmap IGraphicsLice::LoadIBitmap(int id, const char* name, int nStates)
{
  BitmapCache& cache = s_bitmapCache();
  LICE_IBitmap* img = cache.Acquire(&mBitmapHolds, id);
  if (!img)
  {
    LICE_IBitmap* loaded = OSLoadBitmap(id, name);
    bool missing = !loaded;
    if (missing)
      loaded = new LICE_MemBitmap();
    img = cache.AddOrAcquire(&mBitmapHolds, id, loaded, name);
    if (!img)
    {
      delete loaded;
      return IBitmap(nullptr, 0, 0, nStates);
    }
    // Cached empty, so the report comes once per id.
    if (missing && img == loaded)
      ReportMissing(id, name);
  }
  return IBitmap(img, img->getWidth(), img->getHeight(), nStates);
}

void IGraphicsLice::RetainBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData)
    s_bitmapCache().AddOrAcquire(&mBitmapHolds, -1, pBitmap->mData);
}

void IGraphicsLice::ReleaseBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData)
    s_bitmapCache().Release(&mBitmapHolds, pBitmap->mData);
}

IBitmap IGraphicsLice::CropBitmap(IBitmap* pBitmap, IRECT* pR)
{
  if (!pBitmap || !pR)
    return IBitmap();
  LICE_MemBitmap* img = new (std::nothrow) LICE_MemBitmap(pR->Width(), pR->Height());
  if (!img)
    return IBitmap();
  // Whatever the source does not cover stays transparent black.
  LICE_Clear(img, 0);
  LICE_Blit(img, pBitmap->mData, 0, 0, pR->L, pR->T, pR->Width(), pR->Height(), 1.0f, LICE_BLIT_MODE_COPY);
  IBitmap out(img, img->getWidth(), img->getHeight(), pBitmap->N);
  RetainBitmap(&out);
  return out;
}
