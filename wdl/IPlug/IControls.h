#pragma once
// The ready-made controls an editor is assembled from. Each maps the
// normalised value onto a bitmap frame, an angle or a position, and a
// gesture back onto the value. A null bitmap pointer gives an empty bitmap
// (drawn as nothing); bitmaps belong to the editor's cache, not to controls.

#include "wdl/IPlug/IControl.h"
#include "wdl/IPlug/IGraphics.h"
#include "wdl/heapbuf.h"
#include "wdl/wdlstring.h"

inline IBitmap BitmapOrEmpty(const IBitmap* pBitmap)
{
  return pBitmap ? *pBitmap : IBitmap();
}

// One frame's size, placed by its top-left corner.
inline IRECT BitmapFrameArea(int x, int y, const IBitmap& bmp)
{
  return IRECT(x, y, x + bmp.W, y + bmp.FrameHeight());
}

// A frame of a vertical strip chosen by the value.
class IBitmapControl : public IControl
{
public:
  IBitmapControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  bool Draw(IGraphics* pGraphics) override;

protected:
  IBitmap mBitmap;
};

// Steps through its frames on each click and wraps to the first.
class ISwitchControl : public IBitmapControl
{
public:
  using IBitmapControl::IBitmapControl;
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
};

// Back to 0 on release.
class IContactControl : public ISwitchControl
{
public:
  using ISwitchControl::ISwitchControl;
  void OnMouseUp(int x, int y, IMouseMod* pMod) override;
};

// Drawn only when on; while off it answers clicks in its target area instead.
class IBitmapOverlayControl : public ISwitchControl
{
public:
  IBitmapOverlayControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap, IRECT* pTargetArea);
  bool Draw(IGraphics* pGraphics) override;

protected:
  IRECT mTargetArea;
};

// A click area that toggles its parameter; draws nothing.
class IInvisibleSwitchControl : public IControl
{
public:
  IInvisibleSwitchControl(IPlugBase* pPlug, IRECT* pR, int paramIdx);
  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
};

// A handle image that slides along a track of len pixels.
class IFaderControl : public IControl
{
public:
  IFaderControl(IPlugBase* pPlug, int x, int y, int len, int paramIdx, IBitmap* pBitmap,
                EDirection direction = kVertical);
  bool Draw(IGraphics* pGraphics) override;
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
  // The handle's whole travel, which passes the track when the track is shorter than the handle.
  IRECT GetDrawnRECT() const override;
  // A negative (or non-finite) value means the current one.
  IRECT GetHandleRECT(double value = -1.0) const;
  // Centres the handle on the mouse. A track as long as the handle has no position to pick.
  void SnapToMouse(int x, int y);

protected:
  int mLength, mHandleSize;
  IBitmap mBitmap;
  EDirection mDirection;
};

// Dragging across the whole control moves the value by 1 / gearing.
class IKnobControl : public IControl
{
public:
  IKnobControl(IPlugBase* pPlug, const IRECT& area, int paramIdx, EDirection direction = kVertical,
               double gearing = 4.0, IChannelBlend blend = IChannelBlend());
  // A negative gearing turns the other way; a zero extent or gearing ignores drags.
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;

protected:
  EDirection mDirection;
  double mGearing;
};

// A line from the inner to the outer radius at the value's angle (radians, 0 up, clockwise).
class IKnobLineControl : public IKnobControl
{
public:
  IKnobLineControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, const IColor* pColor, double innerRadius = 0.0,
                   double outerRadius = 0.0, double minAngle = -0.75 * 3.141592653589793,
                   double maxAngle = 0.75 * 3.141592653589793, EDirection direction = kVertical, double gearing = 4.0);
  bool Draw(IGraphics* pGraphics) override;
  // The circle the needle turns in, which may pass the rectangle.
  IRECT GetDrawnRECT() const override;

protected:
  IColor mLineColor;
  float mMinAngle, mMaxAngle, mInnerRadius, mOuterRadius;
};

// The whole bitmap rotated about the control's centre (radians).
class IKnobRotaterControl : public IKnobControl
{
public:
  IKnobRotaterControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                      double minAngle = -0.75 * 3.141592653589793, double maxAngle = 0.75 * 3.141592653589793,
                      int yOffsetZeroDeg = 0, EDirection direction = kVertical, double gearing = 4.0);
  bool Draw(IGraphics* pGraphics) override;
  // The whole image (every frame) about the rectangle's centre.
  IRECT GetDrawnRECT() const override;

