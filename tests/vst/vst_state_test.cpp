// State chunks: header bytes, round trips into a fresh instance, bare and
// damaged chunks, and what program and bank chunks do to the current slot.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/vst/TestEffect.h"
#include "tests/vst/TestHost.h"
#include "wdl/IPlug/vst/IPlugVSTEntry.h"

using namespace vst;

namespace
{

TestEffect* Plug(AEffect* e)
{
  return static_cast<TestEffect*>(e->object);
}

std::vector<uint8_t> GetChunk(TestHost& host, bool bank)
{
  void* data = nullptr;
  intptr_t n = host.Dispatch(op::kGetChunk, bank ? 0 : 1, 0, &data);
  if (n <= 0 || !data)
    return {};
  auto* p = static_cast<uint8_t*>(data);
  return std::vector<uint8_t>(p, p + n);
}

std::vector<uint8_t> Doubles(std::initializer_list<double> values)
{
  std::vector<uint8_t> bytes(values.size() * 8);
  size_t i = 0;
  for (double v : values)
    memcpy(&bytes[8 * i++], &v, 8);
  return bytes;
}

TEST(VstChunks, ProgramChunkIsHeaderThenValues)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  e->setParameter(e, 0, 0.25f);
  std::vector<uint8_t> chunk = GetChunk(host, false);
  ASSERT_EQ(chunk.size(), 8u + 3 * 8);
  const uint8_t header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(memcmp(chunk.data(), header, 8), 0);
  std::vector<uint8_t> values = Doubles({0.5, 0.0, -10.0});
  EXPECT_EQ(memcmp(chunk.data() + 8, values.data(), values.size()), 0);
}

TEST(VstChunks, RoundTripIntoAFreshInstance)
{
  for (bool bank : {false, true})
  {
    std::vector<uint8_t> chunk;
    {
      TestHost source;
      AEffect* e = source.Create(IPlugVSTCreate<TestEffect>);
      e->setParameter(e, 0, 0.75f);
      e->setParameter(e, 1, 1.0f);
      e->setParameter(e, 2, 0.5f);
      chunk = GetChunk(source, bank);
    }
    TestHost target;
    AEffect* e = target.Create(IPlugVSTCreate<TestEffect>);
    EXPECT_EQ(target.Dispatch(op::kSetChunk, bank ? 0 : 1, intptr_t(chunk.size()), chunk.data()), 1);
    EXPECT_EQ(Plug(e)->GetParam(0)->Value(), 1.5);
    EXPECT_EQ(Plug(e)->GetParam(1)->Value(), 2.0);
    EXPECT_EQ(Plug(e)->GetParam(2)->Value(), -30.0);
    EXPECT_EQ(GetChunk(target, bank), chunk);
  }
}

TEST(VstChunks, BareStateWithoutHeaderIsRead)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  std::vector<uint8_t> bare = Doubles({2.0, 1.0, -45.5});
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, intptr_t(bare.size()), bare.data()), 1);
  EXPECT_EQ(Plug(e)->GetParam(0)->Value(), 2.0);
  EXPECT_EQ(Plug(e)->GetParam(2)->Value(), -45.5);

  // Stored values outside a range come back clamped.
  std::vector<uint8_t> wide = Doubles({5.0, -3.0, 100.0});
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, intptr_t(wide.size()), wide.data()), 1);
  EXPECT_EQ(Plug(e)->GetParam(0)->Value(), 2.0);
  EXPECT_EQ(Plug(e)->GetParam(1)->Value(), 0.0);
  EXPECT_EQ(Plug(e)->GetParam(2)->Value(), 0.0);
}

TEST(VstChunks, DamagedChunksAreRefused)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  e->setParameter(e, 0, 0.25f);
  const uint8_t cut[6] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00};
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, 6, const_cast<uint8_t*>(cut)), 0);
  EXPECT_EQ(Plug(e)->GetParam(0)->Value(), 0.5);

  std::vector<uint8_t> shortBare = Doubles({1.5, 1.0});
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, intptr_t(shortBare.size()), shortBare.data()), 0);
  EXPECT_EQ(Plug(e)->GetParam(0)->Value(), 1.5);

  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, 8, nullptr), 0);
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, -8, shortBare.data()), 0);
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, intptr_t(1) << 40, shortBare.data()), 0);
  EXPECT_EQ(Plug(e)->GetParam(0)->Value(), 1.5);
}

TEST(VstChunks, ProgramChunkUpdatesTheCurrentSlotBankChunkDoesNot)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  std::vector<uint8_t> program = GetChunk(host, false);
  memcpy(program.data() + 8, Doubles({2.0}).data(), 8);
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 1, intptr_t(program.size()), program.data()), 1);
  EXPECT_EQ(p->StoredValue(0, 0), 2.0);

  std::vector<uint8_t> bank = GetChunk(host, true);
  memcpy(bank.data() + 8, Doubles({1.0}).data(), 8);
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 0, intptr_t(bank.size()), bank.data()), 1);
  EXPECT_EQ(p->GetParam(0)->Value(), 1.0);
  EXPECT_EQ(p->StoredValue(0, 0), 2.0);

  // A bank from before the versioned header (version up to 0xFFFF) does update it.
  bank[6] = 0;
  bank[4] = 1;
  EXPECT_EQ(host.Dispatch(op::kSetChunk, 0, intptr_t(bank.size()), bank.data()), 1);
  EXPECT_EQ(p->StoredValue(0, 0), 1.0);
}

// Saving a bank first stores the current values into the current slot, so
// the bank holds edits not yet kept in any program; saving a program does not.
TEST(VstChunks, GettingABankKeepsTheCurrentValuesInTheCurrentSlot)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  e->setParameter(e, 0, 0.75f); // gain 1.5, not yet in slot 0 (which holds 1.0)
  GetChunk(host, false);
  EXPECT_EQ(p->StoredValue(0, 0), 1.0);
  GetChunk(host, true);
  EXPECT_EQ(p->StoredValue(0, 0), 1.5);
}

TEST(VstChunks, HeaderReader)
{
  ByteChunk c;
  InitializeVSTChunk(&c);
  EXPECT_EQ(c.Size(), 8);
  int pos = 0;
  EXPECT_EQ(GetIPlugVerFromChunk(&c, &pos), 0x10000);
  EXPECT_EQ(pos, 8);
  int32_t magic = 0x70666674;
  ByteChunk cut;
  cut.Put(&magic);
  pos = 0;
  EXPECT_EQ(GetIPlugVerFromChunk(&cut, &pos), 0);
  EXPECT_EQ(pos, -1);
  ByteChunk other;
  double v = 1.0;
  other.Put(&v);
  pos = 0;
  EXPECT_EQ(GetIPlugVerFromChunk(&other, &pos), 0);
  EXPECT_EQ(pos, 0);
}

} // namespace
