#pragma once
// The host's transport state, answered to host request 7 as a pointer.

#include <cstddef>
#include <cstdint>

// Flags word: which fields are valid (the request's value asks for them).
constexpr int32_t kVstTimePlaying = 1 << 1;
constexpr int32_t kVstTimeNanosValid = 1 << 8;
constexpr int32_t kVstTimeQuarterPosValid = 1 << 9;
constexpr int32_t kVstTimeTempoValid = 1 << 10;
constexpr int32_t kVstTimeBarsValid = 1 << 11;
constexpr int32_t kVstTimeLoopValid = 1 << 12;
constexpr int32_t kVstTimeSigValid = 1 << 13;

struct VstTimeInfo
{
  double samplePos;
  double sampleRate;
  double nanoseconds;
  double quarterPos;
  double tempo; // beats per minute
  double barStartQuarter;
  double loopStartQuarter;
  double loopEndQuarter;
  int32_t sigNumerator;
  int32_t sigDenominator;
  int32_t smpteOffset;
  int32_t smpteRate;
  int32_t samplesToClock;
  int32_t flags;
};

static_assert(offsetof(VstTimeInfo, tempo) == 32);
static_assert(offsetof(VstTimeInfo, sigNumerator) == 64);
static_assert(offsetof(VstTimeInfo, sigDenominator) == 68);
static_assert(offsetof(VstTimeInfo, flags) == 84);
static_assert(sizeof(VstTimeInfo) == 88);
