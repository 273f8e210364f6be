#include "platform/corefoundation/cf_info_plist.h"

#include "platform/corefoundation/CFString.h"

#include <cstring>
#include <string>

namespace
{

class PlistCursor
{
public:
  PlistCursor(const UInt8* b, size_t n) : p(reinterpret_cast<const char*>(b)), end(p + n) {}

  // Skips white space and comments; false on an unterminated comment.
  bool SkipSpace()
  {
    for (;;)
    {
      while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
        ++p;
      if (!Starts("<!--"))
        return true;
      const char* close = Find("-->", p + 4);
      if (!close)
        return false;
      p = close + 3;
    }
  }

  // Skips "<?...?>" or "<!DOCTYPE...>" when present.
  bool SkipPrologItem(const char* open, const char* close)
  {
    if (!SkipSpace())
      return false;
    if (!Starts(open))
      return true;
    const char* c = Find(close, p + strlen(open));
    if (!c)
      return false;
    p = c + strlen(close);
    return true;
  }

  // Consumes the tag "<name" with any attributes, up to ">".
  bool OpenTag(const char* name)
  {
    if (!SkipSpace() || !Starts("<") || !Starts(name, 1))
      return false;
    const char* q = p + 1 + strlen(name);
    if (q < end && *q != '>' && *q != ' ' && *q != '\t' && *q != '\n' && *q != '\r')
      return false;
    const char* close = Find(">", q);
    if (!close)
      return false;
    p = close + 1;
    return true;
  }

  bool Literal(const char* text)
  {
    if (!SkipSpace() || !Starts(text))
      return false;
    p += strlen(text);
    return true;
  }

  bool AtLiteral(const char* text) { return SkipSpace() && Starts(text); }

  // Reads "<tag>text</tag>" (or "<tag/>" as an empty text), decoding entities.
  bool Element(const char* tag, std::string* out)
  {
    std::string open = std::string("<") + tag + ">";
    std::string empty = std::string("<") + tag + "/>";
    std::string close = std::string("</") + tag + ">";
    out->clear();
    if (Literal(empty.c_str()))
      return true;
    if (!Literal(open.c_str()))
      return false;
    while (p < end && *p != '<')
    {
      if (*p != '&')
      {
        out->push_back(*p++);
        continue;
      }
      if (!Entity(out))
        return false;
    }
    return Literal(close.c_str());
  }

  bool AtEnd() { return SkipSpace() && p == end; }

private:
  bool Starts(const char* text, size_t offset = 0) const
  {
    size_t n = strlen(text);
    return size_t(end - p) >= offset + n && memcmp(p + offset, text, n) == 0;
  }

  const char* Find(const char* text, const char* from) const
  {
    size_t n = strlen(text);
    for (const char* q = from; q < end && size_t(end - q) >= n; ++q)
      if (memcmp(q, text, n) == 0)
        return q;
    return nullptr;
  }

  bool Entity(std::string* out)
  {
    static const struct
    {
      const char* name;
      char c;
    } kEntities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (const auto& e : kEntities)
    {
      if (Starts(e.name))
      {
        out->push_back(e.c);
        p += strlen(e.name);
        return true;
      }
    }
    return false;
  }

  const char* p;
  const char* end;
};

CFStringRef NewString(const std::string& text)
{
  return CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()), CFIndex(text.size()),
                                 kCFStringEncodingUTF8, false);
}

bool ReadPairs(PlistCursor& in, CFMutableDictionaryRef dict)
{
  std::string key, value;
  while (!in.AtLiteral("</dict>"))
  {
    if (!in.Element("key", &key) || !in.Element("string", &value))
      return false;
    CFStringRef k = NewString(key);
    CFStringRef v = NewString(value);
    bool ok = k && v;
    if (ok)
      CFDictionarySetValue(dict, k, v);
    if (k)
      CFRelease(k);
    if (v)
      CFRelease(v);
    if (!ok)
      return false;
  }
  return true;
}

} // namespace

CFDictionaryRef CFInfoPlistParse(const UInt8* bytes, size_t length)
{
  if (!bytes)
    return nullptr;
  PlistCursor in(bytes, length);
  if (!in.SkipPrologItem("<?xml", "?>") || !in.SkipPrologItem("<!DOCTYPE", ">"))
    return nullptr;
  if (!in.OpenTag("plist") || !in.Literal("<dict>"))
    return nullptr;
  CFMutableDictionaryRef dict =
    CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  if (!dict)
    return nullptr;
  bool ok = false;
  try
  {
    ok = ReadPairs(in, dict) && in.Literal("</dict>") && in.Literal("</plist>") && in.AtEnd();
  }
  catch (const std::bad_alloc&)
  {
    ok = false;
  }
  if (!ok)
  {
    CFRelease(dict);
    return nullptr;
  }
  return dict;
}
