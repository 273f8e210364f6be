#pragma once
// Events exchanged through dispatcher opcode 25 and host request 8.

#include <cstddef>
#include <cstdint>

constexpr int32_t kVstMidiEventType = 1;

// Any event; its type says how to read the 16 bytes after the header.
struct VstEvent
{
  int32_t type;
  int32_t byteSize; // bytes after type and byteSize
  int32_t deltaFrames;
  int32_t flags;
  char data[16];
};

struct VstMidiEvent
{
  int32_t type; // kVstMidiEventType
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  int32_t noteLength;
  int32_t noteOffset;
  char midiData[4]; // status, data 1, data 2, 0
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

// A list of events; hosts allocate it with as many pointers as numEvents.
struct VstEvents
{
  int32_t numEvents;
  intptr_t reserved;
  VstEvent* events[2];
};

static_assert(sizeof(VstEvent) == 32);
static_assert(sizeof(VstMidiEvent) == 32);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(offsetof(VstMidiEvent, detune) == 28);
static_assert(offsetof(VstEvents, reserved) == 8);
static_assert(offsetof(VstEvents, events) == 16);
static_assert(sizeof(VstEvents) == 32);
