#include "tools/vsthost/ProcessAudio.h"

#include <chrono>

double ProcessAudio(VstHostPlugin& plugin, const SignalBuffer& in, SignalBuffer* out)
{
  const int nIn = plugin.NumInputs(), nOut = plugin.NumOutputs(), block = plugin.BlockSize();
  const int frames = in.NumFrames();
  out->sampleRate = in.sampleRate;
  out->Resize(nOut, frames);
  std::vector<float> silence(static_cast<size_t>(block));
  std::vector<float*> inPtrs(static_cast<size_t>(nIn)), outPtrs(static_cast<size_t>(nOut));
  plugin.ResetTransport();

  std::chrono::steady_clock::duration spent{};
  for (int pos = 0; pos < frames; pos += block)
  {
    const int n = frames - pos < block ? frames - pos : block;
    for (int c = 0; c < nIn; ++c)
      inPtrs[size_t(c)] =
        c < in.NumChannels() ? const_cast<float*>(in.channels[size_t(c)].data()) + pos : silence.data();
    for (int c = 0; c < nOut; ++c)
      outPtrs[size_t(c)] = out->channels[size_t(c)].data() + pos;
    auto start = std::chrono::steady_clock::now();
    plugin.ProcessBlock(inPtrs.data(), outPtrs.data(), n);
    spent += std::chrono::steady_clock::now() - start;
  }
  return std::chrono::duration<double>(spent).count();
}
