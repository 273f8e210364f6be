// The class-info dictionary, preset selection and host time.

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/corefoundation/CoreFoundation.h"
#include "tests/au/AUTestEffect.h"

namespace
{

using StateTest = AUTestFixture;

CFMutableDictionaryRef Save(AudioUnit unit)
{
  CFPropertyListRef state = nullptr;
  UInt32 size = sizeof state;
  if (AudioUnitGetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, &size) != noErr)
    return nullptr;
  return static_cast<CFMutableDictionaryRef>(const_cast<void*>(state));
}

OSStatus Restore(AudioUnit unit, CFPropertyListRef state)
{
  return AudioUnitSetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, sizeof state);
}

SInt32 Number(CFDictionaryRef d, const char* key)
{
  SInt32 v = -1;
  CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(d, __CFStringMakeConstantString(key))),
                   kCFNumberSInt32Type, &v);
  return v;
}

void Put(CFMutableDictionaryRef d, const char* key, CFTypeRef value)
{
  CFDictionarySetValue(d, __CFStringMakeConstantString(key), value);
  CFRelease(value);
}

void PutNumber(CFMutableDictionaryRef d, const char* key, SInt32 v)
{
  Put(d, key, CFNumberCreate(nullptr, kCFNumberSInt32Type, &v));
}

std::vector<double> Values(IPlugAU* plug)
{
  std::vector<double> v;
  for (int i = 0; i < plug->NParams(); ++i)
    v.push_back(plug->GetParam(i)->Value());
  return v;
}

TEST_F(StateTest, ClassInfoHoldsTheIdentityNameAndParameterBytes)
{
  AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, -4.5f, 0);
  CFMutableDictionaryRef d = Save(mUnit);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(CFDictionaryGetCount(d), 6);
  EXPECT_EQ(Number(d, "version"), 0x00010203);
  EXPECT_EQ(Number(d, "type"), SInt32(MacFourCC("aufx")));
  EXPECT_EQ(Number(d, "subtype"), SInt32(MacFourCC("tst1")));
  EXPECT_EQ(Number(d, "manufacturer"), SInt32(MacFourCC("Test")));
  char name[32];
  ASSERT_TRUE(CFStringGetCString(static_cast<CFStringRef>(CFDictionaryGetValue(d, CFSTR("name"))), name, sizeof name,
                                 kCFStringEncodingUTF8));
  EXPECT_STREQ(name, "Default");
  auto data = static_cast<CFDataRef>(CFDictionaryGetValue(d, CFSTR("data")));
  ASSERT_EQ(CFDataGetLength(data), 24);
  // One little-endian double per parameter: -4.5, 1 (Hard), 1 (on).
  const double expected[3] = {-4.5, 1.0, 1.0};
  // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): the bytes are the stored format.
  EXPECT_EQ(memcmp(CFDataGetBytePtr(data), expected, sizeof expected), 0);
  EXPECT_EQ(CFGetRetainCount(d), 1);
  CFRelease(d);
}

TEST_F(StateTest, ClassInfoRestoresIntoAFreshInstance)
{
  AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, 7.0f, 0);
  AudioUnitSetParameter(mUnit, AUTestEffect::kOn, kAudioUnitScope_Global, 0, 0.0f, 0);
  CFMutableDictionaryRef d = Save(mUnit);
  PutNumber(d, "version", 0x7FFF0000); // another version is accepted
  AudioUnit fresh = Open();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(Restore(fresh, d), noErr);
  EXPECT_EQ(Values(Plug(fresh)), Values(mPlug));
  CFRelease(d);
  EXPECT_EQ(CloseComponent(fresh), noErr);
}

