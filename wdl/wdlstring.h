#pragma once
// Growable zero-terminated string on a WDL_HeapBuf (granularity 128). Its
// block only grows; Get() never returns null.

#include "wdl/heapbuf.h"

class WDL_String
{
public:
  WDL_String() : m_hb(128) {}
  explicit WDL_String(const char* text) : m_hb(128) { Set(text); }
  WDL_String(const WDL_String& other) : m_hb(128) { Set(other.Get()); }
  WDL_String& operator=(const WDL_String& other)
  {
    if (this != &other)
      Set(other.Get());
    return *this;
  }

  const char* Get() const
  {
    static const char empty[1] = {0};
    const char* p = static_cast<const char*>(m_hb.Get());
    return p ? p : empty;
  }
  char* GetWritable() { return static_cast<char*>(m_hb.Get()); }
  int GetLength() const { return m_hb.GetSize() ? m_hb.GetSize() - 1 : 0; }

  // Copies text, cut at maxlen characters when maxlen is non-zero. Returns
  // false (leaving the string as it was) when the block cannot grow.
  bool Set(const char* text, int maxlen = 0)
  {
    int s = Length(text, maxlen);
    if (!s && !m_hb.GetSize())
      return true;
    if (text && text >= Get() && text < Get() + GetLength() + 1)
    {
      WDL_String copy; // text lives in our own block, which may move
      if (!copy.Set(text, s))
        return false;
      return Set(copy.Get(), s);
    }
    m_hb.Resize(s + 1, false);
    if (m_hb.GetSize() != s + 1)
      return false;
    char* p = GetWritable();
    if (s)
      memcpy(p, text, size_t(s));
    p[s] = 0;
    return true;
  }

  bool Append(const char* text, int maxlen = 0)
  {
    int s = Length(text, maxlen);
    if (!s)
      return true;
    int old = GetLength();
    if (old > INT_MAX - 1 - s)
      return false;
    if (text >= Get() && text < Get() + old + 1)
    {
      WDL_String copy;
      if (!copy.Set(text, s))
        return false;
      return Append(copy.Get(), s);
    }
    m_hb.Resize(old + s + 1, false);
    if (m_hb.GetSize() != old + s + 1)
      return false;
    char* p = GetWritable();
    memcpy(p + old, text, size_t(s));
    p[old + s] = 0;
    return true;
  }

  WDL_HeapBuf m_hb;

private:
  static int Length(const char* text, int maxlen)
  {
    if (!text)
      return 0;
    if (maxlen > 0)
      return int(strnlen(text, size_t(maxlen)));
    size_t n = strlen(text);
    return n > size_t(INT_MAX - 1) ? INT_MAX - 1 : int(n);
  }
};
