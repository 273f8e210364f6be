#include "wdl/IPlug/x11/X11Presenter.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSRunLoop.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/coregraphics/CGBitmapContext.h"

namespace
{

// X resource ids have 29 bits; anything else a host hands over is not one.
constexpr uintptr_t kMaxXid = 0x1FFFFFFF;
constexpr uint32_t kPutImageHeaderBytes = 24;
constexpr uint32_t kPixelBytes = 4;
constexpr uint8_t kBitsPerPixel = 32;
// Two presses of a button this close in time and place make a double click.
constexpr uint32_t kDoubleClickMs = 400;
constexpr int kDoubleClickPixels = 4;

constexpr uint8_t kButtonLeft = 1, kButtonMiddle = 2, kButtonRight = 3;
constexpr uint8_t kWheelUp = 4, kWheelDown = 5, kWheelLeft = 6, kWheelRight = 7;
constexpr uint8_t kErrorBadWindow = 3;

xcb_screen_t* screenOfRoot(const xcb_setup_t* setup, xcb_window_t root)
{
  for (auto it = xcb_setup_roots_iterator(setup); it.rem; xcb_screen_next(&it))
    if (it.data->root == root)
      return it.data;
  return nullptr;
}

xcb_visualtype_t* visualOf(xcb_screen_t* screen, xcb_visualid_t id)
{
  for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d))
    for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
      if (v.data->visual_id == id)
        return v.data;
  return nullptr;
}

bool depthUses32Bits(const xcb_setup_t* setup, uint8_t depth)
{
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
    if (f.data->depth == depth)
      return f.data->bits_per_pixel == kBitsPerPixel;
  return false;
}

// X modifier state to Cocoa modifier flags: Super plays Command.
NSEventModifierFlags modifiersOf(uint16_t state)
{
  NSEventModifierFlags f = 0;
  if (state & XCB_MOD_MASK_SHIFT)
    f |= NSShiftKeyMask;
  if (state & XCB_MOD_MASK_CONTROL)
    f |= NSControlKeyMask;
  if (state & XCB_MOD_MASK_1)
    f |= NSAlternateKeyMask;
  if (state & XCB_MOD_MASK_4)
    f |= NSCommandKeyMask;
  return f;
}

} // namespace

bool X11Presenter::Open(uintptr_t parentId, NSWindow* window, const char* displayName)
{
  Close();
  if (parentId == 0 || parentId > kMaxXid || !window || !window->graphicsContext())
    return false;
  CGContextRef port = window->graphicsContext()->graphicsPort();
  mWidth = int(CGBitmapContextGetWidth(port));
  mHeight = int(CGBitmapContextGetHeight(port));
  mConn = xcb_connect(displayName, nullptr);
  window->retain();
  mWindow = window;
  if (xcb_connection_has_error(mConn) || !openChild(xcb_window_t(parentId)))
  {
    Close();
    return false;
  }
  return true;
}

