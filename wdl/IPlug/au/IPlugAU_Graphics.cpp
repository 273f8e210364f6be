#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

IGraphics* MakeGraphics(IPlugAU* pPlug, int w, int h, int fps)
{
  auto* g = new IGraphicsMac(pPlug, w, h, fps);
  g->SetBundleID(pPlug->GetBundleID());
  return g;
}
