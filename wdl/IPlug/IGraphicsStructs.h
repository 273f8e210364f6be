#pragma once
// The small value types the editor passes around: rectangles, colours, text
// styles, bitmap handles, mouse modifiers and channel blends.

#include <algorithm>

class LICE_IBitmap;

// Integer rectangle, right and bottom exclusive. Only all-zero is empty.
struct IRECT
{
  int L = 0, T = 0, R = 0, B = 0;

  IRECT() = default;
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  bool Empty() const { return !L && !T && !R && !B; }
  int Width() const { return R - L; }
  int Height() const { return B - T; }
  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }
  // One-sided: this rectangle's right and bottom edges count as touching,
  // so a.Intersects(b) and b.Intersects(a) can differ. Callers say who asks.
  bool Intersects(const IRECT& o) const { return !Empty() && !o.Empty() && R >= o.L && L < o.R && B >= o.T && T < o.B; }
  // The overlap; only meaningful after Intersects said yes.
  IRECT Intersect(const IRECT& o) const
  {
    return IRECT(std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B));
  }
  IRECT Union(const IRECT& o) const
  {
    if (Empty())
      return o;
    if (o.Empty())
      return *this;
    return IRECT(std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B));
  }
  // True when every pixel of o lies in this rectangle (an empty o always does).
  bool ContainsRect(const IRECT& o) const
  {
    return o.Empty() || o.L >= o.R || o.T >= o.B || (o.L >= L && o.T >= T && o.R <= R && o.B <= B);
  }
  bool operator==(const IRECT&) const = default;
};

// Colour channels 0-255; alpha 255 is opaque.
struct IColor
{
  int A = 255, R = 0, G = 0, B = 0;

  constexpr IColor() = default;
  constexpr IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}
  bool operator==(const IColor&) const = default;
};

inline constexpr IColor COLOR_TRANSPARENT(0, 0, 0, 0);
inline constexpr IColor COLOR_BLACK(255, 0, 0, 0);
inline constexpr IColor COLOR_GRAY(255, 127, 127, 127);
inline constexpr IColor COLOR_WHITE(255, 255, 255, 255);
inline constexpr IColor COLOR_RED(255, 255, 0, 0);
inline constexpr IColor COLOR_GREEN(255, 0, 255, 0);
inline constexpr IColor COLOR_BLUE(255, 0, 0, 255);
inline constexpr IColor COLOR_YELLOW(255, 255, 255, 0);
inline constexpr IColor COLOR_ORANGE(255, 255, 127, 0);
inline constexpr IColor DEFAULT_TEXT_COLOR = COLOR_BLACK;

constexpr const char* DEFAULT_FONT = "Arial";
constexpr int DEFAULT_TEXT_SIZE = 14;
constexpr int FONT_LEN = 32;

// A text style. mStyle and mOrientation are carried for callers; nothing draws by them.
struct IText
{
  enum EAlign
  {
    kAlignNear = 0,
    kAlignCenter = 1,
    kAlignFar = 2
  };

  char mFont[FONT_LEN] = {};
  int mSize = DEFAULT_TEXT_SIZE;
  IColor mColor = DEFAULT_TEXT_COLOR;
  int mStyle = 0;
  int mAlign = kAlignCenter;
  int mOrientation = 0;

  // A null colour or font keeps the default; a long font name is cut to fit.
  explicit IText(int size = DEFAULT_TEXT_SIZE, const IColor* pColor = nullptr, const char* font = nullptr,
                 int style = 0, int align = kAlignCenter, int orientation = 0);
};

// A handle on a cached bitmap: frames stacked vertically, numbered from 1.
// It owns nothing; the bitmap cache does.
struct IBitmap
{
  LICE_IBitmap* mData = nullptr;
  int W = 0, H = 0, N = 1;

  IBitmap() = default;
  IBitmap(LICE_IBitmap* data, int w, int h, int n = 1) : mData(data), W(w), H(h), N(n) {}

  // A frame count below 1 counts as 1, so no caller divides by zero.
  int Frames() const { return N < 1 ? 1 : N; }
  int FrameHeight() const { return H / Frames(); }
};

// L is set for every mouse event; the Command key arrives as R.
struct IMouseMod
{
  bool L = false, R = false, S = false, C = false, A = false;

  IMouseMod() = default;
  IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false) : L(l), R(r), S(s), C(c), A(a) {}
};

// How a drawing lands on the back buffer. A null blend pointer means kBlendNone at weight 1.
struct IChannelBlend
{
  enum EBlendMethod : int
  {
    kBlendNone = 0,
    kBlendClobber = 1,
    kBlendAdd = 2,
    kBlendColorDodge = 3
  };

  EBlendMethod mMethod = kBlendNone;
  float mWeight = 1.0f;

  IChannelBlend() = default;
  IChannelBlend(EBlendMethod method, float weight = 1.0f) : mMethod(method), mWeight(weight) {}
};

enum EDirection
{
  kVertical = 0,
  kHorizontal = 1
};
