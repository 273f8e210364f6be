#pragma once
// File URLs: an absolute POSIX path, kept without a trailing slash (except
// the root).

#include "platform/corefoundation/CFString.h"

typedef const struct __CFURL* CFURLRef;

typedef CFIndex CFURLPathStyle;
constexpr CFURLPathStyle kCFURLPOSIXPathStyle = 0;

CFTypeID CFURLGetTypeID();
// Null for a negative length, an empty or relative path, or an embedded zero.
CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef alloc, const UInt8* buffer, CFIndex bufLen,
                                                 Boolean isDirectory);
// Copies the path and a terminator; false when maxBufLen is too small for
// both (a buffer of at least one byte then holds an empty text).
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer, CFIndex maxBufLen);
// A new string of the path; null for another style or a non-URL.
CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle pathStyle);
