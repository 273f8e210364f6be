#include "platform/corefoundation/CFData.h"

#include "platform/corefoundation/cf_object.h"

#include <new>
#include <vector>

namespace
{

struct CFDataObj : CFObject
{
  static constexpr CFTypeID kTypeID = kCFObjData;
  CFDataObj() : CFObject(kTypeID, CFOpsOf<CFDataObj>()) {}
  bool Equals(const CFDataObj& other) const { return bytes == other.bytes; }
  CFHashCode Hash() const { return CFHashCode(bytes.size()); }
  std::vector<UInt8> bytes;
};

} // namespace

CFTypeID CFDataGetTypeID()
{
  return kCFObjData;
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length)
{
  if (length < 0 || (!bytes && length))
    return nullptr;
  auto* d = new (std::nothrow) CFDataObj;
  if (!d)
    return nullptr;
  try
  {
    d->bytes.assign(bytes, bytes + length);
  }
  catch (const std::bad_alloc&)
  {
    delete d;
    return nullptr;
  }
  return CFRefOf<CFDataRef>(d);
}

CFIndex CFDataGetLength(CFDataRef data)
{
  auto* d = CFCast<CFDataObj>(data);
  return d ? CFIndex(d->bytes.size()) : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef data)
{
  auto* d = CFCast<CFDataObj>(data);
  return (d && !d->bytes.empty()) ? d->bytes.data() : nullptr;
}
