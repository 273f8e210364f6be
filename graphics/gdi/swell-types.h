#pragma once
// Win32-style handle and record types of the drawing-context layer.

#include <cstdint>

class NSObject;

// Shared with graphics/lice_bitmap.h; the guard keeps one definition.
#ifndef LICE_WIN32_TYPES_DEFINED
#define LICE_WIN32_TYPES_DEFINED
struct RECT {
  int left, top, right, bottom;
};
typedef struct HDC__* HDC;
#endif

typedef struct HGDIOBJ__* HGDIOBJ;
// A window or a view (NSWindow or NSView); anything else is refused.
typedef NSObject* HWND;

// What a view answers to the paint-info question while it paints. Only hdc
// is read by this layer; null there means no answer.
struct PAINTSTRUCT {
  HDC hdc;
  int fErase;
  RECT rcPaint;
};
