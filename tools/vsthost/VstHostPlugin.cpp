#include "tools/vsthost/VstHostPlugin.h"

#include <dlfcn.h>

#include <cstring>

#include "platform/vst/VstOpcodes.h"

using namespace vst;

namespace
{

using EntryProc = AEffect* (*)(VstHostCallback);

// Room given to every text the effect writes; well beyond what any of the
// interface's nominal sizes asks, since plug-ins overrun those.
constexpr int kTextBytes = 256;

void CopyHostText(void* ptr, const char* text)
{
  if (!ptr)
    return;
  strncpy(static_cast<char*>(ptr), text, 63);
  static_cast<char*>(ptr)[63] = 0;
}

} // namespace

VstHostPlugin::~VstHostPlugin()
{
  Unload();
}

bool VstHostPlugin::Load(const std::string& path, double sampleRate, int blockSize, std::string* error)
{
  if (!Open(path, sampleRate, blockSize, error))
    return false;
  Resume();
  return true;
}

bool VstHostPlugin::Open(const std::string& path, double sampleRate, int blockSize, std::string* error)
{
  Unload();
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  mTime = {};
  mTime.sampleRate = sampleRate;
  mTime.tempo = 120.0;
  mTime.sigNumerator = 4;
  mTime.sigDenominator = 4;
  mTime.flags = kVstTimeTempoValid | kVstTimeSigValid;

  // Kept mapped after dlclose, as a Mac host keeps loaded bundles: what the
  // plug-in's statics hold (its editor's caches) stays reachable.
  mLibrary = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!mLibrary)
  {
    *error = std::string("cannot load library: ") + dlerror();
    return false;
  }
  auto entry = reinterpret_cast<EntryProc>(dlsym(mLibrary, "VSTPluginMain"));
  if (!entry)
    entry = reinterpret_cast<EntryProc>(dlsym(mLibrary, "main"));
  if (!entry)
  {
    *error = "no VST 2 entry point (VSTPluginMain or main) in " + path;
    Unload();
    return false;
  }
  mEffect = entry(&HostCallback);
  if (!mEffect || mEffect->magic != kVstEffectMagic)
  {
    *error = "the entry point returned no VST 2 effect";
    mEffect = nullptr;
    Unload();
    return false;
  }
  mEffect->user = this;
  Dispatch(op::kOpen);
  Dispatch(op::kSetSampleRate, 0, 0, nullptr, float(sampleRate));
  Dispatch(op::kSetBlockSize, 0, blockSize);
  return true;
}

void VstHostPlugin::Resume()
{
  Dispatch(op::kSetSampleRate, 0, 0, nullptr, float(mSampleRate));
  Dispatch(op::kSetBlockSize, 0, mBlockSize);
  Dispatch(op::kMainsChanged, 0, 1);
  mResumed = true;
}

void VstHostPlugin::Unload()
{
  if (mEffect)
  {
    if (mResumed)
      Dispatch(op::kMainsChanged, 0, 0);
    mResumed = false;
    Dispatch(op::kClose);
    mEffect = nullptr;
  }
  if (mLibrary)
    dlclose(mLibrary);
  mLibrary = nullptr;
}

intptr_t VstHostPlugin::Dispatch(int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt)
{
  return mEffect->dispatcher(mEffect, opCode, idx, value, ptr, opt);
}

std::string VstHostPlugin::Text(int32_t opCode, int32_t idx)
{
  char text[kTextBytes] = {};
  Dispatch(opCode, idx, 0, text);
  text[kTextBytes - 1] = 0;
  return text;
}

std::string VstHostPlugin::EffectName()
{
  return Text(op::kGetEffectName, 0);
}

std::string VstHostPlugin::VendorName()
{
  return Text(op::kGetVendorString, 0);
}

std::string VstHostPlugin::ProductName()
{
  return Text(op::kGetProductString, 0);
}

VstParamInfo VstHostPlugin::Param(int idx)
{
  VstParamInfo info;
  info.name = Text(op::kGetParamName, idx);
  info.display = Text(op::kGetParamDisplay, idx);
  info.label = Text(op::kGetParamLabel, idx);
  info.value = mEffect->getParameter(mEffect, idx);
  return info;
}

int VstHostPlugin::FindParam(const std::string& name)
{
  for (int i = 0; i < NumParams(); ++i)
    if (Text(op::kGetParamName, i) == name)
      return i;
  return -1;
}

void VstHostPlugin::SetParam(int idx, float normalized)
{
  mEffect->setParameter(mEffect, idx, normalized);
}

std::string VstHostPlugin::ProgramName(int idx)
{
  return Text(op::kGetProgramNameIndexed, idx);
}

int VstHostPlugin::FindProgram(const std::string& name)
{
  for (int i = 0; i < NumPrograms(); ++i)
    if (ProgramName(i) == name)
      return i;
  return -1;
}

int VstHostPlugin::CurrentProgram()
{
  return int(Dispatch(op::kGetProgram));
}

void VstHostPlugin::SetProgram(int idx)
{
  Dispatch(op::kSetProgram, 0, idx);
}

void VstHostPlugin::ProcessBlock(float** inputs, float** outputs, int nFrames)
{
  if (mEffect->flags & kVstFlagCanReplacing)
  {
    mEffect->processReplacing(mEffect, inputs, outputs, nFrames);
  }
  else
  {
    for (int i = 0; i < NumOutputs(); ++i)
      memset(outputs[i], 0, sizeof(float) * size_t(nFrames));
    mEffect->process(mEffect, inputs, outputs, nFrames);
  }
  mTime.samplePos += nFrames;
}

intptr_t VstHostPlugin::HostCallback(AEffect* effect, int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt)
{
  // Before the entry point returns, the effect has no host object yet.
  auto* self = effect ? static_cast<VstHostPlugin*>(effect->user) : nullptr;
  if (self)
    return self->Answer(opCode, idx, value, ptr, opt);
  if (opCode == host::kVersion)
    return kInterfaceVersion;
  return 0;
}

intptr_t VstHostPlugin::Answer(int32_t opCode, int32_t /*idx*/, intptr_t /*value*/, void* ptr, float /*opt*/)
{
  switch (opCode)
  {
  case host::kVersion: return kInterfaceVersion;
  case host::kGetTime: return reinterpret_cast<intptr_t>(&mTime);
  case host::kGetSampleRate: return intptr_t(mSampleRate);
  case host::kGetBlockSize: return mBlockSize;
  case host::kGetVendorString: CopyHostText(ptr, "Kestrel"); return 1;
  case host::kGetProductString: CopyHostText(ptr, "Kestrel VST host"); return 1;
  case host::kGetVendorVersion: return 10000;
  case host::kGetLanguage: return 1;
  default: return 0;
  }
}
