#pragma once
// Core Foundation stand-in: reference-counted objects with run-time type ids.
// Ownership follows the platform rule: a function named Create or Copy hands
// out a new reference the caller releases; a Get function lends one.
// The functions on any object (retain, release, type id, retain count,
// equality, hash) are as strict as the platform, where such a call crashes:
// a null, freed or foreign reference stops the process with a message. The
// functions of one type check the object they are given: a null, freed or
// foreign object, or one of another type, makes them fail (null, 0 or false)
// instead of touching memory. Objects are not thread-safe, except their
// reference counts.

#include "platform/macbase/MacTypes.h"

#include <cstddef>

typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef unsigned long CFHashCode;
typedef const void* CFTypeRef;
typedef CFTypeRef CFPropertyListRef;
typedef const struct __CFAllocator* CFAllocatorRef;
typedef const struct __CFString* CFStringRef;
typedef struct __CFString* CFMutableStringRef;

// Allocators are accepted for signature compatibility; every object comes
// from the C++ heap.
constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;
constexpr CFIndex kCFNotFound = -1;
// The id of "not a Core Foundation object".
constexpr CFTypeID _kCFRuntimeNotATypeID = 0;

// Each needs live objects; callers check for null first.
CFTypeRef CFRetain(CFTypeRef obj);
void CFRelease(CFTypeRef obj);
CFTypeID CFGetTypeID(CFTypeRef obj);
// Constant strings report a large count.
CFIndex CFGetRetainCount(CFTypeRef obj);
// Strings, numbers and data compare by content, other objects by identity.
Boolean CFEqual(CFTypeRef a, CFTypeRef b);
CFHashCode CFHash(CFTypeRef obj);
