// Scaled and rotated blits next to pixman's transformed composites in the
// same run, and the gradient, blur and halving next to memcpy of the same
// bytes. Counters: ns per destination pixel and destination bytes per
// second.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>
#include <pixman.h>

#include "graphics/lice.h"
#include "graphics/lice_simd.h"

namespace
{

struct Scale
{
  int sw, sh, dw, dh;
};
// The editor's window up 1.5x and down 0.75x, 2048^2 up to 4096^2 and
// 1024^2 up to 1536^2.
const Scale kScales[] = {
  {700, 249, 1050, 374}, {700, 249, 525, 187}, {2048, 2048, 4096, 4096}, {1024, 1024, 1536, 1536}};
constexpr int64_t kScaleCount = int64_t(sizeof(kScales) / sizeof(kScales[0]));

void paint(LICE_IBitmap& bm)
{
  const int w = bm.getWidth(), h = bm.getHeight();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const double dx = x % 96 - 48, dy = y % 96 - 48;
      const int a = dx * dx + dy * dy < 40 * 40 ? 255 : (x + y) % 3 ? 0 : 128;
      bm.getBits()[y * bm.getRowSpan() + x] = LICE_PixelValue(a) | LICE_PixelValue(40 + x % 200) << 8 |
                                              LICE_PixelValue(90 + y % 150) << 16 |
                                              LICE_PixelValue(200 - (x + y) % 120) << 24;
    }
}

void setCounters(benchmark::State& state, int w, int h)
{
  const double pixels = double(w) * h;
  state.counters["per_px"] =
    benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pixels) * 4);
}

// pixman a8r8g8b8, premultiplied, from a LICE bitmap.
std::vector<uint32_t> toPixman(LICE_MemBitmap& bm)
{
  std::vector<uint32_t> out(size_t(bm.getWidth()) * bm.getHeight());
  for (size_t i = 0; i < out.size(); ++i)
  {
    const uint32_t p = bm.getBits()[i];
    const uint32_t a = p & 0xff, r = (p >> 8) & 0xff, g = (p >> 16) & 0xff, b = p >> 24;
    out[i] = a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (b * a / 255);
  }
  return out;
}

// args: scale index, mode (0 nearest copy, 0x100 bilinear copy).
void BM_LICE_ScaledBlit(benchmark::State& state)
{
  const Scale s = kScales[state.range(0)];
  LICE_MemBitmap src(s.sw, s.sh), dest(s.dw, s.dh);
  paint(src);
  LICE_Clear(&dest, 0);
  for (auto _ : state)
  {
    LICE_ScaledBlit(&dest, &src, 0, 0, s.dw, s.dh, 0, 0, float(s.sw), float(s.sh), 1.0f, int(state.range(1)));
    benchmark::ClobberMemory();
  }
  setCounters(state, s.dw, s.dh);
}

// The same scale with pixman: SRC through a scale transform, args: scale
// index, 0 nearest / 1 bilinear.
void BM_pixman_scaled(benchmark::State& state)
{
  const Scale s = kScales[state.range(0)];
  LICE_MemBitmap bm(s.sw, s.sh);
  paint(bm);
  std::vector<uint32_t> src = toPixman(bm), dst(size_t(s.dw) * s.dh);
  pixman_image_t* si = pixman_image_create_bits(PIXMAN_a8r8g8b8, s.sw, s.sh, src.data(), s.sw * 4);
  pixman_image_t* di = pixman_image_create_bits(PIXMAN_a8r8g8b8, s.dw, s.dh, dst.data(), s.dw * 4);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(s.sw) / s.dw),
                              pixman_double_to_fixed(double(s.sh) / s.dh));
  pixman_image_set_transform(si, &t);
  pixman_image_set_filter(si, state.range(1) ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state)
  {
    pixman_image_composite32(PIXMAN_OP_SRC, si, nullptr, di, 0, 0, 0, 0, 0, 0, s.dw, s.dh);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(si);
  pixman_image_unref(di);
  setCounters(state, s.dw, s.dh);
}

constexpr double kAngle = 30.0 * 3.14159265358979323846 / 180.0;

// Bilinear rotation by 30 degrees with source alpha, args: side.
void BM_LICE_RotatedBlit(benchmark::State& state)
{
  const int n = int(state.range(0));
  LICE_MemBitmap src(n, n), dest(n, n);
  paint(src);
  LICE_Clear(&dest, 0xff604020);
  for (auto _ : state)
  {
    LICE_RotatedBlit(&dest, &src, 0, 0, n, n, 0, 0, float(n), float(n), float(kAngle), false, 1.0f,
                     LICE_BLIT_FILTER_BILINEAR | LICE_BLIT_USE_ALPHA, 0, 0);
    benchmark::ClobberMemory();
  }
  setCounters(state, n, n);
}

