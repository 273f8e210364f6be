#pragma once
// The Win32-style drawing calls on drawing contexts: objects, lines,
// shapes, clipping, text, copies between contexts and images. Every call
// accepts null handles and then draws nothing (or answers 0 or null).
// Colours are 0x00RRGGBB. A pen draws when its width is 0 or more (at
// max(1, width) pixels), a brush when its width field is 0 or more: the
// stock null pen and brush never draw.

#include "graphics/gdi/swell-gdi.h"
#include "graphics/gdi/swell-types.h"

class NSImage;

// Flags of SWELL_DrawText.
constexpr int DT_CALCRECT = 0x1;
constexpr int DT_VCENTER = 0x2;
constexpr int DT_CENTER = 0x4;
constexpr int DT_END_ELLIPSIS = 0x8;
constexpr int DT_BOTTOM = 0x10;
constexpr int DT_RIGHT = 0x20;
constexpr int DT_SINGLELINE = 0x40;
constexpr int DT_NOPREFIX = 0x80;
constexpr int DT_NOCLIP = 0x100;

constexpr int NULL_PEN = 1;
constexpr int NULL_BRUSH = 2;

HGDIOBJ CreatePen(int style, int width, int color);
HGDIOBJ CreatePenAlpha(int style, int width, int color, float alpha);
HGDIOBJ CreateSolidBrush(int color);
HGDIOBJ CreateSolidBrushAlpha(int color, float alpha);
// Size is |height|, or |width| when height is 0, in points; outside 2..8192
// it becomes 10. Weight 700 and up is bold. A face that is not installed
// falls back to the system face. Orientation is in tenths of a degree.
HGDIOBJ CreateFont(int height, int width, int escapement, int orientation, int weight, char italic, char underline,
                   char strikeout, char charset, char outPrecision, char clipPrecision, char quality,
                   char pitchAndFamily, const char* face);
HGDIOBJ CreateFontIndirect(const LOGFONT* lf);
// NULL_PEN and NULL_BRUSH: shared records that never draw; else null.
HGDIOBJ GetStockObject(int which);
// Returns what selecting restores: the previous object, or the value 1, 2
// or 3 (pen, brush, font) when the slot was empty. Selecting such a value
// empties its slot. Images cannot be selected (null).
HGDIOBJ SelectObject(HDC ctx, HGDIOBJ obj);
void SetTextColor(HDC ctx, int color);
void SetBkColor(HDC ctx, int color);
void SetBkMode(HDC ctx, int mode);
// 1 with the selected font's metrics; 0 (defaults written) without a font.
int GetTextMetrics(HDC ctx, TEXTMETRIC* tm);
int GetSysColor(int index);

void MoveToEx(HDC ctx, int x, int y, POINT* old);
void SWELL_LineTo(HDC ctx, int x, int y);
// Whole curves only: n / 3 of them.
void PolyBezierTo(HDC ctx, const POINT* pts, int n);
// Negative counts use no points.
void PolyPolyline(HDC ctx, const POINT* pts, const int* counts, int nlines);
void SWELL_Polygon(HDC ctx, const POINT* pts, int n);
void RoundRect(HDC ctx, int l, int t, int r, int b, int ew, int eh);
void Rectangle(HDC ctx, int l, int t, int r, int b);
void Ellipse(HDC ctx, int l, int t, int r, int b);
void SWELL_FillRect(HDC ctx, const RECT* r, HGDIOBJ brush);
void SWELL_SetPixel(HDC ctx, int x, int y, int color);
void SWELL_SetClipRegion(HDC ctx, const RECT* r);
void SWELL_PushClipRegion(HDC ctx);
void SWELL_PopClipRegion(HDC ctx);
void SWELL_FillDialogBackground(HDC ctx, const RECT* r, int level);

// Draws one line of text in r by the DT_ flags (DT_CALCRECT only measures,
// setting r's right and bottom); len < 0 reads to the terminator, else at
// most len characters. Returns the text height; 0 for a null context,
// text or rectangle.
int SWELL_DrawText(HDC ctx, const char* text, int len, RECT* r, int flags);

// Copies from a memory context (mode is ignored).
void BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int mode);
void StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, int mode);
void BitBltAlpha(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int mode, bool useSrcAlpha,
                 float opacity);
// srcBits: srcHeight rows of |srcSpan| pixels, bytes A, R, G, B; a negative
// span means the rows run bottom-up.
void BitBltAlphaFromMem(HDC dst, int x, int y, int w, int h, const void* srcBits, int srcSpan, int srcHeight, int sx,
                        int sy, int mode, bool useSrcAlpha, float opacity);

// A path (with '/') loads that file; otherwise, or when that fails, the
// image registered under the name. With magentaTransparent, pure magenta
// pixels become transparent.
HGDIOBJ LoadNamedImage(const char* name, bool magentaTransparent);
void DrawImageInRect(HDC ctx, HGDIOBJ img, const RECT* r);
// Zero-fills size bytes of out; for an image and size 8 writes its width
// and height as two ints and returns 1. A negative size writes nothing.
int GetObject(HGDIOBJ obj, int size, void* out);
NSImage* GetNSImageFromHICON(HGDIOBJ obj);

// True for a real record, false for null and the values SelectObject
// hands back for empty slots.
bool GDP_IsObject(HGDIOBJ obj);
