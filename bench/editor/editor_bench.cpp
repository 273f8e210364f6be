// The compressor-sized editor: 700 x 249 with a background and 17 bitmap
// controls (ratio selector, four switches, seven knob and slider strips, two
// meters, three read-out strips) drawn with source alpha over the background.
// Timed: a full redraw (IsDirty, Draw and the copy to a window-sized buffer),
// one knob, both meters, and an idle tick, which also counts allocations.

// The counting operator new below pairs malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <benchmark/benchmark.h>

#include "tests/support/IGraphicsTest.h"
#include "tests/support/IPlugTest.h"
#include "wdl/IPlug/IControls.h"

namespace
{

std::atomic<long> g_allocs{0};

// Copies the redrawn rectangle to a window-sized buffer, as a window binding would.
class BenchEditor : public IGraphicsTest
{
public:
  using IGraphicsTest::IGraphicsTest;
  bool DrawScreen(IRECT* pR) override
  {
    LICE_IBitmap* bb = GetBackBuffer();
    IRECT r = pR->Intersect(IRECT(0, 0, mWidth, mHeight));
    for (int y = r.T; y < r.B; ++y)
      memcpy(&mScreen[size_t(y) * mWidth + r.L], bb->getBits() + y * bb->getRowSpan() + r.L, size_t(r.Width()) * 4);
    return true;
  }
  std::vector<LICE_PixelValue> mScreen = std::vector<LICE_PixelValue>(700 * 249);
};

struct Art
{
  int id, w, frameH, frames;
};
const Art kArt[] = {
  {101, 700, 249, 1},  {113, 100, 120, 5},  {103, 30, 30, 2},    {112, 40, 24, 2},
  {102, 56, 56, 136},  {107, 130, 36, 100}, {108, 130, 36, 100}, {114, 40, 40, 136},
  {105, 220, 18, 121}, {106, 220, 18, 121}, {110, 56, 20, 100},
};

// Frames of an antialiased disc whose colour and mark turn with the frame, with transparent corners.
LICE_IBitmap* Paint(int id, const char*)
{
  for (const Art& a : kArt)
  {
    if (a.id != id)
      continue;
    auto* bm = new LICE_MemBitmap(a.w, a.frameH * a.frames);
    for (int f = 0; f < a.frames; ++f)
      for (int y = 0; y < a.frameH; ++y)
        for (int x = 0; x < a.w; ++x)
        {
          double dx = (x + 0.5 - a.w / 2.0) / (a.w / 2.0), dy = (y + 0.5 - a.frameH / 2.0) / (a.frameH / 2.0);
          double d = std::sqrt(dx * dx + dy * dy);
          int alpha = id == 101 ? 255 : d < 0.9 ? 255 : d < 1.0 ? int((1.0 - d) * 2550) : 0;
          int r = (x * 7 + f * 3) & 255, g = (y * 5 + f) & 255, b = (x + y + id) & 255;
          bm->bits[size_t(f * a.frameH + y) * a.w + x] =
            LICE_PixelValue(alpha) | LICE_PixelValue(r) << 8 | LICE_PixelValue(g) << 16 | LICE_PixelValue(b) << 24;
        }
    return bm;
  }
  return nullptr;
}

struct Editor
{
  Editor()
  {
    plug = new IPlugTest(IPlugInstanceInfo{}, 12, "2-2", 0, "E", "P", "M", 0x20000, 1, 2);
    for (int i = 0; i < 12; ++i)
      plug->GetParam(i)->InitDouble("p", 0.5, 0.0, 1.0, 0.001);
    gui = new BenchEditor(plug, 700, 249, 30);
    gui->mLoader = Paint;
    gui->AttachBackground(101, "bg");
    auto load = [&](int id) {
      for (const Art& a : kArt)
        if (a.id == id)
          return gui->LoadIBitmap(id, "art", a.frames);
      return IBitmap();
    };
    IBitmap ratio = load(113), button = load(103), outgr = load(112), knob = load(102), top = load(107),
            bot = load(108), small = load(114), vuTop = load(105), vuBot = load(106), digits = load(110);
    gui->AttachControl(new ISwitchControl(plug, 363, 65, 1, &ratio));
    gui->AttachControl(new ISwitchControl(plug, 596, 77, 11, &outgr));
    gui->AttachControl(new ISwitchControl(plug, 26, 209, 6, &button));
    gui->AttachControl(new ISwitchControl(plug, 613, 28, 8, &button));
    gui->AttachControl(new ISwitchControl(plug, 613, 205, 10, &button));
    knobIdx = gui->AttachControl(new IKnobMultiControl(plug, 113, 19, 3, &knob));
    gui->AttachControl(new IKnobMultiControl(plug, 250, 82, 4, &knob));
    gui->AttachControl(new IKnobMultiControl(plug, 113, 146, 9, &knob));
    gui->AttachControl(new IKnobMultiControl(plug, 422, 5, 0, &top, kHorizontal, 0.7));
    gui->AttachControl(new IKnobMultiControl(plug, 424, 197, 2, &bot, kHorizontal, 0.7));
    gui->AttachControl(new IKnobMultiControl(plug, 344, 201, 5, &small));
    gui->AttachControl(new IKnobMultiControl(plug, 344, 17, 7, &small));
    meterIn = gui->AttachControl(new IBitmapControl(plug, 460, 50, -1, &vuTop));
    meterOut = gui->AttachControl(new IBitmapControl(plug, 460, 135, -1, &vuBot));
    gui->AttachControl(new IBitmapControl(plug, 199, 52, -1, &digits));
    gui->AttachControl(new IBitmapControl(plug, 204, 116, -1, &digits));
    gui->AttachControl(new IBitmapControl(plug, 199, 179, -1, &digits));
    plug->AttachGraphics(gui);
    Tick();
  }
  ~Editor() { delete plug; }
  bool Tick()
  {
    IRECT r;
    return gui->IsDirty(&r) && gui->Draw(&r);
  }

