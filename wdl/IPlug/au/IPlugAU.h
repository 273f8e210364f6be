#pragma once
// Audio Unit binding: a Component Manager component. The host reaches it
// through the library's entry (IPlugAUEntry.h), which forwards every call to
// IPlugAUEntry. Open makes the effect through MakePlug and stores it as the
// component instance's storage; every later selector arrives with it and,
// except close, runs inside the plug-in's mMutex. Properties, render and the
// class-info state live in their own files.

#include "platform/audiounit/AUComponent.h"
#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/audiounit/AudioUnitUtilities.h"
#include "platform/audiounit/MusicDevice.h"
#include "wdl/IPlug/IPlugBase.h"

#include <atomic>
#include <memory>
#include <vector>
#include "wdl/wdlstring.h"

// What MakePlug hands the effect's constructor in this build.
struct IPlugInstanceInfo
{
  WDL_String mBundleID; // reverse-DNS, last component the product word
  WDL_String mViewClassName;
};

class IPlugAU;
// Defined once per effect library (IPlugAUEntry.h): a new instance, or null.
IPlugAU* MakePlug();

class IPlugAU : public IPlugBase
{
public:
  struct BusChannels
  {
    bool connected = false;
    int32_t hostChannels = -1; // set through the stream-format property; -1 = not set
    int32_t plugChannels = 0;
    int32_t firstPlugChannel = 0;
  };

  enum EAUInputType
  {
    eNotConnected = 0,
    eDirectFastProc,
    eDirectNoFastProc,
    eRenderCallback
  };

  // Zeroed again whenever it is replaced.
  struct InputBusConnection
  {
    void* upstreamObject;
    AudioUnit upstreamUnit;
    UInt32 upstreamBus;
    AudioUnitRenderProc upstreamRenderProc;
    AURenderCallbackStruct callback;
    EAUInputType inputType;
  };

  struct PropertyListener
  {
    AudioUnitPropertyID mPropID;
    AudioUnitPropertyListenerProc mListenerProc;
    void* mProcArgs;
  };

  struct RenderNotify
  {
    AURenderCallback mFunc;
    void* mRefCon;
  };

  IPlugAU(const IPlugInstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
          const char* effectName, const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
          int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst);
  ~IPlugAU() override;

  // The component entry. Never throws; a call whose storage is not a live
  // instance opened through it gets badComponentInstance.
  static ComponentResult IPlugAUEntry(ComponentParameters* params, void* pPlug) noexcept;

  // The editor's two ways into a host (IPlugAU_Views.cpp), main thread only.
  // The Carbon view component's entry: open, close and create; every other
  // selector gets badComponentSelector. Never throws.
  static ComponentResult IPlugAUCarbonViewEntry(ComponentParameters* params, void* storage) noexcept;
  // For the Cocoa view factory: the editor's new view of the open unit, and
  // the unit in *ppPlug; null when the unit is closed or has no editor.
  static void* OpenCocoaView(AudioUnit unit, IPlugBase** ppPlug);
  // The identifier of the bundle the unit came from.
  const char* GetBundleID() const { return mBundleId.Get(); }

