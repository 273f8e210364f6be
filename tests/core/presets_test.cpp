#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

#include "tests/support/IPlugTest.h"

namespace
{
// Twelve parameters of every kind, with counters of OnParamChange calls.
class StatePlug : public IPlugTest
{
public:
  explicit StatePlug(int nPresets = 4) : IPlugTest(IPlugInstanceInfo{}, 12, "2-2", nPresets, "E", "P", "M", 1, 1, 2)
  {
    for (int i = 0; i < 12; ++i)
    {
      char name[8];
      snprintf(name, sizeof(name), "p%d", i);
      switch (i % 4)
      {
      case 0: GetParam(i)->InitDouble(name, 1., -5., 5., 0.01, ""); break;
      case 1: GetParam(i)->InitEnum(name, 1, 4); break;
      case 2: GetParam(i)->InitBool(name, false); break;
      default: GetParam(i)->InitInt(name, 3, 1, 9, ""); break;
      }
    }
  }
  void OnParamChange(int) override { ++mChanges; }
  int mChanges = 0;
};

std::vector<double> Values(const IPlugBase& plug)
{
  std::vector<double> v;
  for (int i = 0; i < plug.NParams(); ++i)
    v.push_back(plug.GetParam(i)->Value());
  return v;
}
} // namespace

TEST(ByteChunkReads, BoundsAndLengthFields)
{
  ByteChunk c;
  int32_t i = 7;
  EXPECT_EQ(c.Put(&i), 4);
  double d = 0.;
  EXPECT_EQ(c.Get(&d, 0), -1); // only 4 bytes
  EXPECT_EQ(c.Get(&i, -1), -1);
  EXPECT_EQ(c.Get(&i, INT_MAX - 1), -1); // no overflow in the comparison
  EXPECT_EQ(c.Get(&i, 0), 4);

  WDL_String s("keep");
  for (int32_t len : {INT_MAX, INT_MAX - 3, -1, INT_MIN, 5})
  {
    ByteChunk bad;
    bad.Put(&len);
    bad.PutBytes("abcd", 4);
    EXPECT_EQ(bad.GetStr(&s, 0), -1) << len;
    EXPECT_STREQ(s.Get(), "keep");
  }
  ByteChunk ok;
  ok.PutStr("ab\0cd"); // PutStr stops at the terminator
  int32_t len = 5;
  ok.Put(&len);
  ok.PutBytes("xy\0zw", 5);
  int pos = ok.GetStr(&s, 0);
  EXPECT_EQ(pos, 6);
  EXPECT_STREQ(s.Get(), "ab");
  EXPECT_EQ(ok.GetStr(&s, pos), 15);
  EXPECT_STREQ(s.Get(), "xy"); // cut at the embedded zero
}

TEST(ParamState, RoundTripAndClamping)
{
  StatePlug a;
  a.GetParam(0)->Set(-2.5);
  a.GetParam(5)->Set(3.);
  ByteChunk chunk;
  ASSERT_TRUE(a.SerializeParams(&chunk));
  EXPECT_EQ(chunk.Size(), 96);
  double raw;
  chunk.Get(&raw, 0);
  EXPECT_EQ(raw, -2.5);

  StatePlug b;
  EXPECT_EQ(b.UnserializeParams(&chunk, 0), 96);
  EXPECT_EQ(Values(a), Values(b));
  EXPECT_EQ(b.mChanges, 12);

  ByteChunk high;
  for (int i = 0; i < 12; ++i)
  {
    double v = 100.;
    high.Put(&v);
  }
  b.UnserializeParams(&high, 0);
  EXPECT_EQ(b.GetParam(0)->Value(), 5.);
  EXPECT_EQ(b.GetParam(1)->Value(), 3.);
}

