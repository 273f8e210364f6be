#pragma once
// Small records of the editor, pin and MIDI key-name requests, and the
// buffer sizes this system assumes for every text it copies to a host.

#include <cstddef>
#include <cstdint>

// Editor rectangle of dispatcher opcode 13.
struct ERect
{
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

constexpr int kVstPinLabelBytes = 64;
constexpr int kVstPinShortLabelBytes = 8;
constexpr int32_t kVstPinIsActive = 1 << 0;
constexpr int32_t kVstPinIsStereo = 1 << 1;

// Dispatcher opcodes 33 and 34.
struct VstPinInfo
{
  char label[kVstPinLabelBytes];
  int32_t flags;
  int32_t arrangementType;
  char shortLabel[kVstPinShortLabelBytes];
};

constexpr int kVstKeyNameBytes = 64;

// Dispatcher opcode 66.
struct MidiKeyName
{
  int32_t thisProgramIndex;
  int32_t thisKeyNumber;
  char keyName[kVstKeyNameBytes];
  int32_t reserved;
  int32_t flags;
};

static_assert(sizeof(ERect) == 8);
static_assert(offsetof(VstPinInfo, flags) == 64);
static_assert(offsetof(VstPinInfo, shortLabel) == 72);
static_assert(sizeof(VstPinInfo) == 80);
static_assert(offsetof(MidiKeyName, keyName) == 8);
static_assert(sizeof(MidiKeyName) == 80);

// Bytes written at most, terminator included, into a host's text buffer.
// The interface's nominal sizes (24 for program names, 8 for parameter
// texts, 32 for the effect name) would cut this effect's names: factory
// programs run to 46 characters and parameter names such as "Compensation"
// to 12. Hosts that show such names pass larger buffers, so each kind gets
// the smallest bound that keeps every text of its source whole:
// - program names: 64, the interface's own size for long names (pin labels,
//   key names); the longest program name needs 47;
// - parameter name, label and display: 32, the size of the parameter's own
//   text fields, so no parameter text is ever cut;
// - effect name: 32, the interface's size; "Kestrel Compressor" needs 19;
// - vendor and product strings: 64, the interface's size.
constexpr int kVstProgramNameBytes = 64;
constexpr int kVstParamTextBytes = 32;
constexpr int kVstEffectNameBytes = 32;
constexpr int kVstVendorBytes = 64;
constexpr int kVstProductBytes = 64;
// What the plug-in hands the host for its product string (host request 33).
constexpr int kVstHostProductBytes = 256;
