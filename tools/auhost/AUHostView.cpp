#include "tools/auhost/AUHostView.h"

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/carbon/carbon_driver.h"
#include "platform/cocoa/AUCocoaUIView.h"
#include "platform/cocoa/NSClass.h"
#include "platform/cocoa/NSRunLoop.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/components/ComponentParams.h"
#include "platform/coregraphics/CGBitmapContext.h"
#include "platform/coregraphics/CGImagePNG.h"

namespace
{

constexpr SInt16 kAudioUnitCarbonViewCreateSelect = 0x301;

// Lets the editor's timer pick up the values set before it opened: a tenth
// of a second covers the first tick of either window binding. The Cocoa run
// loop keeps a clock of its own, switched to a virtual one before the view
// is made so that it steps without waiting.
constexpr double kSettleSeconds = 0.1;

bool Fail(std::string* error, const std::string& why)
{
  *error = why;
  return false;
}

bool Save(CGImageRef image, const std::string& path, std::string* error)
{
  bool ok = image && CGImageWritePNG(image, path.c_str());
  CGImageRelease(image);
  return ok || Fail(error, "cannot write " + path);
}

bool SnapshotCarbon(AudioUnit unit, const std::string& path, std::string* error)
{
  ComponentDescription cd = {};
  UInt32 size = sizeof cd;
  if (AudioUnitGetProperty(unit, kAudioUnitProperty_GetUIComponentList, kAudioUnitScope_Global, 0, &cd, &size) != noErr)
    return Fail(error, "the unit lists no Carbon view");
  Component viewComponent = FindNextComponent(nullptr, &cd);
  ComponentInstance view = viewComponent ? OpenComponent(viewComponent) : nullptr;
  if (!view)
    return Fail(error, "the unit's Carbon view component cannot be opened");
  Rect bounds = {0, 0, 1, 1};
  WindowRef window = nullptr;
  CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &bounds, &window);
  ControlRef control = nullptr;
  const float where[2] = {0, 0}, want[2] = {0, 0};
  ComponentParameters p = PackComponentParameters(kAudioUnitCarbonViewCreateSelect, unit, static_cast<void*>(window),
                                                  static_cast<void*>(nullptr), static_cast<const void*>(where),
                                                  static_cast<const void*>(want), static_cast<void*>(&control));
  bool ok = CallComponent(view, &p) == noErr && control;
  if (ok)
  {
    // The editor keeps its own size: fit the window to the control.
    Rect c;
    GetControlBounds(control, &c);
    bounds.right = SInt16(c.right - c.left);
    bounds.bottom = SInt16(c.bottom - c.top);
    SetWindowBounds(window, kWindowContentRgn, &bounds);
    virtualClockAdvance(kSettleSeconds);
    carbonDriverUpdateWindow(window);
    ok = Save(carbonDriverCopyWindowImage(window), path, error);
  }
  else
  {
    Fail(error, "the Carbon view would not create its control");
  }
  CloseComponent(view);
  DisposeWindow(window);
  return ok;
}

bool SnapshotCocoa(AudioUnit unit, const std::string& path, std::string* error)
{
  AudioUnitCocoaViewInfo info = {};
  UInt32 size = sizeof info;
  if (AudioUnitGetProperty(unit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &info, &size) != noErr)
    return Fail(error, "the unit names no Cocoa view");
  char name[256] = "";
  CFStringGetCString(info.mCocoaAUViewClass[0], name, sizeof name, kCFStringEncodingUTF8);
  CFRelease(info.mCocoaAUViewClass[0]);
  CFRelease(info.mCocoaAUViewBundleLocation);
  Class cls = NSClassFromString(name);
  if (!cls)
    return Fail(error, std::string("no Cocoa class ") + name);
  NSRunLoop::currentRunLoop()->useVirtualClock(0);
  NSObject* factoryObject = NSClassCreateInstance(cls);
  auto* factory = dynamic_cast<AUCocoaUIBase*>(factoryObject);
  NSView* view = factory ? factory->uiViewForAudioUnit(unit, NSSize{0, 0}) : nullptr;
  NSRelease(factoryObject);
  if (!view)
    return Fail(error, std::string(name) + " made no view");
  // The view is ours: the window holds it while it draws, then we let it go.
  auto* window = new NSWindow(view->frame());
  window->setContentView(view);
  NSRunLoop::currentRunLoop()->runFor(kSettleSeconds);
  window->display();
  CGContextRef port = window->graphicsContext() ? window->graphicsContext()->graphicsPort() : nullptr;
  bool ok = Save(port ? CGBitmapContextCreateImage(port) : nullptr, path, error);
  window->setContentView(nullptr);
  NSRelease(window);
  NSRelease(view);
  return ok;
}

} // namespace

bool AUHostSnapshotView(AudioUnit unit, const std::string& kind, const std::string& pngPath, std::string* error)
{
  if (kind == "carbon")
    return SnapshotCarbon(unit, pngPath, error);
  if (kind == "cocoa")
    return SnapshotCocoa(unit, pngPath, error);
  return Fail(error, "unknown view kind " + kind + " (cocoa or carbon)");
}
