#pragma once
// The Mac editor for the Carbon tests, and a picture that shows at once
// whether it arrived upright.

#include <vector>

#include "graphics/gdi/gdp_records.h"
#include "platform/coregraphics/CGBitmapContext.h"
#include "wdl/IPlug/IControl.h"
#include "wdl/IPlug/carbon/IGraphicsCarbon.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

inline constexpr int kW = 60, kH = 40;

// The editor as a plug-in makes it on a Mac.
inline IGraphicsMac* MakeMacEditor(IPlugBase* pPlug)
{
  return new IGraphicsMac(pPlug, kW, kH, 30);
}

inline ControlRef PaneOf(IGraphicsMac* ed)
{
  return ed->GetCarbonHost() ? static_cast<ControlRef>(ed->GetCarbonHost()->GetUserPane()) : nullptr;
}

// Four quadrants whose colours follow the parameter value, so a picture
// upside down or mirrored never matches.
class Quadrants : public IControl
{
public:
  Quadrants(IPlugBase* p, int param) : IControl(p, IRECT(0, 0, kW, kH), param) {}
  bool Draw(IGraphics* g) override
  {
    int v = int(GetValue() * 200);
    IColor c[4] = {{255, 200, 10, 10}, {255, 10, 200, 10}, {255, 10, 10, 200}, {255, v, 255 - v, 90}};
    IRECT r[4] = {{0, 0, 30, 20}, {30, 0, 60, 20}, {0, 20, 30, 40}, {30, 20, 60, 40}};
    for (int i = 0; i < 4; ++i)
      g->FillIRect(&c[i], &r[i], nullptr);
    IRECT mark(3, 2, 8, 5);
    IColor white(255, 255, 255, 255);
    return g->FillIRect(&white, &mark, nullptr);
  }
};

// The top-left editor-sized rows of an image (bytes X, R, G, B), which is released.
inline std::vector<unsigned char> EditorRows(CGImageRef img)
{
  const unsigned char* p = CGImageGetBytes(img);
  std::vector<unsigned char> out;
  for (int y = 0; y < kH; ++y)
    out.insert(out.end(), p + y * CGImageGetBytesPerRow(img), p + y * CGImageGetBytesPerRow(img) + kW * 4);
  CGImageRelease(img);
  return out;
}

// The back buffer as the Cocoa view copies it to the screen.
inline std::vector<unsigned char> Reference(IGraphicsMac* ed)
{
  return EditorRows(CGBitmapContextCreateImage(ed->GetBackBuffer()->getDC()->cgContext));
}
