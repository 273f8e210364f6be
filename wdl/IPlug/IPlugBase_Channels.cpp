// Channel records and the single/double-precision processing frame.
#include <cassert>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "wdl/IPlug/IPlugBase.h"

bool IPlugBase::LegalIO(int nIn, int nOut) const
{
  for (int i = 0, n = NChannelIO(); i < n; ++i)
  {
    const ChannelIO* io = mChannelIO.Get(i);
    if ((nIn < 0 || nIn == io->mIn) && (nOut < 0 || nOut == io->mOut))
      return true;
  }
  return false;
}

void IPlugBase::LimitToStereoIO()
{
  if (NInChannels() > 2)
    SetInputChannelConnections(2, NInChannels() - 2, false);
  if (NOutChannels() > 2)
    SetOutputChannelConnections(2, NOutChannels() - 2, true);
}

namespace
{
// A sample beyond the float range would reach the host as an infinity: it is
// written as 0, as is anything else that is not a number.
float ToFloatSample(double x)
{
  return std::fabs(x) <= double(FLT_MAX) ? float(x) : 0.0f;
}

// The channels first .. min(first + count, total) - 1, with negative starts clipped.
void ClipRange(int idx, int n, int total, int* pBegin, int* pEnd)
{
  int begin = idx < 0 ? 0 : idx;
  long long end = (long long)(idx) + n;
  if (end > total)
    end = total;
  *pBegin = begin;
  *pEnd = end < begin ? begin : int(end);
}
} // namespace

void IPlugBase::SetInputChannelConnections(int idx, int n, bool connected)
{
  int begin, end;
  ClipRange(idx, n, NInChannels(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    InChannel* ch = mInChannels.Get(i);
    // The float path converts into the scratch: a channel whose input is
    // gone must not go on reading the last block converted there.
    bool dropped = ch->mConnected && !connected;
    ch->mConnected = connected;
    if (dropped)
      ResetScratch(ch);
    if (!connected)
      *ch->mSlot = ch->mScratch.Get();
  }
}

void IPlugBase::SetOutputChannelConnections(int idx, int n, bool connected)
{
  int begin, end;
  ClipRange(idx, n, NOutChannels(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    ch->mConnected = connected;
    if (!connected)
      *ch->mSlot = ch->mScratch.Get();
  }
}

bool IPlugBase::IsInChannelConnected(int chIdx) const
{
  const InChannel* ch = mInChannels.Get(chIdx);
  return ch && ch->mConnected;
}

bool IPlugBase::IsOutChannelConnected(int chIdx) const
{
  const OutChannel* ch = mOutChannels.Get(chIdx);
  return ch && ch->mConnected;
}

void IPlugBase::AttachInputBuffers(int idx, int n, double** ppData, int /*nFrames*/)
{
  int begin, end;
  ClipRange(idx, n, NInChannels(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    InChannel* ch = mInChannels.Get(i);
    if (ch->mConnected)
      *ch->mSlot = *ppData++;
  }
}

void IPlugBase::AttachInputBuffers(int idx, int n, float** ppData, int nFrames)
{
  int begin, end;
  ClipRange(idx, n, NInChannels(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    InChannel* ch = mInChannels.Get(i);
    if (!ch->mConnected)
      continue;
    const float* src = *ppData++;
    double* dst = ch->mScratch.Get();
    // The scratch holds one block; the bindings hand no longer one.
    assert(nFrames <= ch->mScratch.GetSize());
    if (src && dst)
      for (int s = 0; s < nFrames; ++s)
        dst[s] = src[s];
    *ch->mSlot = dst;
  }
}

void IPlugBase::AttachOutputBuffers(int idx, int n, double** ppData)
{
  int begin, end;
  ClipRange(idx, n, NOutChannels(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    if (ch->mConnected)
      *ch->mSlot = *ppData++;
  }
}

void IPlugBase::AttachOutputBuffers(int idx, int n, float** ppData)
{
  int begin, end;
  ClipRange(idx, n, NOutChannels(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected)
      continue;
    *ch->mSlot = ch->mScratch.Get();
    ch->mFloatDest = *ppData++;
  }
}

void IPlugBase::ProcessBuffers(double /*sampleType*/, int nFrames)
{
  ProcessDoubleReplacing(mInputPtrs.Get(), mOutputPtrs.Get(), nFrames);
}

void IPlugBase::ProcessBuffers(float /*sampleType*/, int nFrames)
{
  // Float buffers go through the scratch, which holds one block.
  assert(nFrames <= mBlockSize);
  ProcessDoubleReplacing(mInputPtrs.Get(), mOutputPtrs.Get(), nFrames);
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    const double* src = *ch->mSlot;
    float* dst = ch->mFloatDest;
    if (!ch->mConnected || !src || !dst)
      continue;
    for (int s = 0; s < nFrames; ++s)
      dst[s] = ToFloatSample(src[s]);
  }
}

void IPlugBase::ProcessBuffersAccumulating(float /*sampleType*/, int nFrames)
{
  assert(nFrames <= mBlockSize);
  ProcessDoubleReplacing(mInputPtrs.Get(), mOutputPtrs.Get(), nFrames);
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    const double* src = *ch->mSlot;
    float* dst = ch->mFloatDest;
    if (!ch->mConnected || !src || !dst)
      continue;
    for (int s = 0; s < nFrames; ++s)
      dst[s] += ToFloatSample(src[s]);
  }
}
