// Requests the binding makes of its host: identification, time information,
// parameter notices, MIDI out and in, latency, and a host that answers
// nothing at all.

#include <gtest/gtest.h>

#include <climits>

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

TEST(VstHostId, ProductStringAndVersion)
{
  TestHost host;
  host.mProduct = "REAPER";
  host.mVendorVersion = 2400;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  EXPECT_EQ(Plug(e)->GetHost(), kHostReaper);
  EXPECT_EQ(Plug(e)->GetHostVersion(false), 0x1800);
  host.mVendorVersion = 50213;
  TestHost other;
  other.mProduct = "Cubase VST";
  other.mVendorVersion = 50213;
  e = other.Create(IPlugVSTCreate<TestEffect>);
  EXPECT_EQ(Plug(e)->GetHost(), kHostCubase);
  EXPECT_EQ(Plug(e)->GetHostVersion(false), (5 << 16) | (2 << 8) | 13);
  EXPECT_EQ(other.Count(host::kGetProductString), 1);
}

TEST(VstHostId, EmptyProductAsksNoVersion)
{
  TestHost host;
  host.mProduct = "";
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  EXPECT_EQ(Plug(e)->GetHost(), kHostUnknown);
  EXPECT_EQ(Plug(e)->GetHostVersion(false), 0);
  EXPECT_EQ(host.Count(host::kGetVendorVersion), 0);
}

TEST(VstHostId, UnterminatedProductStringIsCut)
{
  TestHost host;
  host.mProduct = "Orion";
  host.mTerminateProduct = false;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  EXPECT_EQ(Plug(e)->GetHost(), kHostOrion);
}

TEST(VstHostId, StereoOnlyForTheHostsThatNeedIt)
{
  struct Case
  {
    const char* product;
    bool stereo;
  } cases[] = {{"Forte", true},     {"Adobe Audition", true}, {"Orion Platinum", true},
               {"SAWStudio", true}, {"Cubase", false},        {"Ardour", false},
               {"", false}};
  for (const Case& c : cases)
  {
    TestHost host;
    host.mProduct = c.product;
    AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
    TestEffect* p = Plug(e);
    EXPECT_TRUE(p->IsInChannelConnected(0) && p->IsInChannelConnected(1)) << c.product;
    EXPECT_EQ(p->IsInChannelConnected(2), !c.stereo) << c.product;
    EXPECT_EQ(p->IsInChannelConnected(3), !c.stereo) << c.product;
    EXPECT_TRUE(p->IsOutChannelConnected(1)) << c.product;
    EXPECT_EQ(e->numInputs, 4);
    EXPECT_EQ(e->numOutputs, 2);
  }
}

TEST(VstTime, ReadsOnlyWhatTheFlagsVouchFor)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  host.mTime.samplePos = 12345.9;
  host.mTime.tempo = 128.0;
  host.mTime.sigNumerator = 7;
  host.mTime.sigDenominator = 8;
  host.mTime.flags = 0;
  int num = -1, den = -1;
  EXPECT_EQ(p->GetSamplePos(), 12345);
  EXPECT_EQ(p->GetTempo(), 0.0);
  p->GetTimeSig(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);

  host.mTime.flags = kVstTimeTempoValid | kVstTimeSigValid;
  EXPECT_EQ(p->GetTempo(), 128.0);
  EXPECT_EQ(p->GetSamplesPerBeat(), 60.0 * 44100.0 / 128.0);
  p->GetTimeSig(&num, &den);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(den, 8);
  EXPECT_EQ(host.mRequests.back().value, kVstTimeSigValid);

  host.mTime.tempo = -1.0;
  host.mTime.sigDenominator = -4;
  EXPECT_EQ(p->GetTempo(), 0.0);
  p->GetTimeSig(&num, &den);
  EXPECT_EQ(den, 0);
}

TEST(VstTime, SamplePositionEdges)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  host.mTime.samplePos = -10.0;
  EXPECT_EQ(p->GetSamplePos(), 0);
  host.mTime.samplePos = 3.0e12; // about two years at 44.1 kHz
  EXPECT_EQ(p->GetSamplePos(), INT_MAX);
  host.mTime.samplePos = double(INT_MAX) - 0.5;
  EXPECT_EQ(p->GetSamplePos(), INT_MAX - 1);
  host.mTime.samplePos = NAN;
  EXPECT_EQ(p->GetSamplePos(), 0);
  host.mAnswerTime = false;
  host.mTime.samplePos = 5.0;
  EXPECT_EQ(p->GetSamplePos(), 0);
  EXPECT_EQ(p->GetTempo(), 0.0);
}

