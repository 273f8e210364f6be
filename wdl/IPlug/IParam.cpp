#include "wdl/IPlug/IParam.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "wdl/IPlug/IPlugText.h"
#include "wdl/IPlug/IPlugUtilities.h"

void IParam::InitBool(const char* name, bool defaultVal, const char* /*label*/)
{
  SetKind(kKindBool);
  IPlugCopyText(mName, name);
  mLabel[0] = 0;
  mValue = defaultVal ? 1.0 : 0.0;
  mMin = 0.0;
  mMax = 1.0;
  mStep = 1.0;
  mDisplayPrecision = 0;
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParam::InitEnum(const char* name, int defaultVal, int nEnums)
{
  SetKind(kKindEnum);
  IPlugCopyText(mName, name);
  mLabel[0] = 0;
  mValue = defaultVal;
  mMin = 0.0;
  mMax = nEnums - 1 > 1 ? nEnums - 1 : 1;
  mStep = 1.0;
  mDisplayPrecision = 0;
}

void IParam::InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label)
{
  SetKind(kKindInt);
  IPlugCopyText(mName, name);
  IPlugCopyText(mLabel, label);
  mValue = defaultVal;
  mMin = minVal;
  mMax = double(maxVal) > double(minVal) + 1.0 ? double(maxVal) : double(minVal) + 1.0;
  mStep = 1.0;
  mDisplayPrecision = 0;
}

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                        const char* label)
{
  SetKind(kKindDouble);
  IPlugCopyText(mName, name);
  IPlugCopyText(mLabel, label);
  mValue = defaultVal;
  mMin = minVal;
  mMax = minVal + step > maxVal ? minVal + step : maxVal;
  mStep = step;
  mDisplayPrecision = 0;
  for (double x = step; mDisplayPrecision < MAX_PARAM_DISPLAY_PRECISION && floor(x) != x; x *= 10.0)
    ++mDisplayPrecision;
}

void IParam::SetShape(double shape)
{
  if (shape != 0.0)
    mShape = shape;
}

void IParam::SetDisplayText(int value, const char* text)
{
  DisplayText entry{};
  entry.mValue = value;
  IPlugCopyText(entry.mText, text);
  mDisplayTexts.Add(&entry);
}

int IParam::Int() const
{
  return TruncToInt(mValue);
}

double IParam::DBToAmp() const
{
  return exp(0.1151292546497 * mValue);
}

void IParam::SetNormalized(double normalizedValue)
{
  // The host bindings and the editor let no non-finite value through.
  assert(std::isfinite(normalizedValue));
  double v = FromNormalized(normalizedValue);
  assert(std::isfinite(v));
  mValue = v;
}

double IParam::FromNormalized(double normalizedValue) const
{
  double v = pow(normalizedValue, mShape) * (mMax - mMin) + mMin;
  if (mKind != kKindDouble)
    v = mStep * floor(v / mStep + 0.5);
  return v > mMax ? mMax : v;
}

double IParam::GetNormalized(double nonNormalizedValue) const
{
  double v = nonNormalizedValue;
  if (v < mMin)
    v = mMin;
  if (v > mMax)
    v = mMax;
  if (std::isnan(v))
    v = mMin;
  return pow((v - mMin) / (mMax - mMin), 1.0 / mShape);
}

void IParam::GetDisplayForHost(double value, bool normalized, char* str, int size) const
{
  if (!str || size <= 0)
    return;
  double v = normalized ? pow(value, mShape) * (mMax - mMin) + mMin : value;

  if (FitsInt(v))
  {
    const char* text = GetDisplayText(TruncToInt(v));
    if (text[0])
    {
      IPlugCopyText(str, text, size_t(size));
      return;
    }
  }
  if (mNegateDisplay)
    v = -v;
  if (v == 0.0)
  {
    IPlugCopyText(str, "0", size_t(size));
  }
  else if (mDisplayPrecision > 0)
  {
    snprintf(str, size_t(size), "%.*f", mDisplayPrecision, v);
  }
  else if (FitsInt(v))
  {
    snprintf(str, size_t(size), "%d", TruncToInt(v));
  }
  else
  {
    // Beyond the int range (or not a number): print the truncated value instead.
    snprintf(str, size_t(size), "%.0f", std::trunc(v));
  }
}

const char* IParam::GetDisplayText(int value) const
{
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0, n = mDisplayTexts.GetSize(); i < n; ++i)
    if (texts[i].mValue == value)
      return texts[i].mText;
  return "";
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* value) const
{
  if (idx < 0 || idx >= mDisplayTexts.GetSize())
    return nullptr;
  const DisplayText& entry = mDisplayTexts.Get()[idx];
  if (value)
    *value = entry.mValue;
  return entry.mText;
}

bool IParam::MapDisplayText(const char* str, int* value) const
{
  if (!str)
    return false;
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0, n = mDisplayTexts.GetSize(); i < n; ++i)
  {
    if (!strcmp(str, texts[i].mText))
    {
      if (value)
        *value = texts[i].mValue;
      return true;
    }
  }
  return false;
}

void IParam::GetBounds(double* pMin, double* pMax) const
{
  if (pMin)
    *pMin = mMin;
  if (pMax)
    *pMax = mMax;
}
