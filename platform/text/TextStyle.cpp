#include "platform/text/TextStyle.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include "platform/text/text_style.h"

namespace
{

const char kFallbackFamily[] = "DejaVu Sans";
// Entries the code point and kerning caches hold before they start over,
// so that no stream of text grows them without bound.
constexpr size_t kCacheLimit = 4096;

// One FreeType library for the process; faces of different styles may be
// used on different threads, each behind its style's lock.
FT_Library library()
{
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    return FT_Init_FreeType(&l) == 0 ? l : nullptr;
  }();
  return lib;
}

// fontconfig's configuration lives until exit, where it is handed back so
// that leak checks see only our own allocations.
bool fontconfigReady()
{
  static bool ready = [] {
    if (!FcInit())
      return false;
    atexit(FcFini);
    return true;
  }();
  return ready;
}

std::mutex& libraryLock()
{
  static std::mutex m;
  return m;
}

bool nameMatches(FcPattern* font, const char* object, const char* name)
{
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(font, object, i, &value) == FcResultMatch; ++i)
    if (!strcasecmp(reinterpret_cast<const char*>(value), name))
      return true;
  return false;
}

// The installed file for family in that weight and slant, when its family
// or full name is the one asked for.
bool findFace(const char* family, bool bold, bool italic, std::string* file, int* index)
{
  FcConfig* config = FcConfigGetCurrent();
  if (!config)
    return false;
  FcPattern* pat = FcPatternCreate();
  if (!pat)
    return false;
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result;
  FcPattern* font = FcFontMatch(config, pat, &result);
  FcPatternDestroy(pat);
  bool ok = false;
  FcChar8* path = nullptr;
  if (font && (nameMatches(font, FC_FAMILY, family) || nameMatches(font, FC_FULLNAME, family)) &&
      FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch)
  {
    *file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(font, FC_INDEX, 0, index) != FcResultMatch)
      *index = 0;
    ok = true;
  }
  if (font)
    FcPatternDestroy(font);
  return ok;
}

} // namespace

TextStyle::~TextStyle()
{
  std::lock_guard<std::mutex> guard(libraryLock());
  if (face)
    FT_Done_Face(face);
}

TextStyleRef TextStyleCreate(const char* faceName, double size, bool bold, bool italic, bool underline)
{
  if (!(size > 0) || size > 100000)
    return nullptr;
  std::string file;
  int index = 0;
  bool found;
  {
    std::lock_guard<std::mutex> guard(libraryLock());
    if (!library() || !fontconfigReady())
      return nullptr;
    found = faceName && *faceName && findFace(faceName, bold, italic, &file, &index);
    if (!found && !findFace(kFallbackFamily, bold, italic, &file, &index))
      return nullptr;
  }
  std::unique_ptr<TextStyle> s(new (std::nothrow) TextStyle);
  if (!s)
    return nullptr;
  {
    // A style that fails here is deleted after the lock is left: its
    // destructor takes the lock to hand back the face.
    std::lock_guard<std::mutex> guard(libraryLock());
    if (FT_New_Face(library(), file.c_str(), index, &s->face) != 0 ||
        FT_Set_Char_Size(s->face, 0, FT_F26Dot6(std::lround(size * 64)), 72, 72) != 0)
      return nullptr;
  }
  s->file = file;
  s->size = size;
  s->found = found;
  s->underline = underline;
  // The caller owns it now and gives it back through TextStyleDispose.
  return s.release();
}

void TextStyleDispose(TextStyleRef style)
{
  delete style;
}

bool TextStyleFaceFound(TextStyleRef style)
{
  return style && style->found;
}

const char* TextStyleFontFile(TextStyleRef style)
{
  return style ? style->file.c_str() : nullptr;
}

double TextStyleSize(TextStyleRef style)
{
  return style ? style->size : 0;
}

void TextStyleGetLineMetrics(TextStyleRef style, double* ascent, double* descent, double* leading)
{
  double a = 0, d = 0, l = 0;
  if (style)
  {
    double scale = style->size / style->face->units_per_EM;
    a = style->face->ascender * scale;
    d = -style->face->descender * scale;
    l = std::max(0.0, style->face->height * scale - a - d);
  }
  if (ascent)
    *ascent = a;
  if (descent)
    *descent = d;
  if (leading)
    *leading = l;
}

const TextGlyph* textGlyphOf(TextStyle* style, uint32_t codepoint, unsigned* index)
{
  auto at = style->indexOf.find(codepoint);
  if (at == style->indexOf.end())
  {
    if (style->indexOf.size() >= kCacheLimit)
      style->indexOf.clear();
    at = style->indexOf.emplace(codepoint, FT_Get_Char_Index(style->face, codepoint)).first;
  }
  *index = at->second;
  auto it = style->glyphs.find(at->second);
  if (it == style->glyphs.end())
  {
    // Unhinted, so advances scale exactly with the size.
    if (FT_Load_Glyph(style->face, at->second, FT_LOAD_NO_HINTING | FT_LOAD_RENDER) != 0)
      return nullptr;
    FT_GlyphSlot slot = style->face->glyph;
    if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
      return nullptr;
    TextCachedGlyph g;
    g.glyph.left = slot->bitmap_left;
    g.glyph.top = slot->bitmap_top;
    g.glyph.width = int(slot->bitmap.width);
    g.glyph.rows = int(slot->bitmap.rows);
    g.glyph.advance = slot->advance.x;
    g.pixels.resize(size_t(g.glyph.width) * g.glyph.rows);
    for (int y = 0; y < g.glyph.rows; ++y)
      std::copy_n(slot->bitmap.buffer + y * slot->bitmap.pitch, g.glyph.width,
                  g.pixels.data() + size_t(y) * g.glyph.width);
    it = style->glyphs.emplace(at->second, std::move(g)).first;
    it->second.glyph.coverage = it->second.pixels.empty() ? nullptr : it->second.pixels.data();
  }
  return &it->second.glyph;
}

long textKerning(TextStyle* style, unsigned left, unsigned right)
{
  if (!FT_HAS_KERNING(style->face))
    return 0;
  uint64_t key = uint64_t(left) << 32 | right;
  auto at = style->kerning.find(key);
  if (at != style->kerning.end())
    return at->second;
  FT_Vector k{0, 0};
  if (FT_Get_Kerning(style->face, left, right, FT_KERNING_UNFITTED, &k) != 0)
    k.x = 0;
  if (style->kerning.size() >= kCacheLimit)
    style->kerning.clear();
  style->kerning.emplace(key, k.x);
  return k.x;
}

void TextStyleUnderline(TextStyleRef style, double* offset, double* thickness)
{
  double scale = style ? style->size / style->face->units_per_EM : 0;
  if (offset)
    *offset = style ? -style->face->underline_position * scale : 0;
  if (thickness)
    *thickness = style ? std::max(1.0, style->face->underline_thickness * scale) : 0;
}

bool TextStyleIsUnderlined(TextStyleRef style)
{
  return style && style->underline;
}
