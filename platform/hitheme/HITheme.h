#pragma once
// The theme's fills for dialog and window backgrounds.

#include "platform/coregraphics/CGContext.h"
#include "platform/macbase/MacTypes.h"

typedef int ThemeBrush;
constexpr ThemeBrush kThemeBrushDialogBackgroundActive = 1;
constexpr ThemeBrush kThemeBrushDialogBackgroundInactive = 2;

typedef int HIThemeOrientation;
constexpr HIThemeOrientation kHIThemeOrientationNormal = 0;
constexpr HIThemeOrientation kHIThemeOrientationInverted = 1;

constexpr OSStatus themeInvalidBrushErr = -30563;

// Sets the context's fill colour to the brush's colour (a flat grey for
// the dialog backgrounds). An unknown brush or a null context changes
// nothing and reports the error.
OSStatus HIThemeSetFill(ThemeBrush brush, void* info, CGContextRef context, HIThemeOrientation orientation);
