#pragma once
// The effect library's side of the entry: IPlugAUMakePlug builds MakePlug for
// one effect class, and the library's exported entry is a one-line
// trampoline to IPlugAU::IPlugAUEntry (which never throws).

#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/mutex.h"

// Constructs one Plug under a function-static lock, so concurrent opens build
// one instance at a time. Null when the construction fails; never throws.
template <class Plug>
IPlugAU* IPlugAUMakePlug(const char* bundleID, const char* viewClassName) noexcept
{
  static WDL_Mutex sMakePlugLock;
  try
  {
    PlugMutexScope lock(&sMakePlugLock);
    IPlugInstanceInfo info;
    info.mBundleID.Set(bundleID);
    info.mViewClassName.Set(viewClassName);
    return new Plug(info);
  }
  catch (...)
  {
    return nullptr;
  }
}

// Exported entry of an Audio Unit library.
#define IPLUG_AU_EXPORT extern "C" __attribute__((visibility("default")))
