// vsthost: loads a Linux VST 2 plug-in, lists it, sets it up and runs audio
// through it. See Usage() for the command line.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/signal/SignalBuffer.h"
#include "tools/vsthost/ProcessAudio.h"
#include "tools/vsthost/VstHostPlugin.h"

namespace {

struct Options {
  std::string plugin, inPath, outPath, signal, program;
  std::vector<std::pair<std::string, float>> params;
  double rate = 44100.0, seconds = 10.0;
  int block = 512, channels = 2;
  bool list = false, time = false;
};

void Usage()
{
  fprintf(stderr,
          "usage: vsthost PLUGIN.so [options]\n"
          "  --list                 print identity, parameters and programs\n"
          "  --program N|NAME       select a program by index or name\n"
          "  --set NAME=VALUE       set a parameter by name (normalised 0..1); repeatable\n"
          "  --in FILE.wav          process a WAV file\n"
          "  --signal NAME          process a built-in signal (%s)\n"
          "  --seconds S            length of the built-in signal (default 10)\n"
          "  --channels N           channels of the built-in signal (default 2)\n"
          "  --rate HZ              sample rate of the built-in signal (default 44100)\n"
          "  --block N              frames per process call (default 512)\n"
          "  --out FILE.wav         write the output (32-bit float WAV)\n"
          "  --time                 print the time spent processing and the real-time factor\n",
          SignalNames());
}

bool ParseNumber(const char* text, double* value)
{
  char* end = nullptr;
  *value = strtod(text, &end);
  return end != text && !*end && std::isfinite(*value);
}

bool ParseArgs(int argc, char** argv, Options* o)
{
  if (argc < 2 || argv[1][0] == '-') return false;
  o->plugin = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    double v = 0.0;
    if (a == "--list") o->list = true;
    else if (a == "--time") o->time = true;
    else if (!next) return false;
    else if (a == "--program") o->program = argv[++i];
    else if (a == "--in") o->inPath = argv[++i];
    else if (a == "--out") o->outPath = argv[++i];
    else if (a == "--signal") o->signal = argv[++i];
    else if (a == "--set") {
      std::string s = argv[++i];
      size_t eq = s.rfind('=');
      if (eq == std::string::npos || !ParseNumber(s.c_str() + eq + 1, &v)) return false;
      o->params.push_back({s.substr(0, eq), float(v)});
    } else if (!ParseNumber(argv[++i], &v)) return false;
    else if (a == "--seconds" && v > 0.0) o->seconds = v;
    else if (a == "--rate" && v >= 1000.0 && v <= 768000.0) o->rate = v;
    else if (a == "--block" && v >= 1.0 && v <= 65536.0) o->block = int(v);
    else if (a == "--channels" && v >= 1.0 && v <= 64.0) o->channels = int(v);
    else return false;
  }
  return !(o->inPath.size() && o->signal.size());
}

void ListEffect(VstHostPlugin& p)
{
  const AEffect* e = p.Effect();
  char id[5] = {char(e->uniqueID >> 24), char(e->uniqueID >> 16), char(e->uniqueID >> 8), char(e->uniqueID), 0};
  printf("effect: %s\nvendor: %s\nproduct: %s\n", p.EffectName().c_str(), p.VendorName().c_str(),
         p.ProductName().c_str());
  printf("unique id: '%s' (0x%08X)\nversion: %d\nflags: 0x%X\n", id, unsigned(e->uniqueID), e->version,
         unsigned(e->flags));
  printf("inputs: %d\noutputs: %d\nlatency: %d\n", e->numInputs, e->numOutputs, e->initialDelay);
  printf("parameters: %d\n", p.NumParams());
  for (int i = 0; i < p.NumParams(); ++i) {
    VstParamInfo info = p.Param(i);
    printf("  %d %s = %s%s%s (%.6f)\n", i, info.name.c_str(), info.display.c_str(), info.label.empty() ? "" : " ",
           info.label.c_str(), double(info.value));
  }
  printf("programs: %d (current %d)\n", p.NumPrograms(), p.CurrentProgram());
  for (int i = 0; i < p.NumPrograms(); ++i) printf("  %d %s\n", i, p.ProgramName(i).c_str());
}

bool SelectProgram(VstHostPlugin& p, const std::string& program)
{
  char* end = nullptr;
  long idx = strtol(program.c_str(), &end, 10);
  if (end == program.c_str() || *end) idx = p.FindProgram(program);
  if (idx < 0 || idx >= p.NumPrograms()) {
    fprintf(stderr, "vsthost: no program %s\n", program.c_str());
    return false;
  }
  p.SetProgram(int(idx));
  return true;
}

int Run(const Options& o)
{
  SignalBuffer in;
  std::string error;
  if (o.inPath.size() && !ReadWav(o.inPath, &in, &error)) {
    fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 2;
  }
  if (o.signal.size() && !GenerateSignal(o.signal, o.rate, o.seconds, o.channels, &in)) {
    fprintf(stderr, "vsthost: unknown signal %s (known: %s)\n", o.signal.c_str(), SignalNames());
    return 1;
  }
  VstHostPlugin plugin;
  if (!plugin.Load(o.plugin, in.NumChannels() ? in.sampleRate : o.rate, o.block, &error)) {
    fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 2;
  }
  if (o.program.size() && !SelectProgram(plugin, o.program)) return 1;
  for (const auto& [name, value] : o.params) {
    int idx = plugin.FindParam(name);
    if (idx < 0) {
      fprintf(stderr, "vsthost: no parameter named %s\n", name.c_str());
      return 1;
    }
    plugin.SetParam(idx, value);
  }
  if (o.list) ListEffect(plugin);
  if (!in.NumChannels()) return 0;

  SignalBuffer out;
  double spent = ProcessAudio(plugin, in, &out);
  PrintLevels("input", in);
  PrintLevels("output", out);
  if (o.time) {
    double audio = in.NumFrames() / in.sampleRate;
    printf("processing: %.6f s for %.3f s of audio, real-time factor %.1f\n", spent, audio,
           spent > 0.0 ? audio / spent : 0.0);
  }
  if (o.outPath.size() && !WriteWav(o.outPath, out, &error)) {
    fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  Options o;
  if (!ParseArgs(argc, argv, &o)) {
    Usage();
    return 1;
  }
  return Run(o);
}
