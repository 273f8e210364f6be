#pragma once
// List of pointers on a WDL_HeapBuf. The list owns its objects only when an
// operation is told to delete them. Its block never shrinks.

#include "wdl/heapbuf.h"

template <class T>
class WDL_PtrList
{
public:
  explicit WDL_PtrList(int granul = 4096) : m_hb(granul) {}

  T** GetList() const { return static_cast<T**>(m_hb.Get()); }
  int GetSize() const { return m_hb.GetSize() / int(sizeof(T*)); }

  T* Get(int index) const
  {
    T** list = GetList();
    return (list && index >= 0 && index < GetSize()) ? list[index] : nullptr;
  }

  // Appends p; returns null (and stores nothing) when the list cannot grow.
  T* Add(T* p)
  {
    int n = GetSize();
    int64_t bytes = int64_t(n + 1) * int64_t(sizeof(T*));
    if (bytes > INT_MAX)
      return nullptr;
    m_hb.Resize(int(bytes), false);
    if (m_hb.GetSize() != int(bytes))
      return nullptr;
    GetList()[n] = p;
    return p;
  }

  int Find(const T* p) const
  {
    T** list = GetList();
    for (int i = 0, n = GetSize(); i < n; ++i)
      if (list[i] == p)
        return i;
    return -1;
  }

  void Delete(int index, bool deleteObject = false)
  {
    int n = GetSize();
    if (index < 0 || index >= n)
      return;
    T** list = GetList();
    if (deleteObject)
      delete list[index];
    memmove(list + index, list + index + 1, size_t(n - index - 1) * sizeof(T*));
    m_hb.Resize(int((n - 1) * sizeof(T*)), false);
  }

  void Empty(bool deleteObjects = false)
  {
    if (deleteObjects)
      for (int i = GetSize() - 1; i >= 0; --i)
        delete GetList()[i];
    m_hb.Resize(0, false);
  }

  WDL_HeapBuf m_hb;
};
