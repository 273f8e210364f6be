#pragma once
// One VST 2 effect loaded from a shared library and driven by this host:
// entry point, open and setup, identity, parameters, programs, processing,
// close. Works with any Linux VST 2 plug-in.

#include <string>
#include <vector>

#include "platform/vst/AEffect.h"
#include "platform/vst/VstTimeInfo.h"

struct VstParamInfo
{
  std::string name, display, label;
  float value = 0.0f;
};

class VstHostPlugin
{
public:
  VstHostPlugin() = default;
  ~VstHostPlugin();
  VstHostPlugin(const VstHostPlugin&) = delete;
  VstHostPlugin& operator=(const VstHostPlugin&) = delete;

  // Loads the library, creates and opens the effect and sets rate and block
  // size, leaving it switched off. False with a message on failure.
  bool Open(const std::string& path, double sampleRate, int blockSize, std::string* error);
  // What a host does before playback: rate and block size again (which
  // settles the effect at its current settings), then switches it on.
  void Resume();
  // Open and Resume together, for a host with nothing to set up in between.
  bool Load(const std::string& path, double sampleRate, int blockSize, std::string* error);
  void Unload();

  AEffect* Effect() const { return mEffect; }
  int NumInputs() const { return mEffect->numInputs; }
  int NumOutputs() const { return mEffect->numOutputs; }
  int NumParams() const { return mEffect->numParams; }
  int NumPrograms() const { return mEffect->numPrograms; }
  double SampleRate() const { return mSampleRate; }
  int BlockSize() const { return mBlockSize; }

  std::string EffectName();
  std::string VendorName();
  std::string ProductName();
  VstParamInfo Param(int idx);
  int FindParam(const std::string& name);
  void SetParam(int idx, float normalized);
  std::string ProgramName(int idx);
  int FindProgram(const std::string& name);
  int CurrentProgram();
  void SetProgram(int idx);

  // Processes one block of at most BlockSize() frames (replacing when the
  // effect offers it, else accumulating onto cleared outputs).
  void ProcessBlock(float** inputs, float** outputs, int nFrames);
  // Rewinds the transport the host reports.
  void ResetTransport() { mTime.samplePos = 0.0; }

private:
  static intptr_t HostCallback(AEffect* effect, int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt);
  intptr_t Answer(int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt);
  intptr_t Dispatch(int32_t opCode, int32_t idx = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
  std::string Text(int32_t opCode, int32_t idx);

  void* mLibrary = nullptr;
  AEffect* mEffect = nullptr;
  double mSampleRate = 44100.0;
  int mBlockSize = 512;
  bool mResumed = false;
  VstTimeInfo mTime = {};
};
