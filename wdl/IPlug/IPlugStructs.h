#pragma once
// State bytes (ByteChunk) and preset slots (IPreset). Values are stored in
// native byte order (little-endian here) without alignment.

#include <climits>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "wdl/heapbuf.h"
#include "wdl/wdlstring.h"

class ByteChunk
{
public:
  ByteChunk() = default;
  ByteChunk(const ByteChunk&) = delete;
  ByteChunk& operator=(const ByteChunk&) = delete;

  // Appends size bytes; returns the new size, or the unchanged size when the
  // chunk cannot grow (so callers can tell).
  int PutBytes(const void* data, int size)
  {
    int n = Size();
    if (size <= 0 || !data)
      return n;
    if (n > INT_MAX - size || !mData.Resize(n + size))
      return n;
    memcpy(mData.Get() + n, data, size_t(size));
    return n + size;
  }

  template <class T>
  int Put(const T* value)
  {
    static_assert(std::is_trivially_copyable_v<T>);
    return PutBytes(value, int(sizeof(T)));
  }

  int PutStr(const char* str)
  {
    size_t len = str ? strlen(str) : 0;
    if (len > size_t(INT_MAX - 4))
      return Size();
    int32_t slen = int32_t(len);
    int n = Size();
    if (Put(&slen) != n + 4)
      return n;
    if (slen && PutBytes(str, slen) != n + 4 + slen)
    {
      mData.Resize(n);
      return n;
    }
    return Size();
  }

  int PutChunk(const ByteChunk* other) { return PutBytes(other->GetData(), other->Size()); }

  // Copies sizeof(T) bytes at startPos into *value; returns the next position,
  // or -1 (value untouched) when they are not all there.
  template <class T>
  int Get(T* value, int startPos) const
  {
    static_assert(std::is_trivially_copyable_v<T>);
    if (startPos < 0 || int64_t(startPos) + int64_t(sizeof(T)) > int64_t(Size()))
      return -1;
    memcpy(value, mData.Get() + startPos, sizeof(T));
    return startPos + int(sizeof(T));
  }

  // Reads an int32 length and that many characters into str (cut at an
  // embedded zero). A length that is negative or runs past the end reads
  // nothing and returns -1.
  int GetStr(WDL_String* str, int startPos) const
  {
    int32_t len = 0;
    int pos = Get(&len, startPos);
    if (pos < 0 || len < 0 || int64_t(pos) + len > int64_t(Size()))
      return -1;
    if (len > 0)
    {
      const char* p = reinterpret_cast<const char*>(mData.Get() + pos);
      int k = int(strnlen(p, size_t(len)));
      if (k)
        str->Set(p, k);
      else
        str->Set("");
    }
    return pos + len;
  }

  void Clear() { mData.Resize(0); }
  bool Resize(int newSize) { return mData.Resize(newSize); }
  int Size() const { return mData.GetSize(); }
  uint8_t* GetData() const { return mData.Get(); }
  bool IsEqual(const ByteChunk& other) const
  {
    return Size() == other.Size() && (!Size() || !memcmp(GetData(), other.GetData(), size_t(Size())));
  }

private:
  WDL_TypedBuf<uint8_t> mData{4096};
};

// Preset names hold at least 255 characters plus the terminator.
constexpr int MAX_PRESET_NAME_LEN = 256;

struct IPreset
{
  bool mInitialised = false;
  char mName[MAX_PRESET_NAME_LEN] = {};
  ByteChunk mChunk;
};
