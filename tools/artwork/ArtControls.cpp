// The control strips: one frame per call, drawn into a transparent canvas of
// the frame's size.

#include <cmath>
#include <string>

#include "tools/artwork/ArtPalette.h"
#include "tools/artwork/KestrelArtwork.h"
#include "tools/artwork/StrokeFont.h"

using namespace art;

void ArtDrawKnobFrame(ArtCanvas& c, bool small, float value)
{
  const KnobGeometry& k = small ? kSmallKnob : kBigKnob;
  const float angle = kArtKnobMin + (kArtKnobMax - kArtKnobMin) * value;
  if (value > 0)
  {
    const ArtPoint tip = ArtPolar(k.cx, k.cy, k.ring, angle);
    c.glow(tip.x, tip.y, k.ringWidth * 2.2f, kAccent, 0.5f);
    c.arc(k.cx, k.cy, k.ring, kArtKnobMin, angle, k.ringWidth, kAccent);
  }
  // Drop shadow, skirt, then the cap with its lit upper rim.
  c.fillCircle(k.cx, k.cy + 1.5f, k.cap + 0.5f, ArtRGB(0, 0, 0), 0.45f);
  c.gradCircle(k.cx, k.cy, k.cap, kCapTop, kCapBottom);
  c.gradCircle(k.cx, k.cy + 0.6f, k.face, kFaceTop, kFaceBottom);
  const ArtPoint a = ArtPolar(k.cx, k.cy, k.pointerIn, angle), b = ArtPolar(k.cx, k.cy, k.pointerOut, angle);
  c.line(a.x, a.y, b.x, b.y, k.pointerWidth, kPointer);
}

void ArtDrawSliderHandle(ArtCanvas& c, float cx, float top)
{
  c.gradRoundRect(cx - 7, top, 14, 24, 3, ArtRGB(222, 225, 230), ArtRGB(140, 146, 156));
  c.fillRect(cx - 5, top + 11.25f, 10, 1.5f, ArtRGB(40, 43, 49));
  c.fillRect(cx - 0.75f, top + 3, 1.5f, 18, kAccent);
}

void ArtDrawSliderFrame(ArtCanvas& c, bool bipolar, float value)
{
  const float hx = kSlideLeft + (kSlideRight - kSlideLeft) * value;
  c.fillRoundRect(kSlideLeft - 4, kSlideGrooveY - 2.5f, kSlideRight - kSlideLeft + 8, 5, 2.5f, kGroove);
  const float from = bipolar ? (kSlideLeft + kSlideRight) / 2 : kSlideLeft;
  const float lo = std::min(from, hx), hi = std::max(from, hx);
  if (hi - lo > 0.25f)
    c.fillRoundRect(lo, kSlideGrooveY - 1.5f, hi - lo, 3, 1.5f, kAccent);
  c.fillRoundRect(hx - 7.5f, 16, 15, 25, 3.5f, kEdgeDark); // shadow
  ArtDrawSliderHandle(c, hx, 15);
}

void ArtDrawMeterFrame(ArtCanvas& c, bool zoned, int lit)
{
  c.fillRoundRect(kMeterX - 2, kMeterY - 2, kMeterLength + 4, kMeterHeight + 4, 2, kEdgeDark);
  c.fillRect(kMeterX, kMeterY, kMeterLength, kMeterHeight, kWell);
  for (int col = 0; col < kMeterLength; ++col)
  {
    // Zones of the -50 to +10 dB scale: green to -10 dB, amber to 0, red above.
    LICE_PixelValue on = kAccent;
    if (zoned)
      on = col < 80 ? ArtRGB(70, 214, 120) : col < 100 ? kAccent : ArtRGB(255, 72, 60);
    // Every fourth column is a dimmer seam, lit too, so each step shows.
    const bool seam = col % 4 == 3;
    const LICE_PixelValue shown = col < lit ? ArtMix(kWell, on, seam ? 0.4f : 1) : ArtMix(kWell, on, seam ? 0 : 0.16f);
    c.fillRect(float(kMeterX + col), float(kMeterY), 1, float(kMeterHeight), shown);
  }
}

void ArtDrawButtonFrame(ArtCanvas& c, bool on)
{
  c.fillRoundRect(0, 0, 40, 22, 5, kEdgeDark);
  c.gradRoundRect(1, 1, 38, 20, 4, kCapTop, kCapBottom);
  if (on)
    c.glow(20, 11, 16, kAccent, 0.35f);
  c.fillRoundRect(9, 9, 22, 4, 2, on ? kAccent : kAccentDim);
  if (on)
    c.fillRoundRect(11, 10, 18, 1.5f, 0.75f, kAccentHot);
}

void ArtDrawMeterModeFrame(ArtCanvas& c, int mode)
{
  c.fillRoundRect(0, 0, 44, 34, 5, kEdgeDark);
  c.gradRoundRect(1, 1, 42, 32, 4, kCapTop, kCapBottom);
  const char* names[2] = {"OUT", "GR"};
  for (int i = 0; i < 2; ++i)
  {
    const float y = 11.5f + 11 * float(i);
    const bool lit = i == mode;
    if (lit)
      c.glow(10, y, 6, kAccent, 0.5f);
    c.fillCircle(10, y, 2.5f, lit ? kAccent : kAccentDim);
    ArtText t;
    t.cap = 5;
    t.weight = 1.2f;
    t.tracking = 1.4f;
    t.color = lit ? kAccent : kLabelDim;
    ArtDrawText(c, t, 17, y + 2.5f, names[i]);
  }
}

