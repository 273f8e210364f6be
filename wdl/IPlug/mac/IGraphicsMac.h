#pragma once
// The editor on a Mac: the raster back end put on screen in a Cocoa view
// (IGraphicsCocoa_v1002) or inside a Carbon window, text through Cocoa
// string drawing, images from the plug-in bundle found by its identifier,
// URLs, paths and the system version. Prompts do nothing on this platform.
// Main thread only.

#include <memory>

#include "wdl/IPlug/graphics/IGraphicsLice.h"
#include "wdl/wdlstring.h"

class IGraphicsCocoa_v1002;
class NSString;
struct NSStringAttributes;
typedef struct CGContext* CGContextRef;

// What the editor needs of the Carbon window binding. IGraphicsCarbonHost.cpp
// adapts IGraphicsCarbon to it; SetCarbonHostMaker can put another maker in place.
class IGraphicsCarbonHost
{
public:
  virtual ~IGraphicsCarbonHost() {}
  // The user-pane control the editor lives in.
  virtual void* GetUserPane() = 0;
  virtual void Resize(int w, int h) = 0;
  // The context of the current update, or null outside one.
  virtual CGContextRef GetCGContext() = 0;
  virtual int GetContentXOffset() { return 0; }
  virtual int GetContentYOffset() { return 0; }
};

class IGraphicsMac : public IGraphicsLice
{
public:
  // A new Carbon host for window (and control, null for a user pane of its own).
  typedef std::unique_ptr<IGraphicsCarbonHost> (*CarbonHostMaker)(IGraphicsMac* pGraphics, void* pWindow,
                                                                  void* pControl);

  IGraphicsMac(IPlugBase* pPlug, int w, int h, int fps = 0);
  ~IGraphicsMac() override;

  using IGraphicsLice::DrawBitmap;

  bool DrawScreen(IRECT* pR) override;
  bool DrawIText(IText* pTxt, char* str, IRECT* pR) override;
  void Resize(int w, int h) override;
  bool WindowIsOpen() override { return mCarbonHost || mCocoaView; }
  void PromptUserInput(IControl*, IParam*) override {}
  void HostPath(WDL_String* pPath) override;
  void PluginPath(WDL_String* pPath) override;
  void PromptForFile(WDL_String*, EFileAction, const char*, const char*) override {}
  bool PromptForColor(IColor*, const char*) override { return false; }
  // True when it opened, false when no URL could be made or the opener failed.
  bool OpenURL(const char* url, const char* msgWindowTitle, const char* confirmMsg,
               const char* errMsgOnFailure) override;
  // An NSView parent (or null) gets a new Cocoa view; anything else is a Carbon window.
  void* OpenWindow(void* pParent) override;
  void* OpenWindow(void* pWindow, void* pControl) override;
  void CloseWindow() override;
  void* GetWindow() override;
  LICE_IBitmap* OSLoadBitmap(int id, const char* name) override;

  void* OpenCocoaWindow(void* pParent);
  // Null (nothing opened) when no Carbon binding registered a maker.
  void* OpenCarbonWindow(void* pWindow, void* pControl);
  static void SetCarbonHostMaker(CarbonHostMaker maker);

  void SetBundleID(const char* id) { mBundleID.Set(id ? id : ""); }
  const char* GetBundleID() const { return mBundleID.Get(); }
  IGraphicsCarbonHost* GetCarbonHost() const { return mCarbonHost.get(); }

  // The system version as BCD digits (0x1050 for 10.5.0), 0 when unknown.
  static int GetUserOSVersion();

private:
  // Takes the editor off the Carbon window or out of the view hierarchy.
  void CloseHost();
  void CloseForOpen();

  std::unique_ptr<IGraphicsCarbonHost> mCarbonHost;
  IGraphicsCocoa_v1002* mCocoaView = nullptr;
  WDL_String mBundleID;
  std::unique_ptr<NSStringAttributes> mTextAttributes;
  IText mCachedText;
};

// Loads name ("png" or "jpg", any case) from the resources of the bundle
// with that identifier (a PNG is decoded when its pixels are first used);
// null when any of it is missing.
LICE_IBitmap* LoadImgFromResourceOSX(const char* bundleID, const char* name);
// A string the caller owns; nil for nil or for text the platform cannot read.
NSString* ToNSString(const char* cStr);
