#pragma once
// The records behind HDC and HGDIOBJ. Both are plain data: they are
// recycled through the pools of gdp_pool.h and zeroed before every reuse,
// so they must stay trivially copyable.

#include <cstddef>
#include <type_traits>

#include "graphics/gdi/swell-types.h"
#include "platform/coregraphics/CGContext.h"

class NSImage;

// Drawing context. cgContext stays the first field: the window binding
// reads it straight from the handle.
struct HDC__
{
  CGContextRef cgContext;
  void* frameBuffer; // memory contexts only; also means cgContext is ours
  HGDIOBJ selectedPen;
  HGDIOBJ selectedBrush;
  HGDIOBJ selectedFont;
  NSObject* releasedObject;
  CGColorRef textCGColor;
  int32_t textColor; // 0x00RRGGBB
  int32_t backgroundColor;
  int32_t backgroundMode;
  float currentX;
  float currentY;
};
typedef HDC__ GDP_CTX;

enum GDP_ObjectKind : int32_t
{
  GDP_KIND_PEN = 1,
  GDP_KIND_BRUSH = 2,
  GDP_KIND_FONT = 3,
  GDP_KIND_BITMAP = 4,
};

// Pen, brush, font or image.
struct HGDIOBJ__
{
  int32_t kind; // GDP_ObjectKind
  CGColorRef cgColor;
  // Pen: width (negative: the stock null pen); brush: 0 (negative: the
  // stock null brush); bitmap: 1 when image is owned.
  int32_t param;
  NSImage* image;
  NSObject* extraObject;
  void* atsuStyle; // fonts: the text layer's style
  float rotation;  // fonts: degrees
};
typedef HGDIOBJ__ GDP_OBJECT;

static_assert(std::is_trivially_copyable_v<GDP_CTX> && std::is_standard_layout_v<GDP_CTX>);
static_assert(std::is_trivially_copyable_v<GDP_OBJECT> && std::is_standard_layout_v<GDP_OBJECT>);
static_assert(offsetof(GDP_CTX, cgContext) == 0);
