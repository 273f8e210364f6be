// SWELL_DrawText of a 32-character label in DejaVu Sans 16 px next to raw
// FreeType in the same run: rendering every glyph afresh, and blending
// glyphs rendered once and kept, the least any cached text drawer does.
// The kept glyphs are loaded as the text layer loads them (unhinted); the
// fresh ones with FreeType's defaults.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

#include <benchmark/benchmark.h>

#include "graphics/gdi/swell-gdi-ops.h"

namespace
{

const char kLabel[] = "Release 120 ms, ratio 4.0:1 -3dB"; // 32 characters
static_assert(sizeof kLabel == 33);
const char kFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kSize = 16, kWidth = 400, kHeight = 40;

void BM_DrawText(benchmark::State& state)
{
  HDC dc = SWELL_CreateMemContext(nullptr, kWidth, kHeight);
  HGDIOBJ font = CreateFont(kSize, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  SelectObject(dc, font);
  SetTextColor(dc, 0xffffff);
  for (auto _ : state)
  {
    RECT r = {0, 0, kWidth, kHeight};
    benchmark::DoNotOptimize(SWELL_DrawText(dc, kLabel, -1, &r, DT_VCENTER));
  }
  SelectObject(dc, reinterpret_cast<HGDIOBJ>(3));
  DeleteObject(font);
  SWELL_DeleteGfxContext(dc);
}

struct Face
{
  Face()
  {
    FT_Init_FreeType(&lib);
    FT_New_Face(lib, kFont, 0, &face);
    FT_Set_Char_Size(face, 0, kSize * 64, 72, 72);
  }
  ~Face()
  {
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
  }
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
};

void BM_BareFreeTypeText(benchmark::State& state)
{
  Face f;
  for (auto _ : state)
    for (const char* p = kLabel; *p; ++p)
    {
      FT_Load_Char(f.face, FT_ULong(*p), FT_LOAD_RENDER);
      benchmark::DoNotOptimize(f.face->glyph->bitmap.buffer);
    }
}

struct Glyph
{
  int left = 0, top = 0, width = 0, rows = 0;
  long advance = 0;
  std::vector<unsigned char> coverage;
};

// White source-over onto X, R, G, B pixels, each glyph at its rounded pen
// position on one baseline.
void BM_FreeTypeCachedBlend(benchmark::State& state)
{
  Face f;
  std::vector<Glyph> cache(128);
  for (const char* p = kLabel; *p; ++p)
  {
    FT_Load_Char(f.face, FT_ULong(*p), FT_LOAD_NO_HINTING | FT_LOAD_RENDER);
    const FT_Bitmap& b = f.face->glyph->bitmap;
    Glyph& g = cache[size_t(*p)];
    g = {
      f.face->glyph->bitmap_left, f.face->glyph->bitmap_top, int(b.width), int(b.rows), f.face->glyph->advance.x, {}};
    for (unsigned y = 0; y < b.rows; ++y)
      g.coverage.insert(g.coverage.end(), b.buffer + y * b.pitch, b.buffer + y * b.pitch + b.width);
  }
  std::vector<unsigned char> px(size_t(kWidth) * kHeight * 4);
  const int baseline = 25, colour[3] = {255, 255, 255};
  for (auto _ : state)
  {
    long pen = 0;
    for (const char* p = kLabel; *p; ++p)
    {
      const Glyph& g = cache[size_t(*p)];
      int gx = int((pen + 32) >> 6) + g.left, gy = baseline - g.top;
      for (int y = 0; y < g.rows; ++y)
      {
        unsigned char* d = px.data() + (size_t(gy + y) * kWidth + gx) * 4;
        const unsigned char* s = g.coverage.data() + size_t(y) * g.width;
        for (int x = 0; x < g.width; ++x, d += 4)
        {
          int a = s[x], inv = 255 - a;
          if (!a)
            continue;
          d[0] = 255;
          for (int i = 0; i < 3; ++i)
            d[i + 1] = (unsigned char)((colour[i] * a + d[i + 1] * inv + 127) / 255);
        }
      }
      pen += g.advance;
    }
    benchmark::DoNotOptimize(px.data());
    benchmark::ClobberMemory();
  }
}

} // namespace

BENCHMARK(BM_DrawText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareFreeTypeText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FreeTypeCachedBlend)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
