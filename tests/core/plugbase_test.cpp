#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <limits>
#include <vector>

#include "tests/support/IPlugTest.h"
#include "tests/support/IGraphicsTest.h"

namespace
{
std::unique_ptr<IPlugTest> MakePlug(const char* io, int nParams = 2, int nPresets = 0)
{
  return std::make_unique<IPlugTest>(IPlugInstanceInfo{}, nParams, io, nPresets, "Effect", "Product", "Maker", 0x10203,
                                     0x61626364, 0x4d667231);
}

// Records every value the editor hands to it.
struct RecordingControl : IControl
{
  RecordingControl(IPlugBase* plug, int paramIdx) : IControl(plug, IRECT(0, 0, 1, 1), paramIdx) {}
  bool Draw(IGraphics*) override { return true; }
  void SetValueFromPlug(double value) override
  {
    mValues.push_back(value);
    IControl::SetValueFromPlug(value);
  }
  std::vector<double> mValues;
};
} // namespace

TEST(ChannelIO, ConfigurationsAndChannelCounts)
{
  auto plug = MakePlug("1-1 2-1 3-1 2-2 3-2 4-2");
  EXPECT_EQ(plug->NChannelIO(), 6);
  EXPECT_EQ(plug->NInChannels(), 4);
  EXPECT_EQ(plug->NOutChannels(), 2);
  EXPECT_TRUE(plug->LegalIO(3, 1));
  EXPECT_FALSE(plug->LegalIO(4, 1));

  auto two = MakePlug("2-2 1-1");
  EXPECT_EQ(two->NInChannels(), 2);
  EXPECT_TRUE(two->LegalIO(1, -1));
  EXPECT_FALSE(two->LegalIO(2, 1));
  EXPECT_TRUE(two->LegalIO(-1, -1));

  auto none = MakePlug(nullptr);
  EXPECT_EQ(none->NInChannels(), 0);
  EXPECT_FALSE(none->LegalIO(-1, -1));
}

TEST(ChannelIODeathTest, MalformedTokenIsFatalWithTheAssertionText)
{
  EXPECT_DEATH(MakePlug("1-1 stereo"),
               "wdl/IPlug/IPlugBase:73: failed assertion `sscanf\\(channelIOStr, \"%d-%d\", &nIn, &nOut\\) == 2'");
}

TEST(ProcessingFrame, DefaultCopiesMatchingInputsAndZeroesTheRest)
{
  auto plug = MakePlug("4-2");
  std::vector<double> in[4], out[2];
  double* ins[4];
  double* outs[2];
  for (int c = 0; c < 4; ++c)
  {
    in[c].assign(8, c + 1.0);
    ins[c] = in[c].data();
  }
  for (int c = 0; c < 2; ++c)
  {
    out[c].assign(8, -9.0);
    outs[c] = out[c].data();
  }
  plug->ProcessDouble(ins, outs, 8);
  EXPECT_EQ(out[0], std::vector<double>(8, 1.0));
  EXPECT_EQ(out[1], std::vector<double>(8, 2.0));

  auto mono = MakePlug("1-2");
  out[0].assign(8, -9.0);
  out[1].assign(8, -9.0);
  mono->ProcessDouble(ins, outs, 8);
  EXPECT_EQ(out[0], std::vector<double>(8, 1.0));
  EXPECT_EQ(out[1], std::vector<double>(8, 0.0));
}

