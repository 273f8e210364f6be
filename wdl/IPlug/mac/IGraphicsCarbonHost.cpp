// What the Mac window binding holds of a Carbon host. Deleting it lets the
// binding go at once but leaves the handlers to delete it when the one that
// may be running returns.

#include "wdl/IPlug/carbon/IGraphicsCarbon.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

namespace
{

class CarbonHost : public IGraphicsCarbonHost
{
public:
  explicit CarbonHost(IGraphicsCarbon::Owner pCarbon) : mCarbon(std::move(pCarbon)) {}
  void* GetUserPane() override { return mCarbon->GetView(); }
  void Resize(int w, int h) override { mCarbon->Resize(w, h); }
  CGContextRef GetCGContext() override { return mCarbon->GetCGContext(); }
  int GetContentXOffset() override { return mCarbon->GetContentXOffset(); }
  int GetContentYOffset() override { return mCarbon->GetContentYOffset(); }

private:
  IGraphicsCarbon::Owner mCarbon;
};

} // namespace

// What is not a live window (a host's stale or wrong pointer) opens nothing.
std::unique_ptr<IGraphicsCarbonHost> MakeIGraphicsCarbonHost(IGraphicsMac* pGraphics, void* pWindow, void* pControl)
{
  auto* window = static_cast<WindowRef>(pWindow);
  auto* control = static_cast<ControlRef>(pControl);
  if (!IsValidWindowPtr(window) || (control && !IsValidControlHandle(control)))
    return nullptr;
  return std::make_unique<CarbonHost>(IGraphicsCarbon::Owner(new IGraphicsCarbon(pGraphics, window, control)));
}
