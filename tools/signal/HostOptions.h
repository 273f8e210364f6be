#pragma once
// The command line both test hosts share: what to process, in which blocks,
// where the output goes. Each host adds its own options on top.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tools/signal/SignalBuffer.h"

struct HostOptions
{
  std::string target; // the plug-in library or bundle
  std::string inPath, outPath, signal;
  std::string select; // a program or preset, by number or name
  std::vector<std::pair<std::string, float>> params;
  double seconds = 10.0, rate = 44100.0;
  int block = 512, channels = 2;
  bool list = false, time = false;
};

enum class HostOptionResult
{
  kTaken,
  kOther,
  kBad
};

// Reads the shared option at argv[*i], with its value (advancing *i).
// selectFlag names the host's program or preset option.
HostOptionResult ParseHostOption(int argc, char** argv, int* i, const char* selectFlag, HostOptions* o);
bool ParseHostNumber(const char* text, double* value);
// Whether the options name at most one input.
bool HostInputIsUnambiguous(const HostOptions& o);

// Usage lines of the shared options; the host's own words for selecting a
// program or preset and for a parameter's value.
void PrintHostOptionsUsage(FILE* f, const char* selectFlag, const char* selectHelp, const char* setHelp);

// Reads the WAV file or generates the built-in signal the options name.
// Returns 0, or the exit code (1 unknown signal, 2 unreadable file) with error set.
int LoadHostInput(const HostOptions& o, SignalBuffer* in, std::string* error);

// Prints the time spent processing in and the real-time factor.
void PrintProcessingTime(double spent, const SignalBuffer& in);
