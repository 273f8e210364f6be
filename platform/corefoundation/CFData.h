#pragma once
// Immutable byte blocks.

#include "platform/corefoundation/CFBase.h"

typedef const struct __CFData* CFDataRef;

CFTypeID CFDataGetTypeID();
// A copy of the bytes; null for a negative length or null bytes with a length.
CFDataRef CFDataCreate(CFAllocatorRef alloc, const UInt8* bytes, CFIndex length);
// 0 for anything that is not a data object.
CFIndex CFDataGetLength(CFDataRef data);
// The bytes, valid while the object lives; null when empty or not a data object.
const UInt8* CFDataGetBytePtr(CFDataRef data);
