#pragma once
// A bitmap whose pixels are the frame buffer of a memory drawing context,
// so the platform can draw the same pixels to a window. Rows are
// allocWidth pixels apart: after a shrink the span exceeds the width.

#include "graphics/lice_bitmap.h"

class LICE_SysBitmap : public LICE_IBitmap
{
public:
  LICE_SysBitmap(int w, int h);
  ~LICE_SysBitmap() override;
  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LICE_PixelValue* getBits() override { return bits; }
  int getWidth() override { return width; }
  int getHeight() override { return height; }
  int getRowSpan() override { return allocWidth; }
  HDC getDC() override { return dc; }
  // Keeps the context while the new size fits inside it; otherwise makes a
  // fresh zero-filled one of exactly w x h. A negative size counts as zero.
  // False when the size is unchanged, and for an empty size (the context is
  // dropped but the size asked for is still reported, with null pixels).
  bool resize(int w, int h) override;

  int width = 0;
  int height = 0;
  HDC dc = nullptr;
  LICE_PixelValue* bits = nullptr;
  int allocWidth = 0;
  int allocHeight = 0;
};
