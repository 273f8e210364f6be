#include "platform/corefoundation/CFBundle.h"

#include "platform/corefoundation/cf_info_plist.h"
#include "platform/corefoundation/cf_object.h"
#include "platform/corefoundation/cf_url.h"

#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace
{

constexpr long kMaxInfoPlistBytes = 1 << 20;

struct CFBundleObj : CFObject
{
  static constexpr CFTypeID kTypeID = kCFObjBundle;
  CFBundleObj(CFURLRef u, CFDictionaryRef i) : CFObject(kTypeID, CFOpsOf<CFBundleObj>()), url(u), info(i) {}
  ~CFBundleObj()
  {
    if (url)
      CFRelease(url);
    if (info)
      CFRelease(info);
    if (mainIdentifier)
      CFRelease(mainIdentifier);
  }
  CFURLRef url;
  CFDictionaryRef info;
  CFStringRef mainIdentifier = nullptr; // main bundle only
};

std::mutex& RegistryLock()
{
  static std::mutex lock;
  return lock;
}

// Known bundles; each holds one reference for the life of the process.
std::vector<CFBundleObj*>& Registry()
{
  static auto* bundles = new std::vector<CFBundleObj*>;
  return *bundles;
}

bool ReadFile(const std::string& path, std::vector<UInt8>* out)
{
  FILE* f = fopen(path.c_str(), "rb");
  if (!f)
    return false;
  UInt8 chunk[4096];
  size_t n;
  bool ok = true;
  while (ok && (n = fread(chunk, 1, sizeof chunk, f)) > 0)
  {
    out->insert(out->end(), chunk, chunk + n);
    ok = out->size() <= size_t(kMaxInfoPlistBytes);
  }
  ok = ok && !ferror(f);
  fclose(f);
  return ok;
}

CFURLRef ExecutableFolderURL()
{
  std::vector<char> buf(4096);
  ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  std::string path = n > 0 ? std::string(buf.data(), size_t(n)) : std::string("/");
  size_t slash = path.rfind('/');
  path = (slash == std::string::npos || slash == 0) ? "/" : path.substr(0, slash);
  return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.data()),
                                                 CFIndex(path.size()), true);
}

CFBundleObj* MainBundle()
{
  static CFBundleObj* main = [] {
    CFDictionaryRef empty = CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                                      &kCFTypeDictionaryValueCallBacks);
    auto* b = new CFBundleObj(ExecutableFolderURL(), empty);
    b->immortal = true;
    return b;
  }();
  return main;
}

} // namespace

CFTypeID CFBundleGetTypeID()
{
  return kCFObjBundle;
}

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL)
{
  const char* root = CFURLPath(bundleURL);
  if (!root)
    return nullptr;
  std::lock_guard<std::mutex> guard(RegistryLock());
  for (CFBundleObj* b : Registry())
  {
    if (CFEqual(b->url, bundleURL))
    {
      CFRetain(CFRefOf<CFTypeRef>(b));
      return CFRefOf<CFBundleRef>(b);
    }
  }
  std::vector<UInt8> bytes;
  if (!ReadFile(std::string(root) + "/Contents/Info.plist", &bytes))
    return nullptr;
  CFDictionaryRef info = CFInfoPlistParse(bytes.data(), bytes.size());
  if (!info)
    return nullptr;
  auto* b = new (std::nothrow) CFBundleObj(static_cast<CFURLRef>(CFRetain(bundleURL)), info);
  if (!b)
  {
    CFRelease(bundleURL);
    CFRelease(info);
    return nullptr;
  }
  Registry().push_back(b);
  CFRetain(CFRefOf<CFTypeRef>(b));
  return CFRefOf<CFBundleRef>(b);
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID)
{
  if (!bundleID || CFGetTypeID(bundleID) != CFStringGetTypeID())
    return nullptr;
  std::lock_guard<std::mutex> guard(RegistryLock());
  for (CFBundleObj* b : Registry())
  {
    CFTypeRef id = CFDictionaryGetValue(b->info, CFSTR("CFBundleIdentifier"));
    if (id && CFEqual(id, bundleID))
      return CFRefOf<CFBundleRef>(b);
  }
  CFBundleObj* main = MainBundle();
  return main->mainIdentifier && CFEqual(main->mainIdentifier, bundleID) ? CFRefOf<CFBundleRef>(main) : nullptr;
}

CFBundleRef CFBundleGetMainBundle()
{
  return CFRefOf<CFBundleRef>(MainBundle());
}

void CFBundleSetMainBundleIdentifier(CFStringRef bundleID)
{
  CFBundleObj* main = MainBundle();
  CFStringRef old = main->mainIdentifier;
  bool isString = bundleID && CFGetTypeID(bundleID) == CFStringGetTypeID();
  main->mainIdentifier = isString ? static_cast<CFStringRef>(CFRetain(bundleID)) : nullptr;
  if (old)
    CFRelease(old);
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle)
{
  auto* b = CFCast<CFBundleObj>(bundle);
  if (!b)
    return nullptr;
  if (b == MainBundle())
    return b->mainIdentifier;
  return static_cast<CFStringRef>(CFDictionaryGetValue(b->info, CFSTR("CFBundleIdentifier")));
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle)
{
  auto* b = CFCast<CFBundleObj>(bundle);
  return b ? static_cast<CFURLRef>(CFRetain(b->url)) : nullptr;
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle)
{
  auto* b = CFCast<CFBundleObj>(bundle);
  return b ? b->info : nullptr;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key)
{
  return CFDictionaryGetValue(CFBundleGetInfoDictionary(bundle), key);
}
