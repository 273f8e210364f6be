#pragma once
// VST 2 binding: the effect record the host holds, the dispatcher, the
// process and parameter callbacks, and the base's host-communication slots.
// The effect derives from IPlugVST; the library's entry point (see
// IPlugVSTEntry.h) constructs it. Every host call into the record takes the
// plug-in's mMutex for its whole duration; the host-communication requests
// below are made with it held.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/vst/AEffect.h"
#include "platform/vst/VstEvents.h"
#include "platform/vst/VstRecords.h"
#include "platform/vst/VstSpeakers.h"
#include "platform/vst/VstTimeInfo.h"
#include "wdl/IPlug/IPlugBase.h"

class X11Presenter;

// What the entry point hands the effect's constructor in this build.
struct IPlugInstanceInfo
{
  VstHostCallback mVSTHostCallback = nullptr;
};

// Largest block size a host may set: every channel keeps one block of
// doubles, and larger requests are refused rather than risked.
constexpr int kVSTMaxBlockSize = 1 << 20;
// Magic and version of the chunk header: the magic reads "tffp" in memory.
constexpr int32_t kVSTChunkMagic = 0x70666674;
constexpr int32_t kVSTChunkVersion = 0x00010000;

class IPlugVST : public IPlugBase
{
public:
  IPlugVST(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
           const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency,
           bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst);
  ~IPlugVST() override;

  // Editor (host's main thread).
  void AttachGraphics(IGraphics* pGraphics) override;
  void ResizeGraphics(int w, int h) override;

  // Identifies the host once per instance and limits a few hosts to stereo.
  // Host's main thread, from the open opcode.
  void HostSpecificInit() override;

  // Host communication: any thread holding mMutex. None of these allocates;
  // the time requests may run on the audio thread.
  void BeginInformHostOfParamChange(int idx) override;
  void InformHostOfParamChange(int idx, double normalizedValue) override;
  void EndInformHostOfParamChange(int idx) override;
  int GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* pNum, int* pDenom) override;
  EHostId GetHost() override;
  void SetLatency(int samples) override;
  bool SendMidiMsg(IMidiMsg* pMsg) override;
  bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs) override;
  bool SendVSTEvent(VstEvent* pEvent);

  VstHostCallback GetHostCallback() const { return mHostCallback; }
  AEffect* GetAEffect() { return &mAEffect; }

  // The entry point's last step: guarantees one program and hands out the record.
  AEffect* FinishCreation();

  // AEffect callbacks (thin trampolines; no exception leaves them).
  static intptr_t VSTDispatcher(AEffect* pEffect, int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt);
  static void VSTProcess(AEffect* pEffect, float** inputs, float** outputs, int32_t nFrames);
  static void VSTProcessReplacing(AEffect* pEffect, float** inputs, float** outputs, int32_t nFrames);
  static void VSTProcessDoubleReplacing(AEffect* pEffect, double** inputs, double** outputs, int32_t nFrames);
  static float VSTGetParameter(AEffect* pEffect, int32_t idx);
  static void VSTSetParameter(AEffect* pEffect, int32_t idx, float value);

private:
  enum class EProcessMode
  {
    kAccumulating,
    kReplacing
  };

  intptr_t HostCallback(int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt);
  VstTimeInfo* GetTimeInfo(int32_t flags);

  // Dispatcher, one method per request (IPlugVST_Dispatch.cpp).
  intptr_t Dispatch(int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt);
  intptr_t Close();
  intptr_t Open();
  intptr_t SetProgram(intptr_t value);
  intptr_t SetProgramName(const char* name);
  intptr_t GetProgramName(char* name);
  intptr_t GetParamLabel(int idx, char* text);
  intptr_t GetParamDisplay(int idx, char* text);
  intptr_t GetParamName(int idx, char* text);
  intptr_t SetSampleRateFromHost(float sampleRate);
  intptr_t SetBlockSizeFromHost(intptr_t value);
  intptr_t MainsChanged(intptr_t value);
  intptr_t GetProgramNameIndexed(int idx, char* name);
  intptr_t GetPinProperties(int idx, void* ptr, bool input);
  intptr_t SetSpeakerArrangement(intptr_t value, void* ptr);
  intptr_t GetSpeakerArrangement(intptr_t value, void* ptr);
  intptr_t CopyToHost(const char* text, char* dest, int size);
  intptr_t VendorSpecific(int idx, intptr_t value, void* ptr, float opt);
  intptr_t CanDo(const char* what);
  intptr_t GetMidiKeyName(void* ptr);
  intptr_t ProcessEvents(void* ptr);

  // Editor requests (IPlugVST_Editor.cpp).
  intptr_t EditorGetRect(void* ptr);
  intptr_t EditorOpen(void* ptr);
  intptr_t EditorClose();
  intptr_t Idle();

  // State chunks (IPlugVST_State.cpp).
  intptr_t GetChunk(void** ppData, bool isBank);
  intptr_t SetChunk(const void* data, intptr_t size, bool isBank);

  // Audio thread (IPlugVST_Process.cpp).
  template <class T>
  void Process(T** inputs, T** outputs, int nFrames, EProcessMode mode);
  void ProcessBlock(float** inputs, float** outputs, int nFrames, EProcessMode mode);
  void ProcessBlock(double** inputs, double** outputs, int nFrames, EProcessMode mode);
  template <class T>
  WDL_TypedBuf<T*>* OffsetPtrs(bool input);
  float GetParameterFromHost(int idx);
  void SetParameterFromHost(int idx, float value);

  // Closes the editor's window and its presentation in the host's window.
  void CloseEditorWindow();
  // Held for each editor request (open, close, idle) while it runs.
  class EditorCallScope;

  ERect mRect = {};
  // While the editor is open in a host's X11 window: the window it is presented from.
  std::unique_ptr<X11Presenter> mPresenter;
  class NSWindow* mEditorWindow = nullptr;
  // The host may answer a request the editor makes (begin or end edit,
  // automate) by closing or reopening the editor from inside the editor
  // request that raised it. A presenter is then closed at once but deleted
  // only when the outermost editor request returns: its Idle may still be
  // running further up the stack.
  int mEditorCalls = 0;
  std::vector<std::unique_ptr<X11Presenter>> mClosedPresenters;
  VstHostCallback mHostCallback;
  VstSpeakerArrangement mInputArrangement = {};
  VstSpeakerArrangement mOutputArrangement = {};
  bool mHostInitDone = false;
  // A process call is running: requests the host makes from inside it (in
  // answer to the plug-in's own requests) must not free or rewire what it
  // uses.
  bool mProcessing = false;
  bool mDoesMidi;
  ByteChunk mProgramState;
  ByteChunk mBankState;
  AEffect mAEffect = {};
  // Host buffer pointers advanced past what was already processed when a
  // host hands more frames than one block; sized once, at construction.
  WDL_TypedBuf<float*> mFloatIn, mFloatOut;
  WDL_TypedBuf<double*> mDoubleIn, mDoubleOut;
};

// Reads the chunk header at *pPos: returns its version and moves *pPos past
// it; 0 and *pPos unchanged without the magic; 0 and *pPos = -1 when the
// magic is there but the version is cut off.
int GetIPlugVerFromChunk(ByteChunk* pChunk, int* pPos);
void InitializeVSTChunk(ByteChunk* pChunk);

// The Linux editor does not exist yet: no editor, and the effect reports none.
IGraphics* MakeGraphics(IPlugVST* pPlug, int w, int h, int fps);