  // Host communication. The three parameter events (IPlugAU_Params.cpp) may
  // come from any thread, the value change with mMutex held; the rest are in
  // IPlugAU_Host.cpp, where the time queries take no lock and may run on the
  // audio thread.
  void BeginInformHostOfParamChange(int idx) override;
  void InformHostOfParamChange(int idx, double normalizedValue) override;
  void EndInformHostOfParamChange(int idx) override;
  int GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* pNum, int* pDenom) override;
  // Identifies the host from the main bundle's identifier on first use (at
  // open); afterwards returns the stored id without allocating.
  EHostId GetHost() override;
  void ResizeGraphics(int w, int h) override;
  void HostSpecificInit() override;
  // Sizes the scratch buffers for blockSize frames, then the base; keeps the
  // old size when memory for the new one cannot be had, or while a render
  // (with its input callbacks and notifications) is running.
  void SetBlockSize(int blockSize) override;
  // Tells latency listeners first, so they still read the old value.
  void SetLatency(int samples) override;
  // No MIDI output in this build.
  bool SendMidiMsg(IMidiMsg* pMsg) override;
  bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs) override;

  // Parameter procedures (IPlugAU_Params.cpp): static, handed out by fast
  // dispatch, so they take mMutex themselves.
  static ComponentResult GetParamProc(void* pPlug, AudioUnitParameterID paramID, AudioUnitScope scope,
                                      AudioUnitElement element, AudioUnitParameterValue* pValue);
  static ComponentResult SetParamProc(void* pPlug, AudioUnitParameterID paramID, AudioUnitScope scope,
                                      AudioUnitElement element, AudioUnitParameterValue value, UInt32 offsetFrames);
  // Render procedure (IPlugAU_Render.cpp): audio thread, no lock of its own.
  static ComponentResult RenderProc(void* pPlug, AudioUnitRenderActionFlags* pFlags, const AudioTimeStamp* pTimestamp,
                                    UInt32 outputBusIdx, UInt32 nFrames, AudioBufferList* pBufferList);

  // Properties (IPlugAU_Properties.cpp), under mMutex. With pData null the
  // get is the property-info call; a get refuses a buffer smaller than the
  // property, a set data that is missing or shorter than its record
  // (kAudioUnitErr_InvalidPropertyValue).
  ComponentResult GetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement element,
                              UInt32* pDataSize, Boolean* pWriteable, void* pData);
  ComponentResult SetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement element,
                              UInt32* pDataSize, const void* pData);
  static ComponentResult GetProc(AudioUnitElement type, UInt32* pDataSize, void* pData);
  // One get or property-info call (IPlugAU_PropertyCall.h).
  struct PropertyCall;
  bool CheckLegalIO(AudioUnitScope scope, int busIdx, int nChannels);
  bool CheckLegalIO();

  // Class-info state (IPlugAU_State.cpp), under mMutex. SetState checks the
  // whole dictionary before it applies anything: a refused one leaves the
  // instance as it was.
  ComponentResult GetState(CFPropertyListRef* ppPropList);
  ComponentResult SetState(CFPropertyListRef pPropList);

  // Calls every listener of propID with (user data, unit, id, scope, 0).
  void InformListeners(AudioUnitPropertyID propID, AudioUnitScope scope);
  void SendAUEvent(AudioUnitEventType type, AudioUnit unit, int idx);

  // Buses (IPlugAU_Buses.cpp).
  static int NHostChannelsConnected(WDL_PtrList<BusChannels>* pBuses, int excludeIdx = -1);
  BusChannels* GetBus(AudioUnitScope scope, AudioUnitElement busIdx);
  void ClearConnections();
  void AssessInputConnections();

  AudioUnit GetComponentInstance() const { return mComponentInstance; }
  bool IsActive() const { return mActive; }
  int NInputBuses() const { return mInputBuses.GetSize(); }
  int NOutputBuses() const { return mOutputBuses.GetSize(); }
  int NPropertyListeners() const { return mPropertyListeners.GetSize(); }
  int NRenderNotifies() const { return mRenderNotifies.GetSize(); }
  const PropertyListener* GetPropertyListener(int idx) const { return mPropertyListeners.Get(idx); }
  const RenderNotify* GetRenderNotify(int idx) const { return mRenderNotifies.Get(idx); }
  const InputBusConnection* GetInputConnection(int idx) const { return mInputConnections.Get(idx); }
  const BusChannels* GetInputBus(int idx) const { return mInputBuses.Get(idx); }
  const BusChannels* GetOutputBus(int idx) const { return mOutputBuses.Get(idx); }
  double GetLastRenderSampleTime() const { return mLastRenderSampleTime.load(std::memory_order_relaxed); }

