// The compressor's editor: the background, twelve parameter controls, two
// meters and three read-outs, in attach order.

#include "plugin/Kestrel.h"
#include "plugin/KestrelControls.h"
#include "plugin/KestrelEditorLink.h"
#ifdef KESTREL_BUNDLE_ID
#include "wdl/IPlug/mac/IGraphicsMac.h"
#endif

namespace
{
struct SwitchSpec
{
  int x, y, param;
  IBitmap* bitmap;
};

struct KnobSpec
{
  int x, y, param;
  IBitmap* bitmap;
  EDirection direction;
  double gearing;
};
} // namespace

void Kestrel::BuildEditor(IGraphics* pGraphics)
{
  if (!pGraphics)
    return;
  IGraphics* g = pGraphics;
  g->AttachBackground(101, "kestrelbg.png");
  IBitmap topVU = g->LoadIBitmap(105, "topVU.png", 121);
  IBitmap botVU = g->LoadIBitmap(106, "botVU.png", 121);
  IBitmap button = g->LoadIBitmap(103, "button.png", 2);
  IBitmap outGR = g->LoadIBitmap(112, "outgr.png", 2);
  IBitmap topSlide = g->LoadIBitmap(107, "topslide.png", 100);
  IBitmap botSlide = g->LoadIBitmap(108, "botslide.png", 100);
  g->LoadIBitmap(109, "slidebutton.png", 1);
  IBitmap ratio = g->LoadIBitmap(113, "ratiostack.png", 5);
  IBitmap smallKnob = g->LoadIBitmap(114, "smallknob.png", 136);
  IBitmap knob = g->LoadIBitmap(102, "knob.png", 136);

  g->AttachControl(new IImageMapControl(this, 363, 65, kRatio, &ratio));
  const SwitchSpec switches[] = {
    {596, 77, kMeter, &outGR},
    {26, 209, kDecadence, &button},
    {613, 28, kSidechain, &button},
    {613, 205, kAutoMakeup, &button},
  };
  for (const SwitchSpec& s : switches)
    g->AttachControl(new ISwitchControl(this, s.x, s.y, s.param, s.bitmap));
  const KnobSpec knobs[] = {
    {113, 19, kAttack, &knob, kVertical, 4.0},
    {250, 82, kRelease, &knob, kVertical, 4.0},
    {113, 146, kImpetus, &knob, kVertical, 4.0},
    {422, 5, kThreshold, &topSlide, kHorizontal, 0.7},
    {424, 197, kCompensation, &botSlide, kHorizontal, 0.7},
    {344, 201, kParallel, &smallKnob, kVertical, 4.0},
    {344, 17, kDetectorHPF, &smallKnob, kVertical, 4.0},
  };
  for (const KnobSpec& k : knobs)
    g->AttachControl(new IKnobMultiControl(this, k.x, k.y, k.param, k.bitmap, k.direction, k.gearing));

  auto* inputMeter = new IBitmapControl(this, 460, 50, -1, &topVU);
  auto* outputMeter = new IBitmapControl(this, 460, 135, -1, &botVU);
  g->AttachControl(inputMeter);
  g->AttachControl(outputMeter);

  IBitmap digits = g->LoadIBitmap(110, "numberstack.png", 100);
  auto* attack = new IOdometerControl(this, 199, 52, 4, &digits);
  auto* release = new IOdometerControl(this, 204, 116, 4, &digits);
  auto* impetus = new IOdometerControl(this, 199, 179, 3, &digits);
  g->AttachControl(attack);
  g->AttachControl(release);
  g->AttachControl(impetus);

  AttachGraphics(g);
  mInputMeter = inputMeter;
  mOutputMeter = outputMeter;
  mAttackOdometer = attack;
  mReleaseOdometer = release;
  mImpetusOdometer = impetus;
  // The read-outs start from the current values rather than waiting for a change.
  PushReadoutValue(attack, ParamValue(kAttack));
  PushReadoutValue(release, ParamValue(kRelease));
  PushReadoutValue(impetus, ParamValue(kImpetus));
}

void Kestrel::MakeEditor()
{
#ifdef KESTREL_BUNDLE_ID
  auto* g = new IGraphicsMac(this, kEditorWidth, kEditorHeight, kEditorFPS);
  g->SetBundleID(KESTREL_BUNDLE_ID);
  BuildEditor(g);
#endif
}
