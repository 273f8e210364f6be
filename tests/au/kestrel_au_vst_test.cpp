// KestrelAU and KestrelVST are one compressor: the same signal with the same
// preset comes out of both hosts bit for bit, whichever way the AU host
// feeds its input.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/auhost/AUHostComponent.h"
#include "tools/auhost/AUHostRender.h"
#include "tools/auhost/AUHostUnit.h"
#include "tests/au/KestrelVSTRender.h"

namespace
{

// Bit for bit: == would take -0 for +0.
bool SameBits(const std::vector<float>& a, const std::vector<float>& b)
{
  return a.size() == b.size() && (a.empty() || memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

SignalBuffer RenderVST(const SignalBuffer& in, const char* program, int block)
{
  SignalBuffer out;
  std::string error;
  EXPECT_TRUE(RenderKestrelVST(KESTREL_VST_LIBRARY, in, program, block, &out, &error)) << error;
  return out;
}

SignalBuffer RenderAU(AUHostComponent& component, const SignalBuffer& in, const char* preset, int block,
                      AUHostInput input)
{
  SignalBuffer out;
  std::string error;
  AudioUnit unit = OpenComponent(component.GetComponent());
  EXPECT_NE(unit, nullptr);
  AUHostFormat format;
  format.sampleRate = in.sampleRate;
  format.maxFrames = UInt32(block);
  format.inputChannels = in.NumChannels();
  EXPECT_TRUE(AUHostNegotiate(unit, &format, &error)) << error;
  EXPECT_TRUE(AUHostSelectPreset(unit, preset, &error)) << error;
  EXPECT_TRUE(AUHostRender(unit, format, input, in, &out, &error)) << error;
  CloseComponent(unit);
  return out;
}

TEST(KestrelAUAndVST, TheSameInputAndPresetGiveTheSameOutput)
{
  AUHostComponent component;
  ASSERT_TRUE(component.Load(KESTREL_AU_BUNDLE)) << component.Error();
  struct Case
  {
    const char* signal;
    int channels;
    const char* preset;
    int block;
  } cases[] = {{"mix", 2, "Drums Kick Control", 512}, {"noise", 2, "Default", 300}, {"tone", 1, "Room to Breathe", 64}};
  for (const Case& c : cases)
  {
    SignalBuffer in;
    ASSERT_TRUE(GenerateSignal(c.signal, 44100.0, 1.5, c.channels, &in));
    SignalBuffer vst = RenderVST(in, c.preset, c.block);
    for (AUHostInput input : {AUHostInput::kCallback, AUHostInput::kConnection, AUHostInput::kConnectionNoFastProc})
    {
      SignalBuffer au = RenderAU(component, in, c.preset, c.block, input);
      // The VST always has two outputs; a mono AU insert has one, the first.
      ASSERT_GE(vst.NumChannels(), au.NumChannels());
      ASSERT_EQ(au.NumFrames(), in.NumFrames());
      for (int ch = 0; ch < au.NumChannels(); ++ch)
        EXPECT_TRUE(SameBits(au.channels[size_t(ch)], vst.channels[size_t(ch)]))
          << c.signal << " / " << c.preset << " channel " << ch << " input kind " << int(input);
    }
  }
}

} // namespace
