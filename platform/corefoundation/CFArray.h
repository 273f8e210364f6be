#pragma once
// Mutable arrays. With kCFTypeArrayCallBacks the array retains what it holds
// and releases it when removed or when the array goes; with null call-backs
// it holds plain pointers and owns nothing.

#include "platform/corefoundation/CFBase.h"

typedef const void* (*CFArrayRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFArrayReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFArrayCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFArrayEqualCallBack)(const void* value1, const void* value2);

struct CFArrayCallBacks
{
  CFIndex version;
  CFArrayRetainCallBack retain;
  CFArrayReleaseCallBack release;
  CFArrayCopyDescriptionCallBack copyDescription;
  CFArrayEqualCallBack equal;
};

extern const CFArrayCallBacks kCFTypeArrayCallBacks;

typedef const struct __CFArray* CFArrayRef;
typedef struct __CFArray* CFMutableArrayRef;

CFTypeID CFArrayGetTypeID();
// capacity is a hint (0 or more; a negative capacity fails with null). The
// call-backs are copied; null means plain pointers.
CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef alloc, CFIndex capacity, const CFArrayCallBacks* callBacks);
// Appends (retaining with the array's call-back); nothing for a non-array.
void CFArrayAppendValue(CFMutableArrayRef array, const void* value);
CFIndex CFArrayGetCount(CFArrayRef array);
// The value, lent; null for an index out of range or a non-array.
const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);
