#pragma once
// Drawing a string into a rectangle of the current graphics context. The
// glyphs come from the project's text layer, which installs itself here
// (the stand-in has no fonts of its own); until one is installed nothing
// is drawn and false is returned.

#include <string>

#include "platform/cocoa/NSObject.h"

enum NSTextAlignment : int
{
  NSLeftTextAlignment = 0,
  NSRightTextAlignment = 1,
  NSCenterTextAlignment = 2
};
constexpr int NSStringDrawingUsesDeviceMetrics = 8;

// What the platform keeps in an attribute dictionary under the font,
// foreground colour and paragraph style names.
struct NSStringAttributes
{
  std::string fontName = "Helvetica";
  CGFloat pointSize = 12;
  CGFloat red = 0, green = 0, blue = 0, alpha = 1; // 0..1
  NSTextAlignment alignment = NSLeftTextAlignment;
};

class NSGraphicsContext;

// Draws utf8 in rect (the context's user space; flipped contexts grow
// downwards) with the options and attributes; true when it drew.
typedef bool (*NSStringDrawer)(NSGraphicsContext* context, const char* utf8, NSRect rect, int options,
                               const NSStringAttributes& attributes);

// Installs the text layer's drawer (null removes it).
void NSSetStringDrawer(NSStringDrawer drawer);

// drawWithRect:options:attributes: into the current context; false when
// there is no current context or no drawer, or utf8 is nil.
bool NSStringDrawWithRect(const char* utf8, NSRect rect, int options, const NSStringAttributes& attributes);
