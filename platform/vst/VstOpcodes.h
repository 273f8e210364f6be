#pragma once
// Dispatcher opcodes (host to effect), host requests (effect to host) and
// the can-do strings of the VST 2.4 interface that this system uses.

#include <cstdint>

namespace vst
{

// Dispatcher opcodes.
namespace op
{
constexpr int32_t kOpen = 0;
constexpr int32_t kClose = 1;
constexpr int32_t kSetProgram = 2;
constexpr int32_t kGetProgram = 3;
constexpr int32_t kSetProgramName = 4;
constexpr int32_t kGetProgramName = 5;
constexpr int32_t kGetParamLabel = 6;
constexpr int32_t kGetParamDisplay = 7;
constexpr int32_t kGetParamName = 8;
constexpr int32_t kSetSampleRate = 10;
constexpr int32_t kSetBlockSize = 11;
constexpr int32_t kMainsChanged = 12;
constexpr int32_t kEditGetRect = 13;
constexpr int32_t kEditOpen = 14;
constexpr int32_t kEditClose = 15;
constexpr int32_t kEditIdle = 19;
constexpr int32_t kIdentify = 22;
constexpr int32_t kGetChunk = 23;
constexpr int32_t kSetChunk = 24;
constexpr int32_t kProcessEvents = 25;
constexpr int32_t kCanBeAutomated = 26;
constexpr int32_t kGetProgramNameIndexed = 29;
constexpr int32_t kGetInputProperties = 33;
constexpr int32_t kGetOutputProperties = 34;
constexpr int32_t kGetPlugCategory = 35;
constexpr int32_t kSetSpeakerArrangement = 42;
constexpr int32_t kGetEffectName = 45;
constexpr int32_t kGetVendorString = 47;
constexpr int32_t kGetProductString = 48;
constexpr int32_t kGetVendorVersion = 49;
constexpr int32_t kVendorSpecific = 50;
constexpr int32_t kCanDo = 51;
constexpr int32_t kIdle = 53;
constexpr int32_t kGetVstVersion = 58;
constexpr int32_t kGetMidiKeyName = 66;
constexpr int32_t kGetSpeakerArrangement = 69;
} // namespace op

// Host requests made through the audioMaster callback.
namespace host
{
constexpr int32_t kAutomate = 0;
constexpr int32_t kVersion = 1;
constexpr int32_t kCurrentId = 2;
constexpr int32_t kIdle = 3;
constexpr int32_t kWantMidi = 6;
constexpr int32_t kGetTime = 7;
constexpr int32_t kProcessEvents = 8;
constexpr int32_t kIOChanged = 13;
constexpr int32_t kSizeWindow = 15;
constexpr int32_t kGetSampleRate = 16;
constexpr int32_t kGetBlockSize = 17;
constexpr int32_t kGetInputLatency = 18;
constexpr int32_t kGetOutputLatency = 19;
constexpr int32_t kGetCurrentProcessLevel = 23;
constexpr int32_t kGetAutomationState = 24;
constexpr int32_t kGetVendorString = 32;
constexpr int32_t kGetProductString = 33;
constexpr int32_t kGetVendorVersion = 34;
constexpr int32_t kCanDo = 37;
constexpr int32_t kGetLanguage = 38;
constexpr int32_t kUpdateDisplay = 42;
constexpr int32_t kBeginEdit = 43;
constexpr int32_t kEndEdit = 44;
} // namespace host

// The interface version this binding speaks (answer to kGetVstVersion).
constexpr intptr_t kInterfaceVersion = 2400;
// 'NvEf': answer to kIdentify.
constexpr intptr_t kIdentifyAnswer = 0x4E764566;
// Vendor-specific request for a parameter's text at a given normalised value.
constexpr int32_t kVendorParamDisplayIndex = 7;
constexpr intptr_t kVendorParamDisplayAnswer = 0xBEEF;
constexpr intptr_t kVendorCanDoAnswer = 0xBEEF0000;

namespace cando
{
constexpr const char* kReceiveTimeInfo = "receiveVstTimeInfo";
constexpr const char* kSendEvents = "sendVstEvents";
constexpr const char* kSendMidiEvent = "sendVstMidiEvent";
constexpr const char* kReceiveEvents = "receiveVstEvents";
constexpr const char* kReceiveMidiEvent = "receiveVstMidiEvent";
constexpr const char* kVendorExtensions = "hasVendorExtensions";
constexpr const char* kVendorViewAsConfig = "hasVendorViewAsConfig";
} // namespace cando

} // namespace vst
