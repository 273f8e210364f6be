#pragma once
// Core Foundation stand-in: reference-counted objects with run-time type ids.
// Ownership follows the platform rule: a function named Create or Copy hands
// out a new reference the caller releases; a Get function lends one.
// Every function checks the type of the object it is given: a null, a freed
// or a foreign object, or an object of another type, makes it fail (null, 0
// or false) instead of touching memory. Objects are not thread-safe, except
// their reference counts.

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

// Null is accepted: Retain returns it and Release does nothing.
CFTypeRef CFRetain(CFTypeRef obj);
void CFRelease(CFTypeRef obj);
// The type id of a live object; _kCFRuntimeNotATypeID for anything else.
CFTypeID CFGetTypeID(CFTypeRef obj);
// 0 for anything that is not a live object; constant strings report a large count.
CFIndex CFGetRetainCount(CFTypeRef obj);
// Strings, numbers and data compare by content, other objects by identity.
Boolean CFEqual(CFTypeRef a, CFTypeRef b);
CFHashCode CFHash(CFTypeRef obj);
