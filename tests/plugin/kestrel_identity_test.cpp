#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/plugin/KestrelHarness.h"

namespace
{
std::string Display(const IParam* p)
{
  char text[64];
  p->GetDisplayForHost(text, sizeof(text));
  return text;
}
} // namespace

TEST(KestrelIdentity, NamesIdsAndVersion)
{
  KestrelHarness h;
  EXPECT_STREQ(h.plug->GetEffectName(), "Kestrel Compressor");
  EXPECT_STREQ(h.plug->GetProductName(), "");
  EXPECT_STREQ(h.plug->GetMfrName(), "Brackmere Audio");
  EXPECT_EQ(h.plug->GetEffectVersion(false), 0x00020000);
  EXPECT_EQ(h.plug->GetUniqueID(), 0x34713335);
  EXPECT_EQ(h.plug->GetMfrID(), 0x426B6D72);
  EXPECT_EQ(h.plug->GetLatency(), 0);
  EXPECT_FALSE(h.plug->DoesStateChunks());
  EXPECT_FALSE(h.plug->IsInst());
}

TEST(KestrelIdentity, ChannelConfigurations)
{
  KestrelHarness h;
  EXPECT_EQ(h.plug->NChannelIO(), 6);
  EXPECT_EQ(h.plug->NInChannels(), 4);
  EXPECT_EQ(h.plug->NOutChannels(), 2);
  for (auto [in, out] : {std::pair{1, 1}, {2, 1}, {3, 1}, {2, 2}, {3, 2}, {4, 2}})
    EXPECT_TRUE(h.plug->LegalIO(in, out)) << in << "-" << out;
  EXPECT_FALSE(h.plug->LegalIO(1, 2));
  EXPECT_FALSE(h.plug->LegalIO(4, 1));
}

TEST(KestrelIdentity, ParameterTable)
{
  struct Row
  {
    const char* name;
    double def, min, max, step;
    const char* label;
    int precision;
  };
  const Row rows[kNumParams] = {
    {"Threshold", 0, -60, 0, 0.1, "dB", 1},     {"Ratio", 0, 0, 4, 1, "", 0},
    {"Compensation", 0, -20, 20, 0.1, "dB", 1}, {"Attack", 20, 5, 2000, 1, "uS", 0},
    {"Release", 250, 1, 1000, 1, "mS", 0},      {"Parallel", 0, 0, 100, 0.01, "%", 2},
    {"Decadence", 0, 0, 1, 1, "", 0},           {"Detector HPF", 10, 10, 200, 1, "Hz", 0},
    {"Sidechain", 0, 0, 1, 1, "", 0},           {"Impetus", 0, 0, 100, 0.01, "%", 2},
    {"Auto Makeup", 0, 0, 1, 1, "", 0},         {"Meter", 0, 0, 1, 1, "", 0},
  };
  KestrelHarness h;
  ASSERT_EQ(h.plug->NParams(), kNumParams);
  for (int i = 0; i < kNumParams; ++i)
  {
    const IParam* p = h.plug->GetParam(i);
    SCOPED_TRACE(rows[i].name);
    EXPECT_STREQ(p->GetNameForHost(), rows[i].name);
    EXPECT_STREQ(p->GetLabelForHost(), rows[i].label);
    EXPECT_EQ(p->Value(), rows[i].def);
    EXPECT_EQ(p->GetMin(), rows[i].min);
    EXPECT_EQ(p->GetMax(), rows[i].max);
    EXPECT_EQ(p->GetStep(), rows[i].step);
    EXPECT_EQ(p->GetPrecision(), rows[i].precision);
  }
  for (int i : {kThreshold, kCompensation, kAttack, kRelease, kParallel, kDetectorHPF, kImpetus})
    EXPECT_EQ(h.plug->GetParam(i)->Type(), IParam::kKindDouble) << i;
  for (int i : {kRatio, kDecadence, kSidechain, kAutoMakeup, kMeter})
    EXPECT_EQ(h.plug->GetParam(i)->Type(), IParam::kKindEnum) << i;
}

TEST(KestrelIdentity, DisplayTexts)
{
  KestrelHarness h;
  IParam* ratio = h.plug->GetParam(kRatio);
  EXPECT_EQ(Display(ratio), "4:1");
  const char* ratios[] = {"4:1", "8:1", "12:1", "20:1", "All In"};
  ASSERT_EQ(ratio->GetNDisplayTexts(), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_STREQ(ratio->GetDisplayText(i), ratios[i]);
  for (int i : {kDecadence, kSidechain, kAutoMakeup})
  {
    EXPECT_STREQ(h.plug->GetParam(i)->GetDisplayText(0), "Off");
    EXPECT_STREQ(h.plug->GetParam(i)->GetDisplayText(1), "On");
  }
  EXPECT_STREQ(h.plug->GetParam(kMeter)->GetDisplayText(0), "Output");
  EXPECT_STREQ(h.plug->GetParam(kMeter)->GetDisplayText(1), "Gain Red.");
  EXPECT_EQ(Display(h.plug->GetParam(kThreshold)), "0");
  h.Set(kThreshold, -12.34);
  EXPECT_EQ(Display(h.plug->GetParam(kThreshold)), "-12.3");
}
