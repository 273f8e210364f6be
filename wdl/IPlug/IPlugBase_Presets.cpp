// Parameter state, preset slots and the preset bank.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "wdl/IPlug/IPlugAssert.h"
#include "wdl/IPlug/IPlugBase.h"
#include "wdl/IPlug/IPlugOwnedList.h"
#include "wdl/IPlug/IPlugText.h"

IPreset* GetNextUninitializedPreset(WDL_PtrList<IPreset>* pPresets)
{
  for (int i = 0, n = pPresets->GetSize(); i < n; ++i)
  {
    IPreset* preset = pPresets->Get(i);
    if (!preset->mInitialised)
      return preset;
  }
  return nullptr;
}

void MakeDefaultUserPresetName(WDL_PtrList<IPreset>* pPresets, char* str, int size)
{
  static const char kUserPreset[] = "user preset";
  int nDefaultNames = 0;
  for (int i = 0, n = pPresets->GetSize(); i < n; ++i)
    if (strstr(pPresets->Get(i)->mName, kUserPreset))
      ++nDefaultNames;
  if (str && size > 0)
    snprintf(str, size_t(size), "%s %d", kUserPreset, nDefaultNames + 1);
}

bool IPlugBase::SerializeParams(ByteChunk* pChunk)
{
  PlugMutexScope lock(&mMutex);
  for (int i = 0, n = NParams(); i < n; ++i)
  {
    double v = GetParam(i)->Value();
    int size = pChunk->Size();
    if (pChunk->Put(&v) != size + int(sizeof(v)))
      return false;
  }
  return true;
}

int IPlugBase::UnserializeParams(ByteChunk* pChunk, int startPos)
{
  PlugMutexScope lock(&mMutex);
  int pos = startPos;
  for (int i = 0, n = NParams(); i < n && pos >= 0; ++i)
  {
    IParam* param = GetParam(i);
    double v = 0.0;
    pos = pChunk->Get(&v, pos);
    if (pos >= 0 && std::isnan(v))
      continue; // a NaN never reaches a parameter: keep the current value
    double lo, hi;
    param->GetBounds(&lo, &hi);
    param->Set(v < lo ? lo : (v > hi ? hi : v));
  }
  OnParamReset();
  return pos;
}

void IPlugBase::StorePresetValues(IPreset* pPreset, const char* name, const double* values)
{
  pPreset->mInitialised = true;
  IPlugCopyText(pPreset->mName, name);
  pPreset->mChunk.Clear();
  for (int i = 0, n = NParams(); i < n; ++i)
    pPreset->mChunk.Put(&values[i]);
}

void IPlugBase::MakeDefaultPreset(const char* name, int nPresets)
{
  for (int i = 0; i < nPresets; ++i)
  {
    IPreset* preset = GetNextUninitializedPreset(&mPresets);
    if (!preset)
      return;
    preset->mInitialised = true;
    IPlugCopyText(preset->mName, name ? name : "Default");
    preset->mChunk.Clear();
    SerializeParams(&preset->mChunk);
  }
}

void IPlugBase::MakePreset(const char* name, ...)
{
  IPreset* preset = GetNextUninitializedPreset(&mPresets);
  if (!preset)
    return;
  int n = NParams();
  WDL_TypedBuf<double> values;
  values.Resize(n);
  va_list vp;
  va_start(vp, name);
  for (int i = 0; i < n; ++i)
  {
    IParam::EParamKind kind = GetParam(i)->Type();
    bool integral = kind == IParam::kKindBool || kind == IParam::kKindInt || kind == IParam::kKindEnum;
    values.Get()[i] = integral ? double(va_arg(vp, int)) : va_arg(vp, double);
  }
  va_end(vp);
  StorePresetValues(preset, name, values.Get());
}

void IPlugBase::MakePresetFromNamedParams(const char* name, int nParamsNamed, ...)
{
  // With every slot taken there is nothing to make: the arguments are not read.
  if (!GetNextUninitializedPreset(&mPresets))
    return;
  WDL_TypedBuf<IPresetParamValue> pairs;
  pairs.Resize(nParamsNamed > 0 ? nParamsNamed : 0);
  va_list vp;
  va_start(vp, nParamsNamed);
  for (int i = 0; i < nParamsNamed; ++i)
  {
    int idx = va_arg(vp, int);
    if (idx < 0 || idx >= NParams())
      IPlugFatalAssert("wdl/IPlug/IPlugBase", 470, "paramIdx >= 0 && paramIdx < n");
    IParam::EParamKind kind = GetParam(idx)->Type();
    bool integral = kind == IParam::kKindBool || kind == IParam::kKindInt || kind == IParam::kKindEnum;
    pairs.Get()[i] = {idx, integral ? double(va_arg(vp, int)) : va_arg(vp, double)};
  }
  va_end(vp);
  MakePresetFromNamedParams(name, nParamsNamed, pairs.Get());
}

