#pragma once
// Mutable dictionaries. With the CFType call-backs keys compare by CFEqual and
// keys and values are retained; with null call-backs both are plain pointers
// compared by identity. Values are looked up by key; a caller that needs a
// certain type checks CFGetTypeID of what it gets.

#include "platform/corefoundation/CFBase.h"

typedef const void* (*CFDictionaryRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFDictionaryReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFDictionaryCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFDictionaryEqualCallBack)(const void* value1, const void* value2);
typedef CFHashCode (*CFDictionaryHashCallBack)(const void* value);

struct CFDictionaryKeyCallBacks
{
  CFIndex version;
  CFDictionaryRetainCallBack retain;
  CFDictionaryReleaseCallBack release;
  CFDictionaryCopyDescriptionCallBack copyDescription;
  CFDictionaryEqualCallBack equal;
  CFDictionaryHashCallBack hash;
};

struct CFDictionaryValueCallBacks
{
  CFIndex version;
  CFDictionaryRetainCallBack retain;
  CFDictionaryReleaseCallBack release;
  CFDictionaryCopyDescriptionCallBack copyDescription;
  CFDictionaryEqualCallBack equal;
};

extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

typedef const struct __CFDictionary* CFDictionaryRef;
typedef struct __CFDictionary* CFMutableDictionaryRef;

CFTypeID CFDictionaryGetTypeID();
// Null for a negative capacity (a hint otherwise).
CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef alloc, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks);
// Adds or replaces. The new key and value are retained before the old value
// is released, so setting the value a key already has is safe. With retaining
// call-backs a null key or value is refused (nothing changes).
void CFDictionarySetValue(CFMutableDictionaryRef dict, const void* key, const void* value);
// The value, lent; null when the key is absent or dict is not a dictionary.
const void* CFDictionaryGetValue(CFDictionaryRef dict, const void* key);
// True and *value (when value is not null) set when the key is present.
Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef dict, const void* key, const void** value);
CFIndex CFDictionaryGetCount(CFDictionaryRef dict);
// Fills keys and values (either may be null) with CFDictionaryGetCount
// entries each, in insertion order; both lent.
void CFDictionaryGetKeysAndValues(CFDictionaryRef dict, const void** keys, const void** values);
