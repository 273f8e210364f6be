#pragma once
// A small effect on the VST binding: output = input x gain, with records of
// what the binding asked of it.

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "wdl/IPlug/vst/IPlugVST.h"

constexpr int kTestParams = 3;
constexpr int kTestPresets = 4;
constexpr const char* kTestLongParamName = "A parameter name of 31 chars...";
// As long as the longest factory program name of the compressor (46).
constexpr const char* kTestLongPresetName = "Program name that is forty-six characters long";

class TestEffect : public IPlugVST
{
public:
  explicit TestEffect(IPlugInstanceInfo info, bool doesMidi = false, bool chunks = false, int nPresets = kTestPresets)
    : IPlugVST(info, kTestParams, "1-1 2-2 4-2", nPresets, "Test Effect", "Test Product", "Test Maker", 0x10203,
               0x54655374, 0x54734D6B, 0, doesMidi, chunks, false)
  {
    GetParam(0)->InitDouble("Gain", 1.0, 0.0, 2.0, 0.01, "x");
    GetParam(1)->InitEnum("Mode", 0, 3);
    GetParam(1)->SetDisplayText(0, "First");
    GetParam(1)->SetDisplayText(1, "Second");
    GetParam(1)->SetDisplayText(2, "Third");
    GetParam(2)->InitDouble(kTestLongParamName, -10.0, -60.0, 0.0, 0.1, "dB");
    if (nPresets)
    {
      MakeDefaultPreset();
      MakePreset(kTestLongPresetName, 0.5, 2, -30.0);
    }
  }

  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override
  {
    ++mProcessCalls;
    mLastFrames = nFrames;
    if (mThrowInProcess)
      throw std::runtime_error("effect failure");
    const double gain = GetParam(0)->Value();
    for (int c = 0; c < NOutChannels(); ++c)
      for (int i = 0; i < nFrames; ++i)
        outputs[c][i] = inputs[c][i] * gain;
  }
  void OnParamChange(int idx) override
  {
    IPlugVST::OnParamChange(idx);
    ++mParamChanges;
  }
  void Reset() override { ++mResets; }
  void OnActivate(bool active) override { mActive = active; }
  bool MidiNoteName(int note, char* name) override
  {
    if (note < 0 || note > 127)
      return false;
    snprintf(name, 8, "N%d", note);
    return true;
  }

  // A value as stored in a program slot.
  double StoredValue(int slot, int param) const
  {
    double v = NAN;
    GetPreset(slot)->mChunk.Get(&v, param * 8);
    return v;
  }

  int mProcessCalls = 0, mLastFrames = 0, mParamChanges = 0, mResets = 0;
  bool mActive = false, mThrowInProcess = false;
};

class TestMidiEffect : public TestEffect
{
public:
  explicit TestMidiEffect(IPlugInstanceInfo info) : TestEffect(info, true) {}
};
