#include "tests/au/AUTestEffect.h"

#include "wdl/IPlug/au/IPlugAUEntry.h"

AUTestConfig gAUTestConfig;

AUTestEffect::AUTestEffect(const IPlugInstanceInfo& info)
  : IPlugAU(info, kNumParams, gAUTestConfig.channelIO, gAUTestConfig.presetSlots, "Test Effect", "", "Test Maker",
            gAUTestConfig.version, MacFourCC("tst1"), MacFourCC("Test"), 0, false, false, false)
{
  if (gAUTestConfig.throwInConstructor)
    throw std::runtime_error("construction failed");
  GetParam(kGain)->InitDouble("Gain", 0.0, -12.0, 12.0, 0.5, "dB");
  GetParam(kMode)->InitEnum("Mode", 1, 3);
  GetParam(kMode)->SetDisplayText(0, "Soft");
  GetParam(kMode)->SetDisplayText(1, "Hard");
  GetParam(kMode)->SetDisplayText(2, "\xC3\x9C"
                                     "ber"); // "Über"
  GetParam(kOn)->InitBool("On", true);
  if (gAUTestConfig.presetsMade > 0)
    MakeDefaultPreset(nullptr, 1);
  for (int i = 1; i < gAUTestConfig.presetsMade; ++i)
    MakePreset("Loud", 6.0, 2, 1);
}

void AUTestEffect::Reset()
{
  ++mResets;
  if (mThrowInReset)
    throw std::runtime_error("reset failed");
}

void AUTestEffect::OnParamChange(int paramIdx)
{
  mParamChanges.push_back(paramIdx);
}

void AUTestEffect::OnActivate(bool active)
{
  mActivations.push_back(active);
}

void AUTestEffect::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  ++mBlocks;
  mLastBlockFrames = nFrames;
  int nOut = IsInChannelConnected(1) ? NOutChannels() : 1;
  for (int c = 0; c < nOut && c < 2; ++c)
    for (int i = 0; i < nFrames; ++i)
      outputs[c][i] = 2.0 * inputs[c][i] + (NInChannels() > c + 2 ? inputs[c + 2][i] : 0.0);
}

void AUTestEffect::ProcessMidiMsg(IMidiMsg* pMsg)
{
  mMidiIn.push_back(*pMsg);
}

IPlugAU* MakePlug()
{
  return IPlugAUMakePlug<AUTestEffect>("com.example.audiounit.Test", "Test_View");
}

ComponentResult AUTestEntry(ComponentParameters* params, void* storage)
{
  return IPlugAU::IPlugAUEntry(params, storage);
}

void AUTestFixture::SetUp()
{
  gAUTestConfig = AUTestConfig();
  ComponentDescription cd = {kAudioUnitType_Effect, MacFourCC("tst1"), MacFourCC("Test"), 0, 0};
  mComponent = RegisterComponent(&cd, AUTestEntry, 0, nullptr);
  ASSERT_NE(mComponent, nullptr);
  mUnit = Open();
  ASSERT_NE(mUnit, nullptr);
  mPlug = Plug(mUnit);
}

void AUTestFixture::TearDown()
{
  if (mUnit)
  {
    EXPECT_EQ(CloseComponent(mUnit), noErr);
  }
  EXPECT_EQ(UnregisterComponent(mComponent), noErr);
}

AudioUnit AUTestFixture::Open()
{
  AudioUnit unit = nullptr;
  return OpenAComponent(mComponent, &unit) == noErr ? unit : nullptr;
}

AUTestEffect* AUTestFixture::Plug(AudioUnit unit)
{
  return reinterpret_cast<AUTestEffect*>(GetComponentInstanceStorage(unit));
}
