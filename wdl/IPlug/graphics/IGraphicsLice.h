#pragma once
// The editor's drawing slots on the LICE raster library. It owns the back
// buffer (a system bitmap the window binding copies to the screen) and a
// scratch bitmap for composing rotating masks, and serves every IBitmap from
// the process-wide bitmap cache. The window binding adds OSLoadBitmap.
//
// Every primitive draws only inside the back buffer and inside the area of
// the current drawing pass (GetDrawArea), so an incremental redraw leaves the
// rest of the buffer as it was. Before the first PrepDraw, or when the back
// buffer could not be allocated, nothing is drawn.

#include "graphics/lice.h"
#include "wdl/IPlug/IGraphics.h"
#include "wdl/heapbuf.h"

// The pixel value of a colour (each channel limited to 0-255); 0 for null.
LICE_PixelValue LiceColor(const IColor* pColor);
IColor IColorFromLice(LICE_PixelValue px);
// The mode word for a blend (null: kBlendNone); rotated bitmaps add bilinear filtering.
int LiceBlendMode(const IChannelBlend* pBlend, bool rotated = false);
// The blend's weight, 1 for null.
float LiceWeight(const IChannelBlend* pBlend);

class IGraphicsLice : public IGraphics {
public:
  IGraphicsLice(IPlugBase* pPlug, int w, int h, int fps = 0);
  ~IGraphicsLice() override;

  using IGraphics::DrawBitmap;
  using IGraphics::DrawHorizontalLine;
  using IGraphics::DrawVerticalLine;
  using IGraphics::OpenWindow;

  // A new back buffer of the editor's size and an empty scratch (old ones are freed).
  void PrepDraw() override;
  bool DrawBitmap(IBitmap* pBitmap, IRECT* pDest, int srcX, int srcY, const IChannelBlend* pBlend) override;
  // The whole image (all frames), turned by angle radians about its centre.
  bool DrawRotatedBitmap(IBitmap* pBitmap, int destCtrX, int destCtrY, double angle, int yOffsetZeroDeg,
                         const IChannelBlend* pBlend) override;
  // A knob from three images of the base's size: the base stands still, the
  // mask is added onto it and the top laid over both, mask and top turned by angle degrees.
  bool DrawRotatedMask(IBitmap* pBase, IBitmap* pMask, IBitmap* pTop, int x, int y, double angle,
                       const IChannelBlend* pBlend) override;
  bool DrawPoint(const IColor* pColor, float x, float y, const IChannelBlend* pBlend, bool antiAlias) override;
  bool ForcePixel(const IColor* pColor, int x, int y) override;
  // Coordinates are truncated to pixels; non-finite or far-off ones draw nothing.
  bool DrawLine(const IColor* pColor, float x1, float y1, float x2, float y2, const IChannelBlend* pBlend,
                bool antiAlias) override;
  bool DrawArc(const IColor* pColor, float cx, float cy, float r, float minAngle, float maxAngle,
               const IChannelBlend* pBlend, bool antiAlias) override;
  bool DrawCircle(const IColor* pColor, float cx, float cy, float r, const IChannelBlend* pBlend,
                  bool antiAlias) override;
  bool FillIRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend) override;
  IColor GetPoint(int x, int y) override;
  void* GetData() override { return GetBits(); }
  // A miss asks OSLoadBitmap; an image that cannot be had is cached as an
  // empty bitmap (reported once on stderr) so the editor still opens. A PNG
  // that arrives undecoded is decoded, with every other one pending, when
  // its pixels are first used, and reported then if that fails.
  IBitmap LoadIBitmap(int id, const char* name, int nStates = 1) override;
  // All frames scale together (bilinear); the new bitmap is retained.
  IBitmap ScaleBitmap(IBitmap* pBitmap, int destW, int destH) override;
  IBitmap CropBitmap(IBitmap* pBitmap, IRECT* pR) override;
  // Plain stores of the colour; y (x) is first limited to the buffer's rows (columns).
  bool DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi) override;
  bool DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi) override;
  // The cache takes a hold on the bitmap (a second retain adds a hold, never a second entry).
  void RetainBitmap(IBitmap* pBitmap) override;
  // Drops one of this editor's holds; the bitmap is freed when no editor
  // holds it any more. A bitmap the cache does not hold is left alone.
  void ReleaseBitmap(IBitmap* pBitmap) override;

  // The window binding finds and decodes an image; a new bitmap or null.
  virtual LICE_IBitmap* OSLoadBitmap(int id, const char* name) = 0;

  LICE_PixelValue* GetBits() { return mBackBuffer ? mBackBuffer->getBits() : nullptr; }
  LICE_SysBitmap* GetBackBuffer() const { return mBackBuffer; }

protected:
  LICE_SysBitmap* mBackBuffer = nullptr;
  LICE_MemBitmap* mScratch = nullptr;

  // The part of r inside both the back buffer and the drawing area; false when none.
  bool ClipToDrawArea(const IRECT& r, IRECT* pOut);

private:
  // Pixel (x, y) of the back buffer, which the caller has checked is inside.
  LICE_PixelValue* PixelAt(int x, int y);
  bool StoreLine(const IColor* pColor, int at, int lo, int hi, bool vertical);

  // This editor's holds on cached bitmaps, which go when the editor does
  // (the bitmaps stay cached).
  struct BitmapHolds
  {
    BitmapHolds() = default;
    BitmapHolds(const BitmapHolds&) = delete;
    BitmapHolds& operator=(const BitmapHolds&) = delete;
    ~BitmapHolds();
  } mBitmapHolds;

  // Runs draw, a primitive that clips only to the buffer and touches no
  // pixel outside box, so that nothing outside the drawing area changes.
  template <class F>
  bool DrawInDrawArea(const IRECT& box, F draw)
  {
    IRECT visible, saved;
    if (!ClipToDrawArea(box, &visible)) return true;
    IRECT buffer(0, 0, mBackBuffer->getWidth(), mBackBuffer->getHeight());
    if (mDrawArea.ContainsRect(box.Intersect(buffer))) {
      draw();
      return true;
    }
    if (!SaveOutsideDrawArea(box, &saved)) return false;
    draw();
    RestoreOutsideDrawArea(saved);
    return true;
  }
  bool SaveOutsideDrawArea(const IRECT& box, IRECT* pSaved);
  void RestoreOutsideDrawArea(const IRECT& saved);
  WDL_TypedBuf<LICE_PixelValue> mSaved;
};
