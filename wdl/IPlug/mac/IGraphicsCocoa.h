#pragma once
// The Cocoa view an editor lives in: a timer at the editor's frame rate
// that marks what changed, drawing through the editor, and mouse events
// turned into editor coordinates (top-left origin). The view keeps no
// reference on the editor; the editor holds the view it made.

#include "platform/cocoa/NSView.h"

class IGraphicsMac;
class NSTimer;
struct IMouseMod;

class IGraphicsCocoa_v1002 : public NSView
{
public:
  // init: detached, without a timer.
  IGraphicsCocoa_v1002();
  // initWithIGraphics: a view of the editor's size with its timer in the common modes.
  explicit IGraphicsCocoa_v1002(IGraphicsMac* pGraphics);

  bool isOpaque() override { return true; }
  bool acceptsFirstResponder() override { return true; }
  bool acceptsFirstMouse(NSEvent*) override { return true; }
  void viewDidMoveToWindow() override;
  void killTimer();
  // Detaches the editor (closing its window state) before leaving the superview.
  void removeFromSuperview() override;
  void doCommandBySelector(SEL selector) override;
  void getMouseXY(NSEvent* e, int* x, int* y) const;
  void onTimer(NSTimer* timer);
  void drawRect(NSRect rect) override;
  void mouseDown(NSEvent* e) override;
  void mouseUp(NSEvent* e) override;
  void mouseDragged(NSEvent* e) override;
  void mouseMoved(NSEvent* e) override;
  void scrollWheel(NSEvent* e) override;

  IGraphicsMac* graphics() const { return mGraphics; }
  // Clears the editor without closing it (the editor is closing the view).
  void detach() { mGraphics = nullptr; }
  NSTimer* timer() const { return mTimer; }

protected:
  ~IGraphicsCocoa_v1002() override;

private:
  IGraphicsMac* mGraphics = nullptr;
  NSTimer* mTimer = nullptr;
};

// The editor's modifiers for a Cocoa event's flags.
IMouseMod IMouseModFromCocoa(unsigned long long flags);
