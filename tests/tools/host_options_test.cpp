#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/signal/HostOptions.h"

namespace
{
// Parses args as a host would; returns false on the first option that is not taken.
bool Parse(std::vector<std::string> args, HostOptions* o)
{
  std::vector<char*> argv;
  for (std::string& a : args)
    argv.push_back(a.data());
  for (int i = 0; i < int(argv.size()); ++i)
    if (ParseHostOption(int(argv.size()), argv.data(), &i, "--program", o) != HostOptionResult::kTaken)
      return false;
  return true;
}
} // namespace

TEST(HostOptions, SharedOptionsAndTheirValues)
{
  HostOptions o;
  ASSERT_TRUE(Parse({"--program", "Vocal 1", "--set", "Ratio=0.25", "--set", "a=b=1", "--signal", "mix", "--seconds",
                     "2.5", "--block", "64", "--channels", "1", "--rate", "48000", "--time", "--list"},
                    &o));
  EXPECT_EQ(o.select, "Vocal 1");
  ASSERT_EQ(o.params.size(), 2u);
  EXPECT_EQ(o.params[0].first, "Ratio");
  EXPECT_EQ(o.params[0].second, 0.25f);
  EXPECT_EQ(o.params[1].first, "a=b"); // the last '=' separates the value
  EXPECT_EQ(o.seconds, 2.5);
  EXPECT_EQ(o.block, 64);
  EXPECT_EQ(o.channels, 1);
  EXPECT_EQ(o.rate, 48000.);
  EXPECT_TRUE(o.time && o.list);
  EXPECT_TRUE(HostInputIsUnambiguous(o));
  o.inPath = "x.wav";
  EXPECT_FALSE(HostInputIsUnambiguous(o));
}

TEST(HostOptions, BadValuesAreRefused)
{
  for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{{"--block"},
                                                                            {"--block", "0"},
                                                                            {"--block", "65537"},
                                                                            {"--block", "12x"},
                                                                            {"--rate", "nan"},
                                                                            {"--seconds", "-1"},
                                                                            {"--channels", "65"},
                                                                            {"--set", "Ratio"},
                                                                            {"--set", "Ratio=inf"},
                                                                            {"--preset", "1"}})
  {
    HostOptions o;
    EXPECT_FALSE(Parse(bad, &o)) << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
  }
  HostOptions o;
  std::string error;
  o.signal = "chirp";
  SignalBuffer in;
  EXPECT_EQ(LoadHostInput(o, &in, &error), 1);
  EXPECT_NE(error.find("chirp"), std::string::npos);
  o.signal.clear();
  o.inPath = "/nonexistent/input.wav";
  EXPECT_EQ(LoadHostInput(o, &in, &error), 2);
}
