#include "wdl/IPlug/IMidiMsg.h"

#include "wdl/IPlug/IPlugUtilities.h"

#include <cmath>

void IMidiMsg::Clear()
{
  mOffset = 0;
  mStatus = mData1 = mData2 = 0;
}

IMidiMsg::EStatusMsg IMidiMsg::StatusMsg() const
{
  unsigned kind = mStatus >> 4;
  return (kind >= kNoteOff && kind <= kPitchWheel) ? EStatusMsg(kind) : kNone;
}

int IMidiMsg::NoteNumber() const
{
  switch (StatusMsg())
  {
  case kNoteOff:
  case kNoteOn:
  case kPolyAftertouch: return mData1;
  default: return -1;
  }
}

int IMidiMsg::Velocity() const
{
  EStatusMsg s = StatusMsg();
  return (s == kNoteOff || s == kNoteOn) ? mData2 : -1;
}

int IMidiMsg::Program() const
{
  return StatusMsg() == kProgramChange ? mData1 : -1;
}

double IMidiMsg::PitchWheel() const
{
  if (StatusMsg() != kPitchWheel)
    return 0.0;
  int v = mData2 * 128 + mData1;
  return double(v - 8192) / 8192.0;
}

double IMidiMsg::ControlChange(EControlChangeMsg controller) const
{
  if (StatusMsg() == kControlChange && mData1 == controller)
    return mData2 / 127.0;
  return -1.0;
}

void IMidiMsg::MakeNoteOnMsg(int note, int velocity, int offset)
{
  mOffset = offset;
  mStatus = 0x90;
  mData1 = uint8_t(note);
  mData2 = uint8_t(velocity);
}

void IMidiMsg::MakeNoteOffMsg(int note, int offset)
{
  mOffset = offset;
  mStatus = 0x80;
  mData1 = uint8_t(note);
  mData2 = 0;
}

void IMidiMsg::MakePitchWheelMsg(double value)
{
  mOffset = 0;
  mStatus = 0xE0;
  mData1 = mData2 = 0;
  // Out-of-range and non-finite values would make the truncation undefined.
  int bend = TruncToInt(value * 8192.0);
  if (bend < -8192)
    return;
  int i = bend > 8191 ? 16383 : bend + 8192;
  mData1 = uint8_t(i & 127);
  mData2 = uint8_t(i >> 7);
}

void IMidiMsg::MakeControlChangeMsg(EControlChangeMsg controller, double value)
{
  mOffset = 0;
  mStatus = 0xB0;
  mData1 = uint8_t(controller);
  // The data byte holds the low 8 bits of the truncated value.
  mData2 = uint8_t(TruncToInt(value * 127.0));
}

const char* StatusMsgStr(IMidiMsg::EStatusMsg msg)
{
  switch (msg)
  {
  case IMidiMsg::kNone: return "none";
  case IMidiMsg::kNoteOff: return "noteoff";
  case IMidiMsg::kNoteOn: return "noteon";
  case IMidiMsg::kPolyAftertouch: return "aftertouch";
  case IMidiMsg::kControlChange: return "controlchange";
  case IMidiMsg::kProgramChange: return "programchange";
  case IMidiMsg::kChannelAftertouch: return "channelaftertouch";
  case IMidiMsg::kPitchWheel: return "pitchwheel";
  }
  return "unknown";
}
