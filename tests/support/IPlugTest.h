#pragma once
// A binding for tests: it implements the host-communication slots by
// recording every call, and lets a test play the host's part (time, tempo,
// host name).

#include <string>
#include <vector>

#include "wdl/IPlug/IPlugBase.h"

struct IPlugInstanceInfo
{
  const char* mHostName = "";
  int mHostVersion = 0;
};

class IPlugTest : public IPlugBase
{
public:
  struct HostCall
  {
    enum Kind
    {
      kBegin,
      kInform,
      kEnd
    } mKind;
    int mIdx;
    double mValue;
  };

  IPlugTest(IPlugInstanceInfo info, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency = 0,
            bool plugDoesMidi = false, bool plugDoesChunks = false, bool plugIsInst = false);

  void BeginInformHostOfParamChange(int idx) override;
  void InformHostOfParamChange(int idx, double normalizedValue) override;
  void EndInformHostOfParamChange(int idx) override;
  int GetSamplePos() override { return mSamplePos; }
  double GetTempo() override { return mTempo; }
  void GetTimeSig(int* pNum, int* pDenom) override;
  EHostId GetHost() override;
  void ResizeGraphics(int w, int h) override;
  void HostSpecificInit() override { ++mHostSpecificInits; }
  bool SendMidiMsg(IMidiMsg* pMsg) override;
  bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs) override;

  // Sets the block size, connects every channel and runs one block through
  // the double-precision frame.
  void ProcessDouble(double** inputs, double** outputs, int nFrames);

  // The host's side.
  std::string mHostName;
  int mHostVersionWord = 0;
  int mSamplePos = 0;
  double mTempo = 120.0;
  int mTimeSigNum = 4, mTimeSigDenom = 4;
  // What the plug-in told the host.
  std::vector<HostCall> mHostCalls;
  std::vector<IMidiMsg> mMidiOut;
  int mHostLookups = 0;
  int mHostSpecificInits = 0;
  int mResizeW = 0, mResizeH = 0;
};
