#include "platform/cocoa/NSWindow.h"

#include <cstdlib>

#include "platform/cocoa/NSView.h"
#include "platform/coregraphics/CGBitmapContext.h"

NSWindow::NSWindow(NSRect contentRect)
{
  if (contentRect.size.width < 0) contentRect.size.width = 0;
  if (contentRect.size.height < 0) contentRect.size.height = 0;
  mContentRect = contentRect;
  uint64_t w = uint64_t(contentRect.size.width), h = uint64_t(contentRect.size.height);
  if (!w || !h || w * h > kCGMaxBitmapPixels) return;
  mBacking = calloc(size_t(h), size_t(w) * 4);
  if (!mBacking) return;
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef port = CGBitmapContextCreate(mBacking, size_t(w), size_t(h), 8, size_t(w) * 4, space,
                                            kCGImageAlphaNoneSkipFirst);
  CGColorSpaceRelease(space);
  if (port) mGraphicsContext = NSGraphicsContext::graphicsContextWithGraphicsPort(port, false);
  CGContextRelease(port);
}

NSWindow::~NSWindow()
{
  setContentView(nullptr);
  NSRelease(mGraphicsContext);
  free(mBacking);
}

void NSWindow::setContentView(NSView* view)
{
  if (view == mContentView) return;
  if (view) {
    view->retain();
    view->mWindow = this;
    view->setFrame(NSMakeRect(0, 0, mContentRect.size.width, mContentRect.size.height));
  }
  if (mContentView) {
    mContentView->mWindow = nullptr;
    mContentView->release();
  }
  mContentView = view;
}