protected:
  IBitmap mBitmap;
  double mMinAngle, mMaxAngle;
  int mYOffset;
};

// A frame of a vertical strip chosen by the value.
class IKnobMultiControl : public IKnobControl
{
public:
  IKnobMultiControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap, EDirection direction = kVertical,
                    double gearing = 4.0);
  bool Draw(IGraphics* pGraphics) override;

protected:
  IBitmap mBitmap;
};

// A still base with a rotating mask and top image (degrees).
class IKnobRotatingMaskControl : public IKnobControl
{
public:
  IKnobRotatingMaskControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBase, IBitmap* pMask, IBitmap* pTop,
                           double minAngle = -135.0, double maxAngle = 135.0, EDirection direction = kVertical,
                           double gearing = 4.0);
  bool Draw(IGraphics* pGraphics) override;
  // The whole base image, every frame of it.
  IRECT GetDrawnRECT() const override;

protected:
  IBitmap mBase, mMask, mTop;
  double mMinAngle, mMaxAngle;
};

// n buttons laid out evenly in the rectangle; the bitmap's frame 1 is off, 2 on.
class IRadioButtonsControl : public IControl
{
public:
  IRadioButtonsControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, int nButtons, IBitmap* pBitmap,
                       EDirection direction = kVertical);
  bool Draw(IGraphics* pGraphics) override;
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  // The buttons, which are a frame of the bitmap high whatever the rectangle.
  IRECT GetDrawnRECT() const override;
  int NButtons() const { return mButtonAreas.GetSize(); }
  const IRECT* GetButtonRECT(int i) const { return i >= 0 && i < NButtons() ? mButtonAreas.Get() + i : nullptr; }

protected:
  WDL_TypedBuf<IRECT> mButtonAreas;
  IBitmap mBitmap;
};

// A line of text in a style; an empty string draws nothing.
class ITextControl : public IControl
{
public:
  ITextControl(IPlugBase* pPlug, IRECT* pR, IText* pText, const char* str = "");
  // Null counts as empty.
  void SetTextFromPlug(const char* str);
  const char* GetText() const { return mStr.Get(); }
  bool Draw(IGraphics* pGraphics) override;

protected:
  IText mText;
  WDL_String mStr;
};

// The bound parameter's display text, with its label when asked. The text
// follows the value the editor mirrors, without the plug-in's lock.
class ICaptionControl : public ITextControl
{
public:
  ICaptionControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, IText* pText, bool showParamLabel = true);
  bool Draw(IGraphics* pGraphics) override;

protected:
  bool mShowParamLabel;
};

constexpr int MAX_URL_LEN = 256;
constexpr int MAX_NET_ERR_MSG_LEN = 1024;

// Opens its address on a click, or the backup address when that fails. Texts too long for their fields are cut.
class IURLControl : public IControl
{
public:
  IURLControl(IPlugBase* pPlug, IRECT* pR, const char* url, const char* backupURL = nullptr,
              const char* errMsgOnFailure = nullptr);
  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;

protected:
  char mURL[MAX_URL_LEN] = {};
  char mBackupURL[MAX_URL_LEN] = {};
  char mErrMsg[MAX_NET_ERR_MSG_LEN] = {};
};

// Asks the editor for a file on a click; shows its bitmap while asking.
class IFileSelectorControl : public IControl
{
public:
  enum EFileSelectorState
  {
    kFSNone = 0,
    kFSSelecting = 1,
    kFSDone = 2
  };

  IFileSelectorControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, IBitmap* pBitmap, IGraphics::EFileAction action,
                       const char* dir = "", const char* extensions = "");
  bool Draw(IGraphics* pGraphics) override;
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  // Dirty once more after a selection finished.
  bool IsDirty() override;
  void GetLastSelectedFileForPlug(WDL_String* pStr) const;
  void SetLastSelectedFileFromPlug(const char* file);
  EFileSelectorState GetState() const { return mState; }

protected:
  IBitmap mBitmap;
  WDL_String mDir, mFile, mExtensions;
  IGraphics::EFileAction mFileAction;
  EFileSelectorState mState = kFSNone;
};
