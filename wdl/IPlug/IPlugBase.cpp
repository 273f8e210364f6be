#include "wdl/IPlug/IPlugBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/IPlugAssert.h"
#include "wdl/IPlug/IPlugOwnedList.h"
#include "wdl/IPlug/IPlugText.h"
#include "wdl/IPlug/IPlugUtilities.h"

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
                     int latency, bool /*plugDoesMidi*/, bool plugDoesChunks, bool plugIsInst)
  : mUniqueID(uniqueID), mMfrID(mfrID), mVersion(vendorVersion), mStateChunks(plugDoesChunks), mIsInst(plugIsInst),
    mLatency(latency)
{
  for (int i = 0; i < nParams; ++i)
    AddOwned(mParams, std::make_unique<IParam>());

  for (int i = 0; i < nPresets; ++i)
  {
    auto preset = std::make_unique<IPreset>();
    snprintf(preset->mName, sizeof(preset->mName), "- %d -", i + 1);
    AddOwned(mPresets, std::move(preset));
  }

  IPlugCopyText(mEffectName, effectName);
  IPlugCopyText(mProductName, productName);
  IPlugCopyText(mMfrName, mfrName);

  int nInputs = 0, nOutputs = 0;
  ParseChannelIO(channelIOStr, &nInputs, &nOutputs);

  mInputPtrs.Resize(nInputs);
  mOutputPtrs.Resize(nOutputs);
  for (int i = 0; i < nInputs; ++i)
  {
    auto ch = std::make_unique<InChannel>();
    ch->mSlot = mInputPtrs.Get() + i;
    *ch->mSlot = nullptr;
    AddOwned(mInChannels, std::move(ch));
  }
  for (int i = 0; i < nOutputs; ++i)
  {
    auto ch = std::make_unique<OutChannel>();
    ch->mSlot = mOutputPtrs.Get() + i;
    *ch->mSlot = nullptr;
    AddOwned(mOutChannels, std::move(ch));
  }
}

void IPlugBase::ParseChannelIO(const char* channelIOStr, int* pNIn, int* pNOut)
{
  for (const char* tok = channelIOStr; tok;)
  {
    int nIn = 0, nOut = 0;
    if (sscanf(tok, "%d-%d", &nIn, &nOut) != 2)
      IPlugFatalAssert("wdl/IPlug/IPlugBase", 73, "sscanf(channelIOStr, \"%d-%d\", &nIn, &nOut) == 2");
    AddOwned(mChannelIO, std::make_unique<ChannelIO>(ChannelIO{nIn, nOut}));
    if (nIn > *pNIn)
      *pNIn = nIn;
    if (nOut > *pNOut)
      *pNOut = nOut;
    tok = strchr(tok, ' ');
    if (tok)
      ++tok;
  }
}

IPlugBase::~IPlugBase()
{
  // The editor goes first: its controls refer to the parameters.
  mGraphics.reset();
  mParams.Empty(true);
  mPresets.Empty(true);
  mInChannels.Empty(true);
  mOutChannels.Empty(true);
  mChannelIO.Empty(true);
}

// ---- Default virtual slots ----

void IPlugBase::Reset()
{
  PlugMutexScope lock(&mMutex);
}

void IPlugBase::OnParamChange(int /*paramIdx*/)
{
  PlugMutexScope lock(&mMutex);
}

void IPlugBase::OnActivate(bool /*active*/)
{
  PlugMutexScope lock(&mMutex);
}

void IPlugBase::ProcessMidiMsg(IMidiMsg* pMsg)
{
  SendMidiMsg(pMsg);
}

bool IPlugBase::MidiNoteName(int /*noteNumber*/, char* noteName)
{
  if (noteName)
    noteName[0] = 0;
  return false;
}

