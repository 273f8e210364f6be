#include "wdl/IPlug/vst/IPlugVSTBundle.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/cocoa/NSBundle.h"

bool VSTResourcePathForLibrary(const char* libraryPath, WDL_String* pResources)
{
  if (!libraryPath || !libraryPath[0])
    return false;
  const char* slash = strrchr(libraryPath, '/');
  if (slash)
  {
    pResources->Set(libraryPath, int(slash - libraryPath) + (slash == libraryPath ? 1 : 0));
    if (slash != libraryPath)
      pResources->Append("/");
  }
  else
  {
    pResources->Set("./");
  }
  pResources->Append("Resources");
  return true;
}

bool VSTGetBundleResourcePath(WDL_String* pResources)
{
  Dl_info info = {};
  // Any address inside this library names the library, whoever loaded it.
  if (!dladdr(reinterpret_cast<void*>(&VSTGetBundleResourcePath), &info))
    return false;
  return VSTResourcePathForLibrary(info.dli_fname, pResources);
}

bool VSTRegisterBundle()
{
  static const bool registered = [] {
    WDL_String resources;
    if (!VSTGetBundleResourcePath(&resources))
      return false;
    // <bundle>/Contents/Resources: the bundle is two folders up.
    std::string path = resources.Get();
    for (int i = 0; i < 2; ++i)
    {
      const size_t slash = path.find_last_of('/');
      if (slash == std::string::npos)
        return false;
      path.resize(slash);
    }
    // A host may have loaded the library by a relative path.
    char* absolute = realpath(path.c_str(), nullptr);
    if (!absolute)
      return false;
    const bool found = NSBundle::bundleWithPath(absolute) != nullptr;
    free(absolute);
    return found;
  }();
  return registered;
}