bool X11Presenter::openChild(uint32_t parent)
{
  xcb_generic_error_t* error = nullptr;
  xcb_get_geometry_reply_t* geo = xcb_get_geometry_reply(mConn, xcb_get_geometry(mConn, parent), &error);
  free(error);
  if (!geo)
    return false;
  const xcb_setup_t* setup = xcb_get_setup(mConn);
  xcb_screen_t* screen = screenOfRoot(setup, geo->root);
  free(geo);
  if (!screen)
    return false;
  xcb_visualtype_t* visual = visualOf(screen, screen->root_visual);
  bool trueColour =
    visual && (visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR || visual->_class == XCB_VISUAL_CLASS_DIRECT_COLOR);
  if (!trueColour || !mFormat.setMasks(visual->red_mask, visual->green_mask, visual->blue_mask) ||
      !depthUses32Bits(setup, screen->root_depth))
    return false;
  mFormat.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
  mDepth = screen->root_depth;

  // The screen's own visual and colour map, whatever the parent uses, and
  // no background, so an expose shows the last frame until it is copied.
  xcb_window_t child = xcb_generate_id(mConn);
  uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0,
                       XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                         XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       screen->default_colormap};
  error = xcb_request_check(
    mConn,
    xcb_create_window_checked(mConn, mDepth, child, parent, 0, 0, uint16_t(mWidth), uint16_t(mHeight), 0,
                              XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                              XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values));
  if (error)
  {
    free(error);
    return false;
  }
  mChild = child;
  mGC = xcb_generate_id(mConn);
  uint32_t noExposures = 0;
  xcb_create_gc(mConn, mGC, mChild, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  xcb_map_window(mConn, mChild);
  mMaxRequestBytes = xcb_get_maximum_request_length(mConn) * 4;
  if (mMaxRequestBytes <= kPutImageHeaderBytes + kPixelBytes)
    return false;
  size_t chunkPixels =
    std::min<size_t>(size_t(mWidth) * size_t(mHeight), (mMaxRequestBytes - kPutImageHeaderBytes) / kPixelBytes);
  mScratch.resize(chunkPixels);
  openSharedMemory();
  xcb_flush(mConn);
  return true;
}

void X11Presenter::openSharedMemory()
{
  const xcb_query_extension_reply_t* ext = xcb_get_extension_data(mConn, &xcb_shm_id);
  if (!ext || !ext->present)
    return;
  int id = shmget(IPC_PRIVATE, size_t(mWidth) * size_t(mHeight) * kPixelBytes, IPC_CREAT | 0600);
  if (id < 0)
    return;
  void* addr = shmat(id, nullptr, 0);
  uint32_t seg = xcb_generate_id(mConn);
  xcb_generic_error_t* error = addr == reinterpret_cast<void*>(-1)
                                 ? nullptr
                                 : xcb_request_check(mConn, xcb_shm_attach_checked(mConn, seg, uint32_t(id), 1));
  // Marked for removal now: it goes when the server and this process have
  // both let go, however either ends.
  shmctl(id, IPC_RMID, nullptr);
  if (addr == reinterpret_cast<void*>(-1))
    return;
  if (error)
  {
    free(error);
    shmdt(addr);
    return;
  }
  mShm = static_cast<uint32_t*>(addr);
  mShmSeg = seg;
}

void X11Presenter::closeSharedMemory()
{
  if (!mShm)
    return;
  if (!xcb_connection_has_error(mConn))
    xcb_shm_detach(mConn, mShmSeg);
  shmdt(mShm);
  mShm = nullptr;
  mShmBusy = false;
}

void X11Presenter::PresentRect(int x, int y, int w, int h)
{
  if (!mConn || !mChild)
    return;
  int x1 = std::min(x + w, mWidth), y1 = std::min(y + h, mHeight);
  x = std::max(x, 0);
  y = std::max(y, 0);
  if (x >= x1 || y >= y1)
    return;
  if (mShm)
    putShared(x, y, x1 - x, y1 - y);
  else
    putRows(x, y, x1 - x, y1 - y);
}

void X11Presenter::putShared(int x, int y, int w, int h)
{
  // The segment must not change under a copy the server has not made yet.
  if (mShmBusy)
    Sync();
  CGContextRef port = mWindow->graphicsContext()->graphicsPort();
  const auto* base = static_cast<const uint8_t*>(CGBitmapContextGetData(port));
  size_t rowBytes = CGBitmapContextGetBytesPerRow(port);
  for (int r = y; r < y + h; ++r)
    mFormat.convert(reinterpret_cast<const uint32_t*>(base + size_t(r) * rowBytes) + x,
                    mShm + size_t(r) * size_t(mWidth) + x, w);
  xcb_shm_put_image(mConn, mChild, mGC, uint16_t(mWidth), uint16_t(mHeight), uint16_t(x), uint16_t(y), uint16_t(w),
                    uint16_t(h), int16_t(x), int16_t(y), mDepth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, mShmSeg, 0);
  mShmBusy = true;
}