TEST_F(StateTest, ABadDictionaryIsRefusedAndChangesNothing)
{
  AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, 3.0f, 0);
  CFMutableDictionaryRef good = Save(mUnit);
  AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, -2.0f, 0);
  const std::vector<double> before = Values(mPlug);

  // Each case is the good dictionary with one fault; all name "Loud", a
  // preset that would change the parameters if it were applied first.
  auto faulty = [&](auto change) {
    CFMutableDictionaryRef d =
      CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    const void* keys[6];
    const void* values[6];
    CFDictionaryGetKeysAndValues(good, keys, values);
    for (int i = 0; i < 6; ++i)
      CFDictionarySetValue(d, keys[i], values[i]);
    Put(d, "name", CFStringCreateWithCString(nullptr, "Loud", kCFStringEncodingUTF8));
    change(d);
    return d;
  };
  const UInt8 shortBytes[16] = {};
  CFMutableDictionaryRef cases[] = {
    faulty([](CFMutableDictionaryRef d) { PutNumber(d, "subtype", SInt32(MacFourCC("othr"))); }),
    faulty([](CFMutableDictionaryRef d) { PutNumber(d, "manufacturer", 0); }),
    faulty([](CFMutableDictionaryRef d) { Put(d, "type", CFStringCreateWithCString(nullptr, "aufx", 0x08000100)); }),
    faulty([&](CFMutableDictionaryRef d) { Put(d, "version", CFDataCreate(nullptr, shortBytes, 4)); }),
    faulty([](CFMutableDictionaryRef d) { PutNumber(d, "name", 1); }),
    faulty([](CFMutableDictionaryRef d) { Put(d, "data", CFSTR("not bytes")); }),
  };
  int i = 0;
  for (CFMutableDictionaryRef d : cases)
  {
    EXPECT_EQ(Restore(mUnit, d), kAudioUnitErr_InvalidPropertyValue) << "case " << i;
    EXPECT_EQ(Values(mPlug), before) << "case " << i;
    EXPECT_EQ(mPlug->GetCurrentPresetIdx(), 0) << "case " << i;
    CFRelease(d);
    ++i;
  }
  // No "data" at all, and something that is not a dictionary.
  CFMutableDictionaryRef noData = faulty([](CFMutableDictionaryRef) {});
  CFMutableDictionaryRef copy =
    CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  for (const char* key : {"version", "type", "subtype", "manufacturer", "name"})
    CFDictionarySetValue(copy, __CFStringMakeConstantString(key),
                         CFDictionaryGetValue(noData, __CFStringMakeConstantString(key)));
  EXPECT_EQ(Restore(mUnit, copy), kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(Restore(mUnit, CFSTR("dictionary")), kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(Values(mPlug), before);
  CFRelease(copy);
  CFRelease(noData);

  // The good one applies the named preset, then its own bytes.
  Put(good, "name", CFStringCreateWithCString(nullptr, "Loud", kCFStringEncodingUTF8));
  EXPECT_EQ(Restore(mUnit, good), noErr);
  EXPECT_EQ(mPlug->GetParam(AUTestEffect::kGain)->Value(), 3.0);
  EXPECT_EQ(mPlug->GetCurrentPresetIdx(), 1);
  CFRelease(good);
}

// Bytes for fewer parameters (a session saved by a build with fewer) restore
// what they hold; the first parameter without a value becomes 0 clamped
// into its range, as for any short state.
TEST_F(StateTest, DataForFewerParametersRestoresWhatItHolds)
{
  CFMutableDictionaryRef d = Save(mUnit);
  Put(d, "name", CFStringCreateWithCString(nullptr, "no such preset", kCFStringEncodingUTF8));
  const double two[2] = {-4.5, 2.0};
  Put(d, "data", CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(two), sizeof two));
  EXPECT_EQ(Restore(mUnit, d), noErr);
  EXPECT_EQ(Values(mPlug), (std::vector<double>{-4.5, 2.0, 0.0}));
  const UInt8 partial[12] = {};
  Put(d, "data", CFDataCreate(nullptr, partial, sizeof partial)); // one value and a cut one
  EXPECT_EQ(Restore(mUnit, d), noErr);
  EXPECT_EQ(Values(mPlug), (std::vector<double>{0.0, 0.0, 0.0}));
  CFRelease(d);
}

TEST_F(StateTest, ANameLongerThanHostsStoreMatchesNoPreset)
{
  CFMutableDictionaryRef d = Save(mUnit);
  std::string longName = "Loud" + std::string(70, '!');
  Put(d, "name", CFStringCreateWithCString(nullptr, longName.c_str(), kCFStringEncodingUTF8));
  EXPECT_EQ(Restore(mUnit, d), noErr);
  EXPECT_EQ(mPlug->GetCurrentPresetIdx(), 0);
  EXPECT_EQ(mPlug->GetParam(AUTestEffect::kGain)->Value(), 0.0);
  CFRelease(d);
}

