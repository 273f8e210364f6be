#include "graphics/gdi/gdp_pool.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "wdl/mutex.h"
#include "wdl/ptrlist.h"

namespace
{

struct GDP_Pools
{
  WDL_PtrList<GDP_CTX> m_ctxpool{4096};
  WDL_PtrList<GDP_OBJECT> m_objpool{4096};
  WDL_Mutex m_ctxpool_mutex;
};

// Built on first use and deliberately never destroyed: a context deleted
// by some other object's static destructor must still find its pool.
GDP_Pools& pools()
{
  static GDP_Pools* p = new GDP_Pools;
  return *p;
}

template <class T>
T* takeRecord(WDL_PtrList<T>& pool)
{
  GDP_Pools& g = pools();
  T* rec = nullptr;
  {
    PlugMutexScope lock(&g.m_ctxpool_mutex);
    int n = pool.GetSize();
    if (n > 0)
    {
      rec = pool.Get(n - 1);
      pool.Delete(n - 1);
    }
  }
  if (!rec)
    return static_cast<T*>(calloc(1, sizeof(T)));
  memset(static_cast<void*>(rec), 0, sizeof(T));
  return rec;
}

template <class T>
void giveRecord(WDL_PtrList<T>& pool, T* rec)
{
  if (!rec)
    return;
  GDP_Pools& g = pools();
  {
    // Checking the limit under the lock keeps two threads from both
    // pooling the last free slot.
    PlugMutexScope lock(&g.m_ctxpool_mutex);
    if (pool.GetSize() < GDP_POOL_LIMIT && pool.Add(rec))
      return;
  }
  free(rec);
}

template <class T>
int poolCount(WDL_PtrList<T>& pool)
{
  PlugMutexScope lock(&pools().m_ctxpool_mutex);
  return pool.GetSize();
}

} // namespace

GDP_CTX* SWELL_GDP_CTX_NEW()
{
  return takeRecord(pools().m_ctxpool);
}

GDP_OBJECT* GDP_OBJECT_NEW()
{
  return takeRecord(pools().m_objpool);
}

void GDP_CTX_DELETE(GDP_CTX* ctx)
{
  giveRecord(pools().m_ctxpool, ctx);
}

void GDP_OBJECT_DELETE(GDP_OBJECT* obj)
{
  giveRecord(pools().m_objpool, obj);
}

int GDP_CtxPoolCount()
{
  return poolCount(pools().m_ctxpool);
}

int GDP_ObjPoolCount()
{
  return poolCount(pools().m_objpool);
}
