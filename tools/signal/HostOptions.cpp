#include "tools/signal/HostOptions.h"

#include <cmath>
#include <cstdlib>

bool ParseHostNumber(const char* text, double* value)
{
  char* end = nullptr;
  *value = strtod(text, &end);
  return end != text && !*end && std::isfinite(*value);
}

HostOptionResult ParseHostOption(int argc, char** argv, int* i, const char* selectFlag, HostOptions* o)
{
  std::string a = argv[*i];
  if (a == "--list")
  {
    o->list = true;
    return HostOptionResult::kTaken;
  }
  if (a == "--time")
  {
    o->time = true;
    return HostOptionResult::kTaken;
  }
  static const char* const kWithValue[] = {"--in",      "--out",  "--signal", "--set",
                                           "--seconds", "--rate", "--block",  "--channels"};
  bool shared = a == selectFlag;
  for (const char* flag : kWithValue)
    shared = shared || a == flag;
  if (!shared)
    return HostOptionResult::kOther;
  if (*i + 1 >= argc)
    return HostOptionResult::kBad;
  const char* value = argv[++*i];
  double v = 0.0;
  if (a == selectFlag)
    o->select = value;
  else if (a == "--in")
    o->inPath = value;
  else if (a == "--out")
    o->outPath = value;
  else if (a == "--signal")
    o->signal = value;
  else if (a == "--set")
  {
    std::string s = value;
    size_t eq = s.rfind('=');
    if (eq == std::string::npos || !ParseHostNumber(s.c_str() + eq + 1, &v))
      return HostOptionResult::kBad;
    o->params.push_back({s.substr(0, eq), float(v)});
  }
  else if (!ParseHostNumber(value, &v))
    return HostOptionResult::kBad;
  else if (a == "--seconds" && v > 0.0)
    o->seconds = v;
  else if (a == "--rate" && v >= 1000.0 && v <= 768000.0)
    o->rate = v;
  else if (a == "--block" && v >= 1.0 && v <= 65536.0)
    o->block = int(v);
  else if (a == "--channels" && v >= 1.0 && v <= 64.0)
    o->channels = int(v);
  else
    return HostOptionResult::kBad;
  return HostOptionResult::kTaken;
}

bool HostInputIsUnambiguous(const HostOptions& o)
{
  return !(o.inPath.size() && o.signal.size());
}

void PrintHostOptionsUsage(FILE* f, const char* selectFlag, const char* selectHelp, const char* setHelp)
{
  fprintf(f,
          "  %-22s %s\n"
          "  --set NAME=VALUE       set a parameter by name (%s); repeatable\n"
          "  --in FILE.wav          process a WAV file\n"
          "  --signal NAME          process a built-in signal (%s)\n"
          "  --seconds S            length of the built-in signal (default 10)\n"
          "  --channels N           channels of the built-in signal (default 2)\n"
          "  --rate HZ              sample rate of the built-in signal (default 44100)\n"
          "  --block N              frames per process call (default 512)\n"
          "  --out FILE.wav         write the output (32-bit float WAV)\n"
          "  --time                 print the time spent processing and the real-time factor\n",
          (std::string(selectFlag) + " N|NAME").c_str(), selectHelp, setHelp, SignalNames());
}

int LoadHostInput(const HostOptions& o, SignalBuffer* in, std::string* error)
{
  if (o.inPath.size() && !ReadWav(o.inPath, in, error))
    return 2;
  if (o.signal.size() && !GenerateSignal(o.signal, o.rate, o.seconds, o.channels, in))
  {
    *error = "unknown signal " + o.signal + " (known: " + SignalNames() + ")";
    return 1;
  }
  return 0;
}

void PrintProcessingTime(double spent, const SignalBuffer& in)
{
  double audio = in.NumFrames() / in.sampleRate;
  printf("processing: %.6f s for %.3f s of audio, real-time factor %.1f\n", spent, audio,
         spent > 0.0 ? audio / spent : 0.0);
}
