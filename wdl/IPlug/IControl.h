#pragma once
// The abstract on-screen control: a rectangle, an optional parameter, a
// normalised value, dirty state and the mouse rules that turn gestures into
// values for the plug-in. The declaration order of the virtual operations is
// the slot order.
//
// Threads: everything here runs on the editor's (host's main) thread, except
// PostValueFromPlug, which any thread may call: the audio thread for meters
// and read-outs, a host's automation thread for parameters. The posted value
// waits in a one-value mailbox until the editor's next timer tick hands it to
// SetValueFromPlug on the editor's thread.

#include "wdl/IPlug/IGraphicsStructs.h"
#include "wdl/IPlug/IValueMailbox.h"

class IGraphics;
class IPlugBase;

class IControl
{
public:
  explicit IControl(IPlugBase* pPlug, const IRECT& area = IRECT(), int paramIdx = -1,
                    IChannelBlend blend = IChannelBlend())
    : mPlugin(pPlug), mDrawArea(area), mHitArea(area), mParamIndex(paramIdx), mBlend(blend)
  {
  }
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Virtual slots, in order ----
  virtual ~IControl() {}
  // With R set (and a parameter, and prompting allowed): asks the editor to prompt for a value.
  virtual void OnMouseDown(int x, int y, IMouseMod* pMod);
  virtual void OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {}
  virtual void OnMouseDrag(int /*x*/, int /*y*/, int /*dX*/, int /*dY*/, IMouseMod* /*pMod*/) {}
  // Back to the default value, once the plug-in has given one.
  virtual void OnMouseDblClick(int x, int y, IMouseMod* pMod);
  // 0.01 per notch, 0.001 with Shift or Control.
  virtual void OnMouseWheel(int x, int y, IMouseMod* pMod, int d);
  virtual bool OnKeyDown(int /*x*/, int /*y*/, int /*key*/) { return false; }
  virtual void OnMouseOver(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {}
  virtual void OnMouseOut() {}
  // Draws through the editor's primitives, clipped to the pass's area
  // within GetDrawnRECT.
  virtual bool Draw(IGraphics* pGraphics) = 0;
  // A normalised value from the plug-in, never sent back. The first one
  // becomes the default. Editor thread only (others post).
  virtual void SetValueFromPlug(double value);
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) { return mHitArea.Contains(x, y); }
  // Clamps the value and marks the control dirty; with push, the clamped
  // value goes to the bound parameter. The only way a control changes one.
  virtual void SetDirty(bool pushParamToPlug = true);
  // Stays dirty for one more pass when a redraw was asked for.
  virtual void SetClean();
  virtual bool IsDirty() { return mDirty; }
  virtual void OnGUIIdle() {}
  // Every pixel Draw may touch: the rectangle, and more where the picture is
  // larger than it. The editor reports, redraws and clips the control by it,
  // so an incremental redraw equals a full one.
  virtual IRECT GetDrawnRECT() const { return mDrawArea; }

  // ---- Non-virtual ----
  // A value the user typed: pushed to the plug-in when it differs.
  void SetValueFromUserInput(double value);
  // Asks the editor to prompt for the bound parameter's value.
  void PromptUserInput();

  // Any thread, lock-free and allocation-free: leaves a value for the next
  // tick. A newer post replaces one not yet taken; non-finite values are dropped.
  void PostValueFromPlug(double value) { mPosted.Post(value); }
  // Editor thread: takes the posted value, if any.
  bool TakePostedValue(double* pValue) { return mPosted.Take(pValue); }

  IPlugBase* GetPlugin() const { return mPlugin; }
  int ParamIdx() const { return mParamIndex; }
  double GetValue() const { return mValue; }
  double GetDefaultValue() const { return mDefaultValue; }
  const IRECT& GetRECT() const { return mDrawArea; }
  const IRECT& GetHitRECT() const { return mHitArea; }
  const IChannelBlend& GetBlend() const { return mBlend; }
  bool IsHidden() const { return mHidden; }
  bool IsGrayed() const { return mGrayed; }
  bool GetDoubleClickAsClick() const { return mDoubleClickAsClick; }
  void SetDoubleClickAsClick(bool asClick) { mDoubleClickAsClick = asClick; }
  void SetNoPrompt(bool noPrompt) { mNoPrompt = noPrompt; }
  void SetHitRECT(const IRECT& r) { mHitArea = r; }
  double GetClampLow() const { return mClampLow; }
  double GetClampHigh() const { return mClampHigh; }
  // Non-finite bounds are ignored; the value is clamped at the next SetDirty.
  void Clamp(double lo, double hi);

protected:
  IPlugBase* mPlugin;
  IRECT mDrawArea;
  IRECT mHitArea;
  int mParamIndex;
  double mValue = 0.0;
  double mDefaultValue = -1.0;
  double mClampLow = 0.0, mClampHigh = 1.0;
  bool mDirty = true;
  bool mHidden = false;
  bool mGrayed = false;
  bool mRedrawPending = false;
  bool mNoPrompt = false;
  bool mDoubleClickAsClick = false;
  IChannelBlend mBlend;

private:
  IValueMailbox mPosted;
};

// Frame (1-based) of an n-frame strip for a normalised value:
// 1 + (n - 1) x v + 0.5 truncated, limited to 1..n; 1 when n <= 1.
int FrameForValue(double value, int nFrames);
