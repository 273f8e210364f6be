#pragma once
// Win32-style handle and record types of the drawing-context layer.

#include <cstdint>

class NSObject;

// Right and bottom are exclusive.
struct RECT {
  int left, top, right, bottom;
};
typedef struct HDC__* HDC;

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
