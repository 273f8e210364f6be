// Both hosts put the effect's program or preset and parameters in place before it starts,
// so a render begins at the chosen settings instead of gliding to them from the defaults
// (the effect smooths Threshold and Compensation over thousands of samples).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/signal/SignalBuffer.h"

namespace
{
std::string TempWav(const char* name)
{
  return ::testing::TempDir() + name + ".wav";
}

// Runs a host on the built-in tone (-6 dBFS, 1 kHz) and reads back its output.
SignalBuffer Render(const std::string& host, const std::string& plugin, const std::string& options, const char* name)
{
  const std::string out = TempWav(name);
  const std::string command =
    "'" + host + "' '" + plugin + "' --signal tone --seconds 1 " + options + " --out '" + out + "' > /dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  SignalBuffer buffer;
  std::string error;
  EXPECT_TRUE(ReadWav(out, &buffer, &error)) << error;
  std::remove(out.c_str());
  return buffer;
}

double Peak(const SignalBuffer& b, int from, int to)
{
  double peak = 0.0;
  for (const std::vector<float>& channel : b.channels)
    for (int k = from; k < to && k < int(channel.size()); ++k)
      peak = std::max(peak, double(std::fabs(channel[size_t(k)])));
  return peak;
}

// At 44.1 kHz: the first 10 ms, and 50 to 100 ms against the last 50 ms of the second.
void ExpectSettledFromTheStart(const SignalBuffer& b, double firstPeak)
{
  ASSERT_EQ(b.NumFrames(), 44100);
  EXPECT_NEAR(Peak(b, 0, 441), firstPeak, 0.01);
  EXPECT_NEAR(Peak(b, 2205, 4410) / Peak(b, 42000, 44100), 1.0, 0.01);
}
} // namespace

// Compensation +6 dB on a tone below the threshold: 0.5 x 1.995 at once. Gliding, the
// first 10 ms would get less than 0.5 dB of it.
TEST(HostSetup, ParametersApplyBeforeTheFirstBlock)
{
  // The VST host's values are normalised: -20..20 dB maps to 0..1.
  const SignalBuffer vst = Render(KESTREL_VSTHOST, KESTREL_VST_PATH, "--set Compensation=0.65", "set-vst");
  ExpectSettledFromTheStart(vst, 0.5 * std::pow(10.0, 6.0 / 20.0));
  const SignalBuffer au = Render(KESTREL_AUHOST, KESTREL_AU_BUNDLE, "--set Compensation=6", "set-au");
  ExpectSettledFromTheStart(au, 0.5 * std::pow(10.0, 6.0 / 20.0));
}

// A preset with its threshold at -21.31 dB compresses the tone from the start: by 50 ms
// the output is what it is a second later. Gliding from 0 dB, the threshold would still be
// above -3 dB there.
TEST(HostSetup, ProgramAndPresetApplyBeforeTheFirstBlock)
{
  const SignalBuffer vst = Render(KESTREL_VSTHOST, KESTREL_VST_PATH, "--program 'Drums Kick Control'", "prog-vst");
  ASSERT_EQ(vst.NumFrames(), 44100);
  EXPECT_NEAR(Peak(vst, 2205, 4410) / Peak(vst, 42000, 44100), 1.0, 0.01);
  const SignalBuffer au = Render(KESTREL_AUHOST, KESTREL_AU_BUNDLE, "--preset 'Drums Kick Control'", "prog-au");
  ASSERT_EQ(au.NumFrames(), 44100);
  EXPECT_NEAR(Peak(au, 2205, 4410) / Peak(au, 42000, 44100), 1.0, 0.01);
}
