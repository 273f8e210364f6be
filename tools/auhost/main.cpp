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
#include "tools/auhost/AUHostView.h"
#include "tools/signal/HostOptions.h"

namespace
{

struct Options
{
  HostOptions common;
  AUHostInput input = AUHostInput::kCallback;
  bool roundTrip = false;
  std::string view;     // cocoa or carbon
  std::string snapshot; // PNG of the view
};

void Usage()
{
  fprintf(
    stderr,
    "usage: kestrel_auhost BUNDLE.component [options]\n"
    "  --list                 print identity, parameters and presets (the default without audio)\n"
    "  --input KIND           feed input bus 0 by: callback (default), connection, connection-slow\n"
    "  --roundtrip            save the class info, restore it into a fresh instance and render with that\n"
    "  --view KIND            open the editor as a host would: cocoa or carbon (with --snapshot)\n"
    "  --snapshot FILE.png    save what the editor shows after the run (or once the preset and parameters are set)\n");
  PrintHostOptionsUsage(stderr, "--preset", "select a factory preset by number or name", "its own units");
}

bool ParseInput(const std::string& kind, AUHostInput* input)
{
  if (kind == "callback")
    *input = AUHostInput::kCallback;
  else if (kind == "connection")
    *input = AUHostInput::kConnection;
  else if (kind == "connection-slow")
    *input = AUHostInput::kConnectionNoFastProc;
  else
    return false;
  return true;
}

bool ParseArgs(int argc, char** argv, Options* o)
{
  if (argc < 2 || argv[1][0] == '-')
    return false;
  o->common.target = argv[1];
  for (int i = 2; i < argc; ++i)
  {
    std::string a = argv[i];
    if (a == "--roundtrip")
      o->roundTrip = true;
    else if ((a == "--view" || a == "--snapshot") && i + 1 < argc)
      (a == "--view" ? o->view : o->snapshot) = argv[++i];
    else if (a == "--input")
    {
      if (i + 1 >= argc || !ParseInput(argv[++i], &o->input))
        return false;
    }
    else if (ParseHostOption(argc, argv, &i, "--preset", &o->common) != HostOptionResult::kTaken)
      return false;
  }
  if (o->view.empty() != o->snapshot.empty())
    return false;
  return HostInputIsUnambiguous(o->common);
}

// Preset first, then the parameters, as a user would dial them in.
bool Configure(AudioUnit unit, const Options& o, std::string* error)
{
  if (o.common.select.size() && !AUHostSelectPreset(unit, o.common.select, error))
    return false;
  for (const auto& [name, value] : o.common.params)
    if (!AUHostSetParameter(unit, name, value, error))
      return false;
  return true;
}

// The configured unit's state, restored into a fresh instance (negotiated
// as the first was) that then replaces it.
bool RoundTrip(Component component, AUHostFormat* format, AudioUnit* unit, std::string* error)
{
  CFPropertyListRef state = AUHostSaveState(*unit, error);
  if (!state)
    return false;
  AudioUnit fresh = OpenComponent(component);
  if (!fresh)
    *error = "a fresh instance did not open";
  bool ok = fresh && AUHostNegotiate(fresh, format, error) && AUHostRestoreState(fresh, state, error);
  CFRelease(state);
  if (!ok)
  {
    if (fresh)
      CloseComponent(fresh);
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
  if (int status = LoadHostInput(o.common, &in, &error))
  {
    fprintf(stderr, "kestrel_auhost: %s\n", error.c_str());
    return status;
  }
  AudioUnit unit = nullptr;
  OSStatus err = OpenAComponent(component, &unit);
  if (err != noErr)
  {
    fprintf(stderr, "kestrel_auhost: open failed: %d\n", int(err));
    return 1;
  }
  int status = 0;
  AUHostFormat format;
  format.sampleRate = o.common.rate;
  format.maxFrames = UInt32(o.common.block);
  format.inputChannels = o.common.channels;
  if (in.NumChannels())
  {
    format.sampleRate = in.sampleRate;
    format.inputChannels = in.NumChannels();
  }
  // As a host sets up an insert: negotiated and initialised first, then the
  // user's preset and parameters, then the reset a host sends before playback
  // (the effect settles at the settings instead of gliding to them), then audio.
  bool audio = in.NumChannels() > 0;
  bool ok = !audio || AUHostNegotiate(unit, &format, &error);
  ok = ok && Configure(unit, o, &error) && (!o.roundTrip || RoundTrip(component, &format, &unit, &error));
  if (ok && (o.common.list || (!audio && o.view.empty())))
    ok = PrintIdentity(stdout, unit) && PrintParameters(stdout, unit) && PrintPresets(stdout, unit);
  if (ok && audio && (err = AudioUnitReset(unit, kAudioUnitScope_Global, 0)) != noErr)
    ok = AUHostFail(&error, "the unit refused the reset", err);
  if (ok && audio)
  {
    SignalBuffer out;
    double spent = 0.0;
    ok = AUHostRender(unit, format, o.input, in, &out, &error, &spent);
    if (ok)
    {
      printf("format: %d in, %d out at %.0f Hz, %u frames per render\n", format.inputChannels, format.outputChannels,
             format.sampleRate, unsigned(format.maxFrames));
      PrintLevels("input", in);
      PrintLevels("output", out);
      if (o.common.time)
        PrintProcessingTime(spent, in);
      if (o.common.outPath.size() && !WriteWav(o.common.outPath, out, &error))
        status = 2;
    }
  }
  // After the run, so the meters show the final levels as the VST host's snapshot does.
  if (ok && !status && o.view.size())
    ok = AUHostSnapshotView(unit, o.view, o.snapshot, &error);
  if (!ok && error.empty())
    error = "the unit refused a query";
  if (!ok || status)
  {
    fprintf(stderr, "kestrel_auhost: %s\n", error.c_str());
    if (!status)
      status = 1;
  }
  if (CloseComponent(unit) != noErr && !status)
    status = 1;
  return status;
}

} // namespace

int main(int argc, char** argv)
{
  Options o;
  if (!ParseArgs(argc, argv, &o))
  {
    Usage();
    return 1;
  }
  // The host names itself, as its Info.plist would on the platform.
  CFBundleSetMainBundleIdentifier(CFSTR("com.kestrel.auhost"));
  AUHostComponent component;
  if (!component.Load(o.common.target))
  {
    fprintf(stderr, "kestrel_auhost: %s\n", component.Error().c_str());
    return 1;
  }
  // Found by description, as a host finds any installed unit.
  ComponentDescription looking = component.GetDescription();
  return Run(o, FindNextComponent(nullptr, &looking));
}
