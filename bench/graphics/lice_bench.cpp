// Blits and fills on the editor's 700 x 249 window and on a 4096 x 4096
// bitmap, next to memcpy of the same bytes and pixman's OVER composite and
// solid fill in the same run. Counters: ns per pixel and bytes per second
// (one destination image's bytes per iteration).

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>
#include <pixman.h>

#include "graphics/lice.h"
#include "graphics/lice_fastpath.h"

namespace
{

struct Size
{
  int w, h;
};
const Size kSizes[] = {{700, 249}, {4096, 4096}};

// Antialiased discs of radius 40 on a 96-pixel grid, coverage from 4 x 4
// subsamples, so that runs of clear, solid and edge pixels look like the
// editor's knob images. Pixel values are not premultiplied.
void paintDiscs(LICE_IBitmap& bm)
{
  const int w = bm.getWidth(), h = bm.getHeight();
  for (int y = 0; y < h; ++y)
  {
    for (int x = 0; x < w; ++x)
    {
      const double cx = (x / 96) * 96 + 48, cy = (y / 96) * 96 + 48;
      int inside = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
        {
          const double dx = x + (sx + 0.5) / 4 - cx, dy = y + (sy + 0.5) / 4 - cy;
          inside += dx * dx + dy * dy < 40.0 * 40.0;
        }
      const int a = inside * 255 / 16;
      const int r = 40 + x % 200, g = 90 + y % 150, b = 200 - (x + y) % 120;
      bm.getBits()[y * bm.getRowSpan() + x] =
        LICE_PixelValue(a) | LICE_PixelValue(r) << 8 | LICE_PixelValue(g) << 16 | LICE_PixelValue(b) << 24;
    }
  }
}

void setCounters(benchmark::State& state, const Size& s)
{
  const double pixels = double(s.w) * s.h;
  // Seconds per pixel, shown with an SI prefix (n, p).
  state.counters["per_px"] =
    benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pixels) * 4);
}

void BM_memcpy(benchmark::State& state)
{
  const Size s = kSizes[state.range(0)];
  std::vector<uint32_t> a(size_t(s.w) * s.h, 0x80402010), b(a.size());
  for (auto _ : state)
  {
    memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  setCounters(state, s);
}

// LICE_Blit of a whole w x h source, args: size index, mode, alpha * 1000.
void BM_LICE_Blit(benchmark::State& state)
{
  const Size s = kSizes[state.range(0)];
  const int mode = int(state.range(1));
  const float alpha = float(state.range(2)) / 1000.0f;
  LICE_MemBitmap src(s.w, s.h), dest(s.w, s.h);
  paintDiscs(src);
  LICE_Clear(&dest, 0xff604020);
  for (auto _ : state)
  {
    LICE_Blit(&dest, &src, 0, 0, nullptr, alpha, mode);
    benchmark::ClobberMemory();
  }
  setCounters(state, s);
}

// Opaque copy of all but the last 4 columns: rows are no longer one block,
// so each is copied on its own. Counters use the full image size.
void BM_LICE_BlitRows(benchmark::State& state)
{
  const Size s = kSizes[state.range(0)];
  LICE_MemBitmap src(s.w, s.h), dest(s.w, s.h);
  paintDiscs(src);
  LICE_Clear(&dest, 0xff604020);
  for (auto _ : state)
  {
    LICE_Blit(&dest, &src, 0, 0, 0, 0, s.w - 4, s.h, 1.0f, 0);
    benchmark::ClobberMemory();
  }
  setCounters(state, s);
}

// args: size index, mode, alpha * 1000.
void BM_LICE_FillRect(benchmark::State& state)
{
  const Size s = kSizes[state.range(0)];
  const int mode = int(state.range(1));
  const float alpha = float(state.range(2)) / 1000.0f;
  LICE_MemBitmap dest(s.w, s.h);
  LICE_Clear(&dest, 0xff604020);
  for (auto _ : state)
  {
    LICE_FillRect(&dest, 0, 0, s.w, s.h, 0xff30c080, alpha, mode);
    benchmark::ClobberMemory();
  }
  setCounters(state, s);
}

// pixman OVER of the same discs, premultiplied as pixman requires.
void BM_pixman_over(benchmark::State& state)
{
  const Size s = kSizes[state.range(0)];
  LICE_MemBitmap lice(s.w, s.h);
  paintDiscs(lice);
  std::vector<uint32_t> src(size_t(s.w) * s.h), dst(src.size(), 0xff204060);
  for (size_t i = 0; i < src.size(); ++i)
  {
    const uint32_t p = lice.getBits()[i];
    const uint32_t a = p & 0xff, r = (p >> 8) & 0xff, g = (p >> 16) & 0xff, b = p >> 24;
    src[i] = a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (b * a / 255);
  }
  pixman_image_t* si = pixman_image_create_bits(PIXMAN_a8r8g8b8, s.w, s.h, src.data(), s.w * 4);
  pixman_image_t* di = pixman_image_create_bits(PIXMAN_a8r8g8b8, s.w, s.h, dst.data(), s.w * 4);
  for (auto _ : state)
  {
    pixman_image_composite32(PIXMAN_OP_OVER, si, nullptr, di, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(si);
  pixman_image_unref(di);
  setCounters(state, s);
}

void BM_pixman_fill(benchmark::State& state)
{
  const Size s = kSizes[state.range(0)];
  std::vector<uint32_t> dst(size_t(s.w) * s.h, 0xff204060);
  for (auto _ : state)
  {
    pixman_fill(dst.data(), s.w, 32, 0, 0, s.w, s.h, 0xff30c080);
    benchmark::ClobberMemory();
  }
  setCounters(state, s);
}

constexpr int kSrcAlpha = LICE_BLIT_USE_ALPHA;

void blitArgs(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"size", "mode", "alpha_x1000"});
  const int64_t cases[][2] = {{0, 1000}, {0, 500}, {0, 700}, {kSrcAlpha, 1000}, {kSrcAlpha, 700},
                              {1, 700},  {3, 700}, {4, 700}, {5, 700},          {0xF4, 1000}};
  for (int size = 0; size < 2; ++size)
    for (auto& c : cases)
      b->Args({size, c[0], c[1]});
}

void fillArgs(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"size", "mode", "alpha_x1000"});
  for (int size = 0; size < 2; ++size)
    for (int64_t alpha : {1000, 500, 700})
      b->Args({size, 0, alpha});
}

BENCHMARK(BM_memcpy)->ArgName("size")->Arg(0)->Arg(1);
BENCHMARK(BM_LICE_Blit)->Apply(blitArgs);
BENCHMARK(BM_LICE_BlitRows)->ArgName("size")->Arg(0)->Arg(1);
BENCHMARK(BM_pixman_over)->ArgName("size")->Arg(0)->Arg(1);
BENCHMARK(BM_LICE_FillRect)->Apply(fillArgs);
BENCHMARK(BM_pixman_fill)->ArgName("size")->Arg(0)->Arg(1);

} // namespace

int main(int argc, char** argv)
{
  // KESTREL_NO_AVX=1 measures the SSE2 builds of the kernels that have AVX2 ones.
  if (std::getenv("KESTREL_NO_AVX"))
    LICE_SetAvx2Enabled(false);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
