// The background: panel, grooves, wells under the controls and every label,
// placed by the editor's layout table.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/artwork/ArtPalette.h"
#include "tools/artwork/KestrelArtwork.h"
#include "tools/artwork/StrokeFont.h"

using namespace art;

namespace
{

// The control that sets a parameter, or that the compressor keeps as k.
const KestrelControlSpec& control(int param, EKestrelKept k = EKestrelKept::None)
{
  for (const KestrelControlSpec& s : kKestrelControls)
    if (s.mParam == param && s.mKept == k)
      return s;
  std::fprintf(stderr, "kestrel_artwork: the editor's layout lacks a control the background labels\n");
  std::abort();
}
const KestrelControlSpec& kept(EKestrelKept k)
{
  return control(-1, k);
}

float frameWidth(EKestrelImage image)
{
  return float(KestrelImageFor(image)->mFrameWidth);
}

ArtText label(float cap = 6, LICE_PixelValue color = kLabel)
{
  ArtText t;
  t.cap = cap;
  t.weight = cap >= 8 ? 1.6f : 1.15f;
  t.tracking = 2.0f;
  t.color = color;
  return t;
}

// A recessed area: dark fill with a lit lower edge.
void well(ArtCanvas& c, float x, float y, float w, float h, float r)
{
  c.fillRoundRect(x, y, w, h + 1, r, kEdgeLight);
  c.fillRoundRect(x, y, w, h, r, kWell);
}

void screw(ArtCanvas& c, float x, float y)
{
  c.fillCircle(x, y + 0.5f, 4.5f, kEdgeDark);
  c.gradCircle(x, y, 4, ArtRGB(110, 116, 126), ArtRGB(50, 54, 61));
  c.line(x - 2.4f, y + 1.4f, x + 2.4f, y - 1.4f, 1.2f, ArtRGB(30, 32, 37));
}

void knobTrack(ArtCanvas& c, int param, const char* name)
{
  const KestrelControlSpec& s = control(param);
  const KnobGeometry& k = s.mImage == kSmallKnobImage ? kSmallKnob : kBigKnob;
  const float cx = float(s.mX) + k.cx, cy = float(s.mY) + k.cy;
  c.arc(cx, cy, k.ring, kArtKnobMin, kArtKnobMax, k.ringWidth + 1.4f, kEdgeDark);
  c.arc(cx, cy, k.ring, kArtKnobMin, kArtKnobMax, k.ringWidth, kGroove);
  ArtDrawTextCentred(c, label(), cx, cy - k.ring - k.labelGap, name);
}

void readout(ArtCanvas& c, EKestrelKept which, const char* unit, bool unitBelow)
{
  const KestrelControlSpec& s = kept(which);
  const float x = float(s.mX), y = float(s.mY);
  const float w = float(s.mDigits) * frameWidth(kDigitsImage), h = float(KestrelImageFor(kDigitsImage)->mFrameHeight);
  well(c, x - 3, y - 3, w + 6, h + 6, 3);
  if (unitBelow)
    ArtDrawTextCentred(c, label(6, kLabelDim), x + w / 2, y + h + 12, unit);
  else
    ArtDrawText(c, label(6, kLabelDim), x + w + 6, y + h / 2 + 3, unit);
}

// A name centred above a control.
void nameAbove(ArtCanvas& c, int param, float cap, float gap, const char* name)
{
  const KestrelControlSpec& s = control(param);
  ArtDrawTextCentred(c, label(cap), float(s.mX) + frameWidth(s.mImage) / 2, float(s.mY) - gap, name);
}

// dB marks above or below a meter bar starting at column x.
void meterScale(ArtCanvas& c, float x, float y, float lo, float hi, float step, bool above)
{
  ArtText t = label(5, kLabelDim);
  t.tracking = 1.2f;
  for (float db = lo; db <= hi + 0.01f; db += step)
  {
    const float px = x + float(kMeterLength) * (db - lo) / (hi - lo);
    c.fillRect(px - 0.5f, above ? y - 4 : y + 1, 1, 3, kLabelDim);
    std::string s = std::to_string(int(db));
    if (db > 0)
      s.insert(0, 1, '+');
    ArtDrawTextCentred(c, t, px, above ? y - 6 : y + 10, s);
  }
}

void slider(ArtCanvas& c, int param, const char* name, const char* lo, const char* hi)
{
  const float l = float(control(param).mX), t = float(control(param).mY);
  ArtDrawTextCentred(c, label(), l + (kSlideLeft + kSlideRight) / 2, t + 9, name);
  ArtText ends = label(5, kLabelDim);
  ends.tracking = 1.2f;
  ArtDrawTextCentred(c, ends, l + kSlideLeft, t + 9, lo);
  ArtDrawTextCentred(c, ends, l + kSlideRight, t + 9, hi);
  for (int i = 0; i <= 8; ++i)
  {
    const float x = l + kSlideLeft + (kSlideRight - kSlideLeft) * float(i) / 8;
    c.fillRect(x - 0.5f, t + kSlideGrooveY - (i % 4 ? 7 : 9), 1, i % 4 ? 2 : 4, kLabelDim);
  }
}

void brand(ArtCanvas& c)
{
  ArtText logo = label(13, ArtRGB(226, 229, 234));
  logo.weight = 2.3f;
  logo.tracking = 1.4f;
  ArtDrawText(c, logo, 15, 33, "KESTREL");
  c.fillRect(15, 39, 18, 2, kAccent);
  ArtDrawText(c, label(5.5f), 15, 52, "COMPRESSOR");
  // The transfer curve: unity below the knee, flattening above it.
  well(c, 16, 66, 78, 78, 4);
  for (int i = 1; i < 4; ++i)
  {
    c.fillRect(16 + 19.5f * float(i), 68, 1, 74, ArtRGB(26, 28, 32));
    c.fillRect(18, 66 + 19.5f * float(i), 74, 1, ArtRGB(26, 28, 32));
  }
  c.line(20, 140, 92, 68, 1, ArtRGB(52, 56, 63));
  c.glow(56, 104, 14, kAccent, 0.25f);
  c.line(20, 140, 48, 112, 2, kAccent);
  c.bezier({48, 112}, {56, 104}, {62, 100}, {72, 97}, 2, kAccent);
  c.line(72, 97, 92, 91, 2, kAccent);
  ArtDrawText(c, label(5, kLabelDim), 15, 166, "BRACKMERE");
  ArtDrawText(c, label(5, kLabelDim), 15, 176, "AUDIO");
}

} // namespace

