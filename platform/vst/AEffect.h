#pragma once
// The effect record a VST 2 host receives from the plug-in's entry point, and
// the callback types on both sides. Layouts follow the published 2.4
// interface for 64-bit Linux: every word that may carry a pointer (the
// dispatcher's and host callback's value and result, the reserved words, the
// object and user fields) is pointer-sized.

#include <cstddef>
#include <cstdint>

struct AEffect;

// The host's audioMaster callback: (effect, request, index, value, ptr, opt).
using VstHostCallback = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                     float opt);
using VstDispatcherProc = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                       float opt);
using VstProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, int32_t frames);
using VstProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs, int32_t frames);
using VstSetParameterProc = void (*)(AEffect* effect, int32_t index, float value);
using VstGetParameterProc = float (*)(AEffect* effect, int32_t index);

// 'VstP' read as a big-endian four-character code.
constexpr int32_t kVstEffectMagic = 0x56737450;

// Effect flags.
constexpr int32_t kVstFlagHasEditor = 1 << 0;
constexpr int32_t kVstFlagCanMono = 1 << 3;
constexpr int32_t kVstFlagCanReplacing = 1 << 4;
constexpr int32_t kVstFlagProgramChunks = 1 << 5;
constexpr int32_t kVstFlagIsSynth = 1 << 8;
constexpr int32_t kVstFlagCanDoubleReplacing = 1 << 12;

struct AEffect
{
  int32_t magic;
  VstDispatcherProc dispatcher;
  VstProcessProc process; // accumulating
  VstSetParameterProc setParameter;
  VstGetParameterProc getParameter;
  int32_t numPrograms;
  int32_t numParams;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t flags;
  intptr_t reserved1;
  intptr_t reserved2;
  int32_t initialDelay;
  int32_t unusedQualities1;
  int32_t unusedQualities2;
  float ioRatio;
  void* object; // the plug-in behind this record
  void* user;   // the host's own
  int32_t uniqueID;
  int32_t version;
  VstProcessProc processReplacing;
  VstProcessDoubleProc processDoubleReplacing;
  char future[56];
};

static_assert(sizeof(void*) == 8, "these layouts are the 64-bit ones");
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, reserved1) == 64);
static_assert(offsetof(AEffect, reserved2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, processDoubleReplacing) == 128);
static_assert(sizeof(AEffect) == 192);
