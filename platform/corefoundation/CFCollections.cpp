// Arrays and dictionaries share the call-back handling: a value is retained
// when it goes in and released when it goes out, by the collection's own
// copy of the call-backs.

#include "platform/corefoundation/CFArray.h"
#include "platform/corefoundation/CFDictionary.h"
#include "platform/corefoundation/cf_object.h"

#include <new>
#include <utility>
#include <vector>

namespace
{

const void* RetainCF(CFAllocatorRef, const void* value)
{
  return CFRetain(value);
}
void ReleaseCF(CFAllocatorRef, const void* value)
{
  CFRelease(value);
}
Boolean EqualCF(const void* a, const void* b)
{
  return CFEqual(a, b);
}
CFHashCode HashCF(const void* value)
{
  return CFHash(value);
}

struct Ownership
{
  CFDictionaryRetainCallBack retain = nullptr;
  CFDictionaryReleaseCallBack release = nullptr;

  const void* In(const void* v) const { return retain ? retain(kCFAllocatorDefault, v) : v; }
  void Out(const void* v) const
  {
    if (release)
      release(kCFAllocatorDefault, v);
  }
  bool Owns() const { return retain != nullptr; }
};

// Makes room for one more entry before anything is retained, so that running
// out of memory loses the new value without leaking a reference.
template <class V>
bool Reserve(V& v)
{
  try
  {
    v.reserve(v.size() + 1);
    return true;
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
}

struct CFArrayObj : CFObject
{
  static constexpr CFTypeID kTypeID = kCFObjArray;
  CFArrayObj() : CFObject(kTypeID, CFOpsOf<CFArrayObj>()) {}
  ~CFArrayObj()
  {
    for (const void* v : values)
      own.Out(v);
  }
  Ownership own;
  std::vector<const void*> values;
};

struct CFDictionaryObj : CFObject
{
  static constexpr CFTypeID kTypeID = kCFObjDictionary;
  CFDictionaryObj() : CFObject(kTypeID, CFOpsOf<CFDictionaryObj>()) {}
  ~CFDictionaryObj()
  {
    for (auto& [k, v] : entries)
    {
      keyOwn.Out(k);
      valueOwn.Out(v);
    }
  }
  // Index of the entry for key, or -1.
  long Find(const void* key) const
  {
    for (size_t i = 0; i < entries.size(); ++i)
    {
      const void* k = entries[i].first;
      if (k == key || (equal && equal(k, key)))
        return long(i);
    }
    return -1;
  }
  Ownership keyOwn, valueOwn;
  CFDictionaryEqualCallBack equal = nullptr;
  std::vector<std::pair<const void*, const void*>> entries;
};

} // namespace

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, RetainCF, ReleaseCF, nullptr, EqualCF};
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {0, RetainCF, ReleaseCF, nullptr, EqualCF, HashCF};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0, RetainCF, ReleaseCF, nullptr, EqualCF};

CFTypeID CFArrayGetTypeID()
{
  return kCFObjArray;
}
CFTypeID CFDictionaryGetTypeID()
{
  return kCFObjDictionary;
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex capacity, const CFArrayCallBacks* callBacks)
{
  if (capacity < 0)
    return nullptr;
  auto* a = new (std::nothrow) CFArrayObj;
  if (a && callBacks)
    a->own = {callBacks->retain, callBacks->release};
  return CFRefOf<CFMutableArrayRef>(a);
}

void CFArrayAppendValue(CFMutableArrayRef array, const void* value)
{
  auto* a = CFCast<CFArrayObj>(array);
  if (!a)
    return;
  if (!Reserve(a->values))
    return;
  a->values.push_back(a->own.In(value));
}

CFIndex CFArrayGetCount(CFArrayRef array)
{
  auto* a = CFCast<CFArrayObj>(array);
  return a ? CFIndex(a->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
  auto* a = CFCast<CFArrayObj>(array);
  if (!a || index < 0 || size_t(index) >= a->values.size())
    return nullptr;
  return a->values[size_t(index)];
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks)
{
  if (capacity < 0)
    return nullptr;
  auto* d = new (std::nothrow) CFDictionaryObj;
  if (!d)
    return nullptr;
  if (keyCallBacks)
  {
    d->keyOwn = {keyCallBacks->retain, keyCallBacks->release};
    d->equal = keyCallBacks->equal;
  }
  if (valueCallBacks)
    d->valueOwn = {valueCallBacks->retain, valueCallBacks->release};
  return CFRefOf<CFMutableDictionaryRef>(d);
}

void CFDictionarySetValue(CFMutableDictionaryRef dict, const void* key, const void* value)
{
  auto* d = CFCast<CFDictionaryObj>(dict);
  if (!d || (!key && d->keyOwn.Owns()) || (!value && d->valueOwn.Owns()))
    return;
  long i = d->Find(key);
  if (i < 0)
  {
    if (!Reserve(d->entries))
      return;
    d->entries.emplace_back(d->keyOwn.In(key), d->valueOwn.In(value));
    return;
  }
  const void* old = d->entries[size_t(i)].second;
  d->entries[size_t(i)].second = d->valueOwn.In(value);
  d->valueOwn.Out(old);
}

const void* CFDictionaryGetValue(CFDictionaryRef dict, const void* key)
{
  const void* value = nullptr;
  CFDictionaryGetValueIfPresent(dict, key, &value);
  return value;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef dict, const void* key, const void** value)
{
  auto* d = CFCast<CFDictionaryObj>(dict);
  long i = d ? d->Find(key) : -1;
  if (i < 0)
    return false;
  if (value)
    *value = d->entries[size_t(i)].second;
  return true;
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dict)
{
  auto* d = CFCast<CFDictionaryObj>(dict);
  return d ? CFIndex(d->entries.size()) : 0;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef dict, const void** keys, const void** values)
{
  auto* d = CFCast<CFDictionaryObj>(dict);
  if (!d)
    return;
  for (size_t i = 0; i < d->entries.size(); ++i)
  {
    if (keys)
      keys[i] = d->entries[i].first;
    if (values)
      values[i] = d->entries[i].second;
  }
}
