#include <memory>

#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

IGraphics* MakeGraphics(IPlugAU* pPlug, int w, int h, int fps)
{
  auto g = std::make_unique<IGraphicsMac>(pPlug, w, h, fps);
  g->SetBundleID(pPlug->GetBundleID());
  // The caller attaches it to the plug-in, which owns it then.
  return g.release();
}
