#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/IPlugOwnedList.h"

namespace
{
// Block size until the host sets its own.
constexpr int kDefaultBlockSize = 1024;
} // namespace

IPlugAU::IPlugAU(const IPlugInstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
                 const char* effectName, const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
                 int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
              latency, plugDoesMidi, plugDoesChunks, plugIsInst)
{
  mBundleId.Set(instanceInfo.mBundleID.Get());
  mViewClassName.Set(instanceInfo.mViewClassName.Get());
  MakeBuses(&mInputBuses, NInChannels());
  MakeBuses(&mOutputBuses, NOutChannels());
  for (int i = 0; i < mInputBuses.GetSize(); ++i)
    AddOwned(mInputConnections, std::make_unique<InputBusConnection>());
  AssessInputConnections();
  SetBlockSize(kDefaultBlockSize);
}

IPlugAU::~IPlugAU()
{
  // A view the host still holds must not reach this unit any more.
  if (GetGUI())
    GetGUI()->CloseWindow();
  mRenderNotifies.Empty(true);
  mInputBuses.Empty(true);
  mOutputBuses.Empty(true);
  mInputConnections.Empty(true);
  mPropertyListeners.Empty(true);
}

void IPlugAU::MakeBuses(WDL_PtrList<BusChannels>* pBuses, int nChannels)
{
  for (int first = 0; first < nChannels; first += 2)
  {
    auto bus = std::make_unique<BusChannels>();
    bus->plugChannels = nChannels - first < 2 ? nChannels - first : 2;
    bus->firstPlugChannel = first;
    AddOwned(*pBuses, std::move(bus));
  }
}

const char* AUInputTypeStr(int type)
{
  switch (type)
  {
  case IPlugAU::eDirectFastProc: return "DirectFastProc";
  case IPlugAU::eDirectNoFastProc: return "DirectNoFastProc";
  case IPlugAU::eRenderCallback: return "RenderCallback";
  default: return "NotConnected";
  }
}
