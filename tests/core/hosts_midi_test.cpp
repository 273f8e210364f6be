#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "wdl/IPlug/Hosts.h"
#include "wdl/IPlug/IMidiMsg.h"
#include "wdl/IPlug/IPlugUtilities.h"
#include "wdl/IPlug/Log.h"

// Every row of the table, with the ids written out as numbers: a changed id
// or a dropped row shows here.
TEST(HostLookup, EveryRowGivesItsId)
{
  const std::pair<const char*, int> rows[] = {
    {"cubase", 3}, {"reaper", 1},   {"nuendo", 4},    {"cakewalk", 5},   {"samplitude", 8},
    {"fruity", 7}, {"live", 9},     {"melodyne", 12}, {"vstmanlib", 13}, {"aulab", 14},
    {"forte", 15}, {"chainer", 16}, {"audition", 17}, {"orion", 18},     {"sawstudio", 20},
    {"logic", 21}, {"digital", 22}, {"ardour", 23},   {"mixbus", 23},
  };
  for (auto [word, id] : rows)
  {
    std::string name = std::string("com.example.") + word + "host";
    EXPECT_EQ(LookUpHost(name.c_str()), id) << word;
  }
}

TEST(HostLookup, TableOrderDecides)
{
  EXPECT_EQ(LookUpHost("REAPER"), kHostReaper);
  EXPECT_EQ(LookUpHost("Ableton Live 8"), kHostAbletonLive);
  EXPECT_EQ(LookUpHost("Mixbus"), kHostArdour);
  EXPECT_EQ(LookUpHost("Cubase SX"), kHostCubase);
  EXPECT_EQ(LookUpHost("live logic"), kHostAbletonLive);
  EXPECT_EQ(LookUpHost("com.example.logic10"), kHostLogic);
  EXPECT_EQ(LookUpHost(""), kHostUnknown);
  EXPECT_EQ(LookUpHost(nullptr), kHostUnknown);
  std::string longName(300, 'x');
  EXPECT_EQ(LookUpHost(longName.c_str()), kHostUnknown);
  longName.replace(249, 6, "ardour"); // cut at 255 characters: still seen
  EXPECT_EQ(LookUpHost(longName.c_str()), kHostArdour);
  longName.replace(249, 6, "xxxxxx");
  longName.replace(260, 6, "ardour"); // beyond the cut
  EXPECT_EQ(LookUpHost(longName.c_str()), kHostUnknown);
}

TEST(Versions, PartsDecimalAndText)
{
  int a, b, c;
  GetVersionParts(0x010203, &a, &b, &c);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  GetVersionParts(0x0A0B0C, &a, &b, &c);
  EXPECT_EQ(a, 10);
  EXPECT_EQ(b, 11);
  EXPECT_EQ(c, 12);
  GetVersionParts(int(0xFFFF0000u), &a, &b, &c);
  EXPECT_EQ(a, 0xFFFF); // major is unsigned
  EXPECT_EQ(GetDecimalVersion(0x20000), 20000);
  char s[8];
  GetVersionStr(0x20000, s, sizeof(s));
  EXPECT_STREQ(s, "v2.0");
}

// The one double-to-int rule every binding uses for host values.
TEST(TruncToInt, TruncatesTowardZeroAndSaturates)
{
  EXPECT_EQ(TruncToInt(2.9), 2);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(-0.5), 0);
  EXPECT_EQ(TruncToInt(2147483647.9), 2147483647);
  EXPECT_EQ(TruncToInt(-2147483648.9), -2147483647 - 1);
  EXPECT_EQ(TruncToInt(2147483648.0), 2147483647);
  EXPECT_EQ(TruncToInt(-2147483649.0), -2147483647 - 1);
  EXPECT_EQ(TruncToInt(1e300), 2147483647);
  EXPECT_EQ(TruncToInt(-HUGE_VAL), -2147483647 - 1);
  EXPECT_EQ(TruncToInt(std::nan("")), 0);
  EXPECT_FALSE(FitsInt(2147483648.0));
  EXPECT_TRUE(FitsInt(-2147483648.5));
}

