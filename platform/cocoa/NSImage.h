#pragma once
// An image object; for now only its size, which is what drawing-context
// objects hold and release.

#include "platform/cocoa/NSObject.h"

class NSImage : public NSObject {
public:
  explicit NSImage(NSSize size) : mSize(size) {}
  NSSize size() const { return mSize; }

private:
  NSSize mSize;
};
