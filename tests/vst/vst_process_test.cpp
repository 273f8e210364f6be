// The three process callbacks and parameter access, against outputs worked
// out by hand from the test effect's formula (output = input x gain).

#include <gtest/gtest.h>

#include <cmath>
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

template <class T>
struct Buffers
{
  Buffers(int nIn, int nOut, int frames)
    : in(size_t(nIn), std::vector<T>(size_t(frames))), out(size_t(nOut), std::vector<T>(size_t(frames)))
  {
    for (auto& ch : in)
      inPtrs.push_back(ch.data());
    for (auto& ch : out)
      outPtrs.push_back(ch.data());
  }
  std::vector<std::vector<T>> in, out;
  std::vector<T*> inPtrs, outPtrs;
};

// Samples exactly representable in float, so both precisions see the same input.
template <class T>
void FillRamp(Buffers<T>& b)
{
  for (size_t c = 0; c < b.in.size(); ++c)
    for (size_t i = 0; i < b.in[c].size(); ++i)
      b.in[c][i] = T((int(i % 64) - 32) / 64.0 + 0.25 * double(c));
}

TEST(VstProcess, ReplacingScalesByGain)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  e->setParameter(e, 0, 0.25f); // gain 0.5
  Buffers<float> b(4, 2, 100);
  FillRamp(b);
  for (auto& ch : b.out)
    std::fill(ch.begin(), ch.end(), 9.0f);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 100);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 100; ++i)
      ASSERT_EQ(b.out[size_t(c)][size_t(i)], b.in[size_t(c)][size_t(i)] * 0.5f);
}

TEST(VstProcess, AccumulatingAddsToWhatIsThere)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  Buffers<float> b(4, 2, 10);
  for (auto& ch : b.in)
    std::fill(ch.begin(), ch.end(), 0.5f);
  for (auto& ch : b.out)
    std::fill(ch.begin(), ch.end(), 0.25f);
  e->process(e, b.inPtrs.data(), b.outPtrs.data(), 10);
  for (auto& ch : b.out)
    for (float s : ch)
      ASSERT_EQ(s, 0.75f);
}

TEST(VstProcess, FloatAndDoublePathsAgree)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  e->setParameter(e, 0, 0.37f);
  Buffers<float> f(4, 2, 300);
  Buffers<double> d(4, 2, 300);
  FillRamp(f);
  FillRamp(d);
  e->processReplacing(e, f.inPtrs.data(), f.outPtrs.data(), 300);
  e->processDoubleReplacing(e, d.inPtrs.data(), d.outPtrs.data(), 300);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 300; ++i)
      ASSERT_EQ(f.out[size_t(c)][size_t(i)], float(d.out[size_t(c)][size_t(i)]));
}

TEST(VstProcess, MoreFramesThanOneBlockAreProcessedInPieces)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  host.Dispatch(op::kSetBlockSize, 0, 64);
  e->setParameter(e, 0, 1.0f); // gain 2
  Buffers<float> b(4, 2, 200);
  FillRamp(b);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 200);
  EXPECT_EQ(Plug(e)->mProcessCalls, 4);
  EXPECT_EQ(Plug(e)->mLastFrames, 200 - 3 * 64);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 200; ++i)
      ASSERT_EQ(b.out[size_t(c)][size_t(i)], b.in[size_t(c)][size_t(i)] * 2.0f);
}

TEST(VstProcess, NothingToProcessTouchesNothing)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  Buffers<float> b(4, 2, 8);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 0);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), -5);
  e->processReplacing(e, nullptr, b.outPtrs.data(), 8);
  b.inPtrs[3] = nullptr;
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 8);
  EXPECT_EQ(Plug(e)->mProcessCalls, 0);
}

TEST(VstProcess, WantsMidiOnlyWhenItDoesMidi)
{
  Buffers<float> b(4, 2, 8);
  TestHost plain;
  AEffect* e = plain.Create(IPlugVSTCreate<TestEffect>);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 8);
  EXPECT_EQ(plain.Count(host::kWantMidi), 0);
  plain.Close();
  TestHost midi;
  e = midi.Create(IPlugVSTCreate<TestMidiEffect>);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 8);
  e->process(e, b.inPtrs.data(), b.outPtrs.data(), 8);
  EXPECT_EQ(midi.Count(host::kWantMidi), 2);
}

TEST(VstProcess, EffectExceptionStaysInsideAndFreesTheLock)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  Plug(e)->mThrowInProcess = true;
  Buffers<float> f(4, 2, 8);
  Buffers<double> d(4, 2, 8);
  EXPECT_NO_THROW(e->processReplacing(e, f.inPtrs.data(), f.outPtrs.data(), 8));
  EXPECT_NO_THROW(e->process(e, f.inPtrs.data(), f.outPtrs.data(), 8));
  EXPECT_NO_THROW(e->processDoubleReplacing(e, d.inPtrs.data(), d.outPtrs.data(), 8));
  EXPECT_EQ(Plug(e)->mProcessCalls, 3);
  WDL_Mutex* lock = Plug(e)->GetMutex();
  EXPECT_EQ(pthread_mutex_trylock(&lock->m_mutex), 0);
  pthread_mutex_unlock(&lock->m_mutex);
}

