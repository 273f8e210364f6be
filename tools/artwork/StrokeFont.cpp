#include "tools/artwork/StrokeFont.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{

// Pen paths in glyph units (y down, 0 cap line, 6 baseline): M moves, L draws
// a line, A cx cy r from to draws an arc (degrees, 0 up, clockwise) joined to
// the pen's position, O cx cy r is a whole circle on its own.
struct Glyph
{
  char ch;
  float width;
  const char* path;
};

constexpr Glyph kGlyphs[] = {
  {'A', 4, "M0 6 L2 0 L4 6 M0.7 4 L3.3 4"},
  {'B', 4, "M0 3 L2.5 3 A2.5 1.5 1.5 180 0 L0 0 L0 6 L2.4 6 A2.4 4.5 1.5 180 0 L2.5 3"},
  {'C', 4, "A2 2 2 60 -90 L0 4 A2 4 2 270 120"},
  {'D', 4, "M0 0 L2 0 A2 2 2 0 90 L4 4 A2 4 2 90 180 L0 6 L0 0"},
  {'E', 3.6f, "M3.6 0 L0 0 L0 6 L3.6 6 M0 3 L3 3"},
  {'F', 3.6f, "M3.6 0 L0 0 L0 6 M0 3 L3 3"},
  {'G', 4, "A2 2 2 60 -90 L0 4 A2 4 2 270 90 L4 3.2 L2.3 3.2"},
  {'H', 4, "M0 0 L0 6 M4 0 L4 6 M0 3 L4 3"},
  {'I', 0, "M0 0 L0 6"},
  {'J', 3.5f, "M3.5 0 L3.5 4.2 A1.75 4.25 1.75 90 270"},
  {'K', 4, "M0 0 L0 6 M4 0 L0 4 M1.5 2.5 L4 6"},
  {'L', 3.5f, "M0 0 L0 6 L3.5 6"},
  {'M', 5, "M0 6 L0 0 L2.5 4 L5 0 L5 6"},
  {'N', 4, "M0 6 L0 0 L4 6 L4 0"},
  {'O', 4, "A2 2 2 -90 90 L4 4 A2 4 2 90 270 L0 2"},
  {'P', 4, "M0 6 L0 0 L2.4 0 A2.4 1.6 1.6 0 180 L0 3.2"},
  {'Q', 4, "A2 2 2 -90 90 L4 4 A2 4 2 90 270 L0 2 M2.6 4.6 L4.2 6.2"},
  {'R', 4, "M0 6 L0 0 L2.4 0 A2.4 1.6 1.6 0 180 L0 3.2 M2.2 3.2 L4 6"},
  {'S', 3.6f, "A1.8 1.5 1.5 70 -180 A1.8 4.5 1.5 0 250"},
  {'T', 4, "M0 0 L4 0 M2 0 L2 6"},
  {'U', 4, "M0 0 L0 4 A2 4 2 270 90 L4 0"},
  {'V', 4, "M0 0 L2 6 L4 0"},
  {'W', 5.4f, "M0 0 L1.35 6 L2.7 1.5 L4.05 6 L5.4 0"},
  {'X', 4, "M0 0 L4 6 M4 0 L0 6"},
  {'Y', 4, "M0 0 L2 3 L4 0 M2 3 L2 6"},
  {'Z', 4, "M0 0 L4 0 L0 6 L4 6"},
  {'0', 4, "A2 2 2 -90 90 L4 4 A2 4 2 90 270 L0 2"},
  {'1', 2.2f, "M0 1.3 L2.2 0 L2.2 6"},
  {'2', 4, "A2 2 2 -60 110 L0 6 L4 6"},
  {'3', 4, "A2 1.5 1.5 -70 180 A2 4.5 1.5 0 250"},
  {'4', 4, "M3 6 L3 0 L0 4.2 L4 4.2"},
  {'5', 4, "M3.7 0 L0.5 0 L0.3 2.8 A2 4 2 -55 235"},
  {'6', 4, "O2 4 2 M0.2 3.2 L2.6 0"},
  {'7', 4, "M0 0 L4 0 L1.4 6"},
  {'8', 4, "O2 1.45 1.45 O2 4.3 1.7"},
  {'9', 4, "O2 2 2 M3.8 2.8 L1.4 6"},
  {':', 1, "M0.5 2 L0.5 2 M0.5 5.6 L0.5 5.6"},
  {'.', 0, "M0 6 L0 6"},
  {'-', 2.5f, "M0 3.4 L2.5 3.4"},
  {'+', 3, "M0 3.4 L3 3.4 M1.5 1.9 L1.5 4.9"},
  {'/', 3, "M0 6.2 L3 -0.2"},
  {'%', 4.2f, "O0.9 1 0.9 O3.3 5 0.9 M0 6 L4.2 0"},
  {'d', 3, "O1.5 4.5 1.5 M3 0 L3 6"},
  {'m', 5, "M0 6 L0 3.2 A1.25 3.25 1.25 -90 90 L2.5 6 M2.5 3.25 A3.75 3.25 1.25 -90 90 L5 6"},
  {'s', 2.6f, "A1.3 3 1 60 -180 A1.3 5 1 0 240"},
  {'z', 3, "M0 2 L3 2 L0 6 L3 6"},
  // Micro sign (Latin-1 0xB5).
  {'\xb5', 3, "M0 2 L0 7.6 M0 4.5 A1.5 4.5 1.5 270 90 L3 2 M3 2 L3 6"},
};