void ArtDrawBackground(ArtCanvas& c)
{
  const float w = float(c.width()), h = float(c.height());
  c.gradRect(0, 0, w, h, kPanelTop, kPanelBottom);
  c.fillRect(0, 0, w, 1, ArtRGB(92, 98, 108));
  c.fillRect(0, h - 1, w, 1, kEdgeDark);
  for (float x : {106.0f, 331.0f})
  {
    c.fillRect(x, 14, 1, h - 28, kEdgeDark);
    c.fillRect(x + 1, 14, 1, h - 28, ArtRGB(62, 66, 74));
  }
  screw(c, 7, 7);
  screw(c, w - 7, 7);
  screw(c, 7, h - 7);
  screw(c, w - 7, h - 7);
  brand(c);

  // Time constants and saturation: knobs with read-outs.
  knobTrack(c, kAttack, "ATTACK");
  knobTrack(c, kRelease, "RELEASE");
  knobTrack(c, kImpetus, "IMPETUS");
  readout(c, EKestrelKept::AttackReadout, "\xb5s", false);
  readout(c, EKestrelKept::ReleaseReadout, "ms", true);
  readout(c, EKestrelKept::ImpetusReadout, "%", false);

  // Detector and ratio.
  knobTrack(c, kDetectorHPF, "DETECTOR HPF");
  knobTrack(c, kParallel, "PARALLEL");
  const KestrelControlSpec& ratio = control(kRatio);
  const float rx = float(ratio.mX), ry = float(ratio.mY);
  well(c, rx - 3, ry - 2, 97, 118, 6);
  ArtDrawTextCentred(c, label(5.5f), rx + 69, ry + 9, "RATIO");

  // Level: sliders and meters.
  slider(c, kThreshold, "THRESHOLD", "-60", "0");
  slider(c, kCompensation, "COMPENSATION", "-20", "+20");
  const KestrelControlSpec &in = kept(EKestrelKept::InputMeter), &out = kept(EKestrelKept::OutputMeter);
  const int below = kMeterY + kMeterHeight + 3;
  meterScale(c, float(in.mX + kMeterX), float(in.mY + below), -50, 10, 10, false);
  meterScale(c, float(out.mX + kMeterX), float(out.mY), -50, 10, 10, true);
  meterScale(c, float(out.mX + kMeterX), float(out.mY + below), -15, 0, 5, false);
  const float names = float(in.mX) + frameWidth(kInputMeterImage) + 5;
  ArtDrawText(c, label(5), names, float(in.mY + 11), "IN");
  ArtDrawText(c, label(5), names, float(out.mY - 4), "OUT");
  ArtDrawText(c, label(5), names, float(out.mY + 29), "GR");
  nameAbove(c, kMeter, 5, 4, "METER");

  // Switches.
  nameAbove(c, kSidechain, 5.5f, 6, "SIDECHAIN");
  nameAbove(c, kAutoMakeup, 5.5f, 6, "AUTO MAKEUP");
  nameAbove(c, kDecadence, 5.5f, 6, "DECADENCE");
}