  IPlugTest* plug;
  BenchEditor* gui;
  int knobIdx = -1, meterIn = -1, meterOut = -1;
};

void BM_FullRedraw(benchmark::State& state)
{
  Editor e;
  for (auto _ : state)
  {
    e.gui->SetAllControlsDirty();
    benchmark::DoNotOptimize(e.Tick());
  }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_OneKnob(benchmark::State& state)
{
  Editor e;
  int i = 0;
  for (auto _ : state)
  {
    e.gui->SetControlFromPlug(e.knobIdx, (++i & 63) / 63.0);
    benchmark::DoNotOptimize(e.Tick());
  }
}
BENCHMARK(BM_OneKnob)->Unit(benchmark::kMicrosecond);

void BM_BothMeters(benchmark::State& state)
{
  Editor e;
  IControl *in = e.gui->GetControl(e.meterIn), *out = e.gui->GetControl(e.meterOut);
  int i = 0;
  for (auto _ : state)
  {
    ++i;
    in->PostValueFromPlug((i & 127) / 127.0); // what the audio thread does
    out->PostValueFromPlug(((i * 3) & 127) / 127.0);
    benchmark::DoNotOptimize(e.Tick());
  }
}
BENCHMARK(BM_BothMeters)->Unit(benchmark::kMicrosecond);

void BM_IdleTick(benchmark::State& state)
{
  Editor e;
  while (e.Tick())
  {
  }
  long before = g_allocs.load();
  for (auto _ : state)
    benchmark::DoNotOptimize(e.Tick());
  state.counters["allocs"] = double(g_allocs.load() - before);
}
BENCHMARK(BM_IdleTick)->Unit(benchmark::kNanosecond);

} // namespace

void* operator new(size_t n)
{
  ++g_allocs;
  if (void* p = malloc(n ? n : 1))
    return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
  free(p);
}
// clang 14's <new> declares the sized form only under -fsized-deallocation.
void operator delete(void* p, size_t) noexcept;
void operator delete(void* p, size_t) noexcept
{
  free(p);
}

BENCHMARK_MAIN();
