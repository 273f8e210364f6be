#pragma once
// One short MIDI message with its sample offset inside the current block.

#include <cstdint>

struct IMidiMsg
{
  enum EStatusMsg
  {
    kNone = 0,
    kNoteOff = 8,
    kNoteOn = 9,
    kPolyAftertouch = 10,
    kControlChange = 11,
    kProgramChange = 12,
    kChannelAftertouch = 13,
    kPitchWheel = 14
  };
  using EControlChangeMsg = int; // controller number 0-127

  int32_t mOffset = 0;
  uint8_t mStatus = 0;
  uint8_t mData1 = 0;
  uint8_t mData2 = 0;

  IMidiMsg() = default;
  IMidiMsg(int offset, uint8_t status, uint8_t data1, uint8_t data2)
    : mOffset(offset), mStatus(status), mData1(data1), mData2(data2)
  {
  }

  void Clear();
  EStatusMsg StatusMsg() const;
  int ControlChangeIdx() const { return mData1; }
  int NoteNumber() const;
  int Velocity() const;
  int Program() const;
  double PitchWheel() const;
  double ControlChange(EControlChangeMsg controller) const;

  void MakeNoteOnMsg(int note, int velocity, int offset);
  void MakeNoteOffMsg(int note, int offset);
  void MakePitchWheelMsg(double value);
  void MakeControlChangeMsg(EControlChangeMsg controller, double value);

  void LogMsg() const {}
};

const char* StatusMsgStr(IMidiMsg::EStatusMsg msg);
