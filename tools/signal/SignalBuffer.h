#pragma once
// Planar 32-bit float audio with its sample rate; what the hosts read,
// generate, process and write.

#include <string>
#include <vector>

struct SignalBuffer
{
  double sampleRate = 44100.0;
  std::vector<std::vector<float>> channels;

  int NumChannels() const { return int(channels.size()); }
  int NumFrames() const { return channels.empty() ? 0 : int(channels[0].size()); }
  void Resize(int nChannels, int nFrames) { channels.assign(size_t(nChannels), std::vector<float>(size_t(nFrames))); }
};

struct ChannelLevel
{
  double peakDB, rmsDB; // dB relative to full scale; -inf for silence
};

std::vector<ChannelLevel> MeasureLevels(const SignalBuffer& buffer);
// One line per channel: "<what> <n>: peak <p> dBFS, RMS <r> dBFS".
void PrintLevels(const char* what, const SignalBuffer& buffer);

// Built-in test signals: "tone" (1 kHz sine at -6 dBFS), "noise" (white
// noise, -12 dBFS RMS) and "mix" (a drum-like pulse, a chord and noise whose
// level swells and falls, peaking near -1 dBFS; a compressor has work to do).
// False for an unknown name.
bool GenerateSignal(const std::string& name, double sampleRate, double seconds, int nChannels, SignalBuffer* out);
const char* SignalNames();

bool ReadWav(const std::string& path, SignalBuffer* out, std::string* error);
bool WriteWav(const std::string& path, const SignalBuffer& buffer, std::string* error);
