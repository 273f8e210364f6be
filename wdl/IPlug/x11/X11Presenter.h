#pragma once
// Shows a Cocoa stand-in window inside a Linux host's X11 window: a child
// window of the host's, created through xcb on a connection of its own,
// shows the window's backing store, and the host's mouse events come back
// to the window's views as NSEvents. Everything runs on the thread that
// calls Open, Idle and Close (a host's user-interface thread).
//
// X errors arrive as events on the presenter's own connection and are read
// there; nothing process-wide (no Xlib error handler) is touched, so it is
// safe inside a host that has its own X connections.

#include <cstdint>
#include <vector>

#include "wdl/IPlug/x11/X11PixelFormat.h"

class NSWindow;
struct xcb_connection_t;

class X11Presenter
{
public:
  X11Presenter() = default;
  ~X11Presenter() { Close(); }
  X11Presenter(const X11Presenter&) = delete;
  X11Presenter& operator=(const X11Presenter&) = delete;

  // Opens a child of the X window parentId (an integer id, as a host hands
  // it over) of window's content size, retains window and maps the child.
  // False, with nothing left open, when parentId cannot be a window id,
  // the display (null: $DISPLAY) cannot be reached, the parent does not
  // exist, the screen's pixel format is not one of 32 bits a pixel, or the
  // window has no backing store. An open presenter is closed first.
  bool Open(uintptr_t parentId, NSWindow* window, const char* displayName = nullptr);
  bool IsOpen() const { return mConn != nullptr; }
  // The child window's id; 0 when closed or when the host destroyed it.
  uint32_t ChildWindow() const { return mChild; }

  // One idle turn: reads every pending X event (mouse events go to the
  // window as NSEvents; exposed areas are copied again), fires the due
  // timers of this thread's run loop, runs the window's display pass and
  // copies what it drew. Nothing when closed.
  void Idle();
  // Copies the backing store's rectangle x, y, w, h (pixels, top-left
  // origin; clipped to the window) to the child.
  void PresentRect(int x, int y, int w, int h);
  // Copies through plain requests of at most bytes each (below the
  // server's limit), not shared memory, so that tests see copies split as
  // a small limit splits them.
  void LimitRequestBytes(uint32_t bytes);
  // True while copies go through a memory segment shared with the server
  // (a local server with the shared-memory extension).
  bool UsesSharedMemory() const { return mShm != nullptr; }
  // Waits until the X server has handled every request sent so far.
  void Sync();
  // Destroys the child (unless the host already did, with its parent),
  // disconnects and releases the window. Safe to call again.
  void Close();

private:
  bool openChild(uint32_t parent);
  void openSharedMemory();
  void closeSharedMemory();
  void putRows(int x, int y, int w, int h);
  void putShared(int x, int y, int w, int h);
  // ev: an xcb_generic_event_t.
  void handleEvent(const void* ev);
  void sendMouse(const void* ev);
  void queueExposed(int x, int y, int w, int h);

  xcb_connection_t* mConn = nullptr;
  uint32_t mChild = 0;
  uint32_t mGC = 0;
  uint8_t mDepth = 0;
  X11PixelFormat mFormat;
  uint32_t mMaxRequestBytes = 0;
  NSWindow* mWindow = nullptr;
  int mWidth = 0, mHeight = 0;
  std::vector<uint32_t> mScratch;
  // The shared segment holds a whole frame in the server's layout.
  uint32_t* mShm = nullptr;
  uint32_t mShmSeg = 0;
  bool mShmBusy = false;     // the server may still be reading it
  std::vector<int> mExposed; // x, y, w, h quadruples awaiting a copy
  // Click counting: the last press's button, time and place.
  uint8_t mLastButton = 0;
  uint32_t mLastPressTime = 0;
  int mLastPressX = 0, mLastPressY = 0, mClickCount = 0;
};
