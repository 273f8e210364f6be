#pragma once
// The bundle the effect's library sits in: KestrelVST.vst/Contents/ holds
// the library and its Resources/ folder. The library finds it from its own
// path, never from the host's.

#include "wdl/wdlstring.h"

// Resources folder for a library at libraryPath (the library's folder plus
// "/Resources"). False for an empty path.
bool VSTResourcePathForLibrary(const char* libraryPath, WDL_String* pResources);

// Resources folder of the binary this code is linked into (dladdr).
bool VSTGetBundleResourcePath(WDL_String* pResources);

// Registers the bundle of the binary this code is linked into with the
// bundle registry, so that it can be found by its identifier. False when it
// has no Info.plist. Once per process.
bool VSTRegisterBundle();
