#pragma once
// Win32-style handle and record types of the drawing-context layer.

#include <cstdint>

class NSObject;

// Right and bottom are exclusive.
struct RECT
{
  int left, top, right, bottom;
};
typedef struct HDC__* HDC;

struct POINT
{
  int x, y;
};

typedef struct HGDIOBJ__* HGDIOBJ;
// A window or a view (NSWindow or NSView); anything else is refused.
typedef NSObject* HWND;

// What a view answers to the paint-info question while it paints. Only hdc
// is read by this layer; null there means no answer.
struct PAINTSTRUCT
{
  HDC hdc;
  int fErase;
  RECT rcPaint;
};

// Only the fields this layer fills, in its order.
struct TEXTMETRIC
{
  int tmHeight;
  int tmAscent;
  int tmDescent;
  int tmInternalLeading;
  int tmAveCharWidth;
};

constexpr int LF_FACESIZE = 32;
struct LOGFONT
{
  int lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
  char lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE]; // need not be terminated
};
