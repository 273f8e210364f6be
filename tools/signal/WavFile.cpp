// WAV input and output through libsndfile; output is 32-bit float.

#include <sndfile.h>

#include "tools/signal/SignalBuffer.h"

bool ReadWav(const std::string& path, SignalBuffer* out, std::string* error)
{
  SF_INFO info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file)
  {
    *error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.frames < 0 || info.frames > (1LL << 31) / info.channels)
  {
    sf_close(file);
    *error = path + ": unsupported channel or frame count";
    return false;
  }
  std::vector<float> interleaved(size_t(info.frames) * size_t(info.channels));
  sf_count_t got = sf_readf_float(file, interleaved.data(), info.frames);
  sf_close(file);
  out->sampleRate = info.samplerate;
  out->Resize(info.channels, int(got));
  for (sf_count_t i = 0; i < got; ++i)
    for (int ch = 0; ch < info.channels; ++ch)
      out->channels[size_t(ch)][size_t(i)] = interleaved[size_t(i) * size_t(info.channels) + size_t(ch)];
  return true;
}

bool WriteWav(const std::string& path, const SignalBuffer& buffer, std::string* error)
{
  SF_INFO info = {};
  info.samplerate = int(buffer.sampleRate + 0.5);
  info.channels = buffer.NumChannels();
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file)
  {
    *error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  const int frames = buffer.NumFrames(), nCh = buffer.NumChannels();
  std::vector<float> interleaved(size_t(frames) * size_t(nCh));
  for (int i = 0; i < frames; ++i)
    for (int ch = 0; ch < nCh; ++ch)
      interleaved[size_t(i) * size_t(nCh) + size_t(ch)] = buffer.channels[size_t(ch)][size_t(i)];
  sf_count_t written = sf_writef_float(file, interleaved.data(), frames);
  sf_close(file);
  if (written != frames)
  {
    *error = "short write to " + path;
    return false;
  }
  return true;
}
