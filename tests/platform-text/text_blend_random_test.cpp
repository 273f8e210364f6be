// Lines blended straight into a context against the same lines drawn as an
// image by the platform, bit for bit (replay one with --iteration N).

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/coregraphics/CGBitmapContext.h"
#include "platform/text/TextLayout.h"
#include "tests/support/IterationReplay.h"

namespace
{

std::string drawBothWays(int it)
{
  uint64_t seed = uint64_t(it) * 0x9E3779B97F4A7C15ull + 1;
  auto next = [&] { return uint32_t((seed = seed * 6364136223846793005ull + 1442695040888963407ull) >> 33); };
  auto range = [&](int lo, int hi) { return lo + int(next() % uint32_t(hi - lo + 1)); };
  auto real = [&](double lo, double hi) { return lo + (hi - lo) * (next() & 0xFFFFF) / double(0xFFFFF); };
  const TextUnit pool[] = {'A', 'V', 'g', 'j', 'l', 'W', '.', ' ', '\t', 0xE9, 0x2026, 0xD83D, 0xDE00, 0xDC00};
  std::vector<TextUnit> text(size_t(range(0, 24)));
  for (TextUnit& u : text)
    u = pool[range(0, int(std::size(pool)) - 1)];
  std::unique_ptr<TextStyle, void (*)(TextStyleRef)> style(
    TextStyleCreate(range(0, 1) ? "Arial" : "DejaVu Sans", range(3, 40), range(0, 1), range(0, 1), range(0, 2) == 0),
    TextStyleDispose);
  size_t w = size_t(range(1, 90)), h = size_t(range(1, 50));
  CGBitmapInfo info = range(0, 1) ? kCGImageAlphaNoneSkipFirst : kCGImageAlphaPremultipliedFirst;
  std::vector<unsigned char> direct(w * h * 4);
  for (unsigned char& b : direct)
    b = range(0, 3) ? (unsigned char)next() : 0;
  std::vector<unsigned char> image = direct;
  const double scales[] = {1, 1, 1, -1, 2, 0.5, 1.3, -0.7};
  CGAffineTransform t =
    CGAffineTransformMake(scales[range(0, 7)], 0, 0, scales[range(0, 7)], real(-20, 20), real(-20, 60));
  CGRect clip =
    range(0, 2) ? CGRectMake(-1e6, -1e6, 2e6, 2e6) : CGRectMake(real(-5, 90), real(-5, 50), real(0, 90), real(0, 50));
  double alpha = range(0, 3) ? 1 : real(0, 1), cut = range(0, 2) ? 1e9 : real(0, 120);
  double rgba[4] = {real(0, 1), real(0, 1), real(0, 1), range(0, 2) ? 1 : real(0, 1)}, x = real(-30, 80),
         y = real(-10, 50);
  TextLine line(style.get(), text.data(), text.size());
  line.TruncateEnd(cut);
  for (auto* bytes : {&direct, &image})
  {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(bytes->data(), w, h, 8, w * 4, space, info);
    CGColorSpaceRelease(space);
    CGContextConcatCTM(c, t);
    CGContextClipToRect(c, clip);
    CGContextSetAlpha(c, alpha);
    TextSetDirectBlend(bytes == &direct);
    line.Draw(c, x, y, rgba, 0);
    CGContextRelease(c);
  }
  TextSetDirectBlend(true);
  for (size_t i = 0; i < direct.size(); ++i)
    if (direct[i] != image[i])
      return "byte " + std::to_string(i) + " blended " + std::to_string(direct[i]) + ", not " +
             std::to_string(image[i]);
  return "";
}

TEST(TextBlend, StraightIntoTheContextMatchesDrawingTheImage)
{
  RunIterations(1500, drawBothWays);
}

} // namespace

int main(int argc, char** argv)
{
  return ReplayMain(argc, argv);
}
