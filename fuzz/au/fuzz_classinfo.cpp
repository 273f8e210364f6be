// Class-info dictionaries built from fuzzer bytes, handed to KestrelAU
// through its component entry. A dictionary the unit refuses must leave it
// exactly as it was; one it takes must leave every parameter in range.
//
// The bytes are a list of entries: one byte picks the key (the six real
// keys, or a short text from the input), one the value's type (number,
// string, data, array, nested dictionary; the low three bits) and a length
// (the high five), then the value's bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/corefoundation/CoreFoundation.h"
#include "plugin/Kestrel.h"
#include "wdl/IPlug/au/IPlugAUEntry.h"

IPlugAU* MakePlug()
{
  return IPlugAUMakePlug<Kestrel>("com.brackmere.audiounit.Kestrel", "Kestrel_View");
}

namespace
{

ComponentResult Entry(ComponentParameters* params, void* storage)
{
  return IPlugAU::IPlugAUEntry(params, storage);
}

class Reader
{
public:
  Reader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  bool Empty() const { return mPos >= mSize; }
  uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
  SInt32 Int()
  {
    SInt32 v = 0;
    for (int i = 0; i < 4; ++i)
      v = SInt32(UInt32(v) << 8 | Byte());
    return v;
  }
  // Up to n bytes, lent.
  const uint8_t* Bytes(size_t n, size_t* got)
  {
    *got = n < mSize - mPos ? n : mSize - mPos;
    const uint8_t* p = mData + mPos;
    mPos += *got;
    return p;
  }

private:
  const uint8_t* mData;
  size_t mSize, mPos = 0;
};

const char* const kKeys[] = {"version", "type", "subtype", "manufacturer", "name", "data"};

CFTypeRef Value(Reader& r, int depth);

CFMutableDictionaryRef Dictionary(Reader& r, int depth, int entries)
{
  CFMutableDictionaryRef d =
    CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  for (int i = 0; i < entries && !r.Empty(); ++i)
  {
    uint8_t k = r.Byte();
    CFStringRef key;
    if (k % 8 < 6)
    {
      key = CFStringCreateWithCString(nullptr, kKeys[k % 8], kCFStringEncodingUTF8);
    }
    else
    {
      size_t n;
      const uint8_t* text = r.Bytes(k >> 4, &n);
      key = CFStringCreateWithBytes(nullptr, text, CFIndex(n), kCFStringEncodingUTF8, false);
    }
    CFTypeRef value = Value(r, depth + 1);
    if (key && value)
      CFDictionarySetValue(d, key, value);
    if (key)
      CFRelease(key);
    if (value)
      CFRelease(value);
  }
  return d;
}

CFTypeRef Value(Reader& r, int depth)
{
  uint8_t type = r.Byte();
  size_t n = 0;
  switch (type & 7)
  {
  case 0:
  case 1: {
    SInt32 v = r.Int();
    return CFNumberCreate(nullptr, kCFNumberSInt32Type, &v);
  }
  case 2: {
    const uint8_t* text = r.Bytes(type >> 3, &n);
    return CFStringCreateWithBytes(nullptr, text, CFIndex(n), kCFStringEncodingUTF8, false);
  }
  case 3: {
    const uint8_t* bytes = r.Bytes(size_t(r.Byte()) + (type >> 3) * 8, &n);
    return CFDataCreate(nullptr, bytes, CFIndex(n));
  }
  case 4: {
    CFMutableArrayRef a = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    return a;
  }
  default: return depth < 3 ? Dictionary(r, depth, type >> 3) : nullptr;
  }
}

struct Unit
{
  Unit()
  {
    ComponentDescription cd = {kAudioUnitType_Effect, MacFourCC("4q35"), MacFourCC("Bkmr"), 0, 0};
    unit = OpenComponent(RegisterComponent(&cd, Entry, 0, nullptr));
    plug = reinterpret_cast<IPlugAU*>(GetComponentInstanceStorage(unit));
  }
  AudioUnit unit;
  IPlugAU* plug;
};

void State(IPlugAU* plug, ByteChunk* out)
{
  plug->SerializeParams(out);
  int preset = plug->GetCurrentPresetIdx();
  out->Put(&preset);
}

} // namespace

// libFuzzer finds it by name; no header declares it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static Unit u;
  Reader r(data, size);
  CFMutableDictionaryRef dict = Dictionary(r, 0, 12);
  ByteChunk before, after;
  State(u.plug, &before);
  CFPropertyListRef list = dict;
  OSStatus err =
    AudioUnitSetProperty(u.unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &list, sizeof list);
  State(u.plug, &after);
  if (err != noErr && !before.IsEqual(after))
    abort();
  for (int i = 0; i < u.plug->NParams(); ++i)
  {
    const IParam* p = u.plug->GetParam(i);
    if (!(p->Value() >= p->GetMin() && p->Value() <= p->GetMax()))
      abort();
  }
  CFRelease(dict);
  return 0;
}
