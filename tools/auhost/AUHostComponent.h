#pragma once
// Loads an Audio Unit bundle the way the platform's Component Manager would:
// reads the component's description from the bundle's Info.plist, loads the
// library, finds the entry and registers it. The host then opens the
// component through the Component Manager like any other.

#include <string>

#include "platform/components/Components.h"

class AUHostComponent
{
public:
  AUHostComponent() = default;
  AUHostComponent(const AUHostComponent&) = delete;
  AUHostComponent& operator=(const AUHostComponent&) = delete;
  // Unregisters the component and unloads the library (no instance may be open).
  ~AUHostComponent();

  // False, with the reason in Error(), when the bundle cannot be used.
  bool Load(const std::string& bundlePath);

  Component GetComponent() const { return mComponent; }
  // The bundle's Carbon view component, null when it has none.
  Component GetViewComponent() const { return mViewComponent; }
  const ComponentDescription& GetDescription() const { return mDescription; }
  const std::string& Error() const { return mError; }

private:
  bool Fail(const std::string& why);

  void* mLibrary = nullptr;
  Component mComponent = nullptr;
  Component mViewComponent = nullptr;
  ComponentDescription mDescription = {};
  std::string mError;
};
