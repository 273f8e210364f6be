// The three process callbacks and parameter access, against outputs worked
// out by hand from the test effect's formula (output = input x gain).

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/vst/TestEffect.h"
#include "tests/vst/TestHost.h"
#include "wdl/IPlug/vst/IPlugVSTEntry.h"

using namespace vst;

namespace {

TestEffect* Plug(AEffect* e)
{
  return static_cast<TestEffect*>(e->object);
}

template <class T>
struct Buffers {
  Buffers(int nIn, int nOut, int frames)
      : in(size_t(nIn), std::vector<T>(size_t(frames))), out(size_t(nOut), std::vector<T>(size_t(frames)))
  {
    for (auto& ch : in) inPtrs.push_back(ch.data());
    for (auto& ch : out) outPtrs.push_back(ch.data());
  }
  std::vector<std::vector<T>> in, out;
  std::vector<T*> inPtrs, outPtrs;
};

// Samples exactly representable in float, so both precisions see the same input.
template <class T>
void FillRamp(Buffers<T>& b)
{
  for (size_t c = 0; c < b.in.size(); ++c)
    for (size_t i = 0; i < b.in[c].size(); ++i) b.in[c][i] = T((int(i % 64) - 32) / 64.0 + 0.25 * double(c));
}

TEST(VstProcess, ReplacingScalesByGain)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  e->setParameter(e, 0, 0.25f);  // gain 0.5
  Buffers<float> b(4, 2, 100);
  FillRamp(b);
  for (auto& ch : b.out) std::fill(ch.begin(), ch.end(), 9.0f);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 100);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 100; ++i) ASSERT_EQ(b.out[size_t(c)][size_t(i)], b.in[size_t(c)][size_t(i)] * 0.5f);
}

TEST(VstProcess, AccumulatingAddsToWhatIsThere)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  Buffers<float> b(4, 2, 10);
  for (auto& ch : b.in) std::fill(ch.begin(), ch.end(), 0.5f);
  for (auto& ch : b.out) std::fill(ch.begin(), ch.end(), 0.25f);
  e->process(e, b.inPtrs.data(), b.outPtrs.data(), 10);
  for (auto& ch : b.out)
    for (float s : ch) ASSERT_EQ(s, 0.75f);
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
    for (int i = 0; i < 300; ++i) ASSERT_EQ(f.out[size_t(c)][size_t(i)], float(d.out[size_t(c)][size_t(i)]));
}

TEST(VstProcess, MoreFramesThanOneBlockAreProcessedInPieces)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  host.Dispatch(op::kSetBlockSize, 0, 64);
  e->setParameter(e, 0, 1.0f);  // gain 2
  Buffers<float> b(4, 2, 200);
  FillRamp(b);
  e->processReplacing(e, b.inPtrs.data(), b.outPtrs.data(), 200);
  EXPECT_EQ(Plug(e)->mProcessCalls, 4);
  EXPECT_EQ(Plug(e)->mLastFrames, 200 - 3 * 64);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 200; ++i) ASSERT_EQ(b.out[size_t(c)][size_t(i)], b.in[size_t(c)][size_t(i)] * 2.0f);
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
  e->setParameter(e, 1, 0.4f);  // enum of 3: 0.4 x 2 rounds to 1
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

}  // namespace
