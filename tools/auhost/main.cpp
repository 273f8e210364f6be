// kestrel_auhost <bundle.component>: opens the Audio Unit through its entry,
// as a Mac host would, and prints its identity, parameters and presets.

#include <cstdio>

#include "platform/audiounit/AUComponent.h"
#include "platform/corefoundation/CFBundle.h"
#include "tools/auhost/AUHostComponent.h"
#include "tools/auhost/AUHostReport.h"

int main(int argc, char** argv)
{
  if (argc != 2) {
    fprintf(stderr, "usage: %s <bundle.component>\n", argv[0]);
    return 2;
  }
  // The host names itself, as its Info.plist would on the platform.
  CFBundleSetMainBundleIdentifier(CFSTR("com.kestrel.auhost"));
  AUHostComponent component;
  if (!component.Load(argv[1])) {
    fprintf(stderr, "%s\n", component.Error().c_str());
    return 1;
  }
  // Found by description, as a host finds any installed unit.
  ComponentDescription looking = component.GetDescription();
  Component found = FindNextComponent(nullptr, &looking);
  AudioUnit unit = nullptr;
  OSStatus err = OpenAComponent(found, &unit);
  if (err != noErr) {
    fprintf(stderr, "open failed: %d\n", int(err));
    return 1;
  }
  bool ok = PrintIdentity(stdout, unit) && PrintParameters(stdout, unit) && PrintPresets(stdout, unit);
  err = CloseComponent(unit);
  if (!ok) fprintf(stderr, "the unit refused a query\n");
  return ok && err == noErr ? 0 : 1;
}
