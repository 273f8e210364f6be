#pragma once
// Bounded copies into the fixed text fields of the core and of host buffers.

#include <cstddef>
#include <cstring>

// Copies at most size - 1 characters of src and always terminates (size > 0).
inline void IPlugCopyText(char* dst, const char* src, size_t size)
{
  if (!dst || !size)
    return;
  size_t n = src ? strnlen(src, size - 1) : 0;
  if (n)
    memmove(dst, src, n);
  dst[n] = 0;
}

template <size_t N>
inline void IPlugCopyText(char (&dst)[N], const char* src)
{
  IPlugCopyText(dst, src, N);
}
