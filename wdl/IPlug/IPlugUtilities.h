#pragma once
// Version words (0xVVVVRRMM) and small text helpers.

#include <cstddef>

void GetVersionParts(int version, int* pVer, int* pMaj, int* pMin);
int GetDecimalVersion(int version);
// Writes "v<major>.<minor>" into str (at most size bytes, terminated).
void GetVersionStr(int version, char* str, size_t size);

// Lower-case copy of src into dest (which must hold strlen(src) + 1 bytes); returns the length.
int ToLower(char* dest, const char* src);
bool IsWhitespace(char c);

// Level conversions shared by the effect and the editor.
constexpr double kAmpToDB = 8.685889638065037;
constexpr double kDBToAmp = 0.11512925464970228;
