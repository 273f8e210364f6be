// Feeds arbitrary bytes to the parameter-state and preset-bank readers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/support/IPlugTest.h"

namespace
{
class FuzzPlug : public IPlugTest
{
public:
  FuzzPlug() : IPlugTest(IPlugInstanceInfo{}, 12, "1-1 2-2 4-2", 8, "E", "P", "M", 1, 1, 2)
  {
    for (int i = 0; i < 12; ++i)
    {
      switch (i % 4)
      {
      case 0: GetParam(i)->InitDouble("d", 0., -60., 0., 0.1, "dB"); break;
      case 1: GetParam(i)->InitEnum("e", 0, 5); break;
      case 2: GetParam(i)->InitBool("b", false); break;
      default: GetParam(i)->InitInt("i", 1, 1, 100, ""); break;
      }
    }
    MakeDefaultPreset("Default", 3);
  }
};

void CheckFinite(const IPlugBase& plug)
{
  for (int i = 0; i < plug.NParams(); ++i)
  {
    const IParam* p = plug.GetParam(i);
    if (!std::isfinite(p->Value()) || p->Value() < p->GetMin() || p->Value() > p->GetMax())
      abort();
  }
}
} // namespace

// libFuzzer finds it by name; no header declares it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > (1 << 20))
    return 0;
  ByteChunk chunk;
  chunk.PutBytes(data, int(size));
  {
    FuzzPlug plug;
    plug.UnserializeParams(&chunk, 0);
    CheckFinite(plug);
  }
  {
    FuzzPlug plug;
    int pos = plug.UnserializePresets(&chunk, 0);
    if (pos > int(size))
      abort();
    CheckFinite(plug);
    ByteChunk out;
    plug.SerializePresets(&out);
  }
  return 0;
}
