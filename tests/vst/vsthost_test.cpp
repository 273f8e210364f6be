// The project's VST 2 host: its built-in signals against hand-derived
// levels, WAV round trips, and processing through the test effect library.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "tools/vsthost/ProcessAudio.h"

namespace
{

TEST(VstHostSignals, LevelsMatchTheirDefinitions)
{
  SignalBuffer tone;
  ASSERT_TRUE(GenerateSignal("tone", 48000.0, 1.0, 2, &tone));
  EXPECT_EQ(tone.NumFrames(), 48000);
  for (const ChannelLevel& l : MeasureLevels(tone))
  {
    EXPECT_NEAR(l.peakDB, 20.0 * log10(0.5), 1e-3);            // -6.02
    EXPECT_NEAR(l.rmsDB, 20.0 * log10(0.5 / sqrt(2.0)), 1e-3); // -9.03
  }
  SignalBuffer noise;
  ASSERT_TRUE(GenerateSignal("noise", 44100.0, 2.0, 1, &noise));
  EXPECT_NEAR(MeasureLevels(noise)[0].rmsDB, -12.0, 0.1);
  SignalBuffer again;
  GenerateSignal("noise", 44100.0, 2.0, 1, &again);
  EXPECT_EQ(noise.channels, again.channels);

  SignalBuffer mix;
  ASSERT_TRUE(GenerateSignal("mix", 44100.0, 4.0, 2, &mix));
  EXPECT_LT(MeasureLevels(mix)[0].peakDB, 0.0);
  EXPECT_FALSE(GenerateSignal("chirp", 44100.0, 1.0, 2, &mix));
  EXPECT_FALSE(GenerateSignal("tone", 44100.0, 0.0, 2, &mix));
  EXPECT_EQ(MeasureLevels(SignalBuffer{44100.0, {std::vector<float>(4)}})[0].peakDB, -INFINITY);
}

TEST(VstHostWav, FloatRoundTripIsExact)
{
  SignalBuffer out;
  GenerateSignal("noise", 22050.0, 0.5, 3, &out);
  std::string path = testing::TempDir() + "vsthost-roundtrip.wav", error;
  ASSERT_TRUE(WriteWav(path, out, &error)) << error;
  SignalBuffer in;
  ASSERT_TRUE(ReadWav(path, &in, &error)) << error;
  EXPECT_EQ(in.sampleRate, 22050.0);
  EXPECT_EQ(in.channels, out.channels);
  unlink(path.c_str());
  EXPECT_FALSE(ReadWav(path, &in, &error));
  EXPECT_FALSE(error.empty());
}

TEST(VstHostPlugin, ProcessesThroughAnEffectLibrary)
{
  VstHostPlugin plugin;
  std::string error;
  ASSERT_TRUE(plugin.Load(VST_TEST_EFFECT_PATH, 44100.0, 100, &error)) << error;
  EXPECT_EQ(plugin.EffectName(), "Test Effect");
  EXPECT_EQ(plugin.NumInputs(), 4);
  EXPECT_EQ(plugin.FindParam("Gain"), 0);
  EXPECT_EQ(plugin.FindParam("gain"), -1);
  EXPECT_EQ(plugin.FindProgram("Default"), 0);
  EXPECT_EQ(plugin.Param(1).display, "First");
  plugin.SetParam(0, 0.25f);
  EXPECT_EQ(plugin.Param(0).display, "0.50");
  EXPECT_EQ(plugin.Param(0).label, "x");

  SignalBuffer in, out;
  GenerateSignal("noise", 44100.0, 0.01, 1, &in); // 441 frames: 4 full blocks and 41
  ProcessAudio(plugin, in, &out);
  ASSERT_EQ(out.NumChannels(), 2);
  ASSERT_EQ(out.NumFrames(), 441);
  for (int i = 0; i < 441; ++i)
  {
    ASSERT_EQ(out.channels[0][size_t(i)], in.channels[0][size_t(i)] * 0.5f);
    ASSERT_EQ(out.channels[1][size_t(i)], 0.0f); // fed silence
  }
  EXPECT_FALSE(VstHostPlugin().Load("/nonexistent/effect.so", 44100.0, 64, &error));
}

} // namespace
