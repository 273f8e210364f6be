// wavcompare A.wav B.wav [--tolerance T]: compares two renders sample for
// sample. Prints the largest difference; exit status 0 when they agree
// (within T, default 0: bit for bit), 1 when they differ, 2 on an error.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/signal/SignalBuffer.h"

int main(int argc, char** argv)
{
  double tolerance = 0.0;
  if (argc == 5 && !strcmp(argv[3], "--tolerance"))
    tolerance = atof(argv[4]);
  else if (argc != 3)
  {
    fprintf(stderr, "usage: wavcompare A.wav B.wav [--tolerance T]\n");
    return 2;
  }
  SignalBuffer a, b;
  std::string error;
  if (!ReadWav(argv[1], &a, &error) || !ReadWav(argv[2], &b, &error))
  {
    fprintf(stderr, "wavcompare: %s\n", error.c_str());
    return 2;
  }
  if (a.NumChannels() != b.NumChannels() || a.NumFrames() != b.NumFrames() || a.sampleRate != b.sampleRate)
  {
    printf("differ: %d x %d at %.0f Hz against %d x %d at %.0f Hz\n", a.NumChannels(), a.NumFrames(), a.sampleRate,
           b.NumChannels(), b.NumFrames(), b.sampleRate);
    return 1;
  }
  double worst = 0.0;
  long differing = 0;
  for (int c = 0; c < a.NumChannels(); ++c)
    for (int i = 0; i < a.NumFrames(); ++i)
    {
      float x = a.channels[size_t(c)][size_t(i)], y = b.channels[size_t(c)][size_t(i)];
      if (std::bit_cast<uint32_t>(x) != std::bit_cast<uint32_t>(y))
        ++differing;
      double d = std::fabs(double(x) - double(y));
      if (!(d <= worst))
        worst = d; // a NaN on one side counts as the worst
    }
  bool agree = tolerance == 0.0 ? differing == 0 : worst <= tolerance;
  printf("%s: %d channels x %d frames, %ld samples differ, largest difference %.9g\n", agree ? "agree" : "differ",
         a.NumChannels(), a.NumFrames(), differing, worst);
  return agree ? 0 : 1;
}
