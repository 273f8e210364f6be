#pragma once
// The one shape of every callback the host calls through the effect record:
// find the plug-in, forward, and give the host a neutral answer when there
// is no plug-in or the forwarded call throws.

#include "platform/vst/AEffect.h"

template <class Plug, class R, class F>
R VSTForward(AEffect* pEffect, R neutral, F&& call) noexcept
{
  Plug* plug = pEffect ? static_cast<Plug*>(pEffect->object) : nullptr;
  if (!plug)
    return neutral;
  try
  {
    return call(plug);
  }
  catch (...)
  {
    return neutral;
  }
}
