#pragma once
// The host-independent plug-in object. A binding (VST, Audio Unit, the test
// binding) derives from it and implements the host-communication slots; the
// effect derives from the binding and implements Reset, OnParamChange and
// ProcessDoubleReplacing. The declaration order of the virtual operations is
// the slot order and must not change.

#include <cstdarg>
#include <cstring>
#include <memory>

#include "wdl/IPlug/Hosts.h"
#include "wdl/IPlug/IMidiMsg.h"
#include "wdl/IPlug/IParam.h"
#include "wdl/IPlug/IPlugStructs.h"
#include "wdl/mutex.h"
#include "wdl/ptrlist.h"

class IGraphics;
struct IRECT;

constexpr int MAX_EFFECT_NAME_LEN = 128;
// Sentinel for a value not named in MakePresetFromNamedParams.
constexpr double PARAM_UNINIT = 9.999e-8;

// One named value of a preset table.
struct IPresetParamValue
{
  int mIdx;
  double mValue;
};

class IPlugBase
{
public:
  struct ChannelIO
  {
    int mIn, mOut;
  };
  struct InChannel
  {
    bool mConnected = false;
    double** mSlot = nullptr;
    WDL_TypedBuf<double> mScratch;
  };
  struct OutChannel
  {
    bool mConnected = false;
    double** mSlot = nullptr;
    float* mFloatDest = nullptr;
    WDL_TypedBuf<double> mScratch;
  };

  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName, const char* productName,
            const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
            bool plugDoesChunks, bool plugIsInst);
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;
  virtual ~IPlugBase();

  // ---- Virtual slots, in order ----
  // Audio reset (sample rate or block size changed). Host or main thread, never during processing.
  virtual void Reset();
  // A parameter changed. Any thread holding mMutex; derived handlers lock themselves.
  virtual void OnParamChange(int paramIdx);
  // Processes one block. Audio thread: no allocation, no locks beyond the binding's.
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames);
  virtual void OnGUIOpen() {}
  virtual void OnGUIClose() {}
  virtual void OnIdle() {}
  virtual void OnActivate(bool active);
  virtual void ProcessMidiMsg(IMidiMsg* pMsg);
  virtual bool MidiNoteName(int noteNumber, char* noteName);
  virtual bool SerializeState(ByteChunk* pChunk) { return SerializeParams(pChunk); }
  virtual int UnserializeState(ByteChunk* pChunk, int startPos) { return UnserializeParams(pChunk, startPos); }
  // Host communication: every binding implements these.
  virtual void BeginInformHostOfParamChange(int idx) = 0;
  virtual void InformHostOfParamChange(int idx, double normalizedValue) = 0;
  virtual void EndInformHostOfParamChange(int idx) = 0;
  virtual int GetSamplePos() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSig(int* pNum, int* pDenom) = 0;
  virtual EHostId GetHost() { return mHostId; }
  virtual void ResizeGraphics(int w, int h) = 0;
  virtual void UserResizedWindow(IRECT* /*pR*/) {}
  virtual void HostSpecificInit() = 0;
  virtual void AttachGraphics(IGraphics* pGraphics);
  virtual void SetBlockSize(int blockSize);
  virtual void SetLatency(int samples) { mLatency = samples; }
  virtual bool SendMidiMsg(IMidiMsg* pMsg) = 0;
  virtual bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs) = 0;

  // ---- Identity and settings ----
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMfrName() const { return mMfrName; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  int GetEffectVersion(bool decimal) const;
  void GetEffectVersionStr(char* str, int size) const;
  int GetHostVersion(bool decimal);
  void GetHostVersionStr(char* str, int size);
  void SetHost(const char* host, int version);
  bool DoesStateChunks() const { return mStateChunks; }
  bool IsInst() const { return mIsInst; }
  double GetSampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  double GetSamplesPerBeat();

  // ---- Parameters and editor ----
  int NParams() const { return mParams.GetSize(); }
  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  IGraphics* GetGUI() const { return mGraphics.get(); }
  void SetParameterFromGUI(int idx, double normalizedValue);
  void RedrawParamControls();
  void OnParamReset();
  WDL_Mutex* GetMutex() { return &mMutex; }

  // ---- Channels and processing ----
  int NInChannels() const { return mInChannels.GetSize(); }
  int NOutChannels() const { return mOutChannels.GetSize(); }
  int NChannelIO() const { return mChannelIO.GetSize(); }
  const ChannelIO* GetChannelIO(int idx) const { return mChannelIO.Get(idx); }
  bool LegalIO(int nIn, int nOut) const;
  void LimitToStereoIO();
  void SetInputChannelConnections(int idx, int n, bool connected);
  void SetOutputChannelConnections(int idx, int n, bool connected);
  bool IsInChannelConnected(int chIdx) const;
  bool IsOutChannelConnected(int chIdx) const;
  void AttachInputBuffers(int idx, int n, double** ppData, int nFrames);
  void AttachInputBuffers(int idx, int n, float** ppData, int nFrames);
  void AttachOutputBuffers(int idx, int n, double** ppData);
  void AttachOutputBuffers(int idx, int n, float** ppData);
  void ProcessBuffers(double sampleType, int nFrames);
  void ProcessBuffers(float sampleType, int nFrames);
  void ProcessBuffersAccumulating(float sampleType, int nFrames);

  // ---- Presets and state ----
  bool SerializeParams(ByteChunk* pChunk);
  int UnserializeParams(ByteChunk* pChunk, int startPos);
  void MakeDefaultPreset(const char* name = nullptr, int nPresets = 1);
  void MakePreset(const char* name, ...);
  void MakePresetFromNamedParams(const char* name, int nParamsNamed, ...);
  // Typed form of MakePresetFromNamedParams: no value can be read with the wrong type.
  void MakePresetFromNamedParams(const char* name, int nParamsNamed, const IPresetParamValue* values);
  bool RestorePreset(int idx);
  bool RestorePreset(const char* name);
  const char* GetPresetName(int idx) const;
  int NPresets() const { return mPresets.GetSize(); }
  IPreset* GetPreset(int idx) const { return mPresets.Get(idx); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  void ModifyCurrentPreset(const char* name = nullptr);
  void EnsureDefaultPreset();
  void PruneUninitializedPresets();
  bool SerializePresets(ByteChunk* pChunk);
  int UnserializePresets(ByteChunk* pChunk, int startPos);
  void DumpPresetSrcCode(const char* filename, const char* paramEnumNames[]);

protected:
  void SetCurrentPresetIdx(int idx) { mCurrentPresetIdx = idx; }
  WDL_PtrList<IPreset>& Presets() { return mPresets; }
  int GetHostIdRaw() const { return mHostId; }

  WDL_Mutex mMutex;

private:
  // Zeroes a channel's scratch and points an unconnected channel's slot at it.
  template <class Channel>
  static void ResetScratch(Channel* ch)
  {
    if (ch->mScratch.Get())
      memset(ch->mScratch.Get(), 0, size_t(ch->mScratch.GetSize()) * sizeof(double));
    if (!ch->mConnected)
      *ch->mSlot = ch->mScratch.Get();
  }
  // Resizes a channel's scratch; a slot that referred to the scratch follows
  // it when it moves, so none is left pointing at freed memory.
  template <class Channel>
  static bool ResizeScratch(Channel* ch, int n, bool resizedown)
  {
    bool onScratch = !ch->mConnected || *ch->mSlot == ch->mScratch.Get();
    bool ok = ch->mScratch.Resize(n, resizedown);
    if (onScratch)
      *ch->mSlot = ch->mScratch.Get();
    return ok;
  }
  void ParseChannelIO(const char* channelIOStr, int* pNIn, int* pNOut);
  void StorePresetValues(IPreset* pPreset, const char* name, const double* values);

  WDL_PtrList<ChannelIO> mChannelIO;
  char mEffectName[MAX_EFFECT_NAME_LEN] = {};
  char mProductName[MAX_EFFECT_NAME_LEN] = {};
  char mMfrName[MAX_EFFECT_NAME_LEN] = {};
  int mUniqueID;
  int mMfrID;
  int mVersion;
  EHostId mHostId = kHostUninit;
  int mHostVersion = 0;
  bool mStateChunks;
  bool mIsInst;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency;
  WDL_PtrList<IParam> mParams;
  std::unique_ptr<IGraphics> mGraphics;
  WDL_PtrList<IPreset> mPresets;
  int mCurrentPresetIdx = 0;
  WDL_TypedBuf<double*> mInputPtrs;
  WDL_TypedBuf<double*> mOutputPtrs;
  WDL_PtrList<InChannel> mInChannels;
  WDL_PtrList<OutChannel> mOutChannels;
};

IPreset* GetNextUninitializedPreset(WDL_PtrList<IPreset>* pPresets);
void MakeDefaultUserPresetName(WDL_PtrList<IPreset>* pPresets, char* str, int size);
