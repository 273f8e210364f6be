// The background: panel, grooves, wells under the controls and every label.
// Control positions are the editor's attach positions (top-left corners).

#include <string>

#include "tools/artwork/ArtPalette.h"
#include "tools/artwork/KestrelArtwork.h"
#include "tools/artwork/StrokeFont.h"

using namespace art;

namespace {

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

void knobTrack(ArtCanvas& c, float l, float t, const KnobGeometry& k, const char* name, float labelGap)
{
  const float cx = l + k.cx, cy = t + k.cy;
  c.arc(cx, cy, k.ring, kArtKnobMin, kArtKnobMax, k.ringWidth + 1.4f, kEdgeDark);
  c.arc(cx, cy, k.ring, kArtKnobMin, kArtKnobMax, k.ringWidth, kGroove);
  ArtDrawTextCentred(c, label(), cx, cy - k.ring - labelGap, name);
}

void readout(ArtCanvas& c, float x, float y, int digits, const char* unit, bool unitBelow)
{
  const float w = float(digits) * 14, h = 22;
  well(c, x - 3, y - 3, w + 6, h + 6, 3);
  if (unitBelow) ArtDrawTextCentred(c, label(6, kLabelDim), x + w / 2, y + h + 12, unit);
  else ArtDrawText(c, label(6, kLabelDim), x + w + 6, y + h / 2 + 3, unit);
}

// dB marks above or below a meter bar starting at column x.
void meterScale(ArtCanvas& c, float x, float y, float lo, float hi, float step, bool above)
{
  ArtText t = label(5, kLabelDim);
  t.tracking = 1.2f;
  for (float db = lo; db <= hi + 0.01f; db += step) {
    const float px = x + float(kMeterLength) * (db - lo) / (hi - lo);
    c.fillRect(px - 0.5f, above ? y - 4 : y + 1, 1, 3, kLabelDim);
    std::string s = std::to_string(int(db));
    if (db > 0)
      s.insert(0, 1, '+');
    ArtDrawTextCentred(c, t, px, above ? y - 6 : y + 10, s);
  }
}

void slider(ArtCanvas& c, float l, float t, const char* name, const char* lo, const char* hi)
{
  ArtDrawTextCentred(c, label(), l + (kSlideLeft + kSlideRight) / 2, t + 9, name);
  ArtText ends = label(5, kLabelDim);
  ends.tracking = 1.2f;
  ArtDrawTextCentred(c, ends, l + kSlideLeft, t + 9, lo);
  ArtDrawTextCentred(c, ends, l + kSlideRight, t + 9, hi);
  for (int i = 0; i <= 8; ++i) {
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
  for (int i = 1; i < 4; ++i) {
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

}  // namespace

void ArtDrawBackground(ArtCanvas& c)
{
  const float w = float(c.width()), h = float(c.height());
  c.gradRect(0, 0, w, h, kPanelTop, kPanelBottom);
  c.fillRect(0, 0, w, 1, ArtRGB(92, 98, 108));
  c.fillRect(0, h - 1, w, 1, kEdgeDark);
  for (float x : {106.0f, 331.0f}) {
    c.fillRect(x, 14, 1, h - 28, kEdgeDark);
    c.fillRect(x + 1, 14, 1, h - 28, ArtRGB(62, 66, 74));
  }
  screw(c, 7, 7);
  screw(c, w - 7, 7);
  screw(c, 7, h - 7);
  screw(c, w - 7, h - 7);
  brand(c);

  // Time constants and saturation: knobs with read-outs.
  knobTrack(c, 113, 19, kBigKnob, "ATTACK", 9);
  knobTrack(c, 250, 82, kBigKnob, "RELEASE", 9);
  knobTrack(c, 113, 146, kBigKnob, "IMPETUS", 9);
  readout(c, 199, 52, 4, "\xb5s", false);
  readout(c, 204, 116, 4, "ms", true);
  readout(c, 199, 179, 3, "%", false);

  // Detector and ratio.
  knobTrack(c, 344, 17, kSmallKnob, "DETECTOR HPF", 6);
  knobTrack(c, 344, 201, kSmallKnob, "PARALLEL", 6);
  well(c, 360, 63, 97, 118, 6);
  ArtDrawTextCentred(c, label(5.5f), 432, 74, "RATIO");

  // Level: sliders and meters.
  slider(c, 422, 5, "THRESHOLD", "-60", "0");
  slider(c, 424, 197, "COMPENSATION", "-20", "+20");
  const float mx = 460 + float(kMeterX);
  meterScale(c, mx, 50 + kMeterY + kMeterHeight + 3, -50, 10, 10, false);
  meterScale(c, mx, 135, -50, 10, 10, true);
  meterScale(c, mx, 135 + kMeterY + kMeterHeight + 3, -15, 0, 5, false);
  ArtDrawText(c, label(5), 599, 61, "IN");
  ArtDrawText(c, label(5), 599, 131, "OUT");
  ArtDrawText(c, label(5), 599, 164, "GR");
  ArtDrawTextCentred(c, label(5), 618, 73, "METER");

  // Switches.
  ArtDrawTextCentred(c, label(5.5f), 633, 22, "SIDECHAIN");
  ArtDrawTextCentred(c, label(5.5f), 633, 199, "AUTO MAKEUP");
  ArtDrawTextCentred(c, label(5.5f), 46, 203, "DECADENCE");
}
