#include <gtest/gtest.h>

#include <string>

#include "tests/plugin/KestrelHarness.h"

namespace
{
struct Values
{
  double v[kNumParams];
};

Values Recall(KestrelHarness& h, int slot)
{
  EXPECT_TRUE(h.plug->RestorePreset(slot)) << slot;
  Values out;
  for (int i = 0; i < kNumParams; ++i)
    out.v[i] = h.plug->GetParam(i)->Value();
  return out;
}
} // namespace

TEST(KestrelPresets, NinetyFiveOfOneHundredTwentySlotsAreFilled)
{
  KestrelHarness h;
  ASSERT_EQ(h.plug->NPresets(), 120);
  EXPECT_STREQ(h.plug->GetPresetName(0), "Default");
  EXPECT_STREQ(h.plug->GetPresetName(94), "Guitar - A Distressing Baritone");
  EXPECT_STREQ(h.plug->GetPresetName(95), "- 96 -");
  EXPECT_STREQ(h.plug->GetPresetName(119), "- 120 -");
  for (int i = 0; i < 95; ++i)
    EXPECT_STRNE(h.plug->GetPresetName(i), "") << i;
}

TEST(KestrelPresets, NamesAreKeptByteForByte)
{
  KestrelHarness h;
  EXPECT_STREQ(h.plug->GetPresetName(1), "Sex, Drums, Rock'n'Roll");
  EXPECT_STREQ(h.plug->GetPresetName(5), "\x22"
                                         "Edgy\x22 NME, 5 stars");
  EXPECT_STREQ(h.plug->GetPresetName(6), "Power Bass 1");
  EXPECT_STREQ(h.plug->GetPresetName(17), "Drums Snare 1980's console style");
  EXPECT_STREQ(h.plug->GetPresetName(44), "BussComp NY Chelsea (tweak compensation)");
  EXPECT_STREQ(h.plug->GetPresetName(47), "BussComp Saskatoon");
  EXPECT_STREQ(h.plug->GetPresetName(48), "HiRes Power Bass 1");
  EXPECT_STREQ(h.plug->GetPresetName(89), "HiRes BussComp Saskatoon");
  EXPECT_STREQ(h.plug->GetPresetName(90), "Bass Guitar - Faith No Less");
  EXPECT_STREQ(h.plug->GetPresetName(92), "Guitar - A Disressing E");
  EXPECT_STREQ(h.plug->GetPresetName(93), "Guitar - A Distressing Cheater Tuning");
}

TEST(KestrelPresets, DefaultHoldsTheParameterDefaults)
{
  KestrelHarness h;
  const Values d = Recall(h, 0);
  const double expected[kNumParams] = {0, 0, 0, 20, 250, 0, 0, 10, 0, 0, 0, 0};
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(d.v[i], expected[i]) << i;
}

TEST(KestrelPresets, SlotValues)
{
  KestrelHarness h;
  const Values heavy = Recall(h, 4); // "Heavy Vibes"
  const double heavyExpected[kNumParams] = {-48.42, 4, 8.23, 1742.58, 48.47, 34.09, 1, 10, 0, 57.8, 1, 1};
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(heavy.v[i], heavyExpected[i]) << i;

  const Values chelsea = Recall(h, 44);
  EXPECT_EQ(chelsea.v[kParallel], 100.0);
  EXPECT_EQ(chelsea.v[kAutoMakeup], 0.0);
  EXPECT_EQ(chelsea.v[kRelease], 1.0);
  EXPECT_EQ(Recall(h, 90).v[kMeter], 0.0);
  EXPECT_EQ(Recall(h, 91).v[kAttack], 2000.0);
  EXPECT_EQ(Recall(h, 30).v[kRelease], 129.9); // "Vocal 1"
}

TEST(KestrelPresets, HiResSlotsRepeatTheNamedOnesWithDecadence)
{
  KestrelHarness h;
  for (int slot = 48; slot < 90; ++slot)
  {
    EXPECT_EQ(std::string(h.plug->GetPresetName(slot)), std::string("HiRes ") + h.plug->GetPresetName(slot - 42));
    const Values hi = Recall(h, slot);
    const Values lo = Recall(h, slot - 42);
    EXPECT_EQ(lo.v[kDecadence], 0.0) << slot;
    EXPECT_EQ(hi.v[kDecadence], 1.0) << slot;
    for (int i = 0; i < kNumParams; ++i)
      EXPECT_TRUE(i == kDecadence || hi.v[i] == lo.v[i]) << slot << " param " << i;
  }
}

TEST(KestrelPresets, SwitchesAcrossTheBank)
{
  KestrelHarness h;
  for (int slot = 1; slot < 95; ++slot)
  {
    const Values v = Recall(h, slot);
    EXPECT_EQ(v.v[kSidechain], 0.0) << slot;
    EXPECT_EQ(v.v[kMeter], slot == 90 ? 0.0 : 1.0) << slot;
    EXPECT_EQ(v.v[kAutoMakeup], (slot == 44 || slot == 45 || slot == 86 || slot == 87) ? 0.0 : 1.0) << slot;
    for (int i = 0; i < kNumParams; ++i)
    {
      const IParam* p = h.plug->GetParam(i);
      EXPECT_GE(v.v[i], p->GetMin()) << slot << " param " << i;
      EXPECT_LE(v.v[i], p->GetMax()) << slot << " param " << i;
    }
  }
}

TEST(KestrelPresets, NextFreeSlotAndUserPresets)
{
  KestrelHarness h;
  EXPECT_TRUE(h.plug->RestorePreset(95)); // empty: becomes a user preset with the current values
  EXPECT_STREQ(h.plug->GetPresetName(95), "user preset 1");
  EXPECT_TRUE(h.plug->RestorePreset("Vocal 1"));
  EXPECT_EQ(h.plug->GetCurrentPresetIdx(), 30);
  EXPECT_EQ(h.plug->GetParam(kThreshold)->Value(), -18.53);
}
