#pragma once
// Growable heap block shared by every container of the plug-in. The growth
// rule is fixed: allocation sizes decide when a buffer moves, and callers
// (and tests) depend on that.

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

class WDL_HeapBuf
{
public:
  explicit WDL_HeapBuf(int granul = 4096) : m_granul(granul) {}
  ~WDL_HeapBuf() { free(m_buf); }
  WDL_HeapBuf(const WDL_HeapBuf&) = delete;
  WDL_HeapBuf& operator=(const WDL_HeapBuf&) = delete;

  void* Get() const { return m_size ? m_buf : nullptr; }
  int GetSize() const { return m_size; }
  int GetAlloc() const { return m_alloc; }
  int GetGranul() const { return m_granul; }

  // Bytes allocated for a block of n bytes with the given granularity, or -1
  // when the result does not fit an int.
  static int64_t AllocFor(int64_t n, int granul)
  {
    int64_t g = n >> 1;
    if (g < granul)
      g = granul;
    int64_t alloc;
    if (granul < 4096)
    {
      alloc = g + n;
    }
    else
    {
      g &= ~int64_t(4095);
      if (g < 4096)
        g = 4096;
      if (g > 0x400000)
        g = 0x400000;
      alloc = ((g + n + 96) & ~int64_t(4095)) - 96;
    }
    return alloc > INT_MAX ? -1 : alloc;
  }

  // Resizes to n bytes. On failure (a negative or oversized n, or no memory)
  // the buffer is left exactly as it was, so GetSize() differs from n.
  void* Resize(int n, bool resizedown = true)
  {
    if (n == m_size)
      return Get();
    if (n < 0)
      return Get();
    if (n <= m_alloc)
    {
      if (m_size <= n || !resizedown || n >= m_alloc / 2 || n >= m_alloc - 4 * int64_t(m_granul))
      {
        m_size = n;
        return Get();
      }
    }
    int64_t alloc = AllocFor(n, m_granul);
    if (alloc < 0)
      return Get();
    if (alloc < m_mas)
      alloc = m_mas;
    if (alloc != m_alloc)
    {
      void* nb = realloc(m_buf, size_t(alloc));
      if (!nb && alloc)
      {
        nb = malloc(size_t(alloc));
        if (!nb)
          return Get();
        if (m_buf)
        {
          memcpy(nb, m_buf, size_t(n < m_size ? n : m_size));
          free(m_buf);
        }
      }
      m_buf = nb;
      m_alloc = int(alloc);
    }
    m_size = n;
    return Get();
  }

  void* m_buf = nullptr;
  int m_granul;
  int m_alloc = 0;
  int m_size = 0;
  int m_mas = 0;
};

// Typed array on a WDL_HeapBuf; the element count is the byte size over sizeof(T).
template <class T>
class WDL_TypedBuf
{
public:
  explicit WDL_TypedBuf(int granul = 4096) : m_hb(granul) {}

  T* Get() const { return static_cast<T*>(m_hb.Get()); }
  int GetSize() const { return m_hb.GetSize() / int(sizeof(T)); }

  // Returns false, leaving the buffer unchanged, when the size cannot be had.
  bool Resize(int count, bool resizedown = true)
  {
    int64_t bytes = int64_t(count) * int64_t(sizeof(T));
    if (count < 0 || bytes > INT_MAX)
      return false;
    m_hb.Resize(int(bytes), resizedown);
    return m_hb.GetSize() == int(bytes);
  }

  // Appends count elements (copied from data when non-null); null on failure.
  T* Add(const T* data, int count = 1)
  {
    int old = GetSize();
    if (count < 0 || old > INT_MAX - count || !Resize(old + count, false))
      return nullptr;
    T* dst = Get() + old;
    if (data && count)
      memmove(static_cast<void*>(dst), data, size_t(GetSize() - old) * sizeof(T));
    return dst;
  }

  WDL_HeapBuf m_hb;
};
