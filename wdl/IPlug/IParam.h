#pragma once
// One automatable parameter. Hosts and the editor exchange normalised values
// (0..1); the signal path reads the plain value.

#include "wdl/heapbuf.h"

constexpr int MAX_PARAM_NAME_LEN = 32;
constexpr int MAX_PARAM_LABEL_LEN = 32;
constexpr int MAX_PARAM_DISPLAY_LEN = 32;
constexpr int MAX_PARAM_DISPLAY_PRECISION = 6;

class IParam
{
public:
  enum EParamKind
  {
    kKindNone = 0,
    kKindBool = 1,
    kKindInt = 2,
    kKindEnum = 3,
    kKindDouble = 4
  };

  struct DisplayText
  {
    int mValue;
    char mText[MAX_PARAM_DISPLAY_LEN];
  };

  IParam() = default;
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  void InitBool(const char* name, bool defaultVal, const char* label = "");
  void InitEnum(const char* name, int defaultVal, int nEnums);
  void InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "");
  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "");

  void SetShape(double shape);
  void SetDisplayText(int value, const char* text);
  void NegateDisplay() { mNegateDisplay = true; }

  void Set(double value) { mValue = value; }
  double Value() const { return mValue; }
  bool Bool() const { return mValue >= 0.5; }
  int Int() const;
  double DBToAmp() const;

  void SetNormalized(double normalizedValue);
  // The value SetNormalized would store; reads only what Init set.
  double FromNormalized(double normalizedValue) const;
  double GetNormalized() const { return GetNormalized(mValue); }
  double GetNormalized(double nonNormalizedValue) const;

  // Writes the host display of value (plain, or normalised when asked) into
  // str, at most size bytes, always terminated.
  void GetDisplayForHost(double value, bool normalized, char* str, int size) const;
  void GetDisplayForHost(char* str, int size) const { GetDisplayForHost(mValue, false, str, size); }
  const char* GetNameForHost() const { return mName; }
  const char* GetLabelForHost() const { return mLabel; }

  int GetNDisplayTexts() const { return mDisplayTexts.GetSize(); }
  const char* GetDisplayText(int value) const;
  const char* GetDisplayTextAtIdx(int idx, int* value = nullptr) const;
  bool MapDisplayText(const char* str, int* value) const;

  EParamKind Type() const { return mKind; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  int GetPrecision() const { return mDisplayPrecision; }
  void GetBounds(double* pMin, double* pMax) const;

private:
  void SetKind(EParamKind kind)
  {
    if (mKind == kKindNone)
      mKind = kind;
  }

  EParamKind mKind = kKindNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  int mDisplayPrecision = 0;
  char mName[MAX_PARAM_NAME_LEN] = {};
  char mLabel[MAX_PARAM_LABEL_LEN] = {};
  bool mNegateDisplay = false;
  WDL_TypedBuf<DisplayText> mDisplayTexts;
};
