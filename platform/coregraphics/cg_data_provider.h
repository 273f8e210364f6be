#pragma once
// Private: the data provider record.

#include "platform/coregraphics/CGDataProvider.h"
#include "platform/coregraphics/cg_object.h"

struct CGDataProvider : CGObject
{
  ~CGDataProvider() override;
  void* info = nullptr;
  const void* data = nullptr;
  size_t size = 0;
  CGDataProviderReleaseDataCallback release = nullptr;
};
