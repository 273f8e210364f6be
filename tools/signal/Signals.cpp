#include <cmath>
#include <cstdio>
#include <cstdint>

#include "tools/signal/SignalBuffer.h"

namespace
{

constexpr double kTwoPi = 6.283185307179586;

// Own generator so every build makes the same signal (xorshift64*).
class NoiseSource
{
public:
  explicit NoiseSource(uint64_t seed) : mState(seed) {}
  // Uniform in [-1, 1).
  double Next()
  {
    mState ^= mState >> 12;
    mState ^= mState << 25;
    mState ^= mState >> 27;
    uint64_t r = mState * 0x2545F4914F6CDD1DULL;
    return double(r >> 11) * (2.0 / 9007199254740992.0) - 1.0;
  }

private:
  uint64_t mState;
};

double Tone(double t, int /*ch*/, NoiseSource& /*noise*/)
{
  return 0.5 * sin(kTwoPi * 1000.0 * t);
}

double Noise(double /*t*/, int /*ch*/, NoiseSource& noise)
{
  // Uniform noise has an RMS of 1/sqrt(3); scale it to -12 dBFS.
  return noise.Next() * 0.25118864315095796 * 1.7320508075688772;
}

double Mix(double t, int ch, NoiseSource& noise)
{
  double beat = fmod(t, 0.5);
  double kick = 0.55 * exp(-beat * 18.0) * sin(kTwoPi * 55.0 * beat * (1.0 + exp(-beat * 30.0)));
  double chord = 0.09 * (sin(kTwoPi * 220.0 * t) + sin(kTwoPi * 277.18 * t + ch) + sin(kTwoPi * 329.63 * t));
  double hat = 0.06 * exp(-fmod(t, 0.125) * 60.0) * noise.Next();
  double swell = 0.6 + 0.4 * sin(kTwoPi * 0.25 * t);
  return swell * (kick + chord + hat);
}

} // namespace

const char* SignalNames()
{
  return "tone, noise, mix";
}

bool GenerateSignal(const std::string& name, double sampleRate, double seconds, int nChannels, SignalBuffer* out)
{
  double (*gen)(double, int, NoiseSource&) = nullptr;
  if (name == "tone")
    gen = Tone;
  if (name == "noise")
    gen = Noise;
  if (name == "mix")
    gen = Mix;
  if (!gen || nChannels < 1 || !(seconds > 0.0) || !(sampleRate > 0.0))
    return false;
  const int frames = int(seconds * sampleRate + 0.5);
  out->sampleRate = sampleRate;
  out->Resize(nChannels, frames);
  for (int ch = 0; ch < nChannels; ++ch)
  {
    NoiseSource noise(0x9E3779B97F4A7C15ULL + uint64_t(ch));
    for (int i = 0; i < frames; ++i)
      out->channels[size_t(ch)][size_t(i)] = float(gen(i / sampleRate, ch, noise));
  }
  return true;
}

std::vector<ChannelLevel> MeasureLevels(const SignalBuffer& buffer)
{
  std::vector<ChannelLevel> levels;
  for (const auto& ch : buffer.channels)
  {
    double peak = 0.0, sum = 0.0;
    for (float s : ch)
    {
      peak = fmax(peak, fabs(double(s)));
      sum += double(s) * double(s);
    }
    double rms = ch.empty() ? 0.0 : sqrt(sum / double(ch.size()));
    levels.push_back({20.0 * log10(peak), 20.0 * log10(rms)});
  }
  return levels;
}

void PrintLevels(const char* what, const SignalBuffer& buffer)
{
  std::vector<ChannelLevel> levels = MeasureLevels(buffer);
  for (size_t c = 0; c < levels.size(); ++c)
    printf("%s %zu: peak %.2f dBFS, RMS %.2f dBFS\n", what, c + 1, levels[c].peakDB, levels[c].rmsDB);
}