void ArtDrawRatioFrame(ArtCanvas& c, int selected)
{
  // Button centres sit in the middle of the selector's four small hit areas.
  const ArtPoint leds[4] = {{24.5f, 10.5f}, {9.5f, 39.5f}, {9.5f, 75.5f}, {24.5f, 106.5f}};
  const char* names[4] = {"4:1", "8:1", "12:1", "20:1"};
  ArtText t;
  t.cap = 6;
  t.weight = 1.25f;
  t.tracking = 1.3f;
  for (int i = 0; i < 4; ++i)
  {
    const bool lit = i == selected;
    const ArtPoint p = leds[i];
    c.fillCircle(p.x, p.y + 0.5f, 6.5f, kEdgeDark);
    c.gradCircle(p.x, p.y, 5.5f, kCapTop, kCapBottom);
    if (lit)
    {
      c.glow(p.x, p.y, 7, kAccent, 0.45f);
      c.fillCircle(p.x, p.y, 3.5f, kAccent);
      c.fillCircle(p.x - 0.8f, p.y - 0.8f, 1.2f, kAccentHot);
    }
    else
    {
      c.fillCircle(p.x, p.y, 2.5f, kAccentDim);
    }
    t.color = lit ? kAccent : kLabelDim;
    // Labels go to the open side of each button.
    if (p.x > 20)
      ArtDrawTextRight(c, t, p.x - 8, p.y + 3, names[i]);
    else
      ArtDrawText(c, t, p.x + 8, p.y + 3, names[i]);
  }
  const bool all = selected == 4;
  c.fillRoundRect(44, 14, 48, 89, 7, kEdgeDark);
  if (all)
  {
    c.glow(68, 58.5f, 40, kAccent, 0.3f);
    c.fillRoundRect(44, 14, 48, 89, 7, kEdgeDark);
    c.gradRoundRect(45.5f, 15.5f, 45, 86, 6, ArtRGB(255, 190, 96), ArtRGB(222, 126, 34));
  }
  else
  {
    c.gradRoundRect(45.5f, 15.5f, 45, 86, 6, kCapTop, kCapBottom);
  }
  ArtText big;
  big.cap = 10;
  big.weight = 2;
  big.tracking = 1.5f;
  big.color = all ? ArtRGB(40, 24, 8) : kLabel;
  ArtDrawTextCentred(c, big, 68, 55, "ALL");
  ArtDrawTextCentred(c, big, 68, 73, "IN");
}

void ArtDrawDigitFrame(ArtCanvas& c, int frame)
{
  // Wheel position in digits: frame f shows the roll one tenth past f / 10,
  // so the odometer's state 10 d, drawn as frame 10 d - 1, is d upright.
  const float pos = frame < 1 ? 0.0f : float(frame + 1) / 10.0f;
  const int d = int(pos);
  const float frac = pos - float(d);
  const float h = float(c.height()), w = float(c.width());
  c.gradRect(0, 0, w, h / 2, ArtRGB(6, 6, 7), ArtRGB(22, 23, 26));
  c.gradRect(0, h / 2, w, h / 2, ArtRGB(22, 23, 26), ArtRGB(6, 6, 7));
  ArtText t;
  t.cap = kDigitCap;
  t.weight = kDigitWeight;
  t.color = kAccent;
  const float baseline = (h + kDigitCap) / 2;
  ArtDrawGlyphCentred(c, t, w / 2, baseline - frac * h, char('0' + d % 10));
  if (frac > 0)
    ArtDrawGlyphCentred(c, t, w / 2, baseline + (1 - frac) * h, char('0' + (d + 1) % 10));
}

namespace
{

template <class F>
std::unique_ptr<LICE_MemBitmap> strip(const KestrelImageSpec& image, F drawFrame)
{
  const int frames = image.mFrames;
  auto out = std::make_unique<LICE_MemBitmap>(image.mFrameWidth, image.mFrameHeight * frames);
  LICE_Clear(out.get(), 0);
  ArtCanvas c(image.mFrameWidth, image.mFrameHeight);
  for (int f = 0; f < frames; ++f)
  {
    c.clear();
    drawFrame(c, f);
    c.resolveInto(out.get(), 0, f * image.mFrameHeight);
  }
  return out;
}

void drawStripFrame(ArtCanvas& c, EKestrelImage image, int f, int frames)
{
  // Only the knob and slider strips, never single frames, go from 0 to 1 over their frames.
  auto value = [&] { return float(f) / float(frames - 1); };
  switch (image)
  {
  case kBackgroundImage: ArtDrawBackground(c); break;
  case kInputMeterImage: ArtDrawMeterFrame(c, true, f); break;
  case kOutputMeterImage: ArtDrawMeterFrame(c, false, f); break;
  case kButtonImage: ArtDrawButtonFrame(c, f == 1); break;
  case kMeterModeImage: ArtDrawMeterModeFrame(c, f); break;
  case kThresholdSlideImage: ArtDrawSliderFrame(c, false, value()); break;
  case kCompensationSlideImage: ArtDrawSliderFrame(c, true, value()); break;
  case kSlideButtonImage: ArtDrawSliderHandle(c, 7, 0); break;
  case kRatioImage: ArtDrawRatioFrame(c, f); break;
  case kSmallKnobImage: ArtDrawKnobFrame(c, true, value()); break;
  case kKnobImage: ArtDrawKnobFrame(c, false, value()); break;
  case kDigitsImage: ArtDrawDigitFrame(c, f); break;
  }
}

} // namespace

std::unique_ptr<LICE_MemBitmap> ArtDrawImage(EKestrelImage image)
{
  const KestrelImageSpec* spec = KestrelImageFor(image);
  if (!spec)
    return nullptr;
  return strip(*spec, [&](ArtCanvas& c, int f) { drawStripFrame(c, image, f, spec->mFrames); });
}
