// The compressor's editor, built from its layout table: the background, twelve parameter
// controls, two meters and three read-outs, in attach order.

#include "plugin/Kestrel.h"
#include "plugin/KestrelControls.h"
#include "plugin/KestrelEditorLink.h"
#include "plugin/KestrelLayout.h"
#ifdef KESTREL_BUNDLE_ID
#include "wdl/IPlug/mac/IGraphicsMac.h"
#endif

namespace
{
EDirection Direction(EKestrelDrag drag)
{
  return drag == EKestrelDrag::Horizontal ? kHorizontal : kVertical;
}

IControl* MakeControl(IPlugBase* pPlug, const KestrelControlSpec& s, IBitmap* pBitmap)
{
  switch (s.mKind)
  {
  case EKestrelControlKind::ImageMap: return new IImageMapControl(pPlug, s.mX, s.mY, s.mParam, pBitmap);
  case EKestrelControlKind::Switch: return new ISwitchControl(pPlug, s.mX, s.mY, s.mParam, pBitmap);
  case EKestrelControlKind::Knob:
    return new IKnobMultiControl(pPlug, s.mX, s.mY, s.mParam, pBitmap, Direction(s.mDrag), s.mGearing);
  case EKestrelControlKind::Meter: return new IBitmapControl(pPlug, s.mX, s.mY, -1, pBitmap);
  case EKestrelControlKind::Readout: return new IOdometerControl(pPlug, s.mX, s.mY, s.mDigits, pBitmap);
  }
  return nullptr;
}
} // namespace

void Kestrel::BuildEditor(IGraphics* pGraphics)
{
  if (!pGraphics)
    return;
  IGraphics* g = pGraphics;
  IBitmap bitmaps[kKestrelImageCount];
  int loaded = 0;
  // Loads, in table order, every image due once `attached` controls of the table are on.
  auto loadDue = [&](int attached) {
    for (; loaded < kKestrelImageCount && kKestrelImages[loaded].mLoadAfter <= attached; ++loaded)
    {
      const KestrelImageSpec& image = kKestrelImages[loaded];
      // The background control loads its own image and goes under every other.
      if (image.mId == kBackgroundImage)
        g->AttachBackground(image.mId, image.mFile);
      else
        bitmaps[loaded] = g->LoadIBitmap(image.mId, image.mFile, image.mFrames);
    }
  };

  IControl* kept[kKestrelKeptCount] = {};
  for (int i = 0; i < kKestrelControlCount; ++i)
  {
    loadDue(i);
    const KestrelControlSpec& s = kKestrelControls[i];
    IControl* c = MakeControl(this, s, &bitmaps[KestrelImageIndex(s.mImage)]);
    g->AttachControl(c);
    kept[int(s.mKept)] = c;
  }
  loadDue(kKestrelControlCount);

  AttachGraphics(g);
  // The layout's static check makes each kept control of the kind cast to.
  mInputMeter = static_cast<IBitmapControl*>(kept[int(EKestrelKept::InputMeter)]);
  mOutputMeter = static_cast<IBitmapControl*>(kept[int(EKestrelKept::OutputMeter)]);
  mAttackOdometer = static_cast<IOdometerControl*>(kept[int(EKestrelKept::AttackReadout)]);
  mReleaseOdometer = static_cast<IOdometerControl*>(kept[int(EKestrelKept::ReleaseReadout)]);
  mImpetusOdometer = static_cast<IOdometerControl*>(kept[int(EKestrelKept::ImpetusReadout)]);
  // The read-outs start from the current values rather than waiting for a change.
  PushReadoutValue(mAttackOdometer, ParamValue(kAttack));
  PushReadoutValue(mReleaseOdometer, ParamValue(kRelease));
  PushReadoutValue(mImpetusOdometer, ParamValue(kImpetus));
}

void Kestrel::MakeEditor()
{
#ifdef KESTREL_BUNDLE_ID
  auto* g = new IGraphicsMac(this, kEditorWidth, kEditorHeight, kEditorFPS);
  g->SetBundleID(KESTREL_BUNDLE_ID);
  BuildEditor(g);
#endif
}
