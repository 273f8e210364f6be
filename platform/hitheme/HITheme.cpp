#include "platform/hitheme/HITheme.h"

OSStatus HIThemeSetFill(ThemeBrush brush, void*, CGContextRef context, HIThemeOrientation)
{
  if (!context)
    return paramErr;
  // The active and inactive dialog backgrounds of the light appearance.
  if (brush == kThemeBrushDialogBackgroundActive)
  {
    CGContextSetRGBFillColor(context, 0xEC / 255.0, 0xEC / 255.0, 0xEC / 255.0, 1);
  }
  else if (brush == kThemeBrushDialogBackgroundInactive)
  {
    CGContextSetRGBFillColor(context, 0xF6 / 255.0, 0xF6 / 255.0, 0xF6 / 255.0, 1);
  }
  else
  {
    return themeInvalidBrushErr;
  }
  return noErr;
}
