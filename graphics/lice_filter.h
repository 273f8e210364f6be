#pragma once
// Integer sampling filters of the scaled, rotated and delta blits. Fractions
// are 0-65535; the weights of each filter sum to 65536, so every channel
// stays within 0-255 and the division is exact truncation.

// row1 at pixel (x, y), row1 + 4 at (x + 1, y), row2 at (x, y + 1) and
// row2 + 4 at (x + 1, y + 1). f is the unsigned 32-bit product fx * fy >> 16:
// w00 = 65536 - fx - fy + f, w10 = fx - f, w01 = fy - f, w11 = f.
static inline void __LICE_BilinearFilterI(int* r, int* g, int* b, int* a, const unsigned char* row1,
                                          const unsigned char* row2, int fx, int fy)
{
  const int f = int((unsigned(fx) * unsigned(fy)) >> 16);
  const int w00 = 65536 - fx - fy + f, w10 = fx - f, w01 = fy - f, w11 = f;
  auto mix = [&](int c) { return (row1[c] * w00 + row1[4 + c] * w10 + row2[c] * w01 + row2[4 + c] * w11) >> 16; };
  *r = mix(1);
  *g = mix(2);
  *b = mix(3);
  *a = mix(0);
}

// p2 is the right or the lower neighbour of p1, as the caller chooses.
static inline void __LICE_LinearFilterI(int* r, int* g, int* b, int* a, const unsigned char* p1,
                                        const unsigned char* p2, int fraction)
{
  const int inv = 65536 - fraction;
  auto mix = [&](int c) { return (p1[c] * inv + p2[c] * fraction) >> 16; };
  *r = mix(1);
  *g = mix(2);
  *b = mix(3);
  *a = mix(0);
}
