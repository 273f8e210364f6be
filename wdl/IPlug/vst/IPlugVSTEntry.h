#pragma once
// The library's entry point: IPLUG_VST_ENTRY(Effect) in one source file of
// the effect's shared library defines VSTPluginMain and main, the two names
// VST 2 hosts look up, and exports only those.

#include <memory>

#include "wdl/IPlug/vst/IPlugVST.h"
#include "wdl/mutex.h"

// Constructs one instance under a process-wide creation lock; null when the
// construction fails. Never throws.
template <class Plug>
AEffect* IPlugVSTCreate(VstHostCallback hostCallback) noexcept
{
  static WDL_Mutex sCreationLock;
  try
  {
    PlugMutexScope lock(&sCreationLock);
    auto plug = std::make_unique<Plug>(IPlugInstanceInfo{hostCallback});
    AEffect* effect = plug->FinishCreation();
    // The host owns it through the record from here: its close deletes it.
    static_cast<void>(plug.release());
    return effect;
  }
  catch (...)
  {
    return nullptr;
  }
}

// Every effect's definition must match the signature hosts call.
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(VstHostCallback hostCallback);

// `main` cannot be defined under that name in C++; the assembler label gives
// the exported symbol its name.
#define IPLUG_VST_ENTRY(Plug)                                                                                          \
  extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(VstHostCallback hostCallback)               \
  {                                                                                                                    \
    return IPlugVSTCreate<Plug>(hostCallback);                                                                         \
  }                                                                                                                    \
  extern "C" __attribute__((visibility("default"))) AEffect* IPlugVSTMainAlias(VstHostCallback hostCallback) __asm__(  \
    "main");                                                                                                           \
  extern "C" AEffect* IPlugVSTMainAlias(VstHostCallback hostCallback)                                                  \
  {                                                                                                                    \
    return VSTPluginMain(hostCallback);                                                                                \
  }