const Glyph* find(char ch)
{
  for (const Glyph& g : kGlyphs)
    if (g.ch == ch)
      return &g;
  return nullptr;
}

using Paths = std::vector<std::vector<ArtPoint>>;

void arcPoints(std::vector<ArtPoint>& out, float cx, float cy, float r, float a0, float a1)
{
  const int n = std::max(4, int(std::fabs(a1 - a0) / 10.0f));
  for (int i = 0; i <= n; ++i)
    out.push_back(ArtPolar(cx, cy, r, a0 + (a1 - a0) * float(i) / float(n)));
}

Paths parse(const char* s)
{
  Paths paths;
  auto num = [&s]() { return std::strtof(s, const_cast<char**>(&s)); };
  while (*s)
  {
    const char op = *s++;
    if (op == 'M')
    {
      paths.emplace_back();
      const float x = num(), y = num();
      paths.back().push_back({x, y});
    }
    else if (op == 'L')
    {
      const float x = num(), y = num();
      paths.back().push_back({x, y});
    }
    else if (op == 'A' || op == 'O')
    {
      const float cx = num(), cy = num(), r = num();
      const float a0 = op == 'O' ? 0 : num(), a1 = op == 'O' ? 360 : num();
      if (op == 'O' || paths.empty())
        paths.emplace_back();
      arcPoints(paths.back(), cx, cy, r, a0, a1);
    }
  }
  return paths;
}

void drawGlyph(ArtCanvas& c, const ArtText& st, const Glyph& g, float x, float baseline)
{
  const float k = st.cap / 6.0f;
  for (auto& path : parse(g.path))
  {
    for (ArtPoint& p : path)
      p = {x + st.weight / 2 + p.x * k, baseline - st.cap + p.y * k};
    c.stroke(path, st.weight, st.color);
  }
}

} // namespace

float ArtTextWidth(const ArtText& st, const std::string& text)
{
  const float k = st.cap / 6.0f;
  float units = 0;
  for (size_t i = 0; i < text.size(); ++i)
  {
    const Glyph* g = find(text[i]);
    units += text[i] == ' ' ? 2.5f : g ? g->width : 0;
    if (i + 1 < text.size())
      units += st.tracking;
  }
  return units * k + st.weight;
}

void ArtDrawText(ArtCanvas& c, const ArtText& st, float x, float baseline, const std::string& text)
{
  const float k = st.cap / 6.0f;
  for (char ch : text)
  {
    const Glyph* g = find(ch);
    if (g)
      drawGlyph(c, st, *g, x, baseline);
    x += ((ch == ' ' ? 2.5f : g ? g->width : 0) + st.tracking) * k;
  }
}

void ArtDrawTextCentred(ArtCanvas& c, const ArtText& st, float cx, float baseline, const std::string& text)
{
  ArtDrawText(c, st, cx - ArtTextWidth(st, text) / 2, baseline, text);
}

void ArtDrawTextRight(ArtCanvas& c, const ArtText& st, float right, float baseline, const std::string& text)
{
  ArtDrawText(c, st, right - ArtTextWidth(st, text), baseline, text);
}

void ArtDrawGlyphCentred(ArtCanvas& c, const ArtText& st, float cx, float baseline, char ch)
{
  const Glyph* g = find(ch);
  if (g)
    drawGlyph(c, st, *g, cx - (g->width * st.cap / 6.0f + st.weight) / 2, baseline);
}
