// vsthost: loads a Linux VST 2 plug-in, lists it, sets it up and runs audio
// through it. See Usage() for the command line.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/signal/HostOptions.h"
#include "tools/vsthost/EditorSnapshot.h"
#include "tools/vsthost/ProcessAudio.h"
#include "tools/vsthost/VstHostPlugin.h"

namespace
{

void Usage()
{
  fprintf(stderr, "usage: vsthost PLUGIN.so [options]\n"
                  "  --list                 print identity, parameters and programs\n"
                  "  --snapshot FILE.png    after the run, save the editor as it looks (needs an X display)\n");
  PrintHostOptionsUsage(stderr, "--program", "select a program by index or name", "normalised 0..1");
}

bool ParseArgs(int argc, char** argv, HostOptions* o, std::string* snapshot)
{
  if (argc < 2 || argv[1][0] == '-')
    return false;
  o->target = argv[1];
  for (int i = 2; i < argc; ++i)
  {
    if (!strcmp(argv[i], "--snapshot") && i + 1 < argc)
    {
      *snapshot = argv[++i];
      continue;
    }
    if (ParseHostOption(argc, argv, &i, "--program", o) != HostOptionResult::kTaken)
      return false;
  }
  return HostInputIsUnambiguous(*o);
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
  for (int i = 0; i < p.NumParams(); ++i)
  {
    VstParamInfo info = p.Param(i);
    printf("  %d %s = %s%s%s (%.6f)\n", i, info.name.c_str(), info.display.c_str(), info.label.empty() ? "" : " ",
           info.label.c_str(), double(info.value));
  }
  printf("programs: %d (current %d)\n", p.NumPrograms(), p.CurrentProgram());
  for (int i = 0; i < p.NumPrograms(); ++i)
    printf("  %d %s\n", i, p.ProgramName(i).c_str());
}

bool SelectProgram(VstHostPlugin& p, const std::string& program)
{
  char* end = nullptr;
  long idx = strtol(program.c_str(), &end, 10);
  if (end == program.c_str() || *end)
    idx = p.FindProgram(program);
  if (idx < 0 || idx >= p.NumPrograms())
  {
    fprintf(stderr, "vsthost: no program %s\n", program.c_str());
    return false;
  }
  p.SetProgram(int(idx));
  return true;
}

int Run(const HostOptions& o, const std::string& snapshot)
{
  SignalBuffer in;
  std::string error;
  if (int status = LoadHostInput(o, &in, &error))
  {
    fprintf(stderr, "vsthost: %s\n", error.c_str());
    return status;
  }
  // As a host restores a session: program and parameters while the effect is
  // off, then the preparation for playback, so audio starts at the settings.
  VstHostPlugin plugin;
  if (!plugin.Open(o.target, in.NumChannels() ? in.sampleRate : o.rate, o.block, &error))
  {
    fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 2;
  }
  if (o.select.size() && !SelectProgram(plugin, o.select))
    return 1;
  for (const auto& [name, value] : o.params)
  {
    int idx = plugin.FindParam(name);
    if (idx < 0)
    {
      fprintf(stderr, "vsthost: no parameter named %s\n", name.c_str());
      return 1;
    }
    plugin.SetParam(idx, value);
  }
  plugin.Resume();
  if (o.list)
    ListEffect(plugin);
  if (!in.NumChannels())
    return 0;

  SignalBuffer out;
  double spent = ProcessAudio(plugin, in, &out);
  PrintLevels("input", in);
  PrintLevels("output", out);
  if (o.time)
    PrintProcessingTime(spent, in);
  if (o.outPath.size() && !WriteWav(o.outPath, out, &error))
  {
    fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 2;
  }
  // After the run, so the editor shows the final values and meter levels.
  if (snapshot.size() && !SnapshotEditor(plugin.Effect(), snapshot, &error))
  {
    fprintf(stderr, "vsthost: %s\n", error.c_str());
    return 2;
  }
  return 0;
}

} // namespace

int main(int argc, char** argv)
{
  HostOptions o;
  std::string snapshot;
  if (!ParseArgs(argc, argv, &o, &snapshot))
  {
    Usage();
    return 1;
  }
  return Run(o, snapshot);
}