void X11Presenter::putRows(int x, int y, int w, int h)
{
  CGContextRef port = mWindow->graphicsContext()->graphicsPort();
  const auto* base = static_cast<const uint8_t*>(CGBitmapContextGetData(port));
  size_t rowBytes = CGBitmapContextGetBytesPerRow(port);
  int x1 = x + w, y1 = y + h;
  // Bands of columns only when a single row is over the request limit.
  uint32_t maxPixels = uint32_t(mScratch.size());
  int band = int(std::min<uint32_t>(uint32_t(w), maxPixels));
  for (int bx = x; bx < x1; bx += band)
  {
    int bw = std::min(band, x1 - bx);
    int rowsPerChunk = int(maxPixels / uint32_t(bw));
    for (int cy = y; cy < y1; cy += rowsPerChunk)
    {
      int rows = std::min(rowsPerChunk, y1 - cy);
      for (int r = 0; r < rows; ++r)
      {
        const auto* src = reinterpret_cast<const uint32_t*>(base + size_t(cy + r) * rowBytes) + bx;
        mFormat.convert(src, mScratch.data() + size_t(r) * size_t(bw), bw);
      }
      xcb_put_image(mConn, XCB_IMAGE_FORMAT_Z_PIXMAP, mChild, mGC, uint16_t(bw), uint16_t(rows), int16_t(bx),
                    int16_t(cy), 0, mDepth, uint32_t(rows) * uint32_t(bw) * kPixelBytes,
                    reinterpret_cast<const uint8_t*>(mScratch.data()));
    }
  }
}

void X11Presenter::queueExposed(int x, int y, int w, int h)
{
  mExposed.insert(mExposed.end(), {x, y, w, h});
}

void X11Presenter::Idle()
{
  if (!mConn)
    return;
  while (xcb_generic_event_t* ev = xcb_poll_for_event(mConn))
  {
    handleEvent(ev);
    free(ev);
    if (!mConn)
      return; // a view closed the editor
  }
  if (xcb_connection_has_error(mConn))
  {
    mChild = 0; // the server is gone: nothing to show on
    return;
  }
  NSRunLoop* loop = NSRunLoop::currentRunLoop();
  loop->runMode(NSDefaultRunLoopMode, loop->now());
  if (!mConn)
    return;
  mWindow->displayIfNeeded();
  NSRect drawn = mWindow->takeDrawnRect();
  if (!CGRectIsNull(drawn))
    PresentRect(int(drawn.origin.x), mHeight - int(drawn.origin.y + drawn.size.height), int(drawn.size.width),
                int(drawn.size.height));
  for (size_t i = 0; i + 3 < mExposed.size(); i += 4)
    PresentRect(mExposed[i], mExposed[i + 1], mExposed[i + 2], mExposed[i + 3]);
  mExposed.clear();
  xcb_flush(mConn);
}

void X11Presenter::handleEvent(const void* event)
{
  auto* ev = static_cast<const xcb_generic_event_t*>(event);
  switch (ev->response_type & 0x7F)
  { // the top bit marks events another client sent
  case 0: {
    auto* error = reinterpret_cast<const xcb_generic_error_t*>(ev);
    if (error->error_code == kErrorBadWindow && error->resource_id == mChild)
      mChild = 0;
    break;
  }
  case XCB_EXPOSE: {
    auto* e = reinterpret_cast<const xcb_expose_event_t*>(ev);
    if (e->window == mChild)
      queueExposed(e->x, e->y, e->width, e->height);
    break;
  }
  case XCB_DESTROY_NOTIFY:
    if (reinterpret_cast<const xcb_destroy_notify_event_t*>(ev)->window == mChild)
      mChild = 0;
    break;
  case XCB_BUTTON_PRESS:
  case XCB_BUTTON_RELEASE:
  case XCB_MOTION_NOTIFY: sendMouse(ev); break;
  default: break;
  }
}

