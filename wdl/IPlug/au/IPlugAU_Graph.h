#pragma once
// Which unit feeds which input bus, over every open instance of this
// library. A connection that would close a cycle (A pulls from B, B from A)
// is refused with it: rendering such a graph recurses without end.

#include "platform/audiounit/AUComponent.h"

class IPlugAUGraph
{
public:
  // Records that bus of dest pulls from source (null: from no unit).
  static void SetSource(AudioUnit dest, UInt32 bus, AudioUnit source);
  // Forgets every bus of dest.
  static void DropUnit(AudioUnit dest);
  // True when dest pulling from source would make dest pull from itself.
  static bool ClosesCycle(AudioUnit dest, AudioUnit source);
};
