// Vector primitives on the editor's 700 x 249 window next to cairo drawing
// the same shapes in the same run: aliased LICE against cairo with
// antialiasing off, anti-aliased LICE against cairo's default. Lines,
// circles and triangles come from one fixed list per run.

#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>
#include <cairo.h>

#include "graphics/lice.h"

namespace
{

constexpr int kW = 700, kH = 249;
constexpr int kLines = 10000;

struct Seg
{
  int x1, y1, x2, y2;
};

// The tests' xorshift, so that every run draws the same shapes.
uint64_t g_state = 0x9E3779B97F4A7C15ull;
int rnd(int lo, int hi)
{
  g_state ^= g_state >> 12, g_state ^= g_state << 25, g_state ^= g_state >> 27;
  return lo + int(((g_state * 0x2545F4914F6CDD1Dull) >> 33) % uint64_t(hi - lo + 1));
}

const std::vector<Seg>& lines(bool outside)
{
  static std::vector<Seg> in, out;
  std::vector<Seg>& v = outside ? out : in;
  if (v.empty())
  {
    for (int i = 0; i < kLines; ++i)
    {
      if (outside)
        v.push_back({rnd(-900, -10), rnd(-300, 500), rnd(-900, -10), rnd(-300, 500)});
      else
        v.push_back({rnd(0, kW - 1), rnd(0, kH - 1), rnd(0, kW - 1), rnd(0, kH - 1)});
    }
  }
  return v;
}

struct Cairo
{
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
  cairo_t* cr = cairo_create(s);
  Cairo(bool aa, double alpha)
  {
    cairo_set_antialias(cr, aa ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 0.9, 0.6, 0.2, alpha);
  }
  ~Cairo()
  {
    cairo_destroy(cr);
    cairo_surface_destroy(s);
  }
};

constexpr LICE_PixelValue kColor = 0xff3399e6;

// Arguments: aa (0/1), alpha x 1000, outside (0/1).
void BM_LICE_Lines(benchmark::State& state)
{
  LICE_MemBitmap bm(kW, kH);
  const bool aa = state.range(0) != 0;
  const float alpha = float(state.range(1)) / 1000.0f;
  const auto& v = lines(state.range(2) != 0);
  for (auto _ : state)
  {
    for (const Seg& s : v)
      LICE_Line(&bm, s.x1, s.y1, s.x2, s.y2, kColor, alpha, 0, aa);
    benchmark::DoNotOptimize(bm.bits);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kLines);
}

void BM_cairo_Lines(benchmark::State& state)
{
  Cairo c(state.range(0) != 0, double(state.range(1)) / 1000.0);
  const auto& v = lines(state.range(2) != 0);
  for (auto _ : state)
  {
    for (const Seg& s : v)
    {
      cairo_move_to(c.cr, s.x1 + 0.5, s.y1 + 0.5);
      cairo_line_to(c.cr, s.x2 + 0.5, s.y2 + 0.5);
      cairo_stroke(c.cr);
    }
    cairo_surface_flush(c.s);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kLines);
}

void lineArgs(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"aa", "alpha_x1000", "outside"});
  b->Args({0, 1000, 0})->Args({0, 700, 0})->Args({1, 1000, 0})->Args({0, 1000, 1});
}

// Arguments: radius, fill (0/1), aa (0/1). Radius 0 stands for a giant
// circle whose box misses the bitmap.
void circleAt(int i, int r, float& cx, float& cy, float& rr)
{
  rr = r ? float(r) : 1e6f;
  cx = r ? float(40 + (i * 37) % (kW - 80)) : -2e6f;
  cy = r ? float(40 + (i * 53) % (kH - 80)) : 100.0f;
}

constexpr int kCircles = 200;

void BM_LICE_Circle(benchmark::State& state)
{
  LICE_MemBitmap bm(kW, kH);
  const int r = int(state.range(0));
  const bool fill = state.range(1) != 0, aa = state.range(2) != 0;
  for (auto _ : state)
  {
    for (int i = 0; i < kCircles; ++i)
    {
      float cx, cy, rr;
      circleAt(i, r, cx, cy, rr);
      if (fill)
        LICE_FillCircle(&bm, cx, cy, rr, kColor, 1.0f, 0, aa);
      else
        LICE_Circle(&bm, cx, cy, rr, kColor, 1.0f, 0, aa);
    }
    benchmark::DoNotOptimize(bm.bits);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCircles);
}

void BM_cairo_Circle(benchmark::State& state)
{
  Cairo c(state.range(2) != 0, 1.0);
  const int r = int(state.range(0));
  const bool fill = state.range(1) != 0;
  for (auto _ : state)
  {
    for (int i = 0; i < kCircles; ++i)
    {
      float cx, cy, rr;
      circleAt(i, r, cx, cy, rr);
      cairo_new_sub_path(c.cr);
      cairo_arc(c.cr, cx + 0.5, cy + 0.5, rr, 0, 2 * M_PI);
      if (fill)
        cairo_fill(c.cr);
      else
        cairo_stroke(c.cr);
    }
    cairo_surface_flush(c.s);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCircles);
}

