// Property listeners and render notifications. The lists own their records;
// a removed record is deleted and never called again. Null procedures are
// refused: the lists are called blindly later.

#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/IPlugOwnedList.h"

ComponentResult IPlugAU::AddPropertyListener(const PropertyListener& listener)
{
  if (!listener.mListenerProc)
    return paramErr;
  for (int i = 0, n = mPropertyListeners.GetSize(); i < n; ++i)
  {
    const PropertyListener* have = mPropertyListeners.Get(i);
    if (have->mPropID == listener.mPropID && have->mListenerProc == listener.mListenerProc)
      return noErr;
  }
  if (!AddOwned(mPropertyListeners, std::make_unique<PropertyListener>(listener)))
    return memFullErr;
  return noErr;
}

ComponentResult IPlugAU::RemovePropertyListener(const PropertyListener& listener, bool matchUserData)
{
  for (int i = 0, n = mPropertyListeners.GetSize(); i < n; ++i)
  {
    const PropertyListener* have = mPropertyListeners.Get(i);
    if (have->mPropID == listener.mPropID && have->mListenerProc == listener.mListenerProc &&
        (!matchUserData || have->mProcArgs == listener.mProcArgs))
    {
      mPropertyListeners.Delete(i, true);
      break;
    }
  }
  return noErr;
}

ComponentResult IPlugAU::AddRenderNotify(const RenderNotify& notify)
{
  if (!notify.mFunc)
    return paramErr;
  if (!AddOwned(mRenderNotifies, std::make_unique<RenderNotify>(notify)))
    return memFullErr;
  PublishRenderNotifies();
  return noErr;
}

ComponentResult IPlugAU::RemoveRenderNotify(AURenderCallback func)
{
  for (int i = 0, n = mRenderNotifies.GetSize(); i < n; ++i)
  {
    if (mRenderNotifies.Get(i)->mFunc == func)
    {
      mRenderNotifies.Delete(i, true);
      PublishRenderNotifies();
      break;
    }
  }
  return noErr;
}

void IPlugAU::InformListeners(AudioUnitPropertyID propID, AudioUnitScope scope)
{
  // A listener may add or remove listeners while it is called: the list is
  // read afresh at every step.
  for (int i = 0; i < mPropertyListeners.GetSize(); ++i)
  {
    const PropertyListener* l = mPropertyListeners.Get(i);
    if (l && l->mPropID == propID)
      l->mListenerProc(l->mProcArgs, mComponentInstance, propID, scope, 0);
  }
}

// Called under mMutex. A render that began before the swap may still read
// the old copy: it is freed only once no render is in flight. The counter
// and the pointer are both sequentially consistent, so a render that the
// check misses has not loaded the old copy yet.
void IPlugAU::PublishRenderNotifies()
{
  auto snapshot = std::make_unique<NotifySnapshot>();
  for (int i = 0, n = mRenderNotifies.GetSize(); i < n; ++i)
    snapshot->notifies.push_back({mRenderNotifies.Get(i), *mRenderNotifies.Get(i)});
  // Retired before the swap: a push that fails leaves the published copy as it was.
  if (mCurrentSnapshot)
    mRetiredSnapshots.push_back(std::move(mCurrentSnapshot));
  mNotifySnapshot.store(snapshot.get());
  mCurrentSnapshot = std::move(snapshot);
  if (mRendersInFlight.load() == 0)
    FreeRetiredSnapshots();
}

void IPlugAU::FreeRetiredSnapshots()
{
  mRetiredSnapshots.clear();
}
