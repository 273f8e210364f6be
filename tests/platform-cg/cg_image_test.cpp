#include <gtest/gtest.h>

#include "cg_test_bitmap.h"

TEST(CGBitmapContextCreateImage, SnapshotsPixelsIntoPackedRows)
{
  TestBitmap bm(2, 2, kCGImageAlphaPremultipliedFirst, 4);
  for (size_t i = 0; i < bm.bytes.size(); ++i)
    bm.bytes[i] = uint8_t(i);
  CGImageRef image = CGBitmapContextCreateImage(bm.ctx);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(CGImageGetWidth(image), 2u);
  EXPECT_EQ(CGImageGetHeight(image), 2u);
  EXPECT_EQ(CGImageGetBytesPerRow(image), 8u);
  EXPECT_EQ(CGImageGetBitsPerComponent(image), 8u);
  EXPECT_EQ(CGImageGetBitsPerPixel(image), 32u);
  EXPECT_EQ(CGImageGetBitmapInfo(image), CGBitmapInfo(kCGImageAlphaPremultipliedFirst));

  // Later drawing does not reach the image.
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 2, 2));
  const unsigned char* p = CGImageGetBytes(image);
  for (size_t i = 0; i < 8; ++i)
  {
    EXPECT_EQ(p[i], i);          // first row: bytes 0..7 of the buffer
    EXPECT_EQ(p[8 + i], 12 + i); // second row starts after 12 padded bytes
  }
  CGImageRelease(image);
}
