// KestrelVST against an independent compressor (LSP Compressor Stereo) through
// the project's own host: the same 20 s stereo signal at 44.1 kHz, block 512,
// both set to compress it by about 10 dB, runs alternating in one process.
// Prints each one's real-time factor (median of the runs) and their ratio.
//
// usage: vst_compare [KESTREL.so [OTHER.so [RUNS]]]

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/vsthost/ProcessAudio.h"

namespace
{

struct Contender
{
  const char* label;
  std::string path;
  std::vector<std::pair<const char*, float>> settings;
  VstHostPlugin plugin;
  std::vector<double> seconds;
  double reductionDB = 0.0;
};

double MeanRmsDB(const SignalBuffer& b)
{
  double sum = 0.0;
  for (const ChannelLevel& l : MeasureLevels(b))
    sum += l.rmsDB;
  return sum / b.NumChannels();
}

bool Setup(Contender& c, std::string* error)
{
  if (!c.plugin.Load(c.path, 44100.0, 512, error))
    return false;
  for (const auto& [name, value] : c.settings)
  {
    int idx = c.plugin.FindParam(name);
    if (idx < 0)
    {
      *error = std::string("no parameter ") + name;
      return false;
    }
    c.plugin.SetParam(idx, value);
  }
  return true;
}

double Median(std::vector<double> v)
{
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
  const double kSeconds = 20.0;
  Contender contenders[2] = {
    // Threshold -25.2 dB, ratio 8:1, attack 25 us, release 100 ms.
    {"KestrelVST",
     argc > 1 ? argv[1] : KESTREL_VST_PATH,
     {{"Threshold", 0.58f}, {"Ratio", 0.25f}, {"Attack", 0.01f}, {"Release", 0.1f}},
     {},
     {},
     0.0},
    // Threshold -30.6 dB, ratio 10:1, its default 20 ms attack and 100 ms release.
    {"LSP Compressor Stereo",
     argc > 2 ? argv[2] : "/usr/lib/vst/lsp-plugins/compressor-stereo.so",
     {{"al", 0.49f}, {"cr", 0.5f}},
     {},
     {},
     0.0},
  };
  const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 15;
  if (access(contenders[1].path.c_str(), R_OK) != 0)
  {
    printf("skipped: %s is not installed (package lsp-plugins-vst)\n", contenders[1].path.c_str());
    return 0;
  }

  SignalBuffer in, out;
  GenerateSignal("mix", 44100.0, kSeconds, 2, &in);
  const double inDB = MeanRmsDB(in);
  for (Contender& c : contenders)
  {
    std::string error;
    if (!Setup(c, &error))
    {
      fprintf(stderr, "%s: %s\n", c.label, error.c_str());
      return 1;
    }
    ProcessAudio(c.plugin, in, &out); // warm-up
    c.reductionDB = inDB - MeanRmsDB(out);
  }
  for (int r = 0; r < runs; ++r)
    for (Contender& c : contenders)
      c.seconds.push_back(ProcessAudio(c.plugin, in, &out));

  printf("signal: %.0f s stereo at 44100 Hz, block 512, %d alternating runs each\n", kSeconds, runs);
  double rtf[2];
  for (int i = 0; i < 2; ++i)
  {
    const Contender& c = contenders[i];
    double t = Median(c.seconds);
    rtf[i] = kSeconds / t;
    printf("%-22s RMS reduction %.1f dB, median %.2f ms per run, real-time factor %.0f\n", c.label, c.reductionDB,
           t * 1000.0, rtf[i]);
  }
  printf("KestrelVST / LSP speed ratio: %.2f (target 2.00 or more)\n", rtf[0] / rtf[1]);
  return 0;
}