TEST(ProcessingFrame, UnconnectedChannelsConsumeNoBufferAndReadZeros)
{
  auto plug = MakePlug("4-4");
  plug->SetBlockSize(4);
  plug->SetInputChannelConnections(0, 4, true);
  plug->SetInputChannelConnections(1, 1, false);
  plug->SetOutputChannelConnections(0, 4, true);
  EXPECT_FALSE(plug->IsInChannelConnected(1));
  EXPECT_FALSE(plug->IsInChannelConnected(9));
  EXPECT_FALSE(plug->IsInChannelConnected(-1));
  std::vector<double> a(4, 1.0), b(4, 2.0), c(4, 3.0);
  double* host[3] = {a.data(), b.data(), c.data()};
  plug->AttachInputBuffers(0, 4, host, 4);
  std::vector<double> o[4];
  double* outs[4];
  for (int i = 0; i < 4; ++i)
  {
    o[i].assign(4, -1.0);
    outs[i] = o[i].data();
  }
  plug->AttachOutputBuffers(0, 4, outs);
  plug->ProcessBuffers(0.0, 4);
  EXPECT_EQ(o[0][0], 1.0);
  EXPECT_EQ(o[1][0], 0.0); // channel 1 reads its zeroed scratch
  EXPECT_EQ(o[2][0], 2.0);
  EXPECT_EQ(o[3][0], 3.0);
  // Counts past the channel range are clipped.
  plug->SetOutputChannelConnections(3, 100, false);
  EXPECT_FALSE(plug->IsOutChannelConnected(3));
  EXPECT_TRUE(plug->IsOutChannelConnected(2));
}

TEST(ProcessingFrame, FloatPathsConvertAndAccumulate)
{
  auto plug = MakePlug("2-2");
  plug->SetBlockSize(3);
  plug->SetInputChannelConnections(0, 2, true);
  plug->SetOutputChannelConnections(0, 2, true);
  float in0[3] = {0.5f, -0.25f, 1.0f}, in1[3] = {0.125f, 0.f, -1.f};
  float* ins[2] = {in0, in1};
  float out0[3] = {0.25f, 0.25f, 0.25f}, out1[3] = {9.f, 9.f, 9.f};
  float* outs[2] = {out0, out1};
  plug->AttachInputBuffers(0, 2, ins, 3);
  plug->AttachOutputBuffers(0, 2, outs);
  plug->ProcessBuffersAccumulating(0.f, 3);
  EXPECT_EQ(out0[0], 0.75f);
  EXPECT_EQ(out0[1], 0.0f);
  EXPECT_EQ(out1[2], 8.f);
  plug->ProcessBuffers(0.f, 3);
  EXPECT_EQ(out0[0], 0.5f);
  EXPECT_EQ(out1[0], 0.125f);
}

// The bindings cut a longer host block into pieces or refuse it; one that reached
// the frame would overrun the channel scratch, so it stops there instead.
TEST(ProcessingFrameDeathTest, BlocksLongerThanTheBlockSizeStop)
{
  auto plug = MakePlug("1-1");
  plug->SetBlockSize(3);
  plug->SetInputChannelConnections(0, 1, true);
  plug->SetOutputChannelConnections(0, 1, true);
  float in[4] = {1, 2, 3, 4}, out[4] = {};
  float* ins[1] = {in};
  float* outs[1] = {out};
  plug->AttachInputBuffers(0, 1, ins, 3);
  plug->AttachOutputBuffers(0, 1, outs);
  plug->ProcessBuffers(0.f, 3);
  EXPECT_EQ(out[2], 3.f);
  EXPECT_DEATH(plug->AttachInputBuffers(0, 1, ins, 4), "nFrames");
  EXPECT_DEATH(plug->ProcessBuffers(0.f, 4), "nFrames");
  EXPECT_DEATH(plug->ProcessBuffersAccumulating(0.f, 4), "nFrames");
}

// A disconnected input reads zeros: the float path's conversion scratch must
// not go on feeding the last block of an input that is gone.
TEST(ProcessingFrame, ADroppedFloatInputReadsZeros)
{
  auto plug = MakePlug("2-2");
  plug->SetBlockSize(2);
  plug->SetInputChannelConnections(0, 2, true);
  plug->SetOutputChannelConnections(0, 2, true);
  float in0[2] = {0.5f, 0.5f}, in1[2] = {0.25f, 0.25f};
  float* ins[2] = {in0, in1};
  plug->AttachInputBuffers(0, 2, ins, 2);
  plug->SetInputChannelConnections(1, 1, false);
  double out0[2] = {}, out1[2] = {-1.0, -1.0};
  double* outs[2] = {out0, out1};
  plug->AttachOutputBuffers(0, 2, outs);
  plug->ProcessBuffers(0.0, 2);
  EXPECT_EQ(out0[0], 0.5); // still connected, still converted
  EXPECT_EQ(out1[0], 0.0);
  EXPECT_EQ(out1[1], 0.0);
}