void IPlugBase::MakePresetFromNamedParams(const char* name, int nParamsNamed, const IPresetParamValue* values)
{
  IPreset* preset = GetNextUninitializedPreset(&mPresets);
  if (!preset)
    return;
  int n = NParams();
  WDL_TypedBuf<double> v;
  v.Resize(n);
  for (int i = 0; i < n; ++i)
    v.Get()[i] = PARAM_UNINIT;
  for (int i = 0; i < nParamsNamed; ++i)
  {
    int idx = values[i].mIdx;
    if (idx < 0 || idx >= n)
      IPlugFatalAssert("wdl/IPlug/IPlugBase", 470, "paramIdx >= 0 && paramIdx < n");
    v.Get()[idx] = values[i].mValue;
  }
  for (int i = 0; i < n; ++i)
    if (v.Get()[i] == PARAM_UNINIT)
      v.Get()[i] = GetParam(i)->Value();
  StorePresetValues(preset, name, v.Get());
}

bool IPlugBase::RestorePreset(int idx)
{
  IPreset* preset = mPresets.Get(idx);
  if (!preset)
    return false;
  bool ok;
  if (preset->mInitialised)
  {
    ok = UnserializeParams(&preset->mChunk, 0) > 0;
  }
  else
  {
    preset->mInitialised = true;
    MakeDefaultUserPresetName(&mPresets, preset->mName, sizeof(preset->mName));
    ok = SerializeParams(&preset->mChunk);
  }
  if (ok)
  {
    mCurrentPresetIdx = idx;
    RedrawParamControls();
  }
  return ok;
}

bool IPlugBase::RestorePreset(const char* name)
{
  if (!name || !name[0])
    return false;
  for (int i = 0, n = NPresets(); i < n; ++i)
    if (!strcmp(mPresets.Get(i)->mName, name))
      return RestorePreset(i);
  return false;
}

const char* IPlugBase::GetPresetName(int idx) const
{
  const IPreset* preset = mPresets.Get(idx);
  return preset ? preset->mName : "";
}

void IPlugBase::ModifyCurrentPreset(const char* name)
{
  IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!preset)
    return;
  preset->mChunk.Clear();
  SerializeParams(&preset->mChunk);
  if (name && name[0])
    IPlugCopyText(preset->mName, name);
}

void IPlugBase::EnsureDefaultPreset()
{
  if (NPresets())
    return;
  auto preset = std::make_unique<IPreset>();
  IPlugCopyText(preset->mName, "- 1 -");
  if (!AddOwned(mPresets, std::move(preset)))
    return;
  MakeDefaultPreset("Default", 1);
}

void IPlugBase::PruneUninitializedPresets()
{
  for (int i = 0; i < mPresets.GetSize();)
  {
    if (mPresets.Get(i)->mInitialised)
    {
      ++i;
    }
    else
    {
      mPresets.Delete(i, true);
    }
  }
}

bool IPlugBase::SerializePresets(ByteChunk* pChunk)
{
  for (int i = 0, n = NPresets(); i < n; ++i)
  {
    IPreset* preset = mPresets.Get(i);
    int size = pChunk->Size();
    if (pChunk->PutStr(preset->mName) == size)
      return false;
    uint8_t init = preset->mInitialised ? 1 : 0;
    size = pChunk->Size();
    if (pChunk->Put(&init) == size)
      return false;
    if (preset->mInitialised && preset->mChunk.Size())
    {
      size = pChunk->Size();
      if (pChunk->PutChunk(&preset->mChunk) == size)
        return false;
    }
  }
  return true;
}

int IPlugBase::UnserializePresets(ByteChunk* pChunk, int startPos)
{
  int pos = startPos;
  WDL_String name;
  for (int i = 0, n = NPresets(); i < n && pos >= 0; ++i)
  {
    IPreset* preset = mPresets.Get(i);
    name.Set("");
    pos = pChunk->GetStr(&name, pos);
    if (pos < 0)
      break;
    IPlugCopyText(preset->mName, name.Get());
    uint8_t init = 0;
    pos = pChunk->Get(&init, pos);
    if (pos < 0)
      break;
    preset->mInitialised = init != 0;
    if (preset->mInitialised)
    {
      pos = UnserializeParams(pChunk, pos);
      if (pos > 0)
      {
        preset->mChunk.Clear();
        SerializeParams(&preset->mChunk);
      }
    }
  }
  RestorePreset(mCurrentPresetIdx);
  return pos;
}

void IPlugBase::DumpPresetSrcCode(const char* filename, const char* paramEnumNames[])
{
  static bool sDumped = false;
  if (sDumped || !filename || !paramEnumNames)
    return;
  sDumped = true;
  FILE* fp = fopen(filename, "w");
  if (!fp)
    return;
  int n = NParams() - 1;
  fprintf(fp, "  MakePresetFromNamedParams(\"name\", %d", n);
  for (int i = 0; i < n; ++i)
  {
    const IParam* param = GetParam(i);
    char value[64];
    switch (param->Type())
    {
    case IParam::kKindBool: snprintf(value, sizeof(value), "%s", param->Value() >= 0.5 ? "true" : "false"); break;
    case IParam::kKindInt:
    case IParam::kKindEnum: snprintf(value, sizeof(value), "%d", param->Int()); break;
    default: snprintf(value, sizeof(value), "%.2f", param->Value()); break;
    }
    fprintf(fp, ",\n    %s, %s", paramEnumNames[i], value);
  }
  fprintf(fp, ");\n");
  fclose(fp);
}
