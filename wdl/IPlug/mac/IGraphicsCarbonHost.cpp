// What the Mac window binding holds of a Carbon host. Deleting it lets the
// binding go at once but leaves the handlers to delete it when the one that
// may be running returns.

#include "wdl/IPlug/carbon/IGraphicsCarbon.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

namespace {

class CarbonHost : public IGraphicsCarbonHost {
public:
  explicit CarbonHost(IGraphicsCarbon* pCarbon) : mCarbon(pCarbon) {}
  ~CarbonHost() override { IGraphicsCarbon::Release(mCarbon); }
  void* GetUserPane() override { return mCarbon->GetView(); }
  void Resize(int w, int h) override { mCarbon->Resize(w, h); }
  CGContextRef GetCGContext() override { return mCarbon->GetCGContext(); }
  int GetContentXOffset() override { return mCarbon->GetContentXOffset(); }
  int GetContentYOffset() override { return mCarbon->GetContentYOffset(); }

private:
  IGraphicsCarbon* mCarbon;
};

} // namespace

// What is not a live window (a host's stale or wrong pointer) opens nothing.
IGraphicsCarbonHost* MakeIGraphicsCarbonHost(IGraphicsMac* pGraphics, void* pWindow, void* pControl)
{
  auto* window = static_cast<WindowRef>(pWindow);
  auto* control = static_cast<ControlRef>(pControl);
  if (!IsValidWindowPtr(window) || (control && !IsValidControlHandle(control))) return nullptr;
  return new CarbonHost(
      new IGraphicsCarbon(pGraphics, window, control));
}
