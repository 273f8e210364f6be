#include "platform/corefoundation/CFURL.h"

#include "platform/corefoundation/cf_object.h"
#include "platform/corefoundation/cf_url.h"

#include <cstring>
#include <new>

namespace
{

struct CFURLObj : CFObject
{
  static constexpr CFTypeID kTypeID = kCFObjURL;
  explicit CFURLObj(std::string p) : CFObject(kTypeID, CFOpsOf<CFURLObj>()), path(std::move(p)) {}
  bool Equals(const CFURLObj& other) const { return path == other.path; }
  CFHashCode Hash() const { return std::hash<std::string>()(path); }
  std::string path;
};

} // namespace

CFTypeID CFURLGetTypeID()
{
  return kCFObjURL;
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* buffer, CFIndex bufLen, Boolean)
{
  if (!buffer || bufLen <= 0 || buffer[0] != '/' || memchr(buffer, 0, size_t(bufLen)))
    return nullptr;
  std::string path(reinterpret_cast<const char*>(buffer), size_t(bufLen));
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return CFRefOf<CFURLRef>(new (std::nothrow) CFURLObj(std::move(path)));
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8* buffer, CFIndex maxBufLen)
{
  if (!buffer || maxBufLen <= 0)
    return false;
  buffer[0] = 0;
  const char* path = CFURLPath(url);
  if (!path)
    return false;
  size_t n = strlen(path);
  if (n >= size_t(maxBufLen))
    return false;
  memcpy(buffer, path, n + 1);
  return true;
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle pathStyle)
{
  const char* path = CFURLPath(url);
  if (!path || pathStyle != kCFURLPOSIXPathStyle)
    return nullptr;
  return CFStringCreateWithCString(kCFAllocatorDefault, path, kCFStringEncodingUTF8);
}

const char* CFURLPath(CFURLRef url)
{
  auto* u = CFCast<CFURLObj>(url);
  return u ? u->path.c_str() : nullptr;
}
