// Strings: UTF-8 in and out, UTF-16 lengths, short buffers, constants.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/corefoundation/CoreFoundation.h"

namespace
{

// "a", e-acute (2 bytes), euro sign (3 bytes), G clef (4 bytes, a surrogate pair).
const char kMixed[] = "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";

TEST(CFString, Utf8RoundTripsAndCountsUtf16Units)
{
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, kMixed, kCFStringEncodingUTF8);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(CFGetTypeID(s), CFStringGetTypeID());
  EXPECT_EQ(CFStringGetLength(s), 5); // 1 + 1 + 1 + 2
  char out[11];
  ASSERT_TRUE(CFStringGetCString(s, out, sizeof out, kCFStringEncodingUTF8)); // 10 bytes + terminator
  EXPECT_STREQ(out, kMixed);
  CFRelease(s);
}

TEST(CFString, ShortBufferFailsWithoutWritingPastIt)
{
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, kMixed, kCFStringEncodingUTF8);
  char out[12];
  memset(out, 'x', sizeof out);
  EXPECT_FALSE(CFStringGetCString(s, out, 10, kCFStringEncodingUTF8)); // one short: no room for the terminator
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[10], 'x');
  EXPECT_FALSE(CFStringGetCString(s, out, 0, kCFStringEncodingUTF8));
  EXPECT_FALSE(CFStringGetCString(s, nullptr, 20, kCFStringEncodingUTF8));
  CFRelease(s);
}

TEST(CFString, MalformedUtf8IsRefused)
{
  const char* bad[] = {
    "\xC0\x80",         // overlong zero
    "\xED\xA0\x80",     // a surrogate
    "\xF5\x80\x80\x80", // above U+10FFFF
    "\xE2\x82",         // cut short
    "\x80",             // a lone continuation byte
  };
  for (const char* b : bad)
    EXPECT_EQ(CFStringCreateWithCString(kCFAllocatorDefault, b, kCFStringEncodingUTF8), nullptr) << b;
  EXPECT_EQ(CFStringCreateWithCString(kCFAllocatorDefault, nullptr, kCFStringEncodingUTF8), nullptr);
  const UInt8 embeddedZero[] = {'a', 0, 'b'};
  EXPECT_EQ(CFStringCreateWithBytes(kCFAllocatorDefault, embeddedZero, 3, kCFStringEncodingUTF8, false), nullptr);
}

TEST(CFString, AsciiAcceptsOnlySevenBitText)
{
  EXPECT_EQ(CFStringCreateWithCString(kCFAllocatorDefault, kMixed, kCFStringEncodingASCII), nullptr);
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, kMixed, kCFStringEncodingUTF8);
  char out[32];
  EXPECT_FALSE(CFStringGetCString(s, out, sizeof out, kCFStringEncodingASCII));
  CFRelease(s);
  CFStringRef plain = CFStringCreateWithCString(kCFAllocatorDefault, "plain", kCFStringEncodingASCII);
  ASSERT_TRUE(CFStringGetCString(plain, out, sizeof out, kCFStringEncodingASCII));
  EXPECT_STREQ(out, "plain");
  CFRelease(plain);
}

TEST(CFString, MaximumSizeCoversAnyText)
{
  EXPECT_EQ(CFStringGetMaximumSizeForEncoding(5, kCFStringEncodingUTF8), 15);
  EXPECT_EQ(CFStringGetMaximumSizeForEncoding(5, kCFStringEncodingASCII), 5);
  EXPECT_EQ(CFStringGetMaximumSizeForEncoding(-1, kCFStringEncodingUTF8), kCFNotFound);
  EXPECT_EQ(CFStringGetMaximumSizeForEncoding(LONG_MAX / 2, kCFStringEncodingUTF8), kCFNotFound);
}

TEST(CFString, ConstantsAreSharedAndNeverFreed)
{
  CFStringRef a = CFSTR("version");
  EXPECT_EQ(a, CFSTR("version"));
  CFRelease(a);
  CFRelease(a);
  char out[16];
  ASSERT_TRUE(CFStringGetCString(a, out, sizeof out, kCFStringEncodingUTF8));
  EXPECT_STREQ(out, "version");
  CFStringRef made = CFStringCreateWithCString(kCFAllocatorDefault, "version", kCFStringEncodingUTF8);
  EXPECT_NE(made, a);
  EXPECT_TRUE(CFEqual(made, a));
  EXPECT_EQ(CFHash(made), CFHash(a));
  CFRelease(made);
}

} // namespace

TEST(CFStringCharacters, Utf16UnitsIncludingSurrogatePairs)
{
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, kMixed, kCFStringEncodingUTF8);
  ASSERT_EQ(CFStringGetLength(s), 5);
  UniChar u[5] = {};
  CFStringGetCharacters(s, CFRangeMake(0, 5), u);
  EXPECT_EQ(u[0], 0x61);
  EXPECT_EQ(u[1], 0xE9);
  EXPECT_EQ(u[2], 0x20AC);
  EXPECT_EQ(u[3], 0xD834);
  EXPECT_EQ(u[4], 0xDD1E);
  UniChar mid[2] = {};
  CFStringGetCharacters(s, CFRangeMake(2, 2), mid);
  EXPECT_EQ(mid[0], 0x20AC);
  EXPECT_EQ(mid[1], 0xD834);
  CFRelease(s);
}

TEST(CFStringCharactersDeathTest, RangeBeyondTheStringEndsTheProcess)
{
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, "abc", kCFStringEncodingUTF8);
  UniChar u[8];
  EXPECT_DEATH(CFStringGetCharacters(s, CFRangeMake(2, 2), u), "out of bounds");
  CFRelease(s);
}
