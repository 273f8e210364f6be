// The dispatcher as a host sees it: the effect record, every opcode, bounded
// texts, programs, pins, speakers, can-do answers and the close request.

#include <gtest/gtest.h>
#include <sys/mman.h>

#include "tests/vst/TestEffect.h"
#include "tests/vst/TestHost.h"
#include "wdl/IPlug/vst/IPlugVSTEntry.h"

using namespace vst;

namespace
{

class NoPresetEffect : public TestEffect
{
public:
  explicit NoPresetEffect(IPlugInstanceInfo info) : TestEffect(info, false, false, 0) {}
};
class ChunkEffect : public TestEffect
{
public:
  explicit ChunkEffect(IPlugInstanceInfo info) : TestEffect(info, false, true) {}
};

TestEffect* Plug(AEffect* e)
{
  return static_cast<TestEffect*>(e->object);
}

// Memory guaranteed to lie above 4 GiB, for pointers passed in `value`.
class HighMemory
{
public:
  explicit HighMemory(size_t size) : mSize(size)
  {
    mPtr = mmap(reinterpret_cast<void*>(0x500000000000ULL), size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                -1, 0);
  }
  ~HighMemory() { munmap(mPtr, mSize); }
  void* Get() const { return mPtr; }

private:
  void* mPtr;
  size_t mSize;
};

TEST(VstEffectRecord, FilledAsHostsExpect)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->magic, 0x56737450);
  EXPECT_EQ(e->flags, 0x1018); // replacing, double, 1-1 legal; no editor
  EXPECT_EQ(e->numParams, 3);
  EXPECT_EQ(e->numPrograms, 4);
  EXPECT_EQ(e->numInputs, 4);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->version, 10203);
  EXPECT_EQ(e->uniqueID, 0x54655374);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->reserved1, 0);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_NE(e->processDoubleReplacing, nullptr);
  EXPECT_EQ(Plug(e)->GetBlockSize(), 1024);
}

TEST(VstEffectRecord, ChunkFlagAndDefaultProgram)
{
  TestHost chunks;
  EXPECT_EQ(chunks.Create(IPlugVSTCreate<ChunkEffect>)->flags, 0x1038);

  TestHost none;
  AEffect* e = none.Create(IPlugVSTCreate<NoPresetEffect>);
  EXPECT_EQ(e->numPrograms, 1);
  CanaryBuffer name(kVstProgramNameBytes);
  EXPECT_EQ(none.Dispatch(op::kGetProgramNameIndexed, 0, 0, name.Data()), 1);
  EXPECT_EQ(name.Text(), "Default");
}

