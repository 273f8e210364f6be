#pragma once
// Drives the compressor the way a host does: channel connections, buffers, blocks.

#include <cmath>
#include <memory>
#include <vector>

#include "plugin/Kestrel.h"

constexpr double kNeper = 0.11512925464970228; // ln 10 / 20

inline double FromDB(double dB)
{
  return std::pow(10.0, dB / 20.0);
}

inline double ToDB(double level)
{
  return 20.0 * std::log10(level);
}

class KestrelHarness
{
public:
  explicit KestrelHarness(double sampleRate = 44100.0, const char* host = "")
  {
    IPlugInstanceInfo info;
    info.mHostName = host;
    plug = std::make_unique<Kestrel>(info);
    plug->SetSampleRate(sampleRate);
    plug->OnParamChange(0);
    plug->Reset();
  }

  // Sets a parameter the way a host does, and snaps the smoothed ones to it.
  void Set(int idx, double value, bool snap = true)
  {
    plug->GetParam(idx)->Set(value);
    plug->OnParamChange(idx);
    if (snap)
      plug->Reset();
  }

  // Runs one block. An empty input vector means an unconnected channel; outputs keep
  // whatever the effect does not write.
  void Run(std::vector<double> (&in)[4], std::vector<double> (&out)[2], int frames)
  {
    if (frames > plug->GetBlockSize())
      plug->SetBlockSize(frames);
    double* ins[4] = {};
    int n = 0;
    for (int c = 0; c < 4; ++c)
    {
      const bool connected = !in[c].empty();
      plug->SetInputChannelConnections(c, 1, connected);
      if (connected)
        ins[n++] = in[c].data();
    }
    plug->SetOutputChannelConnections(0, 2, true);
    plug->AttachInputBuffers(0, 4, ins, frames);
    double* outs[2] = {out[0].data(), out[1].data()};
    plug->AttachOutputBuffers(0, 2, outs);
    plug->ProcessBuffers(0.0, frames);
  }

  // Mono: one input channel, returns output 0.
  std::vector<double> RunMono(const std::vector<double>& x)
  {
    std::vector<double> in[4] = {x, {}, {}, {}};
    std::vector<double> out[2] = {std::vector<double>(x.size()), std::vector<double>(x.size())};
    Run(in, out, int(x.size()));
    return out[0];
  }

  // Stereo without side-chain; returns both outputs.
  void RunStereo(const std::vector<double>& l, const std::vector<double>& r, std::vector<double>& outL,
                 std::vector<double>& outR)
  {
    std::vector<double> in[4] = {l, r, {}, {}};
    std::vector<double> out[2] = {std::vector<double>(l.size()), std::vector<double>(l.size())};
    Run(in, out, int(l.size()));
    outL = out[0];
    outR = out[1];
  }

  std::unique_ptr<Kestrel> plug;
};

inline std::vector<double> Constant(int n, double v)
{
  return std::vector<double>(size_t(n), v);
}
