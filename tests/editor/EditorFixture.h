#pragma once
// A plug-in with four 0-1 parameters and an editor on the test window
// binding, whose images are drawn from their id: each id has a fixed size
// and frame count and a pattern no two frames share.

#include <memory>

#include "tests/graphics/lice_test_support.h"
#include "tests/support/IGraphicsTest.h"
#include "tests/support/IPlugTest.h"
#include "wdl/IPlug/IControls.h"

struct TestImage
{
  int id, w, h, frames;
};

// Ids 1-99 are procedural; others have no image.
inline const TestImage* FindTestImage(int id)
{
  static const TestImage kImages[] = {
    {1, 60, 40, 1},   // background
    {2, 12, 30, 3},   // 3-frame switch
    {3, 16, 160, 10}, // 10-frame knob strip
    {4, 8, 6, 1},     // fader handle
    {5, 10, 20, 2},   // radio button off/on
    {6, 9, 7, 1},     // odd-width mask parts
  };
  for (const TestImage& t : kImages)
    if (t.id == id)
      return &t;
  return nullptr;
}

inline LICE_IBitmap* MakeTestImage(int id, const char*)
{
  const TestImage* t = FindTestImage(id);
  if (!t)
    return nullptr;
  auto* bm = new LICE_MemBitmap(t->w, t->h);
  TestRng rng{uint64_t(id)};
  for (int i = 0; i < t->w * t->h; ++i)
    bm->bits[i] = rng.pixel();
  return bm;
}

inline std::unique_ptr<IPlugTest> MakeEditorPlug(int nParams = 4)
{
  auto plug = std::make_unique<IPlugTest>(IPlugInstanceInfo{}, nParams, "1-1", 0, "E", "P", "M", 0x10000, 1, 2);
  for (int i = 0; i < nParams; ++i)
    plug->GetParam(i)->InitDouble("p", 0.0, 0.0, 1.0, 0.001);
  return plug;
}

inline IGraphicsTest* MakeEditor(IPlugBase* plug, int w = 60, int h = 40)
{
  auto* g = new IGraphicsTest(plug, w, h, 30);
  g->mLoader = MakeTestImage;
  return g;
}