// A slot that referred to a channel's scratch follows it when a new block
// size moves it (under ASan a stale slot is a use after free).
TEST(ProcessingFrame, SlotsFollowTheScratchWhenTheBlockSizeMovesIt)
{
  auto plug = MakePlug("1-1");
  plug->SetBlockSize(2);
  plug->SetInputChannelConnections(0, 1, true);
  plug->SetOutputChannelConnections(0, 1, true);
  float in[2] = {0.5f, 0.5f};
  float* ins[1] = {in};
  plug->AttachInputBuffers(0, 1, ins, 2);
  plug->SetBlockSize(100000); // far beyond the old allocation: the scratch moves
  std::vector<double> out(4, -1.0);
  double* outs[1] = {out.data()};
  plug->AttachOutputBuffers(0, 1, outs);
  plug->ProcessBuffers(0.0, 4);
  EXPECT_EQ(out, std::vector<double>(4, 0.0));
}

// Single precision cannot hold what the effect may compute from extreme
// finite input: such a sample reaches the host as 0, never as an infinity.
TEST(ProcessingFrame, OutputsBeyondTheFloatRangeAreWrittenAsZero)
{
  auto plug = MakePlug("1-1");
  plug->SetBlockSize(4);
  plug->SetInputChannelConnections(0, 1, true);
  plug->SetOutputChannelConnections(0, 1, true);
  double in[4] = {1e300, -1e39, double(FLT_MAX), 0.5};
  double* ins[1] = {in};
  float out[4] = {9.f, 9.f, 9.f, 9.f};
  float* outs[1] = {out};
  plug->AttachInputBuffers(0, 1, ins, 4);
  plug->AttachOutputBuffers(0, 1, outs);
  plug->ProcessBuffers(0.f, 4);
  EXPECT_EQ(out[0], 0.f);
  EXPECT_EQ(out[1], 0.f);
  EXPECT_EQ(out[2], FLT_MAX);
  EXPECT_EQ(out[3], 0.5f);
  float acc[4] = {1.f, 1.f, 1.f, 1.f};
  float* accs[1] = {acc};
  plug->AttachOutputBuffers(0, 1, accs);
  plug->ProcessBuffersAccumulating(0.f, 4);
  EXPECT_EQ(acc[0], 1.f);
  EXPECT_EQ(acc[3], 1.5f);
}

TEST(ProcessingFrame, SetBlockSizeClearsScratchOnlyOnChange)
{
  auto plug = MakePlug("1-1");
  plug->SetBlockSize(2);
  plug->SetInputChannelConnections(0, 1, true);
  float in[2] = {0.5f, 0.5f};
  float* ins[1] = {in};
  plug->AttachInputBuffers(0, 1, ins, 2); // the slot is the scratch, which holds 0.5
  double out[4] = {};
  double* outs[1] = {out};
  plug->SetOutputChannelConnections(0, 1, true);
  plug->AttachOutputBuffers(0, 1, outs);
  plug->SetBlockSize(2);
  plug->ProcessBuffers(0.0, 2);
  EXPECT_EQ(out[0], 0.5);
  plug->SetBlockSize(4);
  plug->ProcessBuffers(0.0, 2);
  EXPECT_EQ(out[0], 0.0);

  // A size whose scratch cannot be had keeps the old size and valid scratch.
  plug->SetBlockSize(INT_MAX / 4);
  EXPECT_EQ(plug->GetBlockSize(), 4);
  plug->ProcessBuffers(0.0, 4);
  EXPECT_EQ(out[0], 0.0);
}

TEST(ProcessingFrame, LimitToStereoIO)
{
  auto plug = MakePlug("4-4");
  plug->SetInputChannelConnections(0, 4, true);
  plug->SetOutputChannelConnections(0, 4, false);
  plug->LimitToStereoIO();
  EXPECT_TRUE(plug->IsInChannelConnected(1));
  EXPECT_FALSE(plug->IsInChannelConnected(2));
  EXPECT_FALSE(plug->IsOutChannelConnected(1));
  EXPECT_TRUE(plug->IsOutChannelConnected(3)); // outputs are connected, not dropped
}

