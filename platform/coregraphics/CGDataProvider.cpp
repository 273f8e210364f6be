#include "platform/coregraphics/cg_data_provider.h"

#include <new>

CGDataProvider::~CGDataProvider()
{
  if (release)
    release(info, data, size);
}

CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback releaseData)
{
  if (!data)
    return nullptr;
  CGDataProvider* p = new (std::nothrow) CGDataProvider;
  if (!p)
    return nullptr;
  p->info = info;
  p->data = data;
  p->size = size;
  p->release = releaseData;
  return p;
}

CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider)
{
  return CGObjectRetain(provider);
}

void CGDataProviderRelease(CGDataProviderRef provider)
{
  CGObjectRelease(provider);
}
