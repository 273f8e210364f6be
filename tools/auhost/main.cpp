// kestrel_auhost: opens an Audio Unit bundle through its entry, as a Mac host
// would; lists it, negotiates channels and formats, sets presets and
// parameters by name and renders audio through it. See Usage().

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audiounit/AUComponent.h"
#include "platform/corefoundation/CFBundle.h"
#include "tools/auhost/AUHostComponent.h"
#include "tools/auhost/AUHostRender.h"
#include "tools/auhost/AUHostReport.h"
#include "tools/auhost/AUHostUnit.h"

namespace {

struct Options {
  std::string bundle, inPath, outPath, signal, preset;
  std::vector<std::pair<std::string, float>> params;
  AUHostFormat format;
  double seconds = 10.0;
  AUHostInput input = AUHostInput::kCallback;
  bool list = false, time = false, roundTrip = false;
};

void Usage()
{
  fprintf(stderr,
          "usage: kestrel_auhost BUNDLE.component [options]\n"
          "  --list                 print identity, parameters and presets (the default without audio)\n"
          "  --preset N|NAME        select a factory preset by number or name\n"
          "  --set NAME=VALUE       set a parameter by name (its own units); repeatable\n"
          "  --in FILE.wav          process a WAV file\n"
          "  --signal NAME          process a built-in signal (%s)\n"
          "  --seconds S            length of the built-in signal (default 10)\n"
          "  --channels N           channels of the built-in signal (default 2)\n"
          "  --rate HZ              sample rate of the built-in signal (default 44100)\n"
          "  --block N              frames per render (default 512)\n"
          "  --input KIND           feed input bus 0 by: callback (default), connection, connection-slow\n"
          "  --roundtrip            save the class info, restore it into a fresh instance and render with that\n"
          "  --out FILE.wav         write the output (32-bit float WAV)\n"
          "  --time                 print the time spent rendering and the real-time factor\n",
          SignalNames());
}

bool ParseNumber(const char* text, double* value)
{
  char* end = nullptr;
  *value = strtod(text, &end);
  return end != text && !*end && std::isfinite(*value);
}

bool ParseInput(const std::string& kind, AUHostInput* input)
{
  if (kind == "callback") *input = AUHostInput::kCallback;
  else if (kind == "connection") *input = AUHostInput::kConnection;
  else if (kind == "connection-slow") *input = AUHostInput::kConnectionNoFastProc;
  else return false;
  return true;
}

bool ParseArgs(int argc, char** argv, Options* o)
{
  if (argc < 2 || argv[1][0] == '-') return false;
  o->bundle = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    double v = 0.0;
    if (a == "--list") o->list = true;
    else if (a == "--time") o->time = true;
    else if (a == "--roundtrip") o->roundTrip = true;
    else if (!next) return false;
    else if (a == "--preset") o->preset = argv[++i];
    else if (a == "--in") o->inPath = argv[++i];
    else if (a == "--out") o->outPath = argv[++i];
    else if (a == "--signal") o->signal = argv[++i];
    else if (a == "--input") {
      if (!ParseInput(argv[++i], &o->input)) return false;
    } else if (a == "--set") {
      std::string s = argv[++i];
      size_t eq = s.rfind('=');
      if (eq == std::string::npos || !ParseNumber(s.c_str() + eq + 1, &v)) return false;
      o->params.push_back({s.substr(0, eq), float(v)});
    } else if (!ParseNumber(argv[++i], &v)) return false;
    else if (a == "--seconds" && v > 0.0) o->seconds = v;
    else if (a == "--rate" && v >= 1000.0 && v <= 768000.0) o->format.sampleRate = v;
    else if (a == "--block" && v >= 1.0 && v <= 65536.0) o->format.maxFrames = UInt32(v);
    else if (a == "--channels" && v >= 1.0 && v <= 64.0) o->format.inputChannels = int(v);
    else return false;
  }
  return !(o->inPath.size() && o->signal.size());
}

// Preset first, then the parameters, as a user would dial them in.
bool Configure(AudioUnit unit, const Options& o, std::string* error)
{
  if (o.preset.size() && !AUHostSelectPreset(unit, o.preset, error)) return false;
  for (const auto& [name, value] : o.params)
    if (!AUHostSetParameter(unit, name, value, error)) return false;
  return true;
}

