#pragma once
// A rectangle of a window. Its frame is in the window's content
// coordinates, its bounds in its own (origin at the bottom-left unless
// moved with setBoundsOrigin). Drawing happens between lockFocusIfCanDraw
// and unlockFocus, which make the window's context current with the view's
// coordinate system and clip.

#include "platform/cocoa/NSObject.h"

class NSWindow;

class NSView : public NSObject {
public:
  explicit NSView(NSRect frame);

  NSRect frame() const { return mFrame; }
  // The bounds keep their origin and take the new size.
  void setFrame(NSRect frame);
  NSRect bounds() const { return mBounds; }
  void setBoundsOrigin(NSPoint origin);
  // The window whose content view this is (not retained), or null.
  NSWindow* window() const { return mWindow; }
  bool isHidden() const { return mHidden; }
  void setHidden(bool hidden) { mHidden = hidden; }

  // False, changing nothing, when the view has no window, is hidden, is
  // empty or its window cannot draw. Otherwise makes a context over the
  // window's backing store current, with its state saved and then moved to
  // the view (translated to the frame origin, less the bounds origin) and
  // clipped to the bounds. Focus locks nest per thread.
  bool lockFocusIfCanDraw();
  // Undoes the innermost lock when it is this view's; otherwise nothing.
  void unlockFocus();
  // The view of this thread's innermost focus lock, or null.
  static NSView* focusView();

private:
  friend class NSWindow;

  NSWindow* mWindow = nullptr;
  NSRect mFrame;
  NSRect mBounds;
  bool mHidden = false;
};
