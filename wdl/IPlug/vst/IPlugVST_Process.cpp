// Audio thread and parameter callbacks. Every call holds mMutex throughout;
// nothing here allocates.

#include <cmath>

#include "platform/vst/VstOpcodes.h"
#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/vst/IPlugVST.h"
#include "wdl/IPlug/vst/IPlugVSTTrampoline.h"

void IPlugVST::VSTProcess(AEffect* pEffect, float** inputs, float** outputs, int32_t nFrames)
{
  VSTForward<IPlugVST>(pEffect, 0, [&](IPlugVST* plug) {
    plug->Process(inputs, outputs, nFrames, EProcessMode::kAccumulating);
    return 0;
  });
}

void IPlugVST::VSTProcessReplacing(AEffect* pEffect, float** inputs, float** outputs, int32_t nFrames)
{
  VSTForward<IPlugVST>(pEffect, 0, [&](IPlugVST* plug) {
    plug->Process(inputs, outputs, nFrames, EProcessMode::kReplacing);
    return 0;
  });
}

void IPlugVST::VSTProcessDoubleReplacing(AEffect* pEffect, double** inputs, double** outputs, int32_t nFrames)
{
  VSTForward<IPlugVST>(pEffect, 0, [&](IPlugVST* plug) {
    plug->Process(inputs, outputs, nFrames, EProcessMode::kReplacing);
    return 0;
  });
}

float IPlugVST::VSTGetParameter(AEffect* pEffect, int32_t idx)
{
  return VSTForward<IPlugVST>(pEffect, 0.0f, [&](IPlugVST* plug) { return plug->GetParameterFromHost(idx); });
}

void IPlugVST::VSTSetParameter(AEffect* pEffect, int32_t idx, float value)
{
  VSTForward<IPlugVST>(pEffect, 0, [&](IPlugVST* plug) {
    plug->SetParameterFromHost(idx, value);
    return 0;
  });
}

template <>
WDL_TypedBuf<float*>* IPlugVST::OffsetPtrs<float>(bool input)
{
  return input ? &mFloatIn : &mFloatOut;
}

template <>
WDL_TypedBuf<double*>* IPlugVST::OffsetPtrs<double>(bool input)
{
  return input ? &mDoubleIn : &mDoubleOut;
}

namespace
{
// Host pointers the attach consumes: one per connected channel, in order. A
// host passes none (or null) for the channels the plug-in disconnected.
template <class IsConnected>
int CountConnected(int n, IsConnected isConnected)
{
  int count = 0;
  for (int i = 0; i < n; ++i)
    count += isConnected(i) ? 1 : 0;
  return count;
}

// Marks a process call as running for as long as it lasts, also when it ends
// by an exception.
class ProcessingScope
{
public:
  explicit ProcessingScope(bool* flag) : mFlag(flag), mWas(*flag) { *mFlag = true; }
  ~ProcessingScope() { *mFlag = mWas; }
  ProcessingScope(const ProcessingScope&) = delete;
  ProcessingScope& operator=(const ProcessingScope&) = delete;

private:
  bool* mFlag;
  bool mWas;
};
} // namespace

// The channel scratch holds one block: a host that hands more frames gets
// them processed block by block instead of overrunning it.
template <class T>
void IPlugVST::Process(T** inputs, T** outputs, int nFrames, EProcessMode mode)
{
  PlugMutexScope lock(&mMutex);
  ProcessingScope processing(&mProcessing);
  if (mDoesMidi)
    HostCallback(vst::host::kWantMidi, 0, 0, nullptr, 0.0f);
  const int block = GetBlockSize();
  const int nIn = CountConnected(NInChannels(), [this](int i) { return IsInChannelConnected(i); });
  const int nOut = CountConnected(NOutChannels(), [this](int i) { return IsOutChannelConnected(i); });
  if (nFrames <= 0 || block <= 0)
    return;
  if ((nIn && !inputs) || (nOut && !outputs))
    return;
  for (int i = 0; i < nIn; ++i)
    if (!inputs[i])
      return;
  for (int i = 0; i < nOut; ++i)
    if (!outputs[i])
      return;

  T** in = OffsetPtrs<T>(true)->Get();
  T** out = OffsetPtrs<T>(false)->Get();
  for (int done = 0; done < nFrames; done += block)
  {
    const int n = nFrames - done < block ? nFrames - done : block;
    for (int i = 0; i < nIn; ++i)
      in[i] = inputs[i] + done;
    for (int i = 0; i < nOut; ++i)
      out[i] = outputs[i] + done;
    ProcessBlock(in, out, n, mode);
  }
}

void IPlugVST::ProcessBlock(float** inputs, float** outputs, int nFrames, EProcessMode mode)
{
  AttachInputBuffers(0, NInChannels(), inputs, nFrames);
  AttachOutputBuffers(0, NOutChannels(), outputs);
  if (mode == EProcessMode::kAccumulating)
    ProcessBuffersAccumulating(0.0f, nFrames);
  else
    ProcessBuffers(0.0f, nFrames);
}

void IPlugVST::ProcessBlock(double** inputs, double** outputs, int nFrames, EProcessMode /*mode*/)
{
  AttachInputBuffers(0, NInChannels(), inputs, nFrames);
  AttachOutputBuffers(0, NOutChannels(), outputs);
  ProcessBuffers(0.0, nFrames);
}

float IPlugVST::GetParameterFromHost(int idx)
{
  PlugMutexScope lock(&mMutex);
  IParam* param = GetParam(idx);
  return param ? float(param->GetNormalized()) : 0.0f;
}

void IPlugVST::SetParameterFromHost(int idx, float value)
{
  PlugMutexScope lock(&mMutex);
  IParam* param = GetParam(idx);
  // The parameter only caps its top end: keep hosts' stray values inside
  // 0..1 and ignore NaN, which would stick in every derived coefficient.
  if (!param || std::isnan(value))
    return;
  double normalized = value < 0.0f ? 0.0 : value > 1.0f ? 1.0 : double(value);
  if (GetGUI())
    GetGUI()->SetParameterFromPlug(idx, normalized, true);
  param->SetNormalized(normalized);
  OnParamChange(idx);
}