// The configured unit's state, restored into a fresh instance (negotiated
// as the first was) that then replaces it.
bool RoundTrip(Component component, AUHostFormat* format, AudioUnit* unit, std::string* error)
{
  CFPropertyListRef state = AUHostSaveState(*unit, error);
  if (!state) return false;
  AudioUnit fresh = OpenComponent(component);
  if (!fresh) *error = "a fresh instance did not open";
  bool ok = fresh && AUHostNegotiate(fresh, format, error) && AUHostRestoreState(fresh, state, error);
  CFRelease(state);
  if (!ok) {
    if (fresh) CloseComponent(fresh);
    return false;
  }
  CloseComponent(*unit);
  *unit = fresh;
  printf("class info: restored into a fresh instance\n");
  return true;
}

int Run(const Options& o, Component component)
{
  SignalBuffer in;
  std::string error;
  if (o.inPath.size() && !ReadWav(o.inPath, &in, &error)) {
    fprintf(stderr, "kestrel_auhost: %s\n", error.c_str());
    return 2;
  }
  if (o.signal.size() && !GenerateSignal(o.signal, o.format.sampleRate, o.seconds, o.format.inputChannels, &in)) {
    fprintf(stderr, "kestrel_auhost: unknown signal %s (known: %s)\n", o.signal.c_str(), SignalNames());
    return 1;
  }
  AudioUnit unit = nullptr;
  OSStatus err = OpenAComponent(component, &unit);
  if (err != noErr) {
    fprintf(stderr, "kestrel_auhost: open failed: %d\n", int(err));
    return 1;
  }
  int status = 0;
  AUHostFormat format = o.format;
  if (in.NumChannels()) {
    format.sampleRate = in.sampleRate;
    format.inputChannels = in.NumChannels();
  }
  // As a host sets up an insert: negotiated and initialised first, then the
  // user's preset and parameters (which the effect glides to, as it does
  // in any host), then audio.
  bool audio = in.NumChannels() > 0;
  bool ok = !audio || AUHostNegotiate(unit, &format, &error);
  ok = ok && Configure(unit, o, &error) && (!o.roundTrip || RoundTrip(component, &format, &unit, &error));
  if (ok && (o.list || !audio))
    ok = PrintIdentity(stdout, unit) && PrintParameters(stdout, unit) && PrintPresets(stdout, unit);
  if (ok && audio) {
    SignalBuffer out;
    double spent = 0.0;
    ok = AUHostRender(unit, format, o.input, in, &out, &error, &spent);
    if (ok) {
      printf("format: %d in, %d out at %.0f Hz, %u frames per render\n", format.inputChannels, format.outputChannels,
             format.sampleRate, unsigned(format.maxFrames));
      PrintLevels("input", in);
      PrintLevels("output", out);
      if (o.time) {
        double seconds = in.NumFrames() / in.sampleRate;
        printf("processing: %.6f s for %.3f s of audio, real-time factor %.1f\n", spent, seconds,
               spent > 0.0 ? seconds / spent : 0.0);
      }
      if (o.outPath.size() && !WriteWav(o.outPath, out, &error)) status = 2;
    }
  }
  if (!ok && error.empty()) error = "the unit refused a query";
  if (!ok || status) {
    fprintf(stderr, "kestrel_auhost: %s\n", error.c_str());
    if (!status) status = 1;
  }
  if (CloseComponent(unit) != noErr && !status) status = 1;
  return status;
}

}  // namespace

int main(int argc, char** argv)
{
  Options o;
  if (!ParseArgs(argc, argv, &o)) {
    Usage();
    return 1;
  }
  // The host names itself, as its Info.plist would on the platform.
  CFBundleSetMainBundleIdentifier(CFSTR("com.kestrel.auhost"));
  AUHostComponent component;
  if (!component.Load(o.bundle)) {
    fprintf(stderr, "kestrel_auhost: %s\n", component.Error().c_str());
    return 1;
  }
  // Found by description, as a host finds any installed unit.
  ComponentDescription looking = component.GetDescription();
  return Run(o, FindNextComponent(nullptr, &looking));
}
