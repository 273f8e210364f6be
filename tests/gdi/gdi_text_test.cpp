#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "gdi_test_canvas.h"
#include "platform/corefoundation/CFString.h"
#include "platform/text/TextLayout.h"

// Every allocation through operator new is counted, to see that drawing
// the same kinds of text again allocates nothing. Kept out of line:
// inlined, GCC takes the free() below for a mismatch with new.
static std::atomic<long> gAllocations{0};
[[gnu::noinline]] void* operator new(size_t n, const std::nothrow_t&) noexcept
{
  gAllocations.fetch_add(1);
  return std::malloc(n ? n : 1);
}
[[gnu::noinline]] void* operator new(size_t n)
{
  void* p = operator new(n, std::nothrow);
  return p ? p : throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept
{
  std::free(p);
}
// clang 14's <new> declares the sized form only under -fsized-deallocation.
void operator delete(void* p, size_t) noexcept;
[[gnu::noinline]] void operator delete(void* p, size_t) noexcept
{
  std::free(p);
}

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
  // Each channel c reaches the text as c << 8 of 65535: at 8 bits that is
  // round(c * 256 / 257), which fully covered pixels show.
  const int cases[][2] = {{0xffffff, 0xfefefe}, {0xff8180, 0xfe8080}, {0x400100, 0x400100}};
  for (const auto& t : cases)
  {
    Canvas c(60, 60);
    HGDIOBJ f = CreateFont(48, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SelectObject(c.dc, f);
    SetTextColor(c.dc, t[0]);
    RECT r = {0, 0, 60, 60};
    SWELL_DrawText(c.dc, "H", -1, &r, 0);
    int top = 0;
    for (int i = 0; i < c.w * c.h; ++i)
      for (int mask : {0xff0000, 0xff00, 0xff})
        top = std::max(top & mask, c.rgb(i % c.w, i / c.w) & mask) | (top & ~mask);
    EXPECT_EQ(top, t[1]) << std::hex << t[0];
    SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(f);
  }
}

TEST(GdiText, TextIsReadAsAStringMadeFromItWould)
{
  // Well-formed and malformed UTF-8; any malformed byte turns every byte
  // above ASCII into a space.
  // clang-format off
  const char* pieces[] = {"a", "W", " ", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xef\xbf\xbf", "\xc0\xaf",
                          "\xed\xa0\x80", "\xed\xbf\xbf", "\x80", "\xf5", "\xe2\x82", "\xf4\x90\x80\x80", "\xe0\x80\x80"};
  // clang-format on
  std::string text;
  Canvas c(1, 1);
  HGDIOBJ f = CreateFont(20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  SelectObject(c.dc, f);
  for (uint32_t it = 0, seed = 1; it < 300; ++it, text.clear())
  {
    for (uint32_t k = 0; k <= it % 5; ++k)
      text += pieces[((seed = seed * 1103515245 + 12345) >> 16) % std::size(pieces)];
    std::vector<TextUnit> units;
    CFStringRef str = CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
    for (CFIndex i = 0; str && i < CFStringGetLength(str); ++i)
      CFStringGetCharacters(str, CFRangeMake(i, 1), &units.emplace_back());
    for (size_t i = 0; !str && i < text.size(); ++i)
      units.push_back(text[i] & 0x80 ? ' ' : text[i]);
    RECT r = {0, 0, 0, 0};
    SWELL_DrawText(c.dc, text.c_str(), -1, &r, DT_CALCRECT);
    EXPECT_EQ(r.right, int(TextMeasureWidth(static_cast<TextStyleRef>(f->atsuStyle), units.data(), units.size())))
      << it;
    if (str)
      CFRelease(str);
  }
  SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(3));
  DeleteObject(f);
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

TEST(GdiText, DrawingAgainAllocatesNothing)
{
  Canvas c(400, 40); // in the default font
  long before = 0;
  for (int i = 0; i < 10; ++i)
  {
    before = i == 1 ? gAllocations.load() : before;
    RECT r = {0, 0, 400, 40}, m = {0, 0, 60, 0};
    SWELL_DrawText(c.dc, "Release 120 ms, ratio 4.0:1 -3dB", -1, &r, DT_VCENTER);
    SWELL_DrawText(c.dc, "D\xc3\xa9tente, seuil -12 dB", -1, &m, DT_CALCRECT | DT_END_ELLIPSIS);
  }
  EXPECT_EQ(gAllocations.load() - before, 0);
}

} // namespace