void BM_pixman_rotated(benchmark::State& state)
{
  const int n = int(state.range(0));
  LICE_MemBitmap bm(n, n);
  paint(bm);
  std::vector<uint32_t> src = toPixman(bm), dst(size_t(n) * n, 0xff204060);
  pixman_image_t* si = pixman_image_create_bits(PIXMAN_a8r8g8b8, n, n, src.data(), n * 4);
  pixman_image_t* di = pixman_image_create_bits(PIXMAN_a8r8g8b8, n, n, dst.data(), n * 4);
  // Destination to source: about the centre.
  pixman_f_transform_t f;
  pixman_f_transform_init_translate(&f, -n / 2.0, -n / 2.0);
  pixman_f_transform_rotate(&f, nullptr, std::cos(kAngle), std::sin(kAngle));
  pixman_f_transform_translate(&f, nullptr, n / 2.0, n / 2.0);
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &f);
  pixman_image_set_transform(si, &t);
  pixman_image_set_filter(si, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  for (auto _ : state)
  {
    pixman_image_composite32(PIXMAN_OP_OVER, si, nullptr, di, 0, 0, 0, 0, 0, 0, n, n);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(si);
  pixman_image_unref(di);
  setCounters(state, n, n);
}

constexpr int kBig = 4096;

void BM_memcpy_4096(benchmark::State& state)
{
  std::vector<uint32_t> a(size_t(kBig) * kBig, 0x80402010), b(a.size());
  for (auto _ : state)
  {
    memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  setCounters(state, kBig, kBig);
}

// Copy-mode gradient, opaque (arg 0) or with an alpha ramp (arg 1).
void BM_LICE_GradRect(benchmark::State& state)
{
  LICE_MemBitmap dest(kBig, kBig);
  LICE_Clear(&dest, 0xff604020);
  const float dadx = state.range(0) ? -0.5f / kBig : 0.0f;
  for (auto _ : state)
  {
    LICE_GradRect(&dest, 0, 0, kBig, kBig, 0.1f, 0.2f, 0.9f, 1.0f, 0.8f / kBig, 0, -0.5f / kBig, dadx, 0, 0.7f / kBig,
                  0, 0, 0);
    benchmark::ClobberMemory();
  }
  setCounters(state, kBig, kBig);
}

// Into another bitmap (arg 0) or in place (arg 1).
void BM_LICE_Blur(benchmark::State& state)
{
  LICE_MemBitmap src(kBig, kBig), dest(kBig, kBig);
  paint(src);
  LICE_Clear(&dest, 0);
  LICE_IBitmap* out = state.range(0) ? static_cast<LICE_IBitmap*>(&src) : &dest;
  for (auto _ : state)
  {
    LICE_Blur(out, &src, 0, 0, 0, 0, kBig, kBig);
    benchmark::ClobberMemory();
  }
  setCounters(state, kBig, kBig);
}

// Counters count the source's pixels, the bytes memcpy would move.
void BM_LICE_HalveBlitAA(benchmark::State& state)
{
  LICE_MemBitmap src(kBig, kBig), dest(kBig / 2, kBig / 2);
  paint(src);
  LICE_Clear(&dest, 0);
  for (auto _ : state)
  {
    LICE_HalveBlitAA(&dest, &src);
    benchmark::ClobberMemory();
  }
  setCounters(state, kBig, kBig);
}

void scaleArgs(benchmark::internal::Benchmark* b, int64_t nearest, int64_t bilinear)
{
  b->ArgNames({"scale", "filter"});
  for (int64_t i = 0; i < kScaleCount; ++i)
  {
    b->Args({i, nearest});
    b->Args({i, bilinear});
  }
}

BENCHMARK(BM_LICE_ScaledBlit)->Apply([](auto* b) { scaleArgs(b, 0, LICE_BLIT_FILTER_BILINEAR); });
BENCHMARK(BM_pixman_scaled)->Apply([](auto* b) { scaleArgs(b, 0, 1); });
BENCHMARK(BM_LICE_RotatedBlit)->ArgName("side")->Arg(128)->Arg(1024);
BENCHMARK(BM_pixman_rotated)->ArgName("side")->Arg(128)->Arg(1024);
BENCHMARK(BM_memcpy_4096);
BENCHMARK(BM_LICE_GradRect)->ArgName("alpha_ramp")->Arg(0)->Arg(1);
BENCHMARK(BM_LICE_Blur)->ArgName("in_place")->Arg(0)->Arg(1);
BENCHMARK(BM_LICE_HalveBlitAA);

} // namespace

int main(int argc, char** argv)
{
  // KESTREL_NO_AVX=1 measures the SSE2 build of the loops also built for AVX2.
  if (std::getenv("KESTREL_NO_AVX"))
    LICE_SetAvx2Enabled(false);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
