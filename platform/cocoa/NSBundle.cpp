#include "platform/cocoa/NSBundle.h"

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <vector>

namespace
{

std::string stringOf(CFTypeRef value)
{
  if (!value || CFGetTypeID(value) != CFStringGetTypeID())
    return std::string();
  auto str = static_cast<CFStringRef>(value);
  std::vector<char> buf(size_t(CFStringGetMaximumSizeForEncoding(CFStringGetLength(str), kCFStringEncodingUTF8)) + 1);
  if (!CFStringGetCString(str, buf.data(), CFIndex(buf.size()), kCFStringEncodingUTF8))
    return std::string();
  return buf.data();
}

CFStringRef createString(const char* text)
{
  return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
}

bool isFile(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

NSBundle* NSBundle::wrap(CFBundleRef bundle)
{
  if (!bundle)
    return nullptr;
  static std::mutex lock;
  static auto* known = new std::map<CFBundleRef, NSBundle*>;
  std::lock_guard<std::mutex> guard(lock);
  NSBundle*& b = (*known)[bundle];
  if (!b)
    b = new NSBundle(bundle);
  return b;
}

NSBundle* NSBundle::bundleWithIdentifier(const char* identifier)
{
  if (!identifier)
    return nullptr;
  CFStringRef id = createString(identifier);
  if (!id)
    return nullptr;
  NSBundle* b = wrap(CFBundleGetBundleWithIdentifier(id));
  CFRelease(id);
  return b;
}

NSBundle* NSBundle::bundleWithPath(const char* path)
{
  if (!path)
    return nullptr;
  std::string p(path);
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(p.data()),
                                                         CFIndex(p.size()), true);
  if (!url)
    return nullptr;
  CFBundleRef bundle = CFBundleCreate(kCFAllocatorDefault, url);
  CFRelease(url);
  if (!bundle)
    return nullptr;
  NSBundle* b = wrap(bundle);
  CFRelease(bundle); // the registry keeps every bundle it has made
  return b;
}

NSBundle* NSBundle::mainBundle()
{
  return wrap(CFBundleGetMainBundle());
}

std::string NSBundle::bundleIdentifier() const
{
  return stringOf(CFBundleGetIdentifier(mBundle));
}

std::string NSBundle::bundlePath() const
{
  CFURLRef url = CFBundleCopyBundleURL(mBundle);
  if (!url)
    return std::string();
  CFStringRef path = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
  std::string s = stringOf(path);
  if (path)
    CFRelease(path);
  CFRelease(url);
  return s;
}

std::string NSBundle::executablePath() const
{
  if (mBundle == CFBundleGetMainBundle())
  {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, size_t(n)) : std::string();
  }
  std::string exe = objectForInfoDictionaryKey("CFBundleExecutable");
  if (exe.empty() || exe.find('/') != std::string::npos)
    return std::string();
  return bundlePath() + "/Contents/" + exe;
}

std::string NSBundle::resourcePath() const
{
  return bundlePath() + "/Contents/Resources";
}

std::string NSBundle::pathForResource(const char* name, const char* type) const
{
  if (!name || !*name)
    return std::string();
  std::string file = name;
  if (type && *type)
    file += std::string(".") + type;
  if (file.find('/') != std::string::npos)
    return std::string();
  std::string path = resourcePath() + "/" + file;
  return isFile(path) ? path : std::string();
}

std::string NSBundle::objectForInfoDictionaryKey(const char* key) const
{
  if (!key)
    return std::string();
  CFStringRef k = createString(key);
  if (!k)
    return std::string();
  std::string s = stringOf(CFBundleGetValueForInfoDictionaryKey(mBundle, k));
  CFRelease(k);
  return s;
}
