#include "platform/corefoundation/CFString.h"

#include "platform/corefoundation/cf_object.h"
#include "platform/corefoundation/cf_utf8.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <string>

namespace
{

struct CFStringObj : CFObject
{
  static constexpr CFTypeID kTypeID = kCFObjString;
  CFStringObj(std::string t, CFIndex units)
    : CFObject(kTypeID, CFOpsOf<CFStringObj>()), text(std::move(t)), utf16Length(units)
  {
  }
  bool Equals(const CFStringObj& other) const { return text == other.text; }
  CFHashCode Hash() const { return std::hash<std::string>()(text); }

  std::string text; // UTF-8, no embedded zero
  CFIndex utf16Length;
};

CFIndex Utf16Units(const UInt8* s, size_t n)
{
  return DecodeUtf16(s, n, [](UniChar) {});
}

bool IsAscii(const std::string& text)
{
  for (unsigned char c : text)
    if (c >= 0x80)
      return false;
  return true;
}

} // namespace

CFTypeID CFStringGetTypeID()
{
  return kCFObjString;
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes, CFStringEncoding encoding,
                                    Boolean)
{
  if (numBytes < 0 || (!bytes && numBytes))
    return nullptr;
  if (encoding != kCFStringEncodingUTF8 && encoding != kCFStringEncodingASCII)
    return nullptr;
  size_t n = size_t(numBytes);
  if (n && memchr(bytes, 0, n))
    return nullptr;
  std::string text(reinterpret_cast<const char*>(bytes), n);
  if (encoding == kCFStringEncodingASCII && !IsAscii(text))
    return nullptr;
  CFIndex units = Utf16Units(bytes, n);
  if (units < 0)
    return nullptr;
  return CFRefOf<CFStringRef>(new (std::nothrow) CFStringObj(std::move(text), units));
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding)
{
  if (!cStr)
    return nullptr;
  return CFStringCreateWithBytes(alloc, reinterpret_cast<const UInt8*>(cStr), CFIndex(strlen(cStr)), encoding, false);
}

Boolean CFStringGetCString(CFStringRef str, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
  if (!buffer || bufferSize <= 0)
    return false;
  buffer[0] = 0;
  auto* s = CFCast<CFStringObj>(str);
  if (!s)
    return false;
  if (encoding != kCFStringEncodingUTF8 && (encoding != kCFStringEncodingASCII || !IsAscii(s->text)))
    return false;
  if (s->text.size() >= size_t(bufferSize))
    return false;
  memcpy(buffer, s->text.c_str(), s->text.size() + 1);
  return true;
}

CFIndex CFStringGetLength(CFStringRef str)
{
  auto* s = CFCast<CFStringObj>(str);
  return s ? s->utf16Length : 0;
}

void CFStringGetCharacters(CFStringRef str, CFRange range, UniChar* buffer)
{
  auto* s = CFCast<CFStringObj>(str);
  if (!s || !buffer || range.location < 0 || range.length < 0 || range.location > s->utf16Length ||
      range.length > s->utf16Length - range.location)
  {
    // The platform raises a range exception here and the process ends.
    fprintf(stderr, "CFStringGetCharacters: range {%ld, %ld} out of bounds\n", long(range.location),
            long(range.length));
    abort();
  }
  CFIndex at = 0, end = range.location + range.length;
  DecodeUtf16(reinterpret_cast<const UInt8*>(s->text.data()), s->text.size(), [&](UniChar u) {
    if (at >= range.location && at < end)
      buffer[at - range.location] = u;
    ++at;
  });
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding)
{
  if (length < 0)
    return kCFNotFound;
  if (encoding == kCFStringEncodingASCII)
    return length;
  // A UTF-16 unit needs at most 3 UTF-8 bytes (a surrogate pair 4 for 2 units).
  if (encoding == kCFStringEncodingUTF8)
    return length > LONG_MAX / 3 ? kCFNotFound : length * 3;
  return kCFNotFound;
}

CFStringRef __CFStringMakeConstantString(const char* cStr)
{
  static std::mutex lock;
  static std::map<std::string, CFStringObj*>* table = new std::map<std::string, CFStringObj*>;
  if (!cStr)
    return nullptr;
  std::lock_guard<std::mutex> guard(lock);
  auto it = table->find(cStr);
  if (it != table->end())
    return CFRefOf<CFStringRef>(it->second);
  auto* s = CFCast<CFStringObj>(CFStringCreateWithCString(kCFAllocatorDefault, cStr, kCFStringEncodingUTF8));
  if (!s)
    return nullptr;
  s->immortal = true;
  (*table)[cStr] = s;
  return CFRefOf<CFStringRef>(s);
}

const char* CFStringUTF8(CFTypeRef str)
{
  auto* s = CFCast<CFStringObj>(str);
  return s ? s->text.c_str() : nullptr;
}