TEST(EditorLink, ParameterFromGUITellsTheHostAndAttachMirrorsValues)
{
  auto plug = MakePlug("1-1", 2);
  plug->GetParam(0)->InitDouble("a", 5., 0., 10., 0.1, "");
  plug->GetParam(1)->InitEnum("b", 1, 3);
  plug->SetParameterFromGUI(1, 1.0);
  EXPECT_EQ(plug->GetParam(1)->Value(), 2.);
  ASSERT_EQ(plug->mHostCalls.size(), 1u);
  EXPECT_EQ(plug->mHostCalls[0].mKind, IPlugTest::HostCall::kInform);
  EXPECT_EQ(plug->mHostCalls[0].mValue, 1.0);
  plug->SetParameterFromGUI(7, 0.5); // no such parameter
  EXPECT_EQ(plug->mHostCalls.size(), 1u);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
    plug->SetParameterFromGUI(1, bad); // the host hears of it, the parameter keeps its value
  EXPECT_EQ(plug->GetParam(1)->Value(), 2.);
  EXPECT_EQ(plug->mHostCalls.size(), 3u);

  int deleted = 0;
  auto* editor = new IGraphicsTest(plug.get(), 10, 10);
  editor->mDeleted = &deleted;
  auto* c0 = new RecordingControl(plug.get(), 0);
  auto* c1 = new RecordingControl(plug.get(), 1);
  editor->AttachControl(c0);
  editor->AttachControl(c1);
  plug->AttachGraphics(editor);
  EXPECT_NE(editor->GetBackBuffer(), nullptr);
  ASSERT_EQ(c0->mValues.size(), 1u); // applied on attachment, not at the first tick
  EXPECT_DOUBLE_EQ(c0->mValues[0], 0.5);
  EXPECT_DOUBLE_EQ(c0->GetDefaultValue(), 0.5);
  plug->GetParam(0)->Set(10.);
  plug->RedrawParamControls(); // plain values, normalised by the editor
  editor->DrainPostedValues();
  ASSERT_EQ(c0->mValues.size(), 2u);
  EXPECT_DOUBLE_EQ(c0->mValues[1], 1.0);
  EXPECT_DOUBLE_EQ(c1->GetValue(), 1.0);
  plug.reset();
  EXPECT_EQ(deleted, 1); // the base owns its editor
}

TEST(Identity, VersionsAndHost)
{
  IPlugInstanceInfo info{"REAPER", 0x040203};
  IPlugTest plug(info, 0, "1-1", 0, "E", "P", "M", 0x20000, 1, 2);
  char str[16];
  plug.GetEffectVersionStr(str, sizeof(str));
  EXPECT_STREQ(str, "v2.0");
  EXPECT_EQ(plug.GetEffectVersion(true), 20000);
  EXPECT_EQ(plug.GetHostVersion(true), 40203);
  EXPECT_EQ(plug.GetHost(), kHostReaper);
  EXPECT_EQ(plug.mHostLookups, 1); // identified once
  plug.GetHostVersionStr(str, 4);
  EXPECT_STREQ(str, "v4.");
  plug.mTempo = 120.;
  EXPECT_EQ(plug.GetSamplesPerBeat(), 22050.);
  plug.mTempo = 0.;
  EXPECT_EQ(plug.GetSamplesPerBeat(), 0.);
}

TEST(Identity, LongNamesAreCut)
{
  std::string longName(300, 'k');
  IPlugTest plug(IPlugInstanceInfo{}, 0, "1-1", 0, longName.c_str(), "P", longName.c_str(), 1, 1, 2);
  EXPECT_EQ(strlen(plug.GetEffectName()), size_t(MAX_EFFECT_NAME_LEN - 1));
  EXPECT_EQ(strlen(plug.GetMfrName()), size_t(MAX_EFFECT_NAME_LEN - 1));
}
