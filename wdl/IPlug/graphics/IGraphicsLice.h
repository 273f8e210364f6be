#pragma once
// The editor's drawing slots on the LICE raster library. It owns the back
// buffer (a system bitmap the window binding copies to the screen) and a
// scratch bitmap for composing rotating masks, and serves every IBitmap from
// the process-wide bitmap cache. The window binding adds OSLoadBitmap.
//
// Inside a drawing pass every primitive, bitmap and text draws only where
// the pass lets the drawing control draw (GetDrawArea), so an incremental
// redraw leaves the rest of the buffer as it was. Outside a pass primitives
// draw anywhere in the back buffer, while bitmaps and masks still keep to
// the last pass's area. Before the first PrepDraw, or when the back buffer
// could not be allocated, nothing is drawn.

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

class IGraphicsLice : public IGraphics
{
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
  // Where primitives and text may draw now, within the back buffer; false when nowhere.
  bool GetClip(IRECT* pClip);

protected:
  LICE_SysBitmap* mBackBuffer = nullptr;
  LICE_MemBitmap* mScratch = nullptr;

  // The part of r inside both the back buffer and the drawing area; false when none.
  bool ClipToDrawArea(const IRECT& r, IRECT* pOut) { return ClipTo(r, mDrawArea, pOut); }
  // The part of r inside GetClip; false when none.
  bool ClipPrimitive(const IRECT& r, IRECT* pOut) { return ClipTo(r, PrimitiveArea(), pOut); }

private:
  bool ClipTo(const IRECT& r, const IRECT& area, IRECT* pOut);
  IRECT BufferRECT() const { return IRECT(0, 0, mBackBuffer->getWidth(), mBackBuffer->getHeight()); }
  // The drawing area in a pass, the whole buffer outside one.
  IRECT PrimitiveArea() const { return InDrawPass() ? mDrawArea : BufferRECT(); }
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
  // pixel outside box, so that nothing outside PrimitiveArea changes.
  template <class F>
  bool DrawClipped(const IRECT& box, F draw)
  {
    IRECT visible, saved;
    if (!ClipPrimitive(box, &visible))
      return true;
    IRECT area = PrimitiveArea();
    if (area.ContainsRect(box.Intersect(BufferRECT())))
    {
      draw();
      return true;
    }
    if (!SaveOutside(box, &saved))
      return false;
    draw();
    RestoreOutside(saved, area);
    return true;
  }
  bool SaveOutside(const IRECT& box, IRECT* pSaved);
  void RestoreOutside(const IRECT& saved, const IRECT& area);
  WDL_TypedBuf<LICE_PixelValue> mSaved;
};
