// The Cocoa view factory a host makes by the name the Cocoa UI property
// gives. The view it hands back carries a reference of the host's own, apart
// from the editor's: the host releases it when it likes, also after the unit
// is closed (the unit's editor has detached the view and let go by then).

#include "platform/cocoa/AUCocoaUIView.h"
#include "platform/cocoa/NSClass.h"
#include "platform/cocoa/NSView.h"
#include "wdl/IPlug/au/IPlugAU.h"

class Kestrel_View : public NSObject, public AUCocoaUIBase
{
public:
  unsigned interfaceVersion() override { return 0; }
  std::string description() const override { return "Kestrel Compressor View"; }
  NSView* uiViewForAudioUnit(AudioUnit unit, NSSize) override
  {
    auto* view = dynamic_cast<NSView*>(NSObjectAtAddress(IPlugAU::OpenCocoaView(unit, &mPlug)));
    if (view)
      view->retain();
    return view;
  }

private:
  IPlugBase* mPlug = nullptr;
};

NS_REGISTER_CLASS(Kestrel_View, "Kestrel_View", "NSObject");
