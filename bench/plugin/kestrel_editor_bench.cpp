// Opening the compressor's editor: the first time decodes the twelve images
// from the bundle, later times take them from the bitmap cache. Each open
// builds the editor, makes its view and draws the whole frame once.

#include <benchmark/benchmark.h>

#include <memory>

#include "platform/cocoa/NSBundle.h"
#include "plugin/Kestrel.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

namespace
{
void OpenEditor(Kestrel& plug)
{
  auto* g = new IGraphicsMac(&plug, Kestrel::kEditorWidth, Kestrel::kEditorHeight, Kestrel::kEditorFPS);
  g->SetBundleID("com.brackmere.vst.Kestrel");
  plug.BuildEditor(g);
  g->OpenWindow(nullptr);
  g->Draw(nullptr);
  benchmark::DoNotOptimize(g->GetBits());
  g->CloseWindow();
}

std::unique_ptr<Kestrel> MakePlug()
{
  NSBundle::bundleWithPath(KESTREL_VST_BUNDLE);
  return std::make_unique<Kestrel>(IPlugInstanceInfo{});
}

void BM_EditorFirstOpen(benchmark::State& state)
{
  auto plug = MakePlug();
  for (auto _ : state)
    OpenEditor(*plug);
}
// Only the first iteration of the process finds the cache empty.
BENCHMARK(BM_EditorFirstOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_EditorLaterOpen(benchmark::State& state)
{
  auto plug = MakePlug();
  OpenEditor(*plug);
  for (auto _ : state)
    OpenEditor(*plug);
}
BENCHMARK(BM_EditorLaterOpen)->Unit(benchmark::kMillisecond);
} // namespace
BENCHMARK_MAIN();
