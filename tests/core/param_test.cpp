#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "wdl/IPlug/IParam.h"

namespace
{
std::string Display(const IParam& p, double v, bool normalized = false, int size = 32)
{
  char buf[64];
  memset(buf, 'x', sizeof(buf));
  p.GetDisplayForHost(v, normalized, buf, size);
  return buf;
}
} // namespace

TEST(ParamInit, RangesStepsAndPrecision)
{
  IParam thr;
  thr.InitDouble("Threshold", 0., -60., 0., 0.1, "dB");
  EXPECT_EQ(thr.GetPrecision(), 1);
  EXPECT_EQ(thr.GetMax(), 0.);
  EXPECT_STREQ(thr.GetLabelForHost(), "dB");

  IParam narrow;
  narrow.InitDouble("n", 0., 5., 5.5, 1., "");
  EXPECT_EQ(narrow.GetMax(), 6.); // raised to min + step
  EXPECT_EQ(narrow.GetPrecision(), 0);

  IParam fine;
  fine.InitDouble("f", 0., 0., 1., 0.001, "");
  EXPECT_EQ(fine.GetPrecision(), 3);
  IParam tiny;
  tiny.InitDouble("t", 0., 0., 1., 1e-9, "");
  EXPECT_EQ(tiny.GetPrecision(), 6); // capped

  IParam one;
  one.InitEnum("e", 0, 1);
  EXPECT_EQ(one.GetMax(), 1.);

  IParam i;
  i.InitInt("i", 3, 5, 5, "");
  EXPECT_EQ(i.GetMax(), 6.);
}

TEST(ParamInit, FirstInitDecidesTheKindAndTextsAreBounded)
{
  IParam p;
  p.InitEnum("e", 1, 3);
  p.InitDouble("d", 0.5, 10., 20., 0.5, "Hz");
  EXPECT_EQ(p.Type(), IParam::kKindEnum);
  EXPECT_EQ(p.GetMin(), 10.);
  EXPECT_EQ(p.GetMax(), 20.);

  IParam b;
  b.InitBool("Sidechain", true, "ignored");
  EXPECT_STREQ(b.GetLabelForHost(), "");
  EXPECT_STREQ(b.GetDisplayText(0), "off");
  EXPECT_STREQ(b.GetDisplayText(1), "on");
  EXPECT_STREQ(b.GetDisplayText(2), "");

  std::string longName(100, 'n');
  IParam l;
  l.InitDouble(longName.c_str(), 0., 0., 1., 0.1, longName.c_str());
  l.SetDisplayText(3, longName.c_str());
  EXPECT_EQ(strlen(l.GetNameForHost()), size_t(MAX_PARAM_NAME_LEN - 1));
  EXPECT_EQ(strlen(l.GetLabelForHost()), size_t(MAX_PARAM_LABEL_LEN - 1));
  EXPECT_EQ(strlen(l.GetDisplayText(3)), size_t(MAX_PARAM_DISPLAY_LEN - 1));
}

TEST(ParamNormalized, SetRoundsNonDoublesAndOnlyCapsTheTop)
{
  IParam e;
  e.InitEnum("Ratio", 0, 5);
  e.SetNormalized(0.5);
  EXPECT_EQ(e.Value(), 2.);
  e.SetNormalized(0.37); // 1.48 rounds to 1
  EXPECT_EQ(e.Value(), 1.);

  IParam d;
  d.InitDouble("d", 0., -60., 0., 0.1, "dB");
  d.SetNormalized(1.2);
  EXPECT_EQ(d.Value(), 0.);
  d.SetNormalized(-0.1);
  EXPECT_DOUBLE_EQ(d.Value(), -66.); // callers keep to 0..1; the bottom is not clamped
  d.SetNormalized(0.25);
  EXPECT_DOUBLE_EQ(d.Value(), -45.);
}

TEST(ParamNormalized, GetClampsAndAppliesTheShape)
{
  IParam p;
  p.InitDouble("p", 0., 0., 10., 0.1, "");
  EXPECT_EQ(p.GetNormalized(20.), 1.);
  EXPECT_EQ(p.GetNormalized(-5.), 0.);
  p.SetShape(0.); // ignored
  EXPECT_EQ(p.GetShape(), 1.);
  p.SetShape(2.);
  EXPECT_NEAR(p.GetNormalized(5.), std::sqrt(0.5), 1e-12);
  p.SetNormalized(std::sqrt(0.5));
  EXPECT_NEAR(p.Value(), 5., 1e-12);
  EXPECT_EQ(p.GetNormalized(std::numeric_limits<double>::quiet_NaN()), 0.);
}

TEST(ParamDisplay, TextsNumbersAndSigns)
{
  IParam p;
  p.InitDouble("p", 0., -10., 10., 0.1, "");
  EXPECT_EQ(Display(p, 0.0), "0");
  EXPECT_EQ(Display(p, -0.0), "0");
  EXPECT_EQ(Display(p, 3.5), "3.5");
  p.NegateDisplay();
  EXPECT_EQ(Display(p, 3.5), "-3.5");
  EXPECT_EQ(Display(p, 0.5, true), "0"); // normalised 0.5 is plain 0: no minus sign
  EXPECT_EQ(Display(p, 1.0, true), "-10.0");

  IParam e;
  e.InitEnum("e", 0, 3);
  e.SetDisplayText(0, "");
  e.SetDisplayText(1, "one");
  e.SetDisplayText(1, "uno");
  EXPECT_EQ(Display(e, 0.), "0");    // an empty text gives way to the number
  EXPECT_EQ(Display(e, 1.9), "one"); // truncated to 1; first entry wins
  EXPECT_EQ(Display(e, 2.), "2");
  int v = -7;
  EXPECT_TRUE(e.MapDisplayText("uno", &v));
  EXPECT_EQ(v, 1);
  EXPECT_FALSE(e.MapDisplayText("One", &v));
  EXPECT_EQ(v, 1);
}

TEST(ParamDisplay, OutputIsBoundedAndExtremeValuesAreSafe)
{
  IParam p;
  p.InitInt("p", 0, 0, 100, "");
  EXPECT_EQ(Display(p, 123456, false, 4), "123");
  std::string huge = Display(p, 1e300); // beyond the int range: no undefined truncation
  EXPECT_EQ(huge.size(), 31u);
  EXPECT_EQ(huge.substr(0, 16), "1000000000000000");
  EXPECT_EQ(Display(p, std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(Display(p, -std::numeric_limits<double>::infinity()), "-inf");
  char one[1] = {'x'};
  p.GetDisplayForHost(5., false, one, 1);
  EXPECT_EQ(one[0], 0);
}