TEST(VstHostRequests, ParameterNotices)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  TestEffect* p = Plug(e);
  host.mRequests.clear();
  p->BeginInformHostOfParamChange(2);
  p->SetParameterFromGUI(2, 0.25);
  p->EndInformHostOfParamChange(2);
  ASSERT_EQ(host.mRequests.size(), 3u);
  EXPECT_EQ(host.mRequests[0].opCode, host::kBeginEdit);
  EXPECT_EQ(host.mRequests[0].idx, 2);
  EXPECT_EQ(host.mRequests[1].opCode, host::kAutomate);
  EXPECT_EQ(host.mRequests[1].idx, 2);
  EXPECT_EQ(host.mRequests[1].opt, 0.25f);
  EXPECT_EQ(host.mRequests[2].opCode, host::kEndEdit);
}

TEST(VstHostRequests, LatencyGoesIntoTheRecord)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestEffect>);
  Plug(e)->SetLatency(64);
  EXPECT_EQ(e->initialDelay, 64);
  EXPECT_EQ(Plug(e)->GetLatency(), 64);
}

TEST(VstMidi, OutgoingMessagesAsMidiEvents)
{
  TestHost host;
  AEffect* e = host.Create(IPlugVSTCreate<TestMidiEffect>);
  IMidiMsg msg(17, 0x93, 60, 100);
  EXPECT_TRUE(Plug(e)->SendMidiMsg(&msg));
  ASSERT_EQ(host.mMidiOut.size(), 1u);
  const VstMidiEvent& ev = host.mMidiOut[0];
  EXPECT_EQ(ev.type, 1);
  EXPECT_EQ(ev.byteSize, 32);
  EXPECT_EQ(ev.deltaFrames, 17);
  EXPECT_EQ(uint8_t(ev.midiData[0]), 0x93);
  EXPECT_EQ(ev.midiData[1], 60);
  EXPECT_EQ(ev.midiData[2], 100);
  EXPECT_EQ(ev.midiData[3], 0);
  EXPECT_EQ(ev.flags | ev.noteLength | ev.noteOffset | ev.detune | ev.noteOffVelocity, 0);

  WDL_TypedBuf<IMidiMsg> list;
  EXPECT_TRUE(Plug(e)->SendMidiMsgs(&list));
  list.Add(&msg);
  list.Add(&msg);
  host.mEventsAnswer = 0;
  EXPECT_FALSE(Plug(e)->SendMidiMsgs(&list));
  EXPECT_EQ(host.mMidiOut.size(), 3u);
}

TEST(VstMidi, IncomingEventsPassThrough)
{
  TestHost host;
  host.Create(IPlugVSTCreate<TestMidiEffect>);
  VstMidiEvent note = {};
  note.type = kVstMidiEventType;
  note.byteSize = 32;
  note.deltaFrames = 5;
  note.midiData[0] = char(0x90);
  note.midiData[1] = 64;
  note.midiData[2] = 127;
  VstEvent sysex = {};
  sysex.type = 6;
  VstEvents list = {};
  list.numEvents = 2;
  list.events[0] = reinterpret_cast<VstEvent*>(&note);
  list.events[1] = &sysex;
  EXPECT_EQ(host.Dispatch(op::kProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(host.mMidiOut.size(), 1u);
  EXPECT_EQ(host.mMidiOut[0].deltaFrames, 5);
  EXPECT_EQ(uint8_t(host.mMidiOut[0].midiData[0]), 0x90);
  EXPECT_EQ(host.mMidiOut[0].midiData[2], 127);
  ASSERT_EQ(host.mOtherEventsOut.size(), 1u);
  EXPECT_EQ(host.mOtherEventsOut[0], 6);

  list.events[0] = nullptr;
  list.numEvents = 1;
  EXPECT_EQ(host.Dispatch(op::kProcessEvents, 0, 0, &list), 1);
  list.numEvents = -4;
  EXPECT_EQ(host.Dispatch(op::kProcessEvents, 0, 0, &list), 1);
  EXPECT_EQ(host.mMidiOut.size(), 1u);
}

TEST(VstHostRequests, NoHostCallbackIsSafe)
{
  AEffect* e = IPlugVSTCreate<TestMidiEffect>(nullptr);
  ASSERT_NE(e, nullptr);
  TestEffect* p = Plug(e);
  EXPECT_EQ(e->dispatcher(e, op::kOpen, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(p->GetHost(), kHostUnknown);
  EXPECT_EQ(p->GetSamplePos(), 0);
  EXPECT_EQ(p->GetTempo(), 0.0);
  IMidiMsg msg(0, 0x90, 1, 2);
  EXPECT_FALSE(p->SendMidiMsg(&msg));
  float in[4][8] = {}, out[2][8] = {};
  float* ins[4] = {in[0], in[1], in[2], in[3]};
  float* outs[2] = {out[0], out[1]};
  e->processReplacing(e, ins, outs, 8);
  p->SetParameterFromGUI(0, 0.5);
  EXPECT_EQ(p->mProcessCalls, 1);
  e->dispatcher(e, op::kClose, 0, 0, nullptr, 0.0f);
}

} // namespace