TEST_F(StateTest, CurrentPresetSelectsByNumberAndRefusesOthers)
{
  AUPreset preset = {1, CFSTR("whatever the name")};
  ASSERT_EQ(
    AudioUnitSetProperty(mUnit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset),
    noErr);
  EXPECT_EQ(mPlug->GetParam(AUTestEffect::kGain)->Value(), 6.0);
  AUPreset got = {};
  UInt32 size = sizeof got;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_CurrentPreset, kAudioUnitScope_Global, 0, &got, &size),
            noErr);
  EXPECT_EQ(got.presetNumber, 1);
  char name[16];
  ASSERT_TRUE(CFStringGetCString(got.presetName, name, sizeof name, kCFStringEncodingUTF8));
  EXPECT_STREQ(name, "Loud");
  CFRelease(got.presetName);
  for (SInt32 bad : {2, 1 << 30})
  {
    preset.presetNumber = bad;
    EXPECT_EQ(
      AudioUnitSetProperty(mUnit, kAudioUnitProperty_CurrentPreset, kAudioUnitScope_Global, 0, &preset, sizeof preset),
      kAudioUnitErr_InvalidPropertyValue)
      << bad;
  }
  EXPECT_EQ(mPlug->GetCurrentPresetIdx(), 1);
  // Hosts mark a user preset with a negative number after restoring one:
  // accepted, and nothing changes.
  AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, 1.5f, 0);
  AUPreset user = {-1, CFSTR("my sound")};
  EXPECT_EQ(
    AudioUnitSetProperty(mUnit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &user, sizeof user),
    noErr);
  EXPECT_EQ(mPlug->GetCurrentPresetIdx(), 1);
  EXPECT_EQ(mPlug->GetParam(AUTestEffect::kGain)->Value(), 1.5);
}

struct Transport
{
  static OSStatus Beat(void* user, Float64* beat, Float64* tempo)
  {
    *beat = 3.0;
    *tempo = static_cast<Transport*>(user)->tempo;
    return noErr;
  }
  static OSStatus Time(void*, UInt32* toNext, Float32* num, UInt32* denom, Float64* downBeat)
  {
    *toNext = 5;
    *num = 7.9f;
    *denom = 8;
    *downBeat = 1.0;
    return noErr;
  }
  static OSStatus State(void* user, Boolean* playing, Boolean*, Float64* sample, Boolean*, Float64*, Float64*)
  {
    *playing = 1;
    *sample = static_cast<Transport*>(user)->sample;
    return noErr;
  }
  double tempo = 96.0;
  double sample = 123456.9;
};

TEST_F(StateTest, HostTimeComesThroughTheHostsCallbacks)
{
  Transport transport;
  HostCallbackInfo cbs = {&transport, Transport::Beat, Transport::Time, Transport::State};
  ASSERT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &cbs, sizeof cbs),
            noErr);
  EXPECT_EQ(mPlug->GetTempo(), 96.0);
  transport.tempo = 0.0; // no tempo: the last one stays
  EXPECT_EQ(mPlug->GetTempo(), 96.0);
  EXPECT_EQ(mPlug->GetSamplePos(), 123456);
  // Past the int range the position saturates, as the VST binding reports
  // the same host position (one rule for both).
  transport.sample = 3.0e12;
  EXPECT_EQ(mPlug->GetSamplePos(), INT_MAX);
  transport.sample = 123456.9;
  int num = 0, denom = 0;
  mPlug->GetTimeSig(&num, &denom);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(denom, 8);
  // An older record without the transport procedure.
  ASSERT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &cbs, 24), noErr);
  EXPECT_EQ(mPlug->GetSamplePos(), 0);
  EXPECT_EQ(mPlug->GetTempo(), 96.0);
  // A size that cuts the tempo procedure in half: only whole fields count,
  // so it stays null instead of half a pointer being called.
  ASSERT_EQ(
    AudioUnitSetProperty(mUnit, kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &cbs, sizeof(void*) + 4),
    noErr);
  transport.tempo = 140.0;
  EXPECT_EQ(mPlug->GetTempo(), 96.0);
  mPlug->GetTimeSig(&num, &denom);
  EXPECT_EQ(num, 7); // left as it was: no procedure
}

} // namespace
