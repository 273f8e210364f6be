#pragma once
// An in-process VST 2 host for the binding's tests: answers the requests the
// binding makes and records them, and owns the effect it creates.

#include <cstring>
#include <string>
#include <vector>

#include "platform/vst/AEffect.h"
#include "platform/vst/VstEvents.h"
#include "platform/vst/VstOpcodes.h"
#include "platform/vst/VstTimeInfo.h"

struct HostRequest
{
  int32_t opCode, idx;
  intptr_t value;
  float opt;
};

class TestHost
{
public:
  using Entry = AEffect* (*)(VstHostCallback);

  TestHost() { sCurrent = this; }
  ~TestHost()
  {
    Close();
    sCurrent = nullptr;
  }

  AEffect* Create(Entry entry, bool open = true)
  {
    mEffect = entry(&Callback);
    if (mEffect)
      mEffect->user = this;
    if (mEffect && open)
      Dispatch(vst::op::kOpen);
    return mEffect;
  }
  void Close()
  {
    if (mEffect)
      Dispatch(vst::op::kClose);
    mEffect = nullptr;
  }
  intptr_t Dispatch(int32_t op, int32_t idx = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f)
  {
    return mEffect->dispatcher(mEffect, op, idx, value, ptr, opt);
  }
  int Count(int32_t opCode) const
  {
    int n = 0;
    for (const auto& r : mRequests)
      n += r.opCode == opCode;
    return n;
  }

  AEffect* mEffect = nullptr;
  std::vector<HostRequest> mRequests;
  // What the host answers.
  std::string mProduct = "Test Host";
  bool mTerminateProduct = true;
  intptr_t mVendorVersion = 2400;
  bool mAnswerTime = true;
  VstTimeInfo mTime = {};
  intptr_t mEventsAnswer = 1;
  std::vector<VstMidiEvent> mMidiOut;
  std::vector<int32_t> mOtherEventsOut;
  // Called from inside a request, when set.
  void (*mOnRequest)(TestHost*, int32_t opCode) = nullptr;

private:
  static intptr_t Callback(AEffect* effect, int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt)
  {
    // Until the entry point returns, the effect has no host of its own yet.
    TestHost* host = effect && effect->user ? static_cast<TestHost*>(effect->user) : sCurrent;
    return host ? host->Answer(effect, opCode, idx, value, ptr, opt) : 0;
  }

  intptr_t Answer(AEffect* /*effect*/, int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt)
  {
    mRequests.push_back({opCode, idx, value, opt});
    if (mOnRequest)
      mOnRequest(this, opCode);
    switch (opCode)
    {
    case vst::host::kGetProductString: return WriteProduct(static_cast<char*>(ptr));
    case vst::host::kGetVendorVersion: return mVendorVersion;
    case vst::host::kGetTime: return mAnswerTime ? reinterpret_cast<intptr_t>(&mTime) : 0;
    case vst::host::kProcessEvents: return TakeEvents(static_cast<VstEvents*>(ptr));
    default: return 0;
    }
  }

  intptr_t WriteProduct(char* buf)
  {
    // The binding hands 256 bytes; an unterminated answer fills them all.
    if (mTerminateProduct)
    {
      strcpy(buf, mProduct.c_str());
    }
    else
    {
      memset(buf, 'x', 256);
      memcpy(buf, mProduct.data(), mProduct.size());
    }
    return 1;
  }

  intptr_t TakeEvents(VstEvents* list)
  {
    for (int i = 0; i < list->numEvents; ++i)
    {
      if (list->events[i]->type == kVstMidiEventType)
        mMidiOut.push_back(*reinterpret_cast<VstMidiEvent*>(list->events[i]));
      else
        mOtherEventsOut.push_back(list->events[i]->type);
    }
    return mEventsAnswer;
  }

  static inline TestHost* sCurrent = nullptr;
};

// A host text buffer of the given size with guard bytes on both sides.
class CanaryBuffer
{
public:
  explicit CanaryBuffer(size_t size) : mSize(size), mBytes(size + 2 * kGuard, kCanary) {}
  char* Data() { return mBytes.data() + kGuard; }
  std::string Text() const { return std::string(mBytes.data() + kGuard, strnlen(mBytes.data() + kGuard, mSize)); }
  bool Terminated() const { return memchr(mBytes.data() + kGuard, 0, mSize) != nullptr; }
  bool GuardsIntact() const
  {
    for (size_t i = 0; i < kGuard; ++i)
      if (mBytes[i] != kCanary || mBytes[kGuard + mSize + i] != kCanary)
        return false;
    return true;
  }

private:
  static constexpr size_t kGuard = 16;
  static constexpr char kCanary = char(0xA5);
  size_t mSize;
  std::vector<char> mBytes;
};