void IPlugBase::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  if (!outputs || nFrames <= 0)
    return;
  int nIn = NInChannels(), nOut = NOutChannels();
  for (int i = 0; i < nOut; ++i)
  {
    double* out = outputs[i];
    if (!out)
      continue;
    const double* in = (i < nIn && inputs) ? inputs[i] : nullptr;
    if (in)
    {
      if (in != out)
        memmove(out, in, size_t(nFrames) * sizeof(double));
    }
    else
    {
      memset(out, 0, size_t(nFrames) * sizeof(double));
    }
  }
}

void IPlugBase::AttachGraphics(IGraphics* pGraphics)
{
  if (!pGraphics)
    return;
  PlugMutexScope lock(&mMutex);
  for (int i = 0, n = NParams(); i < n; ++i)
    pGraphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  // Applied at once, so the initial values become the controls' defaults
  // whatever the host automates before the editor's first tick.
  pGraphics->DrainPostedValues();
  pGraphics->PrepDraw();
  if (mGraphics.get() != pGraphics)
    mGraphics.reset(pGraphics);
}

void IPlugBase::SetBlockSize(int blockSize)
{
  if (blockSize == mBlockSize || blockSize < 0)
    return;
  bool ok = true;
  for (int i = 0, n = NInChannels(); i < n; ++i)
    ok = ResizeScratch(mInChannels.Get(i), blockSize, true) && ok;
  for (int i = 0, n = NOutChannels(); i < n; ++i)
    ok = ResizeScratch(mOutChannels.Get(i), blockSize, true) && ok;
  // Without memory for the new size every scratch goes back to the old one,
  // so no channel is shorter than the block size says.
  if (!ok)
  {
    for (int i = 0, n = NInChannels(); i < n; ++i)
      ResizeScratch(mInChannels.Get(i), mBlockSize, false);
    for (int i = 0, n = NOutChannels(); i < n; ++i)
      ResizeScratch(mOutChannels.Get(i), mBlockSize, false);
    blockSize = mBlockSize;
  }
  for (int i = 0, n = NInChannels(); i < n; ++i)
    ResetScratch(mInChannels.Get(i));
  for (int i = 0, n = NOutChannels(); i < n; ++i)
    ResetScratch(mOutChannels.Get(i));
  mBlockSize = blockSize;
}

// ---- Identity ----

int IPlugBase::GetEffectVersion(bool decimal) const
{
  return decimal ? GetDecimalVersion(mVersion) : mVersion;
}

void IPlugBase::GetEffectVersionStr(char* str, int size) const
{
  GetVersionStr(mVersion, str, size > 0 ? size_t(size) : 0);
}

int IPlugBase::GetHostVersion(bool decimal)
{
  GetHost();
  return decimal ? GetDecimalVersion(mHostVersion) : mHostVersion;
}

void IPlugBase::GetHostVersionStr(char* str, int size)
{
  GetHost();
  GetVersionStr(mHostVersion, str, size > 0 ? size_t(size) : 0);
}

void IPlugBase::SetHost(const char* host, int version)
{
  mHostId = LookUpHost(host);
  mHostVersion = version;
}

double IPlugBase::GetSamplesPerBeat()
{
  double tempo = GetTempo();
  return tempo > 0.0 ? mSampleRate * 60.0 / tempo : 0.0;
}

// ---- Parameters from the editor ----

void IPlugBase::SetParameterFromGUI(int idx, double normalizedValue)
{
  IParam* param = GetParam(idx);
  if (!param)
    return;
  PlugMutexScope lock(&mMutex);
  // Where the editor's values enter: a non-finite one leaves the parameter as it is.
  if (std::isfinite(normalizedValue))
    param->SetNormalized(normalizedValue);
  InformHostOfParamChange(idx, normalizedValue);
  OnParamChange(idx);
}

void IPlugBase::RedrawParamControls()
{
  if (!mGraphics)
    return;
  for (int i = 0, n = NParams(); i < n; ++i)
    mGraphics->SetParameterFromPlug(i, GetParam(i)->Value(), false);
}

void IPlugBase::OnParamReset()
{
  for (int i = 0, n = NParams(); i < n; ++i)
    OnParamChange(i);
}