TEST(TextHelpers, LowerWhitespaceTimestamps)
{
  char out[16];
  EXPECT_EQ(ToLower(out, "AbC d"), 5);
  EXPECT_STREQ(out, "abc d");
  EXPECT_EQ(ToLower(out, ""), 0);
  EXPECT_TRUE(IsWhitespace('\t'));
  EXPECT_FALSE(IsWhitespace('\v'));
  WDL_String ts;
  CompileTimestamp("Dec  8 2026", "19:20:00", &ts);
  EXPECT_STREQ(ts.Get(), "[Dec  8 2026 19:20:00]");
  EXPECT_STREQ(AppendTimestamp("d", "t", "Kestrel"), "Kestrel [d t]");
  EXPECT_STREQ(AppendTimestamp("x", "y", "Other"), "Kestrel [d t]"); // function-static
}

TEST(MidiDecode, StatusAndFields)
{
  IMidiMsg on(3, 0x93, 60, 100);
  EXPECT_EQ(on.StatusMsg(), IMidiMsg::kNoteOn);
  EXPECT_EQ(on.NoteNumber(), 60);
  EXPECT_EQ(on.Velocity(), 100);
  EXPECT_EQ(on.Program(), -1);

  IMidiMsg clock(0, 0xF8, 1, 2);
  EXPECT_EQ(clock.StatusMsg(), IMidiMsg::kNone);
  EXPECT_EQ(clock.NoteNumber(), -1);
  EXPECT_EQ(clock.Velocity(), -1);
  EXPECT_EQ(clock.Program(), -1);
  EXPECT_EQ(clock.PitchWheel(), 0.0);
  EXPECT_EQ(clock.ControlChange(1), -1.0);

  IMidiMsg pw(0, 0xE0, 0, 64);
  EXPECT_EQ(pw.PitchWheel(), 0.0);
  pw.mData1 = pw.mData2 = 127;
  EXPECT_EQ(pw.PitchWheel(), 8191.0 / 8192.0);
  IMidiMsg at(0, 0xA0, 10, 20);
  EXPECT_EQ(at.NoteNumber(), 10);
  EXPECT_EQ(at.Velocity(), -1);
  IMidiMsg cc(0, 0xB5, 7, 127);
  EXPECT_EQ(cc.ControlChange(7), 1.0);
  EXPECT_EQ(cc.ControlChange(8), -1.0);
}

TEST(MidiBuild, BuildersAndNames)
{
  IMidiMsg m;
  m.MakeControlChangeMsg(74, 0.5);
  EXPECT_EQ(m.mStatus, 0xB0);
  EXPECT_EQ(m.mData2, 63);
  m.MakeNoteOnMsg(300, 64, 12); // low 8 bits only
  EXPECT_EQ(m.mData1, 300 & 0xFF);
  EXPECT_EQ(m.mOffset, 12);
  m.MakeNoteOffMsg(60, 5);
  EXPECT_EQ(m.mStatus, 0x80);
  EXPECT_EQ(m.mData2, 0);
  m.MakePitchWheelMsg(0.0);
  EXPECT_EQ(m.mData1, 0);
  EXPECT_EQ(m.mData2, 64);
  m.MakePitchWheelMsg(1.0);
  EXPECT_EQ(m.mData1, 127);
  EXPECT_EQ(m.mData2, 127);
  m.MakePitchWheelMsg(-1.0);
  EXPECT_EQ(m.mData1 + m.mData2, 0);
  m.MakePitchWheelMsg(std::nan("")); // NaN truncates to 0: no bend
  EXPECT_EQ(m.mData1, 0);
  EXPECT_EQ(m.mData2, 64);
  m.MakePitchWheelMsg(1e300);
  EXPECT_EQ(m.mData2, 127);
  m.MakePitchWheelMsg(-1e300);
  EXPECT_EQ(m.mData1 + m.mData2, 0);
  m.MakeControlChangeMsg(1, std::nan(""));
  EXPECT_EQ(m.mData2, 0);
  // The data byte is the low 8 bits of value x 127 truncated: 381 keeps 125,
  // -63 keeps 193; past the int range the value saturates first.
  m.MakeControlChangeMsg(1, 3.0);
  EXPECT_EQ(m.mData2, 125);
  m.MakeControlChangeMsg(1, -0.5);
  EXPECT_EQ(m.mData2, 193);
  m.MakeControlChangeMsg(1, 1e300);
  EXPECT_EQ(m.mData2, 0xFF);
  m.Clear();
  EXPECT_EQ(m.mStatus, 0);
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kNoteOn), "noteon");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kChannelAftertouch), "channelaftertouch");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::EStatusMsg(15)), "unknown");
}
