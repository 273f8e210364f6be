#pragma once
// A small effect on the Audio Unit binding that records what reaches it, and
// a fixture that registers it and opens it through the Component Manager,
// exactly as a host does.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/components/ComponentParams.h"
#include "wdl/IPlug/au/IPlugAU.h"

// How the next MakePlug builds its effect.
struct AUTestConfig
{
  const char* channelIO = "1-1 2-2 4-2";
  int presetSlots = 8;
  int presetsMade = 2;
  int version = 0x00010203;
  bool throwInConstructor = false;
};
extern AUTestConfig gAUTestConfig;

class AUTestEffect : public IPlugAU
{
public:
  enum
  {
    kGain,
    kMode,
    kOn,
    kNumParams
  };

  explicit AUTestEffect(const IPlugInstanceInfo& info);

  void Reset() override;
  void OnParamChange(int paramIdx) override;
  void OnActivate(bool active) override;
  void ProcessMidiMsg(IMidiMsg* pMsg) override;
  // Output c = 2 x input c + input c + 2 (the side-chain pair), sample by
  // sample; with input 1 unconnected only output 0 is written, as a
  // mono-aware effect does.
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;

  std::vector<int> mParamChanges;
  std::vector<bool> mActivations;
  std::vector<IMidiMsg> mMidiIn;
  int mResets = 0;
  int mBlocks = 0;
  int mLastBlockFrames = 0;
  bool mThrowInReset = false;
};

ComponentResult AUTestEntry(ComponentParameters* params, void* storage);

class AUTestFixture : public testing::Test
{
protected:
  void SetUp() override;
  void TearDown() override;

  // Opens one more instance; null when the open fails.
  AudioUnit Open();
  AUTestEffect* Plug(AudioUnit unit);
  // Calls the entry directly, as the Component Manager would, with a block
  // packed from args.
  template <class... Args>
  ComponentResult Call(void* storage, SInt16 what, Args... args)
  {
    ComponentParameters p = PackComponentParameters(what, args...);
    return AUTestEntry(&p, storage);
  }

  Component mComponent = nullptr;
  AudioUnit mUnit = nullptr;
  AUTestEffect* mPlug = nullptr;
};
