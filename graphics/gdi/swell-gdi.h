#pragma once
// Drawing contexts and GDI objects over Core Graphics.
//
// A memory context owns a zero-filled pixel buffer of w * h pixels, bytes
// X, R, G, B, first row at the top, and a Core Graphics context over it
// whose user space runs y downward from the top-left. Window contexts
// borrow the context of a focus-locked view (or of a view that is painting)
// and live from GetDC to ReleaseDC; their drawing state is saved and
// restored around that span.
//
// Colour integers are 0x00RRGGBB. Every call accepts null handles and then
// does nothing (getters answer null). Any thread may create and delete
// contexts and objects; one context is used by one thread at a time.

#include "graphics/gdi/swell-types.h"
#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGContext.h"

class NSGraphicsContext;

// Largest memory context, in pixels (1 GiB of pixels); anything larger
// fails like an allocation.
constexpr int64_t SWELL_MAX_CONTEXT_PIXELS = int64_t(1) << 28;

// A new colour in the shared device RGB space; the caller releases it.
CGColorRef CreateColor(int color, float alpha);

// Null when w or h is not positive, the size is above
// SWELL_MAX_CONTEXT_PIXELS, or memory or context creation fails; nothing
// stays allocated then. The reference context is not used.
HDC SWELL_CreateMemContext(HDC ref, int w, int h);
// A context drawing on ctx's port; nothing is owned. Null for null.
HDC SWELL_CreateGfxContext(NSGraphicsContext* ctx);
void* SWELL_GetCtxFrameBuffer(HDC ctx);
CGContextRef SWELL_GetCtxGC(HDC ctx);
// Frees a memory context's buffer and Core Graphics context; selected
// objects stay with whoever created them.
void SWELL_DeleteGfxContext(HDC ctx);

HDC GetDC(HWND h);
// GetDC, with the origin moved to the view's bounds origin.
HDC GetWindowDC(HWND h);
// Restores the state saved by GetDC and ends the context, unless it is
// the one the window or view is painting with (that one stays its own).
void ReleaseDC(HWND h, HDC ctx);

// Stock null pens and brushes are never deleted.
void DeleteObject(HGDIOBJ obj);
