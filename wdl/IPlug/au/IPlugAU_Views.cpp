// The Carbon view component and the Cocoa view factory's way to the editor.

#include <new>

#include "platform/components/ComponentParams.h"

#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/au/IPlugAU.h"

namespace
{

constexpr SInt16 kAudioUnitCarbonViewCreateSelect = 0x301;

// One per open view instance. The unit is kept as its instance and looked
// up again at each use: the host may close it while the view is open.
struct CarbonViewStorage
{
  ComponentInstance viewInstance;
  IPlugBase* plug;
  AudioUnit unit;
};

} // namespace

ComponentResult IPlugAU::IPlugAUCarbonViewEntry(ComponentParameters* params, void* storage) noexcept
{
  if (!params)
    return paramErr;
  auto* view = static_cast<CarbonViewStorage*>(storage);
  switch (params->what)
  {
  case kComponentOpenSelect: {
    ComponentInstance ci = nullptr;
    if (!UnpackComponentParameters(params, &ci))
      return paramErr;
    auto* s = new (std::nothrow) CarbonViewStorage{ci, nullptr, nullptr};
    if (!s)
      return memFullErr;
    SetComponentInstanceStorage(ci, reinterpret_cast<Handle>(s));
    return noErr;
  }
  case kComponentCloseSelect: {
    if (!view)
      return noErr;
    IPlugAU* plug = FindOpenUnit(view->unit);
    if (plug && plug == view->plug && plug->GetGUI())
      plug->GetGUI()->CloseWindow();
    delete view;
    return noErr;
  }
  case kAudioUnitCarbonViewCreateSelect: {
    AudioUnit unit = nullptr;
    void *window = nullptr, *parent = nullptr, *outControl = nullptr;
    const void *location = nullptr, *size = nullptr;
    if (!view)
      return badComponentSelector;
    if (!UnpackComponentParameters(params, &unit, &window, &parent, &location, &size, &outControl))
      return paramErr;
    IPlugAU* plug = FindOpenUnit(unit);
    view->plug = plug;
    view->unit = unit;
    if (!plug || !plug->GetGUI() || !outControl)
      return badComponentSelector;
    // The editor refuses what is not a window: no control, so no success.
    void* control = plug->GetGUI()->OpenWindow(window, parent);
    if (!control)
      return badComponentSelector;
    *static_cast<void**>(outControl) = control;
    return noErr;
  }
  }
  return badComponentSelector;
}

void* IPlugAU::OpenCocoaView(AudioUnit unit, IPlugBase** ppPlug)
{
  IPlugAU* plug = FindOpenUnit(unit);
  if (ppPlug)
    *ppPlug = plug;
  if (!plug || !plug->GetGUI())
    return nullptr;
  return plug->GetGUI()->OpenWindow(nullptr);
}
