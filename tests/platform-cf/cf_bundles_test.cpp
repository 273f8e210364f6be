// URLs, bundles found by identifier, and the Info.plist reader.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/corefoundation/CoreFoundation.h"
#include "platform/corefoundation/cf_info_plist.h"

namespace
{

CFURLRef Url(const std::string& path)
{
  return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.data()),
                                                 CFIndex(path.size()), true);
}

std::string Text(CFStringRef s)
{
  char buf[1024];
  return CFStringGetCString(s, buf, sizeof buf, kCFStringEncodingUTF8) ? buf : "<none>";
}

// A temporary bundle folder with the given Info.plist text (none when null).
std::string MakeBundle(const char* name, const char* plist)
{
  std::string root = std::string(testing::TempDir()) + "/cfbundle-" + std::to_string(getpid()) + "-" + name;
  mkdir(root.c_str(), 0755);
  mkdir((root + "/Contents").c_str(), 0755);
  if (plist)
  {
    FILE* f = fopen((root + "/Contents/Info.plist").c_str(), "wb");
    fputs(plist, f);
    fclose(f);
  }
  return root;
}

CFDictionaryRef Parse(const char* text)
{
  return CFInfoPlistParse(reinterpret_cast<const UInt8*>(text), strlen(text));
}

const char kPlist[] =
  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
  "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
  "<plist version=\"1.0\">\n<dict>\n"
  "  <!-- identity -->\n"
  "  <key>CFBundleIdentifier</key>\n  <string>com.example.test.Bundle</string>\n"
  "  <key>Name</key>\n  <string>Tom &amp; Jerry &lt;3&gt; &quot;x&quot; &apos;y&apos;</string>\n"
  "  <key>Empty</key>\n  <string/>\n"
  "</dict>\n</plist>\n";

TEST(CFURL, KeepsAnAbsolutePathWithoutTrailingSlash)
{
  CFURLRef u = Url("/tmp/some/dir/");
  ASSERT_NE(u, nullptr);
  CFStringRef path = CFURLCopyFileSystemPath(u, kCFURLPOSIXPathStyle);
  EXPECT_EQ(Text(path), "/tmp/some/dir");
  UInt8 buf[14];
  EXPECT_TRUE(CFURLGetFileSystemRepresentation(u, true, buf, 14));
  EXPECT_FALSE(CFURLGetFileSystemRepresentation(u, true, buf, 13));
  EXPECT_EQ(buf[0], 0);
  CFRelease(path);
  CFRelease(u);
  EXPECT_EQ(Url("relative/path"), nullptr);
  EXPECT_EQ(Url(""), nullptr);
}

TEST(CFInfoPlist, ReadsFlatStringPairsAndEntities)
{
  CFDictionaryRef d = Parse(kPlist);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(CFDictionaryGetCount(d), 3);
  EXPECT_EQ(Text(static_cast<CFStringRef>(CFDictionaryGetValue(d, CFSTR("Name")))), "Tom & Jerry <3> \"x\" 'y'");
  EXPECT_EQ(Text(static_cast<CFStringRef>(CFDictionaryGetValue(d, CFSTR("Empty")))), "");
  CFRelease(d);
  CFDictionaryRef bare = Parse("<plist><dict></dict></plist>");
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(CFDictionaryGetCount(bare), 0);
  CFRelease(bare);
}

TEST(CFInfoPlist, RefusesAnythingElse)
{
  const char* bad[] = {
    "",
    "<plist><dict>",                                                       // cut short
    "<plist><dict><key>a</key></dict></plist>",                            // key without value
    "<plist><dict><key>a</key><integer>1</integer></dict></plist>",        // not a string
    "<plist><dict><key>a</key><string>x &nbsp; y</string></dict></plist>", // unknown entity
    "<plist><dict><key>a</key><string>x & y</string></dict></plist>",      // bare ampersand
    "<plist><dict></dict></plist>trailing",
    "<plist><dict><key>a</key><dict></dict></dict></plist>", // nesting
    "<plist><dict><!-- open comment </dict></plist>",
    "<plistx><dict></dict></plistx>",
    "<plist><dict><key>\xC0\x80</key><string>x</string></dict></plist>", // malformed UTF-8
  };
  for (const char* b : bad)
    EXPECT_EQ(Parse(b), nullptr) << b;
  EXPECT_EQ(CFInfoPlistParse(nullptr, 4), nullptr);
}

TEST(CFBundle, CreatedBundlesAreFoundByIdentifier)
{
  std::string root = MakeBundle("good", kPlist);
  CFURLRef url = Url(root);
  CFBundleRef b = CFBundleCreate(kCFAllocatorDefault, url);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(CFBundleCreate(kCFAllocatorDefault, url), b); // the same bundle again
  CFRelease(b);
  EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.test.Bundle")), b);
  EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.test.Other")), nullptr);
  EXPECT_EQ(Text(CFBundleGetIdentifier(b)), "com.example.test.Bundle");
  CFURLRef copy = CFBundleCopyBundleURL(b);
  EXPECT_TRUE(CFEqual(copy, url));
  CFRelease(copy);
  EXPECT_EQ(Text(static_cast<CFStringRef>(CFBundleGetValueForInfoDictionaryKey(b, CFSTR("Empty")))), "");
  CFRelease(b);
  CFRelease(url);
}

TEST(CFBundle, MissingOrMalformedInfoPlistMakesNoBundle)
{
  for (auto [name, plist] : {std::pair<const char*, const char*>{"none", nullptr}, {"bad", "<plist><dict>"}})
  {
    CFURLRef url = Url(MakeBundle(name, plist));
    EXPECT_EQ(CFBundleCreate(kCFAllocatorDefault, url), nullptr) << name;
    CFRelease(url);
  }
  EXPECT_EQ(CFBundleCreate(kCFAllocatorDefault, nullptr), nullptr);
}

TEST(CFBundle, MainBundleIdentifierIsSetByTheHost)
{
  CFBundleRef main = CFBundleGetMainBundle();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(CFBundleGetIdentifier(main), nullptr);
  CFStringRef id = CFStringCreateWithCString(kCFAllocatorDefault, "com.example.Host", kCFStringEncodingUTF8);
  CFBundleSetMainBundleIdentifier(id);
  CFRelease(id); // the main bundle keeps its own reference
  EXPECT_EQ(Text(CFBundleGetIdentifier(main)), "com.example.Host");
  EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.Host")), main);
  CFBundleSetMainBundleIdentifier(nullptr);
  EXPECT_EQ(CFBundleGetIdentifier(main), nullptr);
  CFURLRef url = CFBundleCopyBundleURL(main);
  EXPECT_NE(url, nullptr); // the program's folder
  CFRelease(url);
}

} // namespace