void X11Presenter::sendMouse(const void* event)
{
  // Press, release and motion events share this layout.
  auto* ev = static_cast<const xcb_generic_event_t*>(event);
  auto* b = static_cast<const xcb_button_press_event_t*>(event);
  if (b->event != mChild || !mChild)
    return;
  uint8_t kind = ev->response_type & 0x7F;
  NSPoint at = {CGFloat(b->event_x), CGFloat(mHeight - b->event_y)};
  NSEventModifierFlags flags = modifiersOf(b->state);
  NSTimeInterval time = b->time / 1000.0;
  NSEvent* e = nullptr;
  if (kind == XCB_MOTION_NOTIFY)
  {
    // The editor knows one button; the right one is a Command-click.
    NSEventType type = NSMouseMoved;
    if (b->state & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_3))
      type = NSLeftMouseDragged;
    else if (b->state & XCB_BUTTON_MASK_2)
      type = NSOtherMouseDragged;
    if (b->state & XCB_BUTTON_MASK_3)
      flags |= NSCommandKeyMask;
    e = NSEvent::mouseEventWithType(type, at, flags, time, mWindow, 0);
  }
  else if (b->detail >= kWheelUp && b->detail <= kWheelRight)
  {
    if (kind != XCB_BUTTON_PRESS)
      return;
    CGFloat dy = b->detail == kWheelUp ? 1 : b->detail == kWheelDown ? -1 : 0;
    CGFloat dx = b->detail == kWheelLeft ? 1 : b->detail == kWheelRight ? -1 : 0;
    e = NSEvent::scrollWheelEvent(at, flags, time, mWindow, dx, dy);
  }
  else if (b->detail == kButtonLeft || b->detail == kButtonMiddle || b->detail == kButtonRight)
  {
    bool down = kind == XCB_BUTTON_PRESS;
    if (down)
    {
      bool again = b->detail == mLastButton && b->time - mLastPressTime <= kDoubleClickMs &&
                   std::abs(b->event_x - mLastPressX) <= kDoubleClickPixels &&
                   std::abs(b->event_y - mLastPressY) <= kDoubleClickPixels;
      mClickCount = again ? mClickCount + 1 : 1;
      mLastButton = b->detail;
      mLastPressTime = b->time;
      mLastPressX = b->event_x;
      mLastPressY = b->event_y;
    }
    NSEventType type = down ? NSLeftMouseDown : NSLeftMouseUp;
    if (b->detail == kButtonMiddle)
      type = down ? NSOtherMouseDown : NSOtherMouseUp;
    if (b->detail == kButtonRight)
      flags |= NSCommandKeyMask;
    e = NSEvent::mouseEventWithType(type, at, flags, time, mWindow, mClickCount);
  }
  else
  {
    return;
  }
  NSWindow* window = mWindow;
  window->retain();
  window->sendEvent(e);
  e->release();
  window->release();
}

void X11Presenter::LimitRequestBytes(uint32_t bytes)
{
  if (!mConn || bytes <= kPutImageHeaderBytes + kPixelBytes || bytes >= mMaxRequestBytes)
    return;
  Sync();
  closeSharedMemory();
  mMaxRequestBytes = bytes;
  mScratch.resize(std::min<size_t>(mScratch.size(), (bytes - kPutImageHeaderBytes) / kPixelBytes));
}

void X11Presenter::Sync()
{
  if (mConn)
    free(xcb_get_input_focus_reply(mConn, xcb_get_input_focus(mConn), nullptr));
  mShmBusy = false;
}

void X11Presenter::Close()
{
  if (mConn)
  {
    closeSharedMemory();
    if (mChild && !xcb_connection_has_error(mConn))
    {
      xcb_destroy_window(mConn, mChild);
      Sync(); // gone before the host goes on
    }
    xcb_disconnect(mConn);
  }
  mConn = nullptr;
  mChild = 0;
  mGC = 0;
  mExposed.clear();
  mScratch = std::vector<uint32_t>();
  mClickCount = 0;
  mLastButton = 0;
  NSWindow* window = mWindow;
  mWindow = nullptr;
  NSRelease(window);
}
