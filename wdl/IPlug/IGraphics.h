#pragma once
// The editor of one plug-in instance: its controls (the background at index
// 0), the rectangle the current drawing pass clips to, the choice of what to
// redraw on each timer tick, mouse routing with capture, and the host's
// begin/end notifications around every gesture on a parameter. Drawing and
// the window are slots: the raster back end and the window binding fill them.
// The declaration order of the virtual operations is the slot order.
//
// Threads: everything runs on the host's main (editor) thread except
// SetParameterFromPlug and SetControlFromPlug, which any thread may call.
// Those only post the value (no lock, no allocation); the editor thread takes
// posted values at the start of each tick, each paint and each mouse event.

#include <memory>

#include "wdl/IPlug/IControl.h"
#include "wdl/IPlug/IGraphicsStructs.h"
#include "wdl/IPlug/IValueMailbox.h"
#include "wdl/mutex.h"
#include "wdl/ptrlist.h"
#include "wdl/wdlstring.h"

class IParam;
class IPlugBase;

class IGraphics
{
public:
  enum EFileAction
  {
    kFileOpen = 0,
    kFileSave = 1
  };

  // An fps below 1 becomes 24.
  IGraphics(IPlugBase* pPlug, int w, int h, int fps = 0);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Virtual slots, in order ----
  virtual void PrepDraw() = 0;
  // Copies the back buffer to the window.
  virtual bool DrawScreen(IRECT* pR) = 0;
  virtual bool DrawBitmap(IBitmap* pBitmap, IRECT* pDest, int srcX, int srcY, const IChannelBlend* pBlend) = 0;
  // angle in radians, 0 up, clockwise.
  virtual bool DrawRotatedBitmap(IBitmap* pBitmap, int destCtrX, int destCtrY, double angle, int yOffsetZeroDeg,
                                 const IChannelBlend* pBlend) = 0;
  // angle in degrees.
  virtual bool DrawRotatedMask(IBitmap* pBase, IBitmap* pMask, IBitmap* pTop, int x, int y, double angle,
                               const IChannelBlend* pBlend) = 0;
  virtual bool DrawPoint(const IColor* pColor, float x, float y, const IChannelBlend* pBlend, bool antiAlias) = 0;
  virtual bool ForcePixel(const IColor* pColor, int x, int y) = 0;
  virtual bool DrawLine(const IColor* pColor, float x1, float y1, float x2, float y2, const IChannelBlend* pBlend,
                        bool antiAlias) = 0;
  virtual bool DrawArc(const IColor* pColor, float cx, float cy, float r, float minAngle, float maxAngle,
                       const IChannelBlend* pBlend, bool antiAlias) = 0;
  virtual bool DrawCircle(const IColor* pColor, float cx, float cy, float r, const IChannelBlend* pBlend,
                          bool antiAlias) = 0;
  virtual bool FillIRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend) = 0;
  virtual bool DrawIText(IText* pTxt, char* str, IRECT* pR) = 0;
  virtual IColor GetPoint(int x, int y) = 0;
  virtual void* GetData() = 0;
  // Drops every control (they must be attached again) and tells the plug-in.
  virtual void Resize(int w, int h);
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  virtual void PromptUserInput(IControl* pControl, IParam* pParam) = 0;
  virtual void HostPath(WDL_String* pPath) = 0;
  virtual void PluginPath(WDL_String* pPath) = 0;
  virtual void PromptForFile(WDL_String* pFilename, EFileAction action, const char* dir, const char* extensions) = 0;
  virtual bool PromptForColor(IColor* pColor, const char* prompt) = 0;
  virtual bool OpenURL(const char* url, const char* msgWindowTitle, const char* confirmMsg,
                       const char* errMsgOnFailure) = 0;
  virtual void* OpenWindow(void* pParentWnd) = 0;
  virtual void* OpenWindow(void* /*pWindow*/, void* /*pControl*/) { return nullptr; }
  // A binding's CloseWindow calls ReleaseMouseCapture, so no gesture stays open.
  virtual void CloseWindow() = 0;
  virtual void* GetWindow() = 0;
  virtual ~IGraphics();
  virtual IBitmap LoadIBitmap(int id, const char* name, int nStates = 1) = 0;
  virtual IBitmap ScaleBitmap(IBitmap* pBitmap, int destW, int destH) = 0;
  virtual IBitmap CropBitmap(IBitmap* pBitmap, IRECT* pR) = 0;
  virtual void AttachBackground(int id, const char* name);
  virtual bool DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi);
  virtual bool DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi);
  virtual void RetainBitmap(IBitmap* pBitmap) = 0;
  virtual void ReleaseBitmap(IBitmap* pBitmap) = 0;

  // ---- Controls ----
  // Takes ownership; returns the new index (-1 when the list cannot grow: the control is deleted).
  int AttachControl(IControl* pControl);
  IControl* GetControl(int idx) const { return mControls.Get(idx); }
  int NControls() const { return mControls.GetSize(); }

  // ---- Values between plug-in and controls ----
  void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  void SetControlFromPlug(int controlIdx, double normalizedValue);
  void SetParameterFromGUI(int paramIdx, double normalizedValue);
  void ClampControl(int paramIdx, double lo, double hi, bool normalized);
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  void SetAllControlsDirty();
  void SetStrictDrawing(bool strict);
  void DisplayControlValue(IControl*) {}
  // Hands posted values to their controls. Editor thread.
  void DrainPostedValues();

  // ---- Refresh ----
  // Adds the dirty controls' drawn areas to *pR (which the caller empties
  // first); the window shows what it can of *pR in the next Draw.
  bool IsDirty(IRECT* pR);
  bool Draw(IRECT* pR);
  void OnGUIIdle();

  // ---- Mouse ----
  int GetMouseControlIdx(int x, int y);
  void OnMouseDown(int x, int y, IMouseMod* pMod);
  void OnMouseUp(int x, int y, IMouseMod* pMod);
  void OnMouseDrag(int x, int y, IMouseMod* pMod);
  bool OnMouseDblClick(int x, int y, IMouseMod* pMod);
  void OnMouseWheel(int x, int y, IMouseMod* pMod, int d);
  bool OnMouseOver(int x, int y, IMouseMod* pMod);
  void OnMouseOut();
  bool OnKeyDown(int x, int y, int key);
  // Also ends the gesture the host was told about, if one is open.
  void ReleaseMouseCapture();

  // ---- Composite drawing ----
  // Frame (1-based, clamped to the strip) of a vertical strip.
  bool DrawBitmap(IBitmap* pBitmap, IRECT* pDest, int bmState = 1, const IChannelBlend* pBlend = nullptr);
  bool DrawRect(const IColor* pColor, IRECT* pR);
  bool DrawVerticalLine(const IColor* pColor, IRECT* pR, float fraction);
  bool DrawHorizontalLine(const IColor* pColor, IRECT* pR, float fraction);
  bool DrawRadialLine(const IColor* pColor, float cx, float cy, float angle, float rMin, float rMax,
                      const IChannelBlend* pBlend = nullptr, bool antiAlias = false);

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  IPlugBase* GetPlug() const { return mPlugin; }
  const IRECT& GetDrawArea() const { return mDrawArea; }
  // True while Draw has controls drawing.
  bool InDrawPass() const { return mInDrawPass; }
  bool GetStrictDrawing() const { return mStrictDrawing; }
  int GetCaptureIndex() const { return mCaptureIndex; }

protected:
  WDL_PtrList<IControl> mControls;
  IPlugBase* mPlugin;
  IRECT mDrawArea;
  WDL_Mutex mLock; // kept for bindings; no editor operation takes it
  int mWidth, mHeight;
  int mFPS;
  int mIdleTicks = 0;
  int mCaptureIndex = -1;
  int mMouseOverIndex = -1;
  int mMouseX = 0, mMouseY = 0;
  bool mTrackMouseOver = false;
  bool mStrictDrawing = true;

private:
  void DrawControl(IControl* c, const IRECT& area);
  void DrawStrict(const IRECT& r);
  void DrawAll();
  void DrawDirty();
  void BeginGesture(int paramIdx);
  void EndGesture();
  // Calls f with a gesture open for paramIdx, opening and closing one unless one already is.
  template <class F>
  void InGesture(int paramIdx, F f);

  // What the last IsDirty reported, until the Draw that follows it.
  IRECT mAskedArea;
  bool mInDrawPass = false;
  // The parameter whose begin the host has had without its end, -1 none.
  int mGestureParam = -1;
  // One mailbox per plug-in parameter, filled by SetParameterFromPlug.
  std::unique_ptr<IValueMailbox[]> mParamPosts;
  int mNParamPosts = 0;
};
