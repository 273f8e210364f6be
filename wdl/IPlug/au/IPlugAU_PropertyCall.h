#pragma once
// One get or property-info call as the property getters see it. Every getter
// first reports its size and writable flag (Describe), which is all the info
// call wants; a get then writes the contents, but only into a caller's buffer
// that holds the reported size.

#include <cstring>

#include "wdl/IPlug/au/IPlugAU.h"

struct IPlugAU::PropertyCall
{
  AudioUnitScope scope;
  AudioUnitElement element;
  UInt32* pDataSize;
  Boolean* pWriteable;
  void* pData;
  UInt32 capacity; // the caller's buffer, as it said on the way in

  PropertyCall(AudioUnitScope s, AudioUnitElement e, UInt32* size, Boolean* writeable, void* data)
    : scope(s), element(e), pDataSize(size), pWriteable(writeable), pData(data), capacity(*size)
  {
  }

  bool IsGlobal() const { return scope == kAudioUnitScope_Global; }

  // Reports size and flag. noErr when the contents may be written (or none
  // are wanted); kAudioUnitErr_InvalidPropertyValue, with nothing reported,
  // for a buffer smaller than size.
  ComponentResult Describe(size_t size, bool writeable)
  {
    if (pData && capacity < size)
      return kAudioUnitErr_InvalidPropertyValue;
    *pDataSize = UInt32(size);
    if (writeable)
      *pWriteable = 1;
    return noErr;
  }

  template <class T>
  T* Out() const
  {
    return static_cast<T*>(pData);
  }

  // Describes a property of one plain value and writes it on a get.
  template <class T>
  ComponentResult Answer(T value, bool writeable)
  {
    ComponentResult r = Describe(sizeof(T), writeable);
    if (r == noErr && pData)
      memcpy(pData, &value, sizeof value);
    return r;
  }
};
