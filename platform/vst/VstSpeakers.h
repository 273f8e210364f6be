#pragma once
// Speaker arrangements of dispatcher opcodes 42 (set) and 69 (get).

#include <cstddef>
#include <cstdint>

constexpr int kVstSpeakerNameBytes = 64;
// The record carries room for this many speakers; larger layouts extend it.
constexpr int kVstArrangementSpeakers = 8;

struct VstSpeakerEntry
{
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[kVstSpeakerNameBytes];
  int32_t type;
  char future[28];
};

struct VstSpeakerArrangement
{
  int32_t type;
  int32_t numChannels;
  VstSpeakerEntry speakers[kVstArrangementSpeakers];
};

static_assert(offsetof(VstSpeakerEntry, name) == 16);
static_assert(offsetof(VstSpeakerEntry, type) == 80);
static_assert(sizeof(VstSpeakerEntry) == 112);
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8);
static_assert(sizeof(VstSpeakerArrangement) == 8 + 8 * 112);
