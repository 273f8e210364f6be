#include "tools/auhost/AUHostComponent.h"

#include <dlfcn.h>

#include <climits>
#include <cstring>

#include "platform/corefoundation/CoreFoundation.h"

namespace
{

std::string InfoText(CFBundleRef bundle, const char* key)
{
  CFStringRef k = CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8);
  CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(bundle, k);
  CFRelease(k);
  char text[PATH_MAX];
  if (!value || CFGetTypeID(value) != CFStringGetTypeID() ||
      !CFStringGetCString(static_cast<CFStringRef>(value), text, sizeof text, kCFStringEncodingUTF8))
    return std::string();
  return text;
}

bool ParseFourCC(const std::string& text, OSType* out)
{
  if (text.size() != 4)
    return false;
  *out = MacFourCC({text[0], text[1], text[2], text[3], 0});
  return true;
}

} // namespace

AUHostComponent::~AUHostComponent()
{
  if (mViewComponent)
    UnregisterComponent(mViewComponent);
  if (mComponent)
    UnregisterComponent(mComponent);
  if (mLibrary)
    dlclose(mLibrary);
}

bool AUHostComponent::Fail(const std::string& why)
{
  mError = why;
  return false;
}

bool AUHostComponent::Load(const std::string& bundlePath)
{
  char full[PATH_MAX];
  if (!realpath(bundlePath.c_str(), full))
    return Fail("no such bundle: " + bundlePath);
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(full),
                                                         CFIndex(strlen(full)), true);
  CFBundleRef bundle = CFBundleCreate(kCFAllocatorDefault, url);
  if (url)
    CFRelease(url);
  if (!bundle)
    return Fail("no readable Contents/Info.plist in " + bundlePath);
  std::string executable = InfoText(bundle, "CFBundleExecutable");
  std::string entryName = InfoText(bundle, "AudioComponentEntry");
  std::string viewEntryName = InfoText(bundle, "AudioViewComponentEntry");
  std::string name = InfoText(bundle, "AudioComponentName");
  bool described = ParseFourCC(InfoText(bundle, "AudioComponentType"), &mDescription.componentType) &&
                   ParseFourCC(InfoText(bundle, "AudioComponentSubType"), &mDescription.componentSubType) &&
                   ParseFourCC(InfoText(bundle, "AudioComponentManufacturer"), &mDescription.componentManufacturer);
  CFRelease(bundle); // stays known to the process by its identifier
  if (!described || executable.empty() || entryName.empty())
    return Fail("Info.plist does not describe a component");
  if (executable.find('/') != std::string::npos)
    return Fail("executable name is a path: " + executable);

  std::string libraryPath = std::string(full) + "/Contents/" + executable;
  // Kept mapped after dlclose, as the platform keeps loaded bundles: code a
  // unit handed out (call-backs, class methods) stays valid for the process.
  mLibrary = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!mLibrary)
    return Fail(std::string("cannot load the library: ") + dlerror());
  auto entry = reinterpret_cast<ComponentRoutine>(dlsym(mLibrary, entryName.c_str()));
  if (!entry)
    return Fail("the library has no entry " + entryName);

  CFStringRef cfName = CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
  mComponent = RegisterComponent(&mDescription, entry, 0, cfName);
  if (!mComponent)
  {
    if (cfName)
      CFRelease(cfName);
    return Fail("registration failed");
  }
  if (!viewEntryName.empty())
  {
    auto viewEntry = reinterpret_cast<ComponentRoutine>(dlsym(mLibrary, viewEntryName.c_str()));
    ComponentDescription view = mDescription;
    view.componentType = MacFourCC("auvw");
    mViewComponent = viewEntry ? RegisterComponent(&view, viewEntry, 0, cfName) : nullptr;
    if (!mViewComponent)
      mError = "the library has no view entry " + viewEntryName;
  }
  if (cfName)
    CFRelease(cfName);
  return mViewComponent || viewEntryName.empty() ? true : Fail(mError);
}