TEST(ParamState, ShortStateSetsTheFailedParameterToZeroClamped)
{
  StatePlug a, b;
  for (int i = 0; i < 12; ++i)
    a.GetParam(i)->Set(a.GetParam(i)->GetMax());
  ByteChunk chunk;
  a.SerializeParams(&chunk);
  ByteChunk short95;
  short95.PutBytes(chunk.GetData(), 95);
  b.mChanges = 0;
  EXPECT_EQ(b.UnserializeParams(&short95, 0), -1);
  for (int i = 0; i < 11; ++i)
    EXPECT_EQ(b.GetParam(i)->Value(), a.GetParam(i)->Value()) << i;
  EXPECT_EQ(b.GetParam(11)->Value(), 1.); // 0 clamped into 1..9
  EXPECT_EQ(b.mChanges, 12);

  b.mChanges = 0;
  EXPECT_EQ(b.UnserializeParams(&chunk, -4), -4); // nothing read, handlers still run
  EXPECT_EQ(b.mChanges, 12);
}

TEST(ParamState, NonFiniteValuesNeverReachParameters)
{
  StatePlug plug;
  std::vector<double> before = Values(plug);
  ByteChunk chunk;
  for (int i = 0; i < 12; ++i)
  {
    double v = i == 0 ? std::numeric_limits<double>::quiet_NaN()
                      : (i == 4 ? std::numeric_limits<double>::infinity() : before[i]);
    chunk.Put(&v);
  }
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0), 96);
  EXPECT_EQ(plug.GetParam(0)->Value(), before[0]);
  EXPECT_EQ(plug.GetParam(4)->Value(), 5.);
  for (int i = 0; i < 12; ++i)
    EXPECT_TRUE(std::isfinite(plug.GetParam(i)->Value()));
}

TEST(Presets, NamedParamsFillTheRestFromCurrentValues)
{
  StatePlug plug;
  plug.GetParam(3)->Set(7.);
  plug.MakePresetFromNamedParams("Three", 4, 0, -1.5, 1, 2, 2, 1, 4, PARAM_UNINIT);
  plug.MakePreset("All", 0.5, 0, 1, 4, 0.25, 1, 0, 2, 0.125, 2, 1, 5);
  ASSERT_TRUE(plug.GetPreset(0)->mInitialised);
  EXPECT_STREQ(plug.GetPresetName(0), "Three");
  EXPECT_STREQ(plug.GetPresetName(2), "- 3 -");
  EXPECT_STREQ(plug.GetPresetName(9), "");

  std::vector<double> expect = Values(plug);
  expect[0] = -1.5;
  expect[1] = 2.; // the enum and bool pairs are read as ints
  expect[2] = 1.; // parameter 4 named with the sentinel keeps its current value
  // Restoring into the same plug-in uses its stored values.
  ASSERT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(Values(plug), expect);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  ASSERT_TRUE(plug.RestorePreset(1));
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.5);
  EXPECT_EQ(plug.GetParam(11)->Value(), 5.);
  EXPECT_FALSE(plug.RestorePreset(""));
  EXPECT_FALSE(plug.RestorePreset("missing"));
  EXPECT_FALSE(plug.RestorePreset(4));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
}

TEST(PresetsDeathTest, BadIndexInATableIsFatal)
{
  StatePlug plug;
  EXPECT_DEATH(plug.MakePresetFromNamedParams("x", 1, 12, 0.),
               "wdl/IPlug/IPlugBase:470: failed assertion `paramIdx >= 0 && paramIdx < n'");
}

// With every slot taken the call does nothing, however bad its arguments.
TEST(Presets, NamedParamsWithNoFreeSlotReadNothing)
{
  StatePlug plug(1);
  plug.MakeDefaultPreset("full");
  plug.MakePresetFromNamedParams("x", 1, 12, 0.);
  EXPECT_STREQ(plug.GetPresetName(0), "full");
}

TEST(Presets, EmptySlotsBecomeNumberedUserPresets)
{
  StatePlug plug(3);
  plug.MakeDefaultPreset();
  EXPECT_STREQ(plug.GetPresetName(0), "Default");
  ASSERT_TRUE(plug.RestorePreset(1));
  EXPECT_STREQ(plug.GetPresetName(1), "user preset 1");
  ASSERT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 2");
  plug.MakeDefaultPreset("more", 3); // no slots left: nothing
  plug.EnsureDefaultPreset();
  EXPECT_EQ(plug.NPresets(), 3);

  IPlugTest noParams(IPlugInstanceInfo{}, 0, "1-1", 1, "E", "P", "M", 1, 1, 2);
  noParams.MakeDefaultPreset();
  EXPECT_FALSE(noParams.RestorePreset(0)); // nothing to read
}

