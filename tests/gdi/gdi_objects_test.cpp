#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "gdi_test_canvas.h"
#include "graphics/gdi/swell-misc.h"
#include "platform/text/TextStyle.h"

namespace
{

HGDIOBJ value(intptr_t v)
{
  return reinterpret_cast<HGDIOBJ>(v);
}

TEST(GdiSelect, EmptySlotsHandBackTheirKindAndRestore)
{
  Canvas c(1, 1);
  HGDIOBJ pen = CreatePen(0, 1, 0xff0000), pen2 = CreatePen(0, 3, 0x00ff00);
  EXPECT_EQ(SelectObject(c.dc, pen), value(1));
  EXPECT_EQ(SelectObject(c.dc, pen2), pen);
  EXPECT_EQ(SelectObject(c.dc, value(1)), pen2);
  EXPECT_EQ(c.dc->selectedPen, nullptr);
  EXPECT_EQ(SelectObject(c.dc, value(1)), value(1));
  HGDIOBJ brush = CreateSolidBrush(0);
  EXPECT_EQ(SelectObject(c.dc, brush), value(2));
  EXPECT_EQ(SelectObject(c.dc, nullptr), nullptr);
  EXPECT_EQ(SelectObject(nullptr, brush), nullptr);
  // The placeholders are not objects: deleting them does nothing.
  DeleteObject(value(1));
  DeleteObject(value(2));
  DeleteObject(value(3));
  // Stock objects outlive DeleteObject.
  HGDIOBJ nullPen = GetStockObject(NULL_PEN);
  DeleteObject(nullPen);
  EXPECT_EQ(nullPen->kind, GDP_KIND_PEN);
  EXPECT_EQ(nullPen->param, -1);
  EXPECT_EQ(GetStockObject(3), nullptr);
  SelectObject(c.dc, value(2));
  DeleteObject(pen);
  DeleteObject(pen2);
  DeleteObject(brush);
}

TEST(GdiFonts, SizeWeightAndMetrics)
{
  HGDIOBJ f14 = CreateFont(0, -14, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ f1 = CreateFont(1, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ bold = CreateFont(10, 0, 0, 900, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ notBold = CreateFont(10, 0, 0, 0, 699, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  EXPECT_EQ(TextStyleSize(static_cast<TextStyleRef>(f14->atsuStyle)), 14);
  EXPECT_EQ(TextStyleSize(static_cast<TextStyleRef>(f1->atsuStyle)), 10);
  auto file = [](HGDIOBJ f) { return std::string(TextStyleFontFile(static_cast<TextStyleRef>(f->atsuStyle))); };
  EXPECT_NE(file(bold).find("Bold"), std::string::npos);
  EXPECT_EQ(file(notBold).find("Bold"), std::string::npos);
  EXPECT_FLOAT_EQ(bold->rotation, 90);

  Canvas c(1, 1);
  TEXTMETRIC tm;
  EXPECT_EQ(GetTextMetrics(c.dc, &tm), 0);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAveCharWidth, 12);
  SelectObject(c.dc, notBold);
  // DejaVu Sans at 10: ascent 1901/204.8 = 9.28, descent 483/204.8 = 2.36.
  EXPECT_EQ(GetTextMetrics(c.dc, &tm), 1);
  EXPECT_EQ(tm.tmAscent, 10);
  EXPECT_EQ(tm.tmDescent, 3);
  EXPECT_EQ(tm.tmInternalLeading, 0);
  EXPECT_EQ(tm.tmHeight, 12);
  EXPECT_EQ(tm.tmAveCharWidth, 9);
  SelectObject(c.dc, value(3));
  for (HGDIOBJ f : {f14, f1, bold, notBold})
    DeleteObject(f);
}

TEST(GdiFonts, IndirectFaceNameNeedNotBeTerminated)
{
  LOGFONT lf = {};
  lf.lfHeight = 12;
  memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);
  HGDIOBJ f = CreateFontIndirect(&lf);
  ASSERT_TRUE(f);
  EXPECT_FALSE(TextStyleFaceFound(static_cast<TextStyleRef>(f->atsuStyle)));
  DeleteObject(f);
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST(GdiUtilities, SysColoursCopiesAndModulePath)
{
  EXPECT_EQ(GetSysColor(0), 0x606060);
  EXPECT_EQ(GetSysColor(8), 0xfff0c8);
  EXPECT_EQ(GetSysColor(3), 0);

  char dst[8] = "zzzzzzz";
  EXPECT_EQ(lstrcpyn(dst, "abcde", 3), dst);
  EXPECT_STREQ(dst, "ab");
  lstrcpyn(dst, "q", 0);
  EXPECT_STREQ(dst, "ab");

  char path[4] = "old";
  EXPECT_EQ(GetModuleFileName(nullptr, path, 0), 0);
  EXPECT_STREQ(path, "old");
  EXPECT_EQ(GetModuleFileName(nullptr, path, sizeof path), 3);
  EXPECT_EQ(path[0], '/');
  CFStringRef s = SWELL_CStringToCFString(nullptr);
  EXPECT_EQ(CFStringGetLength(s), 0);
  CFRelease(s);
}

TEST(GdiObjects, GetObjectBoundsItsWrites)
{
  unsigned char out[12];
  memset(out, 0x55, sizeof out);
  EXPECT_EQ(GetObject(nullptr, -4, out), 0);
  EXPECT_EQ(out[0], 0x55);
  EXPECT_EQ(GetObject(nullptr, 4, out), 0);
  EXPECT_EQ(out[3], 0);
  EXPECT_EQ(out[4], 0x55);
}

} // namespace
