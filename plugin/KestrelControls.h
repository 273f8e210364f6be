#pragma once
// The compressor's own two controls: the digit read-out that rolls like a
// mechanical counter, and the ratio selector whose positions are areas of
// its picture rather than clicks in turn.

#include "wdl/IPlug/IControls.h"

// A row of digits from a 100-frame strip: digit d sits at frame 10 d and
// rolls through the nine frames after it while the digit below runs from 9
// to the next 0. Takes plain values (not normalised) and pushes nothing back.
class IOdometerControl : public IControl
{
public:
  static constexpr int kMaxDigits = 10;
  static constexpr int kDigitWidth = 14;

  // digits is limited to 0..kMaxDigits.
  IOdometerControl(IPlugBase* pPlug, int x, int y, int digits, IBitmap* pStrip);
  bool Draw(IGraphics* pGraphics) override;
  // Non-finite values show 0; values are limited to what the counter can hold.
  void SetValueFromPlug(double value) override;

  int NDigits() const { return mDigits; }
  int DigitFrame(int i) const { return i >= 0 && i < mDigits ? mDigitFrame[i] : 0; }

protected:
  IBitmap mBitmap;
  int mDigits;
  int mFrames = 100;
  int mDigitFrame[kMaxDigits] = {};
  IRECT mCell; // the first digit's cell
};

// A switch whose picture shows its positions side by side: a click selects
// the position whose area it falls in.
class IImageMapControl : public ISwitchControl
{
public:
  IImageMapControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap);
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  // The position whose area holds (x, y), or -1.
  int RegionAt(int x, int y) const;

protected:
  IBitmap mMap;
};
