#include "wdl/IPlug/vst/IPlugVST.h"

#include "wdl/IPlug/x11/X11Presenter.h"
#include "wdl/IPlug/vst/IPlugVSTBundle.h"

// Hosts for which the plug-in offers only its first two inputs and outputs.
static bool HostNeedsStereoIO(EHostId host)
{
  return host == kHostForte || host == kHostAudition || host == kHostOrion || host == kHostSAWStudio;
}

IPlugVST::IPlugVST(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
                   const char* effectName, const char* productName, const char* mfrName, int vendorVersion,
                   int uniqueID, int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
              latency, plugDoesMidi, plugDoesChunks, plugIsInst),
    mHostCallback(instanceInfo.mVSTHostCallback), mDoesMidi(plugDoesMidi)
{
  // The editor finds its images in the bundle by its identifier.
  VSTRegisterBundle();
  const int nIn = NInChannels(), nOut = NOutChannels();
  mInputArrangement.numChannels = nIn;
  mOutputArrangement.numChannels = nOut;

  mAEffect.magic = kVstEffectMagic;
  mAEffect.dispatcher = VSTDispatcher;
  mAEffect.process = VSTProcess;
  mAEffect.setParameter = VSTSetParameter;
  mAEffect.getParameter = VSTGetParameter;
  mAEffect.numPrograms = NPresets();
  mAEffect.numParams = nParams;
  mAEffect.numInputs = nIn;
  mAEffect.numOutputs = nOut;
  mAEffect.flags = kVstFlagCanReplacing | kVstFlagCanDoubleReplacing;
  if (plugDoesChunks)
    mAEffect.flags |= kVstFlagProgramChunks;
  if (LegalIO(1, -1))
    mAEffect.flags |= kVstFlagCanMono;
  if (plugIsInst)
    mAEffect.flags |= kVstFlagIsSynth;
  mAEffect.initialDelay = latency;
  mAEffect.ioRatio = 1.0f;
  mAEffect.object = this;
  mAEffect.uniqueID = uniqueID;
  mAEffect.version = GetEffectVersion(true);
  mAEffect.processReplacing = VSTProcessReplacing;
  mAEffect.processDoubleReplacing = VSTProcessDoubleReplacing;

  mFloatIn.Resize(nIn);
  mDoubleIn.Resize(nIn);
  mFloatOut.Resize(nOut);
  mDoubleOut.Resize(nOut);

  SetInputChannelConnections(0, nIn, true);
  SetOutputChannelConnections(0, nOut, true);
  SetBlockSize(1024);
}

IPlugVST::~IPlugVST()
{
  CloseEditorWindow();
}

AEffect* IPlugVST::FinishCreation()
{
  EnsureDefaultPreset();
  if (mAEffect.numPrograms <= 0)
    mAEffect.numPrograms = 1;
  return &mAEffect;
}

void IPlugVST::HostSpecificInit()
{
  if (mHostInitDone)
    return;
  mHostInitDone = true;
  if (HostNeedsStereoIO(GetHost()))
    LimitToStereoIO();
  mAEffect.numInputs = mInputArrangement.numChannels = NInChannels();
  mAEffect.numOutputs = mOutputArrangement.numChannels = NOutChannels();
}
