#pragma once
// Version words (0xVVVVRRMM) and small text helpers.

#include <climits>
#include <cstddef>

void GetVersionParts(int version, int* pVer, int* pMaj, int* pMin);
int GetDecimalVersion(int version);
// Writes "v<major>.<minor>" into str (at most size bytes, terminated).
void GetVersionStr(int version, char* str, size_t size);

// Lower-case copy of src into dest (which must hold strlen(src) + 1 bytes); returns the length.
int ToLower(char* dest, const char* src);
bool IsWhitespace(char c);

// The one rule for turning a host's or a parameter's double into an int:
// truncation toward zero, saturating at the ends of the int range, and 0 for
// NaN. A bare int(x) is undefined outside the range.
constexpr bool FitsInt(double v)
{
  return v > double(INT_MIN) - 1.0 && v < double(INT_MAX) + 1.0;
}
constexpr int TruncToInt(double v)
{
  if (FitsInt(v))
    return int(v);
  if (v != v)
    return 0;
  return v > 0.0 ? INT_MAX : INT_MIN;
}

// Level conversions shared by the effect and the editor.
constexpr double kAmpToDB = 8.685889638065037;
constexpr double kDBToAmp = 0.11512925464970228;
