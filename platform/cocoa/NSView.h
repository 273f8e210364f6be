#pragma once
// A rectangle of a window, in a tree of views. Its frame is in its
// superview's coordinates (the content view's in the window's), its bounds
// in its own (origin at the bottom-left unless moved with setBoundsOrigin).
// A superview holds a reference to each subview.
//
// Drawing happens in a display pass (NSWindow::displayIfNeeded or
// display): each view whose area was marked with setNeedsDisplayInRect
// gets drawRect with the marked rectangle, focus-locked and clipped to it,
// and the views inside that area draw after it. Outside a pass,
// lockFocusIfCanDraw and unlockFocus make the window's context current
// with the view's coordinate system and clip.

#include <vector>

#include "platform/cocoa/NSResponder.h"

class NSWindow;

class NSView : public NSResponder
{
public:
  explicit NSView(NSRect frame);

  NSRect frame() const { return mFrame; }
  // The bounds keep their origin and take the new size.
  void setFrame(NSRect frame);
  void setFrameOrigin(NSPoint origin);
  virtual void setFrameSize(NSSize size);
  NSRect bounds() const { return mBounds; }
  void setBoundsOrigin(NSPoint origin);
  // The window of the tree this view is in (not retained), or null.
  NSWindow* window() const { return mWindow; }
  bool isHidden() const { return mHidden; }
  void setHidden(bool hidden) { mHidden = hidden; }

  // The tree. addSubview retains view and takes it from the superview it
  // had, if any (with removeFromSuperview); a nil view, the view itself or
  // one of its ancestors aborts.
  // removeFromSuperview releases the superview's reference, which may free
  // the view: a caller that keeps using it retains it first.
  NSView* superview() const { return mSuperview; }
  const std::vector<NSView*>& subviews() const { return mSubviews; }
  void addSubview(NSView* view);
  virtual void removeFromSuperview();
  bool isDescendantOf(const NSView* view) const;
  // Sent to every view of a tree that moved into or out of a window, after
  // the move.
  virtual void viewDidMoveToWindow() {}

  // Coordinates (views translate only). A nil view stands for the window's
  // base coordinates, or the tree's root when there is no window.
  NSPoint convertPointFromView(NSPoint p, const NSView* view) const;
  NSPoint convertPointToView(NSPoint p, const NSView* view) const;
  NSRect convertRectFromView(NSRect r, const NSView* view) const;
  NSRect convertRectToView(NSRect r, const NSView* view) const;
  // The part of the bounds not clipped away by the ancestors.
  NSRect visibleRect() const;
  // The deepest visible view under p (in the superview's coordinates),
  // topmost subview first; null when p is outside. A frame holds its left
  // and top edges, not its right and bottom ones.
  virtual NSView* hitTest(NSPoint p);

  // Display. The marked area is kept in this view's coordinates.
  virtual void drawRect(NSRect dirtyRect) { (void)dirtyRect; }
  void setNeedsDisplay(bool flag);
  void setNeedsDisplayInRect(NSRect rect);
  bool needsDisplay() const { return !CGRectIsNull(mNeedsDisplay); }
  NSRect needsDisplayRect() const { return mNeedsDisplay; }
  virtual bool isOpaque() { return false; }
  virtual bool acceptsFirstMouse(NSEvent* e)
  {
    (void)e;
    return false;
  }
  NSResponder* nextResponder() const override;

  // False, changing nothing, when the view has no window, is hidden, has
  // nothing visible or its window cannot draw. Otherwise makes a context
  // over the window's backing store current, with its state saved and then
  // moved to the view and clipped to its visible rectangle. Focus locks
  // nest per thread.
  bool lockFocusIfCanDraw();
  // Undoes the innermost lock when it is this view's; otherwise nothing.
  void unlockFocus();
  // The view of this thread's innermost focus lock, or null.
  static NSView* focusView();

protected:
  ~NSView() override;

private:
  friend class NSWindow;

  bool isHiddenOrHasHiddenAncestor() const;
  void setWindowOfTree(NSWindow* window);
  // Draws what is marked here or given by the superview (view coordinates)
  // and passes it on to the subviews.
  void displayPass(NSRect inherited, bool all);

  NSWindow* mWindow = nullptr;
  NSView* mSuperview = nullptr;
  std::vector<NSView*> mSubviews;
  NSRect mFrame;
  NSRect mBounds;
  NSRect mNeedsDisplay = CGRectNull;
  bool mHidden = false;
};
