#include "plugin/KestrelControls.h"

#include <algorithm>
#include <cmath>

#include "wdl/IPlug/IGraphics.h"

IOdometerControl::IOdometerControl(IPlugBase* pPlug, int x, int y, int digits, IBitmap* pStrip)
  : IControl(pPlug), mBitmap(BitmapOrEmpty(pStrip)), mDigits(std::clamp(digits, 0, kMaxDigits))
{
  const int h = mBitmap.H / mFrames;
  mCell = IRECT(x, y, x + kDigitWidth, y + h);
  mDrawArea = mHitArea = IRECT(x, y, x + mDigits * kDigitWidth, y + h);
}

bool IOdometerControl::Draw(IGraphics* pGraphics)
{
  bool ok = true;
  const int w = mCell.Width();
  for (int i = 0; i < mDigits; ++i)
  {
    IRECT cell(mCell.L + i * w, mCell.T, mCell.L + (i + 1) * w, mCell.B);
    ok = pGraphics->DrawBitmap(&mBitmap, &cell, mDigitFrame[i], nullptr) && ok;
  }
  return ok;
}

void IOdometerControl::SetValueFromPlug(double value)
{
  // value x 100 must stay an int32; the counter shows no sign.
  constexpr double kMax = 2147483647.0 / 100.0;
  const double v = std::isfinite(value) ? std::clamp(value, 0.0, kMax) : 0.0;
  double scale = 1.0;
  for (int i = mDigits - 1; i >= 0; --i, scale *= 10.0)
  {
    const int k = int(v * 100.0 / scale) % 1000;
    const int r = k % 100, b = k / 100 * 100;
    const int f = r <= 89 ? b : b + (5 * r - 450) * 2;
    mDigitFrame[i] = int(f / 1000.0 * mFrames);
  }
  mDirty = true;
}

IImageMapControl::IImageMapControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap)
  : ISwitchControl(pPlug, x, y, paramIdx, pBitmap), mMap(mBitmap)
{
}

int IImageMapControl::RegionAt(int x, int y) const
{
  struct Area
  {
    int l, r, t, b;
  };
  static constexpr Area kAreas[] = {
    {18, 31, 4, 17}, {3, 16, 33, 46}, {3, 16, 69, 82}, {18, 31, 100, 113}, {42, 99, 12, 105},
  };
  const int dx = x - mHitArea.L, dy = y - mHitArea.T;
  for (int s = 0; s < 5; ++s)
  {
    const Area& a = kAreas[s];
    if (dx >= a.l && dx < a.r && dy >= a.t && dy < a.b)
      return s;
  }
  return -1;
}

void IImageMapControl::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  const bool right = pMod && pMod->R;
  const int state = RegionAt(x, y);
  if (state < 0)
  {
    if (right)
      PromptUserInput();
    else
      SetClean();
    return;
  }
  if (right)
  {
    PromptUserInput();
    SetDirty(true);
    return;
  }
  if (mMap.N > 1)
    mValue = state * (1.0 / (mMap.N - 1));
  SetDirty(true);
}
