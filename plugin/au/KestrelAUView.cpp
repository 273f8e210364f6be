// The Cocoa view factory a host makes by the name the Cocoa UI property
// gives. The view it hands back is the host's: the editor made it with one
// reference and keeps none, so the host releases it, also after the unit is
// closed (the unit's editor has detached it by then).

#include "platform/cocoa/AUCocoaUIView.h"
#include "platform/cocoa/NSClass.h"
#include "wdl/IPlug/au/IPlugAU.h"

class NSView;

class Kestrel_View : public NSObject, public AUCocoaUIBase
{
public:
  unsigned interfaceVersion() override { return 0; }
  std::string description() const override { return "Kestrel Compressor View"; }
  // The editor hands its Cocoa view out as an NSView.
  NSView* uiViewForAudioUnit(AudioUnit unit, NSSize) override
  {
    return static_cast<NSView*>(IPlugAU::OpenCocoaView(unit, &mPlug));
  }

private:
  IPlugBase* mPlug = nullptr;
};

NS_REGISTER_CLASS(Kestrel_View, "Kestrel_View", "NSObject");
