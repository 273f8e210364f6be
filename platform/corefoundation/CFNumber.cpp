#include "platform/corefoundation/CFNumber.h"

#include "platform/corefoundation/cf_object.h"

#include <cstring>
#include <new>

namespace
{

struct CFNumberObj : CFObject
{
  static constexpr CFTypeID kTypeID = kCFObjNumber;
  explicit CFNumberObj(SInt32 v) : CFObject(kTypeID, CFOpsOf<CFNumberObj>()), value(v) {}
  bool Equals(const CFNumberObj& other) const { return value == other.value; }
  CFHashCode Hash() const { return CFHashCode(UInt32(value)); }
  SInt32 value;
};

bool Is32BitType(CFNumberType type)
{
  return type == kCFNumberSInt32Type || type == kCFNumberIntType;
}

} // namespace

CFTypeID CFNumberGetTypeID()
{
  return kCFObjNumber;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* valuePtr)
{
  if (!valuePtr || !Is32BitType(type))
    return nullptr;
  SInt32 v;
  memcpy(&v, valuePtr, sizeof v);
  return CFRefOf<CFNumberRef>(new (std::nothrow) CFNumberObj(v));
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* valuePtr)
{
  auto* n = CFCast<CFNumberObj>(number);
  if (!n || !valuePtr || !Is32BitType(type))
    return false;
  memcpy(valuePtr, &n->value, sizeof n->value);
  return true;
}

CFNumberType CFNumberGetType(CFNumberRef number)
{
  return CFCast<CFNumberObj>(number) ? kCFNumberSInt32Type : 0;
}
