#include "tests/au/KestrelVSTRender.h"

#include "tools/vsthost/ProcessAudio.h"
#include "tools/vsthost/VstHostPlugin.h"

bool RenderKestrelVST(const char* library, const SignalBuffer& in, const char* program, int block, SignalBuffer* out,
                      std::string* error)
{
  VstHostPlugin plugin;
  if (!plugin.Load(library, in.sampleRate, block, error))
    return false;
  int idx = plugin.FindProgram(program);
  if (idx < 0)
  {
    *error = std::string("no program ") + program;
    return false;
  }
  plugin.SetProgram(idx);
  ProcessAudio(plugin, in, out);
  return true;
}