void circleArgs(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"r", "fill", "aa"});
  for (int r : {2, 4, 10, 50, 200, 0})
    for (int fill : {0, 1})
      for (int aa : {0, 1})
        b->Args({r, fill, aa});
}

// Quarter arcs of radius 50, the four quadrants in turn. Argument: aa.
void BM_LICE_QuarterArc(benchmark::State& state)
{
  LICE_MemBitmap bm(kW, kH);
  const bool aa = state.range(0) != 0;
  for (auto _ : state)
  {
    for (int i = 0; i < kCircles; ++i)
    {
      const float a = float(i % 4) * 1.5707964f;
      LICE_Arc(&bm, float(60 + (i * 37) % (kW - 120)), 120, 50, a, a + 1.5707964f, kColor, 1.0f, 0, aa);
    }
    benchmark::DoNotOptimize(bm.bits);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCircles);
}

void BM_cairo_QuarterArc(benchmark::State& state)
{
  Cairo c(state.range(0) != 0, 1.0);
  for (auto _ : state)
  {
    for (int i = 0; i < kCircles; ++i)
    {
      // cairo's angles start at +x and turn clockwise on the screen.
      const double a = (i % 4) * M_PI / 2 - M_PI / 2;
      cairo_new_sub_path(c.cr);
      cairo_arc(c.cr, 60 + (i * 37) % (kW - 120) + 0.5, 120.5, 50, a, a + M_PI / 2);
      cairo_stroke(c.cr);
    }
    cairo_surface_flush(c.s);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCircles);
}

constexpr int kTriangles = 1000;

const std::vector<int>& triangles()
{
  static std::vector<int> v;
  if (v.empty())
    for (int i = 0; i < kTriangles; ++i)
    {
      const int x = rnd(0, kW - 60), y = rnd(0, kH - 60);
      for (int k = 0; k < 3; ++k)
        v.push_back(x + rnd(0, 60)), v.push_back(y + rnd(0, 60));
    }
  return v;
}

void BM_LICE_Triangle(benchmark::State& state)
{
  LICE_MemBitmap bm(kW, kH);
  const float alpha = float(state.range(0)) / 1000.0f;
  const auto& t = triangles();
  for (auto _ : state)
  {
    for (size_t i = 0; i < t.size(); i += 6)
      LICE_FillTriangle(&bm, t[i], t[i + 1], t[i + 2], t[i + 3], t[i + 4], t[i + 5], kColor, alpha, 0);
    benchmark::DoNotOptimize(bm.bits);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kTriangles);
}

void BM_cairo_Triangle(benchmark::State& state)
{
  Cairo c(false, double(state.range(0)) / 1000.0);
  const auto& t = triangles();
  for (auto _ : state)
  {
    for (size_t i = 0; i < t.size(); i += 6)
    {
      cairo_move_to(c.cr, t[i], t[i + 1]);
      cairo_line_to(c.cr, t[i + 2], t[i + 3]);
      cairo_line_to(c.cr, t[i + 4], t[i + 5]);
      cairo_fill(c.cr);
    }
    cairo_surface_flush(c.s);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kTriangles);
}

// Cubic curves across the window. Argument: aa.
void BM_LICE_Cubic(benchmark::State& state)
{
  LICE_MemBitmap bm(kW, kH);
  const bool aa = state.range(0) != 0;
  for (auto _ : state)
  {
    for (int i = 0; i < kCircles; ++i)
    {
      const float y = float(i % kH);
      LICE_DrawCBezier(&bm, 10, y, 200, 240 - y, 500, y, 690, 240 - y, kColor, 1.0f, 0, aa, 0);
    }
    benchmark::DoNotOptimize(bm.bits);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCircles);
}

void BM_cairo_Cubic(benchmark::State& state)
{
  Cairo c(state.range(0) != 0, 1.0);
  for (auto _ : state)
  {
    for (int i = 0; i < kCircles; ++i)
    {
      const double y = i % kH;
      cairo_move_to(c.cr, 10, y);
      cairo_curve_to(c.cr, 200, 240 - y, 500, y, 690, 240 - y);
      cairo_stroke(c.cr);
    }
    cairo_surface_flush(c.s);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kCircles);
}

} // namespace

BENCHMARK(BM_LICE_Lines)->Apply(lineArgs);
BENCHMARK(BM_cairo_Lines)->Apply(lineArgs);
BENCHMARK(BM_LICE_Circle)->Apply(circleArgs);
BENCHMARK(BM_cairo_Circle)->Apply(circleArgs);
BENCHMARK(BM_LICE_QuarterArc)->ArgName("aa")->Arg(0)->Arg(1);
BENCHMARK(BM_cairo_QuarterArc)->ArgName("aa")->Arg(0)->Arg(1);
BENCHMARK(BM_LICE_Triangle)->ArgName("alpha_x1000")->Arg(1000)->Arg(700);
BENCHMARK(BM_cairo_Triangle)->ArgName("alpha_x1000")->Arg(1000)->Arg(700);
BENCHMARK(BM_LICE_Cubic)->ArgName("aa")->Arg(0)->Arg(1);
BENCHMARK(BM_cairo_Cubic)->ArgName("aa")->Arg(0)->Arg(1);
BENCHMARK_MAIN();
