#include "tests/support/IPlugTest.h"

IPlugTest::IPlugTest(IPlugInstanceInfo info, int nParams, const char* channelIOStr, int nPresets,
                     const char* effectName, const char* productName, const char* mfrName, int vendorVersion,
                     int uniqueID, int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
              latency, plugDoesMidi, plugDoesChunks, plugIsInst),
    mHostName(info.mHostName ? info.mHostName : ""), mHostVersionWord(info.mHostVersion)
{
}

void IPlugTest::BeginInformHostOfParamChange(int idx)
{
  mHostCalls.push_back({HostCall::kBegin, idx, 0.0});
}

void IPlugTest::InformHostOfParamChange(int idx, double normalizedValue)
{
  mHostCalls.push_back({HostCall::kInform, idx, normalizedValue});
}

void IPlugTest::EndInformHostOfParamChange(int idx)
{
  mHostCalls.push_back({HostCall::kEnd, idx, 0.0});
}

void IPlugTest::GetTimeSig(int* pNum, int* pDenom)
{
  if (pNum)
    *pNum = mTimeSigNum;
  if (pDenom)
    *pDenom = mTimeSigDenom;
}

EHostId IPlugTest::GetHost()
{
  if (GetHostIdRaw() == kHostUninit)
  {
    ++mHostLookups;
    SetHost(mHostName.c_str(), mHostVersionWord);
  }
  return GetHostIdRaw();
}

void IPlugTest::ResizeGraphics(int w, int h)
{
  mResizeW = w;
  mResizeH = h;
}

bool IPlugTest::SendMidiMsg(IMidiMsg* pMsg)
{
  if (!pMsg)
    return false;
  mMidiOut.push_back(*pMsg);
  return true;
}

bool IPlugTest::SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs)
{
  if (!pMsgs)
    return false;
  for (int i = 0; i < pMsgs->GetSize(); ++i)
    mMidiOut.push_back(pMsgs->Get()[i]);
  return true;
}

void IPlugTest::ProcessDouble(double** inputs, double** outputs, int nFrames)
{
  if (nFrames > GetBlockSize())
    SetBlockSize(nFrames);
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  AttachInputBuffers(0, NInChannels(), inputs, nFrames);
  AttachOutputBuffers(0, NOutChannels(), outputs);
  ProcessBuffers(0.0, nFrames);
}
