// Incremental redraw equals full redraw: each iteration builds a random
// editor of overlapping controls, then runs ticks of random plug-in values,
// meter posts, gestures, hiding and greying, some of them between the
// timer's IsDirty and the Draw, while the host may show only part of the
// editor. The ticks that follow must soon have nothing left to draw; then
// what is shown of the back buffer drawn incrementally (only what IsDirty
// reported) must equal, bit for bit, a fresh editor with the same control
// states whose controls draw all they draw outside a pass.
// `--iteration N` replays one iteration.

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/IterationReplay.h"

#include "tests/editor/EditorFixture.h"

namespace
{

constexpr int kIterations = 300;
constexpr int kTicks = 40;
constexpr int kW = 60, kH = 40; // the background's size

// Draws with the plain primitives: a filled bar for the value, an outline,
// a forced pixel, a blended point, a circle and an arc.
struct BarControl : IControl
{
  BarControl(IPlugBase* plug, const IRECT& r, int paramIdx, IColor color, IChannelBlend blend)
    : IControl(plug, r, paramIdx, blend), mColor(color)
  {
  }
  bool Draw(IGraphics* g) override
  {
    IRECT bar = mDrawArea;
    bar.R = bar.L + int(mValue * bar.Width());
    g->FillIRect(&mColor, &bar, &mBlend);
    IRECT outline(mDrawArea.L, mDrawArea.T, mDrawArea.R - 1, mDrawArea.B - 1);
    g->DrawRect(&COLOR_ORANGE, &outline);
    g->ForcePixel(&COLOR_BLUE, mDrawArea.L + int(mValue * (mDrawArea.Width() - 1)), mDrawArea.T);
    g->DrawPoint(&COLOR_GREEN, float(mDrawArea.L) + 1.2f, float(mDrawArea.B) - 1.7f, &mBlend, false);
    float cx = float(mDrawArea.L + mDrawArea.R) * 0.5f, cy = float(mDrawArea.T + mDrawArea.B) * 0.5f;
    g->DrawCircle(&mColor, cx, cy, float(mDrawArea.Height()) * 0.4f, &mBlend, mValue > 0.5);
    g->DrawArc(&COLOR_YELLOW, cx, cy, float(mDrawArea.Height()) * 0.3f, -1.0f, float(mValue) * 6.0f, &mBlend, true);
    return true;
  }
  // The circle passes narrow bars; the outline's lines are moved into the editor.
  IRECT GetDrawnRECT() const override
  {
    const IRECT& a = mDrawArea;
    int r = int(float(a.Height()) * 0.4f) + 3, cx = (a.L + a.R) / 2, cy = (a.T + a.B) / 2;
    IRECT lines(std::clamp(a.L, 0, kW - 1), std::clamp(a.T, 0, kH - 1), std::clamp(a.R - 1, 0, kW - 1) + 1,
                std::clamp(a.B - 1, 0, kH - 1) + 1);
    return a.Union(IRECT(cx - r, cy - r, cx + r + 1, cy + r + 1)).Union(lines);
  }
  IColor mColor;
};

IChannelBlend RandomBlend(TestRng& rng)
{
  auto method = IChannelBlend::EBlendMethod(rng.range(0, 3));
  return IChannelBlend(method, rng.chance(50) ? 1.0f : float(rng.range(1, 255)) / 255.0f);
}

// The same seed builds the same editor.
void BuildRandomLayout(IGraphicsTest* gui, IPlugBase* plug, uint64_t seed)
{
  TestRng rng{seed};
  gui->AttachBackground(1, "bg");
  IBitmap sw = gui->LoadIBitmap(2, "sw", 3), knob = gui->LoadIBitmap(3, "knob", 10);
  IBitmap handle = gui->LoadIBitmap(4, "handle", 1), radio = gui->LoadIBitmap(5, "radio", 2);
  IBitmap mask = gui->LoadIBitmap(6, "mask", 1);
  for (int n = rng.range(1, 9); n > 0; --n)
  {
    int x = rng.range(-6, kW - 4), y = rng.range(-6, kH - 4), p = rng.range(-1, 3);
    IChannelBlend::EBlendMethod method = IChannelBlend::EBlendMethod(rng.range(0, 3));
    IBitmap* turned = rng.chance(50) ? &mask : &sw; // a strip turns whole, every frame
    switch (rng.range(0, 8))
    {
    case 0: gui->AttachControl(new ISwitchControl(plug, x, y, p, &sw, method)); break;
    case 1: gui->AttachControl(new IKnobMultiControl(plug, x, y, p, &knob, EDirection(rng.range(0, 1)))); break;
    case 2:
      gui->AttachControl(new IFaderControl(plug, x, y, rng.range(4, 30), p, &handle, EDirection(rng.range(0, 1))));
      break;
    case 3: {
      IRECT r(x, y, x + rng.range(4, 30), y + rng.range(4, 30));
      gui->AttachControl(new IRadioButtonsControl(plug, &r, p, rng.range(1, 3), &radio, EDirection(rng.range(0, 1))));
      break;
    }
    case 4: gui->AttachControl(new IBitmapControl(plug, x, y, -1, &knob, method)); break; // a meter
    case 5: {
      IRECT r(x, y, x + rng.range(6, 30), y + rng.range(6, 30));
      IColor c(rng.channel(), rng.channel(), rng.channel(), rng.channel());
      gui->AttachControl(new IKnobLineControl(plug, &r, p, &c, rng.range(0, 4), rng.range(0, 20)));
      break;
    }
    case 6: gui->AttachControl(new IKnobRotaterControl(plug, x, y, p, turned, -2.5, 2.5, rng.range(-2, 2))); break;
    case 7: gui->AttachControl(new IKnobRotatingMaskControl(plug, x, y, p, turned, turned, turned)); break;
    default: {
      IRECT r(x, y, x + rng.range(3, 25), y + rng.range(3, 15));
      gui->AttachControl(new BarControl(plug, r, p, IColor(rng.channel(), rng.channel(), rng.channel(), rng.channel()),
                                        RandomBlend(rng)));
    }
    }
  }
}

void RandomOp(IGraphicsTest* gui, TestRng& rng)
{
  int x = rng.range(-2, kW + 1), y = rng.range(-2, kH + 1), p = rng.range(0, 3);
  double v = rng.chance(20) ? rng.range(0, 1) : rng.range(0, 1000) / 1000.0;
  IMouseMod mod(true, rng.chance(5), rng.chance(20));
  switch (rng.range(0, 8))
  {
  case 0: gui->SetParameterFromPlug(p, v, true); break;
  case 1: gui->SetControlFromPlug(rng.range(0, gui->NControls() - 1), v * 1.4 - 0.2); break; // meters overshoot
  case 2: gui->OnMouseDown(x, y, &mod); break;
  case 3: gui->OnMouseDrag(x, y, &mod); break;
  case 4: gui->OnMouseUp(x, y, &mod); break;
  case 5: gui->HideControl(p, rng.chance(40)); break;
  case 6: gui->GrayOutControl(p, rng.chance(40)); break;
  case 7: gui->OnMouseWheel(x, y, &mod, rng.range(-5, 5)); break;
  default: gui->OnMouseDblClick(x, y, &mod);
  }
}

// The first pixel of shown where the two back buffers differ, or empty.
std::string Compare(IGraphicsLice* a, IGraphicsLice* b, const IRECT& shown)
{
  LICE_IBitmap *ba = a->GetBackBuffer(), *bb = b->GetBackBuffer();
  for (int y = 0; y < shown.B; ++y)
    for (int x = 0; x < shown.R; ++x)
    {
      LICE_PixelValue pa = ba->getBits()[y * ba->getRowSpan() + x], pb = bb->getBits()[y * bb->getRowSpan() + x];
      if (pa != pb)
      {
        char buf[96];
        snprintf(buf, sizeof(buf), "pixel (%d, %d): incremental %08x, full %08x", x, y, unsigned(pa), unsigned(pb));
        return buf;
      }
    }
  return "";
}

std::string RunIteration(int it)
{
  auto plug = MakeEditorPlug();
  auto* gui = MakeEditor(plug.get(), kW, kH);
  BuildRandomLayout(gui, plug.get(), uint64_t(it));
  plug->AttachGraphics(gui);
  TestRng rng{uint64_t(it) + 0x5EED};
  if (rng.chance(25))
    gui->SetStrictDrawing(false);
  const IRECT shown(0, 0, rng.chance(70) ? kW : rng.range(10, kW), rng.chance(70) ? kH : rng.range(10, kH));
  for (int tick = 0; tick < kTicks; ++tick)
  {
    for (int n = rng.range(0, 4); n > 0; --n)
      RandomOp(gui, rng);
    // The host paints what it shows of what IsDirty asked for, if anything.
    auto shows = [&](IRECT* r) { return (*r = r->Intersect(shown), r->L < r->R && r->T < r->B); };
    IRECT r;
    bool dirty = gui->IsDirty(&r);
    // Events between the timer's question and the drawing may dirty more.
    if (rng.chance(30))
      RandomOp(gui, rng);
    if (dirty && shows(&r))
      gui->Draw(&r);
    // Then ticks without events until nothing is left to draw.
    for (int settle = 0; settle < 4 && gui->IsDirty(&(r = IRECT())) && shows(&r); ++settle)
      gui->Draw(&r);
    if (gui->IsDirty(&(r = IRECT())) && shows(&r))
      return "tick " + std::to_string(tick) + ": still dirty after four passes";

    IGraphicsTest full(plug.get(), kW, kH);
    full.mLoader = MakeTestImage;
    BuildRandomLayout(&full, plug.get(), uint64_t(it));
    full.PrepDraw();
    for (int i = 0; i < gui->NControls(); ++i)
    {
      IControl *from = gui->GetControl(i), *to = full.GetControl(i);
      to->SetValueFromPlug(from->GetValue());
      to->Hide(from->IsHidden());
      // Greying sets the weight (0.25 or 1) whatever it was: copy it only once touched.
      if (from->IsGrayed() || from->GetBlend().mWeight != to->GetBlend().mWeight)
        to->GrayOut(from->IsGrayed());
    }
    IRECT all(0, 0, kW, kH);
    full.Draw(&all); // leaves the whole editor as the drawing area
    for (int i = 0; i < full.NControls(); ++i)
      if (!full.GetControl(i)->IsHidden())
        full.GetControl(i)->Draw(&full);
    std::string diff = Compare(gui, &full, shown);
    if (!diff.empty())
      return "tick " + std::to_string(tick) + ": " + diff;
  }
  return "";
}

TEST(Redraw, IncrementalEqualsFull)
{
  RunIterations(kIterations, RunIteration);
}

} // namespace

int main(int argc, char** argv)
{
  return ReplayMain(argc, argv);
}
