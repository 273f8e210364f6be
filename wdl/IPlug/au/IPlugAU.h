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
#include "wdl/wdlstring.h"

// What MakePlug hands the effect's constructor in this build.
struct IPlugInstanceInfo {
  WDL_String mBundleID;  // reverse-DNS, last component the product word
  WDL_String mViewClassName;
};

class IPlugAU;
// Defined once per effect library (IPlugAUEntry.h): a new instance, or null.
IPlugAU* MakePlug();

class IPlugAU : public IPlugBase {
public:
  struct BusChannels {
    bool connected = false;
    int32_t hostChannels = -1;  // set through the stream-format property; -1 = not set
    int32_t plugChannels = 0;
    int32_t firstPlugChannel = 0;
  };

  enum EAUInputType { eNotConnected = 0, eDirectFastProc, eDirectNoFastProc, eRenderCallback };

  // Zeroed again whenever it is replaced.
  struct InputBusConnection {
    void* upstreamObject;
    AudioUnit upstreamUnit;
    UInt32 upstreamBus;
    AudioUnitRenderProc upstreamRenderProc;
    AURenderCallbackStruct callback;
    EAUInputType inputType;
  };

  struct PropertyListener {
    AudioUnitPropertyID mPropID;
    AudioUnitPropertyListenerProc mListenerProc;
    void* mProcArgs;
  };

  struct RenderNotify {
    AURenderCallback mFunc;
    void* mRefCon;
  };

  IPlugAU(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
          const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency,
          bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst);
  ~IPlugAU() override;

  // The component entry. Never throws; a call whose storage is not a live
  // instance opened through it gets badComponentInstance.
  static ComponentResult IPlugAUEntry(ComponentParameters* params, void* pPlug) noexcept;

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
  // Sizes the float scratch for blockSize frames, then the base. Never
  // during rendering.
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
  // get is the property-info call. The caller's size is not compared.
  ComponentResult GetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement element,
                              UInt32* pDataSize, Boolean* pWriteable, void* pData);
  ComponentResult SetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement element,
                              UInt32* pDataSize, const void* pData);
  static ComponentResult GetProc(AudioUnitElement type, UInt32* pDataSize, void* pData);
  bool CheckLegalIO(AudioUnitScope scope, int busIdx, int nChannels);
  bool CheckLegalIO();

  // Class-info state (IPlugAU_State.cpp), under mMutex.
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

private:
  // The selector table (IPlugAU_Dispatch.cpp): one method per selector, each
  // reading its own arguments from the block.
  static ComponentResult DoOpen(ComponentParameters* params);
  static ComponentResult DoClose(ComponentParameters* params, IPlugAU* pPlug);
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

  // Properties served so far (IPlugAU_Properties.cpp).
  ComponentResult GetParameterList(AudioUnitScope scope, UInt32* pDataSize, void* pData);
  ComponentResult GetParameterInfo(AudioUnitScope scope, AudioUnitElement element, UInt32* pDataSize, void* pData);
  ComponentResult GetFactoryPresets(UInt32* pDataSize, void* pData);

  void MakeBuses(WDL_PtrList<BusChannels>* pBuses, int nChannels);

  WDL_String mBundleId;
  WDL_String mViewClassName;
  AudioUnit mComponentInstance = nullptr;
  bool mActive = false;
  bool mBypassed = false;
  double mLastRenderSampleTime = -1.0;
  double mCachedTempo = 120.0;
  HostCallbackInfo mHostCallbacks = {};
  WDL_TypedBuf<float> mInputScratch;
  WDL_TypedBuf<float> mOutputScratch;
  WDL_PtrList<RenderNotify> mRenderNotifies;
  WDL_PtrList<BusChannels> mInputBuses;
  WDL_PtrList<BusChannels> mOutputBuses;
  WDL_PtrList<InputBusConnection> mInputConnections;
  WDL_PtrList<PropertyListener> mPropertyListeners;
};

// The texts of EAUInputType; any other value gives "NotConnected".
const char* AUInputTypeStr(int type);