TEST(VstParameters, RoundTripsNormalisedValues)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  int changes = p->mParamChanges;
  e->setParameter(e, 0, 0.3f);
  EXPECT_FLOAT_EQ(e->getParameter(e, 0), 0.3f);
  EXPECT_DOUBLE_EQ(p->GetParam(0)->Value(), double(0.3f) * 2.0);
  e->setParameter(e, 1, 0.4f); // enum of 3: 0.4 x 2 rounds to 1
  EXPECT_EQ(p->GetParam(1)->Value(), 1.0);
  EXPECT_EQ(e->getParameter(e, 1), 0.5f);
  EXPECT_EQ(p->mParamChanges, changes + 2);

  EXPECT_EQ(e->getParameter(e, -1), 0.0f);
  EXPECT_EQ(e->getParameter(e, 3), 0.0f);
  e->setParameter(e, 3, 0.5f);
  e->setParameter(e, -1, 0.5f);
  EXPECT_EQ(p->mParamChanges, changes + 2);
}

TEST(VstParameters, StrayValuesStayInRange)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  e->setParameter(e, 2, -0.5f);
  EXPECT_EQ(p->GetParam(2)->Value(), -60.0);
  e->setParameter(e, 2, 7.0f);
  EXPECT_EQ(p->GetParam(2)->Value(), 0.0);
  e->setParameter(e, 2, -INFINITY);
  EXPECT_EQ(p->GetParam(2)->Value(), -60.0);
  e->setParameter(e, 2, NAN);
  EXPECT_EQ(p->GetParam(2)->Value(), -60.0);
  EXPECT_EQ(e->getParameter(e, 2), 0.0f);
}

} // namespace

namespace
{

// Outputs carry the side-chain pair (inputs 2 and 3); optionally asks the
// host for the time while processing, as effects that follow the transport do.
class SideChainEffect : public TestEffect
{
public:
  explicit SideChainEffect(IPlugInstanceInfo info) : TestEffect(info) {}
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override
  {
    ++mProcessCalls;
    if (mAskHost)
      GetSamplePos();
    for (int i = 0; i < nFrames; ++i)
    {
      outputs[0][i] = inputs[2][i];
      outputs[1][i] = inputs[3][i];
    }
  }
  bool mAskHost = false;
};

SideChainEffect* SideChain(AEffect* e)
{
  return static_cast<SideChainEffect*>(e->object);
}

intptr_t ArrangeInputs(TestHost& host, int nInputs)
{
  VstSpeakerArrangement in = {};
  in.numChannels = nInputs;
  return host.Dispatch(op::kSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), nullptr);
}

} // namespace

// A disconnected side-chain channel reads zeros: the loud key converted into
// its scratch before the arrangement changed is gone with it. A host may pass
// null, or a pointer, for the channel the plug-in disconnected; neither drops
// the block.
TEST(VstProcess, ADisconnectedSideChainChannelReadsZeros)
{
  for (bool hostPassesNull : {true, false})
  {
    TestHost host;
    AEffect* e = host.Create(IPlugVSTCreate<SideChainEffect>);
    Buffers<float> b(4, 2, 16);
    std::fill(b.in[2].begin(), b.in[2].end(), 0.5f);
    std::fill(b.in[3].begin(), b.in[3].end(), 1.0f); // the loud key
    e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 16);
    ASSERT_EQ(b.out[1][0], 1.0f);
    ASSERT_EQ(ArrangeInputs(host, 3), 1);
    if (hostPassesNull)
      b.inPtrs[3] = nullptr;
    for (auto& ch : b.out)
      std::fill(ch.begin(), ch.end(), 9.0f);
    e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 16);
    EXPECT_EQ(SideChain(e)->mProcessCalls, 2) << hostPassesNull;
    EXPECT_EQ(b.out[0][5], 0.5f) << hostPassesNull;
    EXPECT_EQ(b.out[1][5], 0.0f) << hostPassesNull;
  }
}

// A stereo-limited host passes two input pointers: the binding reads no more.
TEST(VstProcess, AStereoLimitedHostsTwoPointersAreAllThatIsRead)
{
  TestHost host;
  host.mProduct = "Adobe Audition";
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  ASSERT_FALSE(Plug(e)->IsInChannelConnected(2));
  Buffers<float> b(2, 2, 32); // exactly two pointers: ASan sees a read past them
  FillRamp(b);
  e->setParameter(e, 0, 0.25f); // gain 0.5
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 32);
  EXPECT_EQ(Plug(e)->mProcessCalls, 1);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 32; i += 5)
      EXPECT_EQ(b.out[size_t(c)][size_t(i)], b.in[size_t(c)][size_t(i)] * 0.5f);
}

// A host that answers a request made during processing by changing the
// block size or the arrangement must not free or rewire what the running
// block uses: both are refused until the block is done.
TEST(VstProcess, BlockSizeAndArrangementChangesFromInsideProcessingAreRefused)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<SideChainEffect>);
  host.Dispatch(op::kSetBlockSize, 0, 64);
  SideChain(e)->mAskHost = true;
  static intptr_t blockAnswer, arrangeAnswer;
  host.mOnRequest = [](TestHost* h, int32_t opCode) {
    if (opCode != host::kGetTime)
      return;
    blockAnswer = h->Dispatch(op::kSetBlockSize, 0, 8192);
    arrangeAnswer = ArrangeInputs(*h, 2);
  };
  Buffers<float> b(4, 2, 64);
  std::fill(b.in[3].begin(), b.in[3].end(), 0.75f);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 64);
  host.mOnRequest = nullptr;
  EXPECT_EQ(blockAnswer, 0);
  EXPECT_EQ(arrangeAnswer, 0);
  EXPECT_EQ(Plug(e)->GetBlockSize(), 64);
  EXPECT_TRUE(Plug(e)->IsInChannelConnected(3));
  EXPECT_EQ(b.out[1][63], 0.75f);
  EXPECT_EQ(host.Dispatch(op::kSetBlockSize, 0, 8192), 0); // outside a block it is taken
  EXPECT_EQ(Plug(e)->GetBlockSize(), 8192);
}