TEST(Presets, EnsureDefaultAndPrune)
{
  StatePlug none(0);
  none.EnsureDefaultPreset();
  ASSERT_EQ(none.NPresets(), 1);
  EXPECT_STREQ(none.GetPresetName(0), "Default");

  StatePlug plug(5);
  plug.MakeDefaultPreset("a");
  plug.RestorePreset(3);
  plug.PruneUninitializedPresets();
  ASSERT_EQ(plug.NPresets(), 2);
  EXPECT_STREQ(plug.GetPresetName(1), "user preset 1");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 3); // not adjusted
}

TEST(PresetBank, RoundTripAndShortBanks)
{
  StatePlug a(3);
  a.GetParam(0)->Set(2.);
  a.MakeDefaultPreset("first");
  a.GetParam(0)->Set(-3.);
  a.MakeDefaultPreset("second");
  ByteChunk bank;
  ASSERT_TRUE(a.SerializePresets(&bank));
  EXPECT_EQ(bank.Size(), (4 + 5 + 1 + 96) + (4 + 6 + 1 + 96) + (4 + 5 + 1));

  StatePlug b(3);
  EXPECT_EQ(b.UnserializePresets(&bank, 0), bank.Size());
  EXPECT_STREQ(b.GetPresetName(1), "second");
  EXPECT_STREQ(b.GetPresetName(2), "- 3 -");
  EXPECT_FALSE(b.GetPreset(2)->mInitialised);
  EXPECT_EQ(b.GetParam(0)->Value(), 2.); // current preset 0 restored afterwards
  ByteChunk again;
  b.SerializePresets(&again);
  EXPECT_TRUE(again.IsEqual(bank));

  // A second slot whose stored name length is 0 gets an empty name.
  ByteChunk zeroName;
  zeroName.PutBytes(bank.GetData(), 4 + 5 + 1 + 96);
  int32_t zero = 0;
  zeroName.Put(&zero);
  uint8_t notInit = 0;
  zeroName.Put(&notInit);
  StatePlug c(2);
  EXPECT_EQ(c.UnserializePresets(&zeroName, 0), zeroName.Size());
  EXPECT_STREQ(c.GetPresetName(1), "");

  // A bank that ends early keeps what was read.
  ByteChunk cut;
  cut.PutBytes(bank.GetData(), 4 + 5 + 1 + 96 + 4 + 6);
  StatePlug d(3);
  EXPECT_EQ(d.UnserializePresets(&cut, 0), -1);
  EXPECT_STREQ(d.GetPresetName(0), "first");
  EXPECT_STREQ(d.GetPresetName(1), "second");
  EXPECT_FALSE(d.GetPreset(1)->mInitialised);
}

TEST(PresetBank, InitialisedByteIsAByte)
{
  ByteChunk bank;
  bank.PutStr("x");
  uint8_t flag = 0x7F; // any non-zero byte means initialised
  bank.Put(&flag);
  for (int i = 0; i < 12; ++i)
  {
    double v = 0.;
    bank.Put(&v);
  }
  StatePlug plug(1);
  EXPECT_EQ(plug.UnserializePresets(&bank, 0), bank.Size());
  EXPECT_TRUE(plug.GetPreset(0)->mInitialised);
}

TEST(PresetSource, DumpWritesAllButTheLastParameter)
{
  StatePlug plug;
  plug.GetParam(0)->Set(-1.234);
  plug.GetParam(2)->Set(1.);
  const char* names[12] = {"kA", "kB", "kC", "kD", "kE", "kF", "kG", "kH", "kI", "kJ", "kK", "kL"};
  std::string path = testing::TempDir() + "/presets.txt";
  plug.DumpPresetSrcCode(path.c_str(), names);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  EXPECT_EQ(
    s.rfind("  MakePresetFromNamedParams(\"name\", 11,\n    kA, -1.23,\n    kB, 1,\n    kC, true,\n    kD, 3,", 0), 0u);
  EXPECT_EQ(s.find("kL"), std::string::npos);
  EXPECT_EQ(s.substr(s.size() - 3), ");\n");
}
