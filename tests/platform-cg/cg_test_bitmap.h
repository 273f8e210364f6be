#pragma once
// A caller-owned pixel buffer with a bitmap context over it.

#include <cstdint>
#include <vector>

#include "platform/coregraphics/CGBitmapContext.h"

struct TestBitmap
{
  TestBitmap(size_t w, size_t h, CGBitmapInfo info, size_t pad = 0)
    : width(w), height(h), rowBytes(w * 4 + pad), bytes(rowBytes * h, 0)
  {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    ctx = CGBitmapContextCreate(bytes.data(), w, h, 8, rowBytes, space, info);
    CGColorSpaceRelease(space);
  }
  ~TestBitmap() { CGContextRelease(ctx); }
  TestBitmap(const TestBitmap&) = delete;
  TestBitmap& operator=(const TestBitmap&) = delete;

  // Byte i (0..3) of the pixel in memory row `row`, column x.
  uint8_t at(size_t x, size_t row, int i) const { return bytes[row * rowBytes + x * 4 + size_t(i)]; }
  // Column x of memory row `row` packed as bytes 0..3 read big-endian.
  uint32_t pixel(size_t x, size_t row) const
  {
    return uint32_t(at(x, row, 0)) << 24 | uint32_t(at(x, row, 1)) << 16 | uint32_t(at(x, row, 2)) << 8 | at(x, row, 3);
  }

  size_t width, height, rowBytes;
  std::vector<uint8_t> bytes;
  CGContextRef ctx = nullptr;
};
