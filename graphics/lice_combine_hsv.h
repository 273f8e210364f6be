#pragma once
// HSV adjust: the source colour is not blended in but read as signed offsets
// around 128 (hue from r, scaled by 1.5; saturation from g; value from b),
// applied with weight wt to the destination's hue, saturation and value.
// Hue runs 0-383 in six sectors of 64 (red, yellow, green, cyan, blue,
// magenta). The destination's A is not read; A becomes the source's a.

// Included from lice_combine.h.

static inline void LICE_HSVAdjustPixel(unsigned char* dest, int r, int g, int b, int a, int wt)
{
  const int R = dest[1], G = dest[2], B = dest[3];
  int max, delta, base, num;
  if (G > R)
  {
    if (B >= G)
    {
      max = B, delta = B - R, base = 256, num = R - G;
    }
    else
    {
      max = G, delta = G - (R < B ? R : B), base = 128, num = B - R;
    }
  }
  else if (B < R)
  {
    // 383 rather than 384 keeps a red leaning to blue below 384.
    max = R, delta = R - (G < B ? G : B), base = G < B ? 383 : 0, num = G - B;
  }
  else
  {
    max = B, delta = B - (R < G ? R : G), base = 256, num = R - G;
  }
  // The reciprocal table replaces the divisions by max and by delta; a grey
  // has delta = num = 0, so it keeps H = base and S = 0.
  int S = _LICE_RGB2HSV_invtab[max] * delta / 256;
  int V = max;
  int H = base + (_LICE_RGB2HSV_invtab[delta] + 1) * num / 1024;

  // One correction suffices for weights up to 256; larger ones wrap fully
  // so the hue always lands in a sector.
  H += (r + r / 2 - 192) * wt / 256;
  if (H < 0)
    H += 384;
  else if (H > 383)
    H -= 384;
  if (H < 0 || H > 383)
    H = ((H % 384) + 384) % 384;

  S = LICE_ClampChannel(S + (g - 128) * wt / 256);
  V = LICE_ClampChannel(V + (b - 128) * wt / 256);

  const int m = V * (256 - S) / 256;
  auto ramp = [=](int x) { return (16384 - S * x) * V / 16384; };
  int oR, oG, oB;
  switch (H >> 6)
  {
  case 0: oR = V, oG = ramp(64 - H), oB = m; break;
  case 1: oR = ramp(H - 64), oG = V, oB = m; break;
  case 2: oR = m, oG = V, oB = ramp(192 - H); break;
  case 3: oR = m, oG = ramp(H - 192), oB = V; break;
  case 4: oR = ramp(320 - H), oG = m, oB = V; break;
  default: oR = V, oG = m, oB = ramp(H - 320); break;
  }
  _LICE_MakePixel(dest, oR, oG, oB, a);
}

class _LICE_CombinePixelsHSVAdjust
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int alpha)
  {
    LICE_HSVAdjustPixel(dest, r, g, b, a, alpha);
  }
};

using _LICE_CombinePixelsHSVAdjustSourceAlpha = LICE_SourceAlphaWeighted<_LICE_CombinePixelsHSVAdjust, false>;
