#include "platform/cocoa/NSStringDrawing.h"

#include <atomic>

#include "platform/cocoa/NSGraphicsContext.h"

namespace
{

std::atomic<NSStringDrawer> gDrawer{nullptr};

} // namespace

void NSSetStringDrawer(NSStringDrawer drawer)
{
  gDrawer.store(drawer);
}

bool NSStringDrawWithRect(const char* utf8, NSRect rect, int options, const NSStringAttributes& attributes)
{
  NSGraphicsContext* context = NSGraphicsContext::currentContext();
  NSStringDrawer drawer = gDrawer.load();
  if (!utf8 || !context || !drawer)
    return false;
  return drawer(context, utf8, rect, options, attributes);
}
