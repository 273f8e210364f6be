#include "wdl/IPlug/mac/IGraphicsMac.h"

#include <cstring>
#include <string>
#include <strings.h>

#include "graphics/gdi/gdp_records.h"
#include "graphics/lice_loaders.h"
#include "platform/cocoa/Gestalt.h"
#include "platform/cocoa/NSApplication.h"
#include "platform/cocoa/NSAutoreleasePool.h"
#include "platform/cocoa/NSBundle.h"
#include "platform/cocoa/NSClass.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSString.h"
#include "platform/cocoa/NSStringDrawing.h"
#include "platform/cocoa/NSURL.h"
#include "platform/coregraphics/CGBitmapContext.h"
#include "platform/coregraphics/CGImage.h"
#include "wdl/IPlug/Log.h"
#include "wdl/IPlug/carbon/IGraphicsCarbon.h"
#include "wdl/IPlug/mac/IGraphicsCocoa.h"

namespace
{
IGraphicsMac::CarbonHostMaker s_carbonHostMaker = MakeIGraphicsCarbonHost;
} // namespace

IGraphicsMac::IGraphicsMac(IPlugBase* pPlug, int w, int h, int fps) : IGraphicsLice(pPlug, w, h, fps)
{
  NSApplicationLoad();
}

IGraphicsMac::~IGraphicsMac()
{
  // The plug-in is being destroyed around this editor: an open gesture is not reported to it.
  CloseHost();
}

void IGraphicsMac::SetCarbonHostMaker(CarbonHostMaker maker)
{
  s_carbonHostMaker = maker;
}

void* IGraphicsMac::OpenWindow(void* pParent)
{
  NSObject* obj = pParent ? NSObjectAtAddress(pParent) : nullptr;
  if (pParent && !NSIsInstanceOf<NSView>(obj))
    return OpenCarbonWindow(pParent, nullptr);
  return OpenCocoaWindow(pParent);
}

void* IGraphicsMac::OpenWindow(void* pWindow, void* pControl)
{
  return OpenCarbonWindow(pWindow, pControl);
}

// Before a new window, the gesture ends while the old one is still up: an
// open the host makes in answer is then closed with it, not left behind.
void IGraphicsMac::CloseForOpen()
{
  ReleaseMouseCapture();
  CloseHost();
}

void* IGraphicsMac::OpenCocoaWindow(void* pParent)
{
  CloseForOpen();
  mCocoaView = new IGraphicsCocoa_v1002(this);
  if (NSView* parent = dynamic_cast<NSView*>(NSObjectAtAddress(pParent)))
    parent->addSubview(mCocoaView);
  return mCocoaView;
}

void* IGraphicsMac::OpenCarbonWindow(void* pWindow, void* pControl)
{
  CloseForOpen();
  if (!s_carbonHostMaker)
    return nullptr;
  mCarbonHost = s_carbonHostMaker(this, pWindow, pControl);
  return mCarbonHost ? mCarbonHost->GetUserPane() : nullptr;
}

void IGraphicsMac::CloseWindow()
{
  // The window goes before the gesture ends: the host may answer the end
  // by opening the editor again.
  CloseHost();
  ReleaseMouseCapture();
}

void IGraphicsMac::CloseHost()
{
  if (mCarbonHost)
  {
    mCarbonHost.reset();
    return;
  }
  IGraphicsCocoa_v1002* view = mCocoaView;
  if (!view)
    return;
  mCocoaView = nullptr;
  view->killTimer();
  if (view->graphics())
  {
    view->detach();
    view->removeFromSuperview();
  }
  // The editor made the view, so it lets go of it once detached.
  view->release();
}

void* IGraphicsMac::GetWindow()
{
  return mCocoaView;
}

void IGraphicsMac::Resize(int w, int h)
{
  IGraphics::Resize(w, h);
  if (mBackBuffer)
    mBackBuffer->resize(w, h);
  if (mCarbonHost)
    mCarbonHost->Resize(w, h);
  else if (mCocoaView)
    mCocoaView->setFrameSize(CGSizeMake(w, h));
}

bool IGraphicsMac::DrawScreen(IRECT*)
{
  CGRect dest = CGRectMake(0, 0, mWidth, mHeight);
  CGContextRef ctx = nullptr;
  NSGraphicsContext* flipped = nullptr;
  if (mCarbonHost)
  {
    ctx = mCarbonHost->GetCGContext();
    dest.origin.x += mCarbonHost->GetContentXOffset();
    dest.origin.y += mCarbonHost->GetContentYOffset();
  }
  else if (NSGraphicsContext* cur = NSGraphicsContext::currentContext())
  {
    flipped = NSGraphicsContext::graphicsContextWithGraphicsPort(cur->graphicsPort(), true);
    ctx = flipped->graphicsPort();
  }
  HDC dc = mBackBuffer ? mBackBuffer->getDC() : nullptr;
  bool ok = false;
  if (ctx && dc && dc->cgContext)
  {
    if (CGImageRef img = CGBitmapContextCreateImage(dc->cgContext))
    {
      CGContextDrawImage(ctx, dest, img);
      CGImageRelease(img);
      ok = true;
    }
  }
  NSRelease(flipped);
  return ok;
}