private:
  // The selector table (IPlugAU_Dispatch.cpp): one method per selector, each
  // reading its own arguments from the block.
  static ComponentResult DoOpen(ComponentParameters* params);
  static ComponentResult DoClose(ComponentParameters* params, IPlugAU* pPlug);
  // Deletes a unit closed from inside one of its own calls once no call
  // uses it any more; called as each call into the unit ends.
  static void FinishDeferredClose(IPlugAU* plug);
  // The unit an instance's storage names while it is open, else null; never
  // touches a unit that has been closed.
  static IPlugAU* FindOpenUnit(AudioUnit unit);
  // The open unit of ours, other than dest, that a make-connection names as its source.
  static IPlugAU* MakeConnectionSource(ComponentParameters* params, IPlugAU* dest);
  static ComponentResult DoCanDo(ComponentParameters* params);
  ComponentResult DispatchLocked(ComponentParameters* params);
  ComponentResult DoVersion();
  ComponentResult DoInitialize();
  ComponentResult DoUninitialize();
  ComponentResult DoGetPropertyInfo(ComponentParameters* params);
  ComponentResult DoGetProperty(ComponentParameters* params);
  ComponentResult DoSetProperty(ComponentParameters* params);
  ComponentResult DoGetParameter(ComponentParameters* params);
  ComponentResult DoSetParameter(ComponentParameters* params);
  ComponentResult DoReset();
  ComponentResult DoAddPropertyListener(ComponentParameters* params);
  ComponentResult DoRemovePropertyListener(ComponentParameters* params);
  ComponentResult DoRemovePropertyListenerWithUserData(ComponentParameters* params);
  ComponentResult DoRender(ComponentParameters* params);
  ComponentResult DoAddRenderNotify(ComponentParameters* params);
  ComponentResult DoRemoveRenderNotify(ComponentParameters* params);
  ComponentResult DoScheduleParameters(ComponentParameters* params);
  ComponentResult DoMIDIEvent(ComponentParameters* params);
  ComponentResult DoStartNote(ComponentParameters* params);
  ComponentResult DoStopNote(ComponentParameters* params);

  // Listener and notification lists (IPlugAU_Listeners.cpp).
  ComponentResult AddPropertyListener(const PropertyListener& listener);
  ComponentResult RemovePropertyListener(const PropertyListener& listener, bool matchUserData);
  ComponentResult AddRenderNotify(const RenderNotify& notify);
  ComponentResult RemoveRenderNotify(AURenderCallback func);

  // Getters, one per property; each reports the size and writable flag and,
  // with data, writes the contents.
  ComponentResult GetClassInfo(PropertyCall& call);
  ComponentResult GetMakeConnection(PropertyCall& call);
  ComponentResult GetSampleRateProperty(PropertyCall& call);
  ComponentResult GetParameterList(PropertyCall& call);
  ComponentResult GetParameterInfo(PropertyCall& call);
  ComponentResult GetFastDispatch(PropertyCall& call);
  ComponentResult GetStreamFormat(PropertyCall& call);
  ComponentResult GetElementCount(PropertyCall& call);
  ComponentResult GetLatencySeconds(PropertyCall& call);
  ComponentResult GetSupportedNumChannels(PropertyCall& call);
  ComponentResult GetMaximumFrames(PropertyCall& call);
  ComponentResult GetParameterValueStrings(PropertyCall& call);
  ComponentResult GetUIComponentList(PropertyCall& call);
  ComponentResult GetBypass(PropertyCall& call);
  ComponentResult GetLastRenderError(PropertyCall& call);
  ComponentResult GetRenderCallback(PropertyCall& call);
  ComponentResult GetFactoryPresets(PropertyCall& call);
  ComponentResult GetHostCallbacks(PropertyCall& call);
  ComponentResult GetCurrentPreset(PropertyCall& call);
  ComponentResult GetCocoaUI(PropertyCall& call);
  ComponentResult GetParameterStringFromValue(PropertyCall& call);
  ComponentResult GetParameterIDName(PropertyCall& call);
  ComponentResult GetParameterValueFromString(PropertyCall& call);
  ComponentResult GetInstrumentCount(PropertyCall& call);

  // Setters; the data has been checked against the property's size.
  ComponentResult SetClassInfo(const void* pData);
  ComponentResult SetMakeConnection(AudioUnitScope scope, const AudioUnitConnection& conn);
  ComponentResult SetSampleRateProperty(Float64 rate);
  ComponentResult SetStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                  const AudioStreamBasicDescription& format);
  ComponentResult SetMaximumFrames(UInt32 frames);
  ComponentResult SetBypass(UInt32 bypass);
  ComponentResult SetRenderCallback(AudioUnitScope scope, AudioUnitElement element,
                                    const AURenderCallbackStruct& callback);
  ComponentResult SetHostCallbacks(AudioUnitScope scope, UInt32 size, const void* pData);
  ComponentResult SetCurrentPreset(const AUPreset& preset);

  // The host's reset: the effect's Reset, and inputs are pulled afresh.
  void ResetAudio();

  // Rendering (IPlugAU_Render.cpp).
  ComponentResult Render(const AudioTimeStamp* pTimestamp, UInt32 outputBusIdx, UInt32 nFrames,
                         AudioBufferList* pBufferList);
  ComponentResult PullInputs(const AudioTimeStamp* pTimestamp, UInt32 nFrames);
  ComponentResult PullInputBus(int busIdx, const AudioTimeStamp* pTimestamp, UInt32 nFrames);
  void ConnectOutputBus(BusChannels* bus, UInt32 nBuffers);
  void AttachOutputBus(const BusChannels* bus, AudioBufferList* pBufferList, UInt32 nFrames);
  void SendRenderNotifies(int count, AudioUnitRenderActionFlags flags, const AudioTimeStamp* pTimestamp,
                          UInt32 outputBusIdx, UInt32 nFrames, AudioBufferList* pBufferList);

  void MakeBuses(WDL_PtrList<BusChannels>* pBuses, int nChannels);

  // What the render procedure reads of the render notifications: a copy of
  // the list, replaced whole under mMutex whenever the list changes. A copy
  // that a render may still be reading is freed only once no render runs.
  // Each copy is keyed by its record: a record still listed when its turn
  // comes is called, one removed meanwhile is not.
  struct NotifySnapshot
  {
    std::vector<std::pair<const RenderNotify*, RenderNotify>> notifies;
  };
  void PublishRenderNotifies();
  void FreeRetiredSnapshots();

  WDL_String mBundleId;
  WDL_String mViewClassName;
  AudioUnit mComponentInstance = nullptr;
  bool mActive = false;
  std::atomic<bool> mBypassed = false;
  std::atomic<double> mLastRenderSampleTime = -1.0;
  // Set whenever the inputs must be pulled at the next render whatever its
  // time: -1.0 is a legal pre-roll time, so the time alone cannot say it.
  std::atomic<bool> mPullInputs = true;
  double mCachedTempo = 120.0;
  HostCallbackInfo mHostCallbacks = {};
  WDL_TypedBuf<float> mInputScratch;
  WDL_TypedBuf<float> mOutputScratch;
  // Where the effect writes each output channel: zeroed before every block,
  // so a channel the effect leaves alone reaches the host as silence.
  WDL_TypedBuf<double> mOutputDoubleScratch;
  WDL_PtrList<RenderNotify> mRenderNotifies;
  WDL_PtrList<BusChannels> mInputBuses;
  WDL_PtrList<BusChannels> mOutputBuses;
  WDL_PtrList<InputBusConnection> mInputConnections;
  WDL_PtrList<PropertyListener> mPropertyListeners;
  // The copy mNotifySnapshot publishes to renders.
  std::unique_ptr<NotifySnapshot> mCurrentSnapshot;
  std::atomic<NotifySnapshot*> mNotifySnapshot = nullptr;
  std::atomic<int> mRendersInFlight = 0;
  // Closed while a call was using it: see FinishDeferredClose.
  std::atomic<bool> mClosePending = false;
  std::vector<std::unique_ptr<NotifySnapshot>> mRetiredSnapshots;
};

// Fills a stream description for 32-bit float linear PCM; returns the bytes
// per frame.
UInt32 MakeDefaultASBD(AudioStreamBasicDescription* pASBD, double sampleRate, int nChannels, bool interleaved);

// The texts of EAUInputType; any other value gives "NotConnected".
const char* AUInputTypeStr(int type);

// The editor of the Audio Unit build (IPlugAU_Graphics.cpp, library
// iplug_au_graphics): a Mac editor that loads its images from the unit's bundle.
IGraphics* MakeGraphics(IPlugAU* pPlug, int w, int h, int fps);