TEST(VstDispatcher, NullObjectAnswersNothing)
{
  AEffect e = {};
  EXPECT_EQ(IPlugVST::VSTDispatcher(&e, op::kIdentify, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(IPlugVST::VSTDispatcher(nullptr, op::kGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(IPlugVST::VSTGetParameter(&e, 0), 0.0f);
}

TEST(VstDispatcher, FixedAnswers)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestEffect>);
  EXPECT_EQ(host.Dispatch(op::kIdentify), 0x4E764566);
  EXPECT_EQ(host.Dispatch(op::kGetVstVersion), 2400);
  EXPECT_EQ(host.Dispatch(op::kCanBeAutomated, 1), 1);
  EXPECT_EQ(host.Dispatch(op::kGetPlugCategory), 1);
  EXPECT_EQ(host.Dispatch(op::kGetProgram), 0);
  EXPECT_EQ(host.Dispatch(op::kEditIdle), 0);
  EXPECT_EQ(host.Dispatch(op::kIdle), 0);
  EXPECT_EQ(host.Dispatch(9999), 0);
  EXPECT_EQ(host.Dispatch(-1), 0);
  // No editor: every editor request is refused.
  ERect* rect = nullptr;
  EXPECT_EQ(host.Dispatch(op::kEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(host.Dispatch(op::kEditOpen), 0);
  EXPECT_EQ(host.Dispatch(op::kEditClose), 0);
  EXPECT_EQ(MakeGraphics(Plug(host.mEffect), 700, 249, 30), nullptr);
}

TEST(VstDispatcher, TextsFitTheirBuffersWhole)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestEffect>);
  struct Case
  {
    int32_t op, idx;
    int size;
    const char* expected;
  } cases[] = {
    {op::kGetParamName, 2, kVstParamTextBytes, kTestLongParamName},
    {op::kGetParamName, 0, kVstParamTextBytes, "Gain"},
    {op::kGetParamLabel, 2, kVstParamTextBytes, "dB"},
    {op::kGetParamDisplay, 2, kVstParamTextBytes, "-10.0"},
    {op::kGetParamDisplay, 1, kVstParamTextBytes, "First"},
    {op::kGetProgramNameIndexed, 1, kVstProgramNameBytes, kTestLongPresetName},
    {op::kGetEffectName, 0, kVstEffectNameBytes, "Test Effect"},
    {op::kGetVendorString, 0, kVstVendorBytes, "Test Maker"},
    {op::kGetProductString, 0, kVstProductBytes, "Test Product"},
  };
  for (const Case& c : cases)
  {
    CanaryBuffer buf(size_t(c.size));
    host.Dispatch(c.op, c.idx, 0, buf.Data());
    EXPECT_EQ(buf.Text(), c.expected) << "opcode " << c.op;
    EXPECT_TRUE(buf.Terminated() && buf.GuardsIntact()) << "opcode " << c.op;
  }
  EXPECT_EQ(strlen(kTestLongPresetName), 46u);
}

TEST(VstDispatcher, LongTextsAreCutAndTerminated)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  std::string longName(300, 'n');
  host.Dispatch(op::kSetProgramName, 0, 0, longName.data());
  CanaryBuffer buf(kVstProgramNameBytes);
  host.Dispatch(op::kGetProgramName, 0, 0, buf.Data());
  EXPECT_EQ(buf.Text(), std::string(kVstProgramNameBytes - 1, 'n'));
  EXPECT_TRUE(buf.Terminated() && buf.GuardsIntact());
  EXPECT_EQ(std::string(Plug(e)->GetPresetName(0)), std::string(MAX_PRESET_NAME_LEN - 1, 'n'));
}

TEST(VstDispatcher, BadIndicesAndNullPointersChangeNothing)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestEffect>);
  for (int32_t op : {op::kGetParamName, op::kGetParamLabel, op::kGetParamDisplay})
  {
    for (int idx : {-1, 3})
    {
      CanaryBuffer buf(kVstParamTextBytes);
      EXPECT_EQ(host.Dispatch(op, idx, 0, buf.Data()), 0);
      EXPECT_FALSE(buf.Terminated()) << "opcode " << op << " wrote for index " << idx;
    }
    EXPECT_EQ(host.Dispatch(op, 0, 0, nullptr), 0);
  }
  CanaryBuffer name(kVstProgramNameBytes);
  EXPECT_EQ(host.Dispatch(op::kGetProgramNameIndexed, 4, 0, name.Data()), 0);
  EXPECT_EQ(name.Text(), "");
  EXPECT_EQ(host.Dispatch(op::kGetProgramNameIndexed, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(op::kGetEffectName, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(op::kSetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(op::kGetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(op::kGetMidiKeyName, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(op::kGetChunk, 1, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(op::kProcessEvents, 0, 0, nullptr), 0);
}

TEST(VstPrograms, SwitchingKeepsEdits)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  e->setParameter(e, 0, 0.25f); // gain 0.5 in the default program
  host.Dispatch(op::kSetProgram, 0, 1);
  EXPECT_EQ(host.Dispatch(op::kGetProgram), 1);
  EXPECT_DOUBLE_EQ(Plug(e)->GetParam(2)->Value(), -30.0);
  host.Dispatch(op::kSetProgram, 0, 0);
  EXPECT_DOUBLE_EQ(Plug(e)->GetParam(0)->Value(), 0.5);
  EXPECT_DOUBLE_EQ(Plug(e)->GetParam(2)->Value(), -10.0);

  // A program never filled takes the current values and a user name.
  host.Dispatch(op::kSetProgram, 0, 3);
  CanaryBuffer name(kVstProgramNameBytes);
  host.Dispatch(op::kGetProgramName, 0, 0, name.Data());
  EXPECT_EQ(name.Text(), "user preset 1");
}

TEST(VstPrograms, IndexBeyond32BitsDoesNotWrap)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  host.Dispatch(op::kSetProgram, 0, (intptr_t(1) << 32) | 1);
  EXPECT_EQ(host.Dispatch(op::kGetProgram), 0);
  host.Dispatch(op::kSetProgram, 0, -1);
  host.Dispatch(op::kSetProgram, 0, 4);
  EXPECT_EQ(host.Dispatch(op::kGetProgram), 0);
  EXPECT_DOUBLE_EQ(Plug(e)->GetParam(0)->Value(), 1.0);
}

TEST(VstPrograms, RenameStoresCurrentValues)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  e->setParameter(e, 0, 1.0f);
  char newName[] = "Renamed";
  host.Dispatch(op::kSetProgramName, 0, 0, newName);
  host.Dispatch(op::kSetProgram, 0, 1);
  e->setParameter(e, 0, 0.0f);
  // Switching away stored gain 0 into program 1; program 0 kept gain 2.
  host.Dispatch(op::kSetProgram, 0, 0);
  EXPECT_DOUBLE_EQ(Plug(e)->GetParam(0)->Value(), 2.0);
  CanaryBuffer name(kVstProgramNameBytes);
  host.Dispatch(op::kGetProgramNameIndexed, 0, 0, name.Data());
  EXPECT_EQ(name.Text(), "Renamed");
}

TEST(VstDispatcher, SettingsReachTheEffect)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  int resets = p->mResets;
  host.Dispatch(op::kSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(p->GetSampleRate(), 48000.0);
  host.Dispatch(op::kSetBlockSize, 0, 256);
  EXPECT_EQ(p->GetBlockSize(), 256);
  EXPECT_EQ(p->mResets, resets + 2);
  host.Dispatch(op::kMainsChanged, 0, 1);
  EXPECT_TRUE(p->mActive);
  EXPECT_EQ(p->mResets, resets + 2);
  host.Dispatch(op::kMainsChanged, 0, 0);
  EXPECT_FALSE(p->mActive);
  EXPECT_EQ(p->mResets, resets + 3);

  // Unusable values keep what was there.
  for (float rate : {0.0f, -44100.0f, NAN, INFINITY})
    host.Dispatch(op::kSetSampleRate, 0, 0, nullptr, rate);
  EXPECT_EQ(p->GetSampleRate(), 48000.0);
  for (intptr_t size : {intptr_t(0), intptr_t(-1), (intptr_t(1) << 32) | 64, intptr_t(kVSTMaxBlockSize) + 1})
    host.Dispatch(op::kSetBlockSize, 0, size);
  EXPECT_EQ(p->GetBlockSize(), 256);
  EXPECT_EQ(p->mResets, resets + 3);
}

TEST(VstPins, LabelsAndFlags)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestEffect>);
  VstPinInfo pin = {};
  EXPECT_EQ(host.Dispatch(op::kGetInputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(pin.flags, 3);
  EXPECT_EQ(host.Dispatch(op::kGetInputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 2");
  EXPECT_EQ(pin.flags, 1);
  EXPECT_EQ(host.Dispatch(op::kGetInputProperties, 3, 0, &pin), 1);
  EXPECT_EQ(host.Dispatch(op::kGetInputProperties, 4, 0, &pin), 0);
  EXPECT_EQ(host.Dispatch(op::kGetInputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(host.Dispatch(op::kGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 2");
  EXPECT_EQ(host.Dispatch(op::kGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(host.Dispatch(op::kGetOutputProperties, 0, 0, nullptr), 0);
}

TEST(VstSpeakers, ArrangementConnectsTheFirstChannels)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  // The input arrangement travels in `value`: place it above 4 GiB.
  HighMemory mem(sizeof(VstSpeakerArrangement));
  ASSERT_NE(mem.Get(), MAP_FAILED);
  ASSERT_GT(reinterpret_cast<uintptr_t>(mem.Get()), 0xFFFFFFFFu);
  auto* in = static_cast<VstSpeakerArrangement*>(mem.Get());
  in->numChannels = 2;
  VstSpeakerArrangement out = {};
  out.numChannels = 1;
  EXPECT_EQ(host.Dispatch(op::kSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(in), &out), 1);
  EXPECT_TRUE(p->IsInChannelConnected(0) && p->IsInChannelConnected(1));
  EXPECT_FALSE(p->IsInChannelConnected(2) || p->IsInChannelConnected(3));
  EXPECT_TRUE(p->IsOutChannelConnected(0));
  EXPECT_FALSE(p->IsOutChannelConnected(1));

  // More channels than the effect has: all connected.
  in->numChannels = 9;
  EXPECT_EQ(host.Dispatch(op::kSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(in), nullptr), 1);
  EXPECT_TRUE(p->IsInChannelConnected(3));
  EXPECT_FALSE(p->IsOutChannelConnected(1));

  // A negative count is refused and nothing changes on either side.
  in->numChannels = -3;
  out.numChannels = 2;
  EXPECT_EQ(host.Dispatch(op::kSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(in), &out), 0);
  EXPECT_TRUE(p->IsInChannelConnected(3));
  EXPECT_FALSE(p->IsOutChannelConnected(1));
}

TEST(VstSpeakers, GetHandsOutBothArrangements)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestEffect>);
  HighMemory mem(sizeof(VstSpeakerArrangement*));
  ASSERT_NE(mem.Get(), MAP_FAILED);
  auto** inSlot = static_cast<VstSpeakerArrangement**>(mem.Get());
  VstSpeakerArrangement* outArr = nullptr;
  EXPECT_EQ(host.Dispatch(op::kGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(inSlot), &outArr), 1);
  ASSERT_TRUE(*inSlot && outArr);
  EXPECT_EQ((*inSlot)->numChannels, 4);
  EXPECT_EQ(outArr->numChannels, 2);
  EXPECT_EQ(host.Dispatch(op::kGetSpeakerArrangement, 0, 0, nullptr), 1);
}

TEST(VstDispatcher, VendorSpecificParameterDisplay)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestEffect>);
  CanaryBuffer buf(kVstParamTextBytes);
  EXPECT_EQ(host.Dispatch(op::kVendorSpecific, 7, 0, buf.Data(), 0.5f), 0xBEEF);
  EXPECT_EQ(buf.Text(), "1.00");
  CanaryBuffer mode(kVstParamTextBytes);
  EXPECT_EQ(host.Dispatch(op::kVendorSpecific, 7, 1, mode.Data(), 1.0f), 0xBEEF);
  EXPECT_EQ(mode.Text(), "Third");
  CanaryBuffer untouched(kVstParamTextBytes);
  EXPECT_EQ(host.Dispatch(op::kVendorSpecific, 7, 3, untouched.Data(), 0.5f), 0xBEEF);
  EXPECT_EQ(host.Dispatch(op::kVendorSpecific, 7, (intptr_t(1) << 32), untouched.Data(), 0.5f), 0xBEEF);
  EXPECT_FALSE(untouched.Terminated());
  EXPECT_EQ(host.Dispatch(op::kVendorSpecific, 6, 0, buf.Data(), 0.5f), 0);
  EXPECT_EQ(host.Dispatch(op::kVendorSpecific, 7, 0, nullptr, 0.5f), 0);
}

TEST(VstDispatcher, CanDoAnswers)
{
  TestHost plain;
  plain.Create(IPlugVSTCreate<TestEffect>);
  TestHost midi;
  midi.Create(IPlugVSTCreate<TestMidiEffect>);
  auto ask = [](TestHost& h, const char* what) { return h.Dispatch(op::kCanDo, 0, 0, const_cast<char*>(what)); };
  EXPECT_EQ(ask(plain, "receiveVstTimeInfo"), 1);
  EXPECT_EQ(ask(plain, "hasVendorExtensions"), 0xBEEF0000);
  EXPECT_EQ(ask(plain, "hasVendorViewAsConfig"), 0xBEEF0000);
  for (const char* m : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
  {
    EXPECT_EQ(ask(plain, m), 0) << m;
    EXPECT_EQ(ask(midi, m), 1) << m;
  }
  EXPECT_EQ(ask(plain, "ReceiveVstTimeInfo"), 0);
  EXPECT_EQ(ask(plain, "receiveVstTimeInfoX"), 0);
  EXPECT_EQ(ask(plain, "receiveVst"), 0);
  EXPECT_EQ(ask(plain, ""), 0);
  EXPECT_EQ(plain.Dispatch(op::kCanDo), 0);
}

TEST(VstDispatcher, MidiKeyNames)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestEffect>);
  MidiKeyName key = {};
  key.thisKeyNumber = 60;
  memset(key.keyName, 'x', sizeof(key.keyName));
  EXPECT_EQ(host.Dispatch(op::kGetMidiKeyName, 0, 0, &key), 1);
  EXPECT_STREQ(key.keyName, "N60");
  key.thisKeyNumber = 200;
  EXPECT_EQ(host.Dispatch(op::kGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
}

TEST(VstLifecycle, OpenRunsHostSetupOnceAndResetsParameters)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>, false);
  int changes = Plug(e)->mParamChanges;
  host.Dispatch(op::kOpen);
  EXPECT_EQ(Plug(e)->mParamChanges, changes + 3);
  host.Dispatch(op::kOpen);
  EXPECT_EQ(host.Count(host::kGetProductString), 1);
  EXPECT_EQ(host.Count(host::kGetVendorVersion), 1);
}

TEST(VstLifecycle, CloseFromInsideARequestIsRefused)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  static intptr_t sClosed = -1;
  host.mOnRequest = [](TestHost* h, int32_t opCode) {
    if (opCode == host::kAutomate)
      sClosed = h->Dispatch(op::kClose);
  };
  Plug(e)->SetParameterFromGUI(0, 0.5);
  EXPECT_EQ(sClosed, 0);
  host.mOnRequest = nullptr;
  // Still alive, and its lock is free for another thread.
  EXPECT_EQ(host.Dispatch(op::kGetVstVersion), 2400);
  WDL_Mutex* lock = Plug(e)->GetMutex();
  EXPECT_EQ(pthread_mutex_trylock(&lock->m_mutex), 0);
  pthread_mutex_unlock(&lock->m_mutex);
  EXPECT_EQ(host.Dispatch(op::kClose), 0);
  host.mEffect = nullptr;
}

} // namespace
