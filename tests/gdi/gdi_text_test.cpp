#include <string>

#include <gtest/gtest.h>

#include "gdi_test_canvas.h"
#include "platform/text/TextLayout.h"

namespace
{

// Width of ASCII text in the context's font as the layout measures it.
int measured(HDC dc, const char* text, int flags = 0)
{
  RECT r = {0, 0, 0, 0};
  SWELL_DrawText(dc, text, -1, &r, DT_CALCRECT | flags);
  return r.right;
}

struct WhiteText
{
  explicit WhiteText(Canvas& c) { SetTextColor(c.dc, 0xffffff); }
};

TEST(GdiText, MeasuringFollowsTheFontAndDropsPrefixes)
{
  Canvas c(1, 1);
  HGDIOBJ f = CreateFont(20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  SelectObject(c.dc, f);
  std::vector<TextUnit> u = {'G', 'a', 'i', 'n'};
  RECT r = {5, 7, 0, 0};
  int h = SWELL_DrawText(c.dc, "G&ain", -1, &r, DT_CALCRECT);
  double a, d;
  TextStyleGetLineMetrics(static_cast<TextStyleRef>(f->atsuStyle), &a, &d, nullptr);
  EXPECT_EQ(h, int(a + d));
  EXPECT_EQ(r.right, 5 + int(TextMeasureWidth(static_cast<TextStyleRef>(f->atsuStyle), u.data(), u.size())));
  EXPECT_EQ(r.bottom, 7 + h);
  EXPECT_GT(measured(c.dc, "G&ain", DT_NOPREFIX), measured(c.dc, "Gain"));
  EXPECT_EQ(measured(c.dc, "Ga\r\nin", DT_SINGLELINE), measured(c.dc, "Ga in"));
  // A length longer than the text stops at its terminator.
  RECT q = {0, 0, 0, 0};
  SWELL_DrawText(c.dc, "Gain", 400, &q, DT_CALCRECT);
  EXPECT_EQ(q.right, measured(c.dc, "Gain"));
  SWELL_DrawText(c.dc, "Gain", 2, &q, DT_CALCRECT);
  EXPECT_EQ(q.right, measured(c.dc, "Ga"));
  EXPECT_EQ(SWELL_DrawText(c.dc, nullptr, -1, &q, 0), 0);
  EXPECT_EQ(SWELL_DrawText(c.dc, "x", -1, nullptr, 0), 0);
  EXPECT_EQ(SWELL_DrawText(nullptr, "x", -1, &q, 0), 0);
  // Bytes that are not UTF-8 measure as spaces.
  EXPECT_EQ(measured(c.dc, "a\xff"
                           "b"),
            measured(c.dc, "a b"));
  SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(3));
  DeleteObject(f);
}

TEST(GdiText, ColourChannelsPassAsSixteenBitComponents)
{
  // Each channel c goes to the text as c << 8 of 65535; back at 8 bits
  // that is round(c * 256 / 257), where full coverage shows it.
  const struct
  {
    int color, r, g, b;
  } cases[] = {{0xffffff, 254, 254, 254}, {0xff8180, 254, 128, 128}, {0x400100, 64, 1, 0}};
  for (const auto& t : cases)
  {
    Canvas c(60, 60);
    HGDIOBJ f = CreateFont(48, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SelectObject(c.dc, f);
    SetTextColor(c.dc, t.color);
    RECT r = {0, 0, 60, 60};
    SWELL_DrawText(c.dc, "H", -1, &r, 0);
    int top[3] = {0, 0, 0};
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        for (int i = 0; i < 3; ++i)
          top[i] = std::max(top[i], c.rgb(x, y) >> (16 - 8 * i) & 255);
    EXPECT_EQ(top[0], t.r) << std::hex << t.color;
    EXPECT_EQ(top[1], t.g) << std::hex << t.color;
    EXPECT_EQ(top[2], t.b) << std::hex << t.color;
    SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(f);
  }
}

TEST(GdiText, InkLiesWhereTheFlagsSay)
{
  const RECT box = {10, 5, 110, 45};
  auto draw = [&](int flags) {
    Canvas c(120, 50);
    WhiteText w(c);
    RECT r = box;
    SWELL_DrawText(c.dc, "HH", -1, &r, flags);
    return c.ink();
  };
  int width = [] {
    Canvas c(1, 1);
    return measured(c.dc, "HH");
  }();
  RECT left = draw(0), right = draw(DT_RIGHT), centre = draw(DT_CENTER), bottom = draw(DT_BOTTOM | DT_RIGHT),
       mid = draw(DT_VCENTER | DT_CENTER);
  EXPECT_GE(left.left, 10);
  EXPECT_LE(left.left, 12);
  EXPECT_LE(right.right, 109);
  EXPECT_GE(right.right, 106);
  EXPECT_NEAR((centre.left + centre.right) / 2.0, 60, 2);
  EXPECT_LE(centre.right - centre.left, width);
  EXPECT_LT(left.top, 10);
  EXPECT_GT(bottom.top, 30);
  EXPECT_LE(bottom.bottom, 44);
  EXPECT_NEAR((mid.top + mid.bottom) / 2.0, 25, 3);
}

TEST(GdiText, TruncatedAndClippedTextStaysInItsRectangle)
{
  Canvas c(200, 30);
  WhiteText w(c);
  const char* text = "Threshold relative to the full-scale input level";
  RECT r = {20, 5, 80, 25};
  SWELL_DrawText(c.dc, text, -1, &r, DT_END_ELLIPSIS);
  RECT ink = c.ink();
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 79);
  RECT m = {20, 5, 80, 25};
  SWELL_DrawText(c.dc, text, -1, &m, DT_CALCRECT | DT_END_ELLIPSIS);
  EXPECT_LE(m.right, 80);

  Canvas clip(200, 30);
  WhiteText w2(clip);
  RECT k = {20, 5, 80, 25};
  SWELL_DrawText(clip.dc, text, -1, &k, 0);
  EXPECT_LE(clip.ink().right, 79);
  Canvas free(200, 30);
  WhiteText w3(free);
  SWELL_DrawText(free.dc, text, -1, &k, DT_NOCLIP);
  EXPECT_GT(free.ink().right, 100);
}

} // namespace