bool IGraphicsMac::DrawIText(IText* pTxt, char* str, IRECT* pR)
{
  const int pt = int(pTxt->mSize * 0.75);
  const bool fresh = !mTextAttributes;
  if (fresh)
  {
    // The first text's font and size stay for every later one.
    mTextAttributes = std::make_unique<NSStringAttributes>();
    mTextAttributes->fontName = pTxt->mFont;
    mTextAttributes->pointSize = pt;
    std::memcpy(mCachedText.mFont, pTxt->mFont, sizeof(mCachedText.mFont));
  }
  const IColor& c = pTxt->mColor;
  if (fresh || !(c == mCachedText.mColor))
  {
    mTextAttributes->red = c.R / 255.0;
    mTextAttributes->green = c.G / 255.0;
    mTextAttributes->blue = c.B / 255.0;
    mTextAttributes->alpha = c.A / 255.0;
    mCachedText.mColor = c;
  }
  if (fresh || pTxt->mAlign != mCachedText.mAlign)
  {
    mTextAttributes->alignment = pTxt->mAlign == 0   ? NSLeftTextAlignment
                                 : pTxt->mAlign == 2 ? NSRightTextAlignment
                                                     : NSCenterTextAlignment;
    mCachedText.mAlign = pTxt->mAlign;
  }
  HDC dc = mBackBuffer ? mBackBuffer->getDC() : nullptr;
  if (!dc || !dc->cgContext)
    return false;
  // Text keeps to the same clip as every other primitive.
  IRECT clip;
  if (!GetClip(&clip))
    return true;
  CGContextSaveGState(dc->cgContext);
  CGContextClipToRect(dc->cgContext, CGRectMake(clip.L, clip.T, clip.Width(), clip.Height()));
  NSGraphicsContext::saveGraphicsState();
  NSGraphicsContext* ctx = NSGraphicsContext::graphicsContextWithGraphicsPort(dc->cgContext, true);
  ctx->setShouldAntialias(pt > 11);
  NSGraphicsContext::setCurrentContext(ctx);
  NSStringDrawWithRect(str, CGRectMake(pR->L, pR->T + pt / 4, pR->Width(), pR->Height()),
                       NSStringDrawingUsesDeviceMetrics, *mTextAttributes);
  NSGraphicsContext::restoreGraphicsState();
  CGContextRestoreGState(dc->cgContext);
  ctx->release();
  return true;
}

LICE_IBitmap* IGraphicsMac::OSLoadBitmap(int, const char* name)
{
  return LoadImgFromResourceOSX(mBundleID.Get(), name);
}

bool IGraphicsMac::OpenURL(const char* url, const char*, const char*, const char*)
{
  if (!url)
    return false;
  NSURL* u = nullptr;
  if (std::strstr(url, "http"))
    u = NSURL::URLWithString(url);
  else if (*url)
    u = NSURL::fileURLWithPath(url);
  // No URL means nothing opened: the caller may then try its backup address.
  if (!u)
    return false;
  const bool ok = NSWorkspace::sharedWorkspace()->openURL(u);
  u->release();
  return ok;
}

void IGraphicsMac::HostPath(WDL_String* pPath)
{
  if (!pPath)
    return;
  NSBundle* b = NSBundle::bundleWithIdentifier(mBundleID.Get());
  const std::string path = b ? b->executablePath() : std::string();
  if (!path.empty())
    pPath->Set(path.c_str());
}

void IGraphicsMac::PluginPath(WDL_String* pPath)
{
  if (!pPath)
    return;
  NSBundle* b = NSBundle::bundleWithIdentifier(mBundleID.Get());
  const std::string path = b ? b->bundlePath() : std::string();
  if (path.empty())
    return;
  const size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash);
  pPath->Set((dir + "/").c_str());
}

int IGraphicsMac::GetUserOSVersion()
{
  SInt32 v = 0;
  if (Gestalt(gestaltSystemVersion, &v) != noErr)
    v = 0;
  Trace(__FUNCTION__, __LINE__, "%x", int(v));
  return int(v);
}

LICE_IBitmap* LoadImgFromResourceOSX(const char* bundleID, const char* name)
{
  if (!name)
    return nullptr;
  const char* dot = std::strrchr(name, '.');
  const char* ext = dot ? dot + 1 : name;
  const bool png = !strcasecmp(ext, "png"), jpg = !strcasecmp(ext, "jpg");
  if (!png && !jpg)
    return nullptr;
  NSAutoreleasePool* pool = new NSAutoreleasePool;
  LICE_IBitmap* bmp = nullptr;
  NSBundle* bundle = NSBundle::bundleWithIdentifier(bundleID);
  const char* slash = std::strrchr(name, '/');
  const char* baseStart = slash ? slash + 1 : name;
  const std::string base(baseStart, dot && dot > baseStart ? dot : baseStart + std::strlen(baseStart));
  if (bundle && !base.empty())
  {
    const std::string path = bundle->pathForResource(base.c_str(), png ? "png" : "jpg");
    if (!path.empty())
      bmp = png ? LICE_DeferredPNG::Open(path.c_str()) : LICE_LoadJPG(path.c_str());
  }
  pool->drain();
  return bmp;
}

NSString* ToNSString(const char* cStr)
{
  return cStr ? NSString::stringWithCString(cStr) : nullptr;
}
