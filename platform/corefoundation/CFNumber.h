#pragma once
// Numbers. Only signed 32-bit values exist: every number the system stores
// or reads is one.

#include "platform/corefoundation/CFBase.h"

typedef CFIndex CFNumberType;
constexpr CFNumberType kCFNumberSInt32Type = 3;
constexpr CFNumberType kCFNumberIntType = 9; // the same 32 bits on this platform

typedef const struct __CFNumber* CFNumberRef;

CFTypeID CFNumberGetTypeID();
// Null for a null value pointer or a type other than the two above.
CFNumberRef CFNumberCreate(CFAllocatorRef alloc, CFNumberType type, const void* valuePtr);
// Writes the value as a 32-bit int; false (and nothing written) for another
// type, a null pointer or anything that is not a number.
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* valuePtr);
// kCFNumberSInt32Type, or 0 for anything that is not a number.
CFNumberType CFNumberGetType(CFNumberRef number);
