// Ownership: Create hands out one reference, collections with the CFType
// call-backs hold their own, Get lends. Type checks: every call refuses an
// object of another type.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/corefoundation/CoreFoundation.h"

namespace
{

CFStringRef Str(const char* text)
{
  return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
}

TEST(CFOwnership, RetainAndReleaseCountReferences)
{
  CFStringRef s = Str("x");
  EXPECT_EQ(CFGetRetainCount(s), 1);
  EXPECT_EQ(CFRetain(s), s);
  EXPECT_EQ(CFGetRetainCount(s), 2);
  CFRelease(s);
  EXPECT_EQ(CFGetRetainCount(s), 1);
  CFRelease(s);
}

// Where the platform crashes, the stand-in stops with a message naming the
// call: code that would crash on a Mac cannot pass here.
TEST(CFOwnershipDeathTest, NullOrForeignObjectsStopTheProcess)
{
  alignas(16) static unsigned char junk[64] = {};
  EXPECT_DEATH(CFRelease(nullptr), "CFRelease: NULL argument");
  EXPECT_DEATH(CFRetain(nullptr), "CFRetain: NULL argument");
  EXPECT_DEATH(CFGetTypeID(nullptr), "CFGetTypeID: NULL argument");
  EXPECT_DEATH(CFGetRetainCount(nullptr), "CFGetRetainCount: NULL argument");
  EXPECT_DEATH(CFHash(nullptr), "CFHash: NULL argument");
  CFStringRef s = Str("x");
  EXPECT_DEATH(CFEqual(s, nullptr), "CFEqual: NULL argument");
  EXPECT_DEATH(CFGetTypeID(junk), "CFGetTypeID: not a live Core Foundation object");
  EXPECT_DEATH(CFRelease(junk), "CFRelease: not a live Core Foundation object");
  CFRelease(s);
}

TEST(CFOwnership, ArrayWithTypeCallBacksHoldsItsOwnReference)
{
  CFStringRef s = Str("x");
  CFMutableArrayRef a = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  CFArrayAppendValue(a, s);
  CFArrayAppendValue(a, s);
  EXPECT_EQ(CFGetRetainCount(s), 3);
  EXPECT_EQ(CFArrayGetCount(a), 2);
  EXPECT_EQ(CFArrayGetValueAtIndex(a, 1), s);
  EXPECT_EQ(CFGetRetainCount(s), 3); // Get lends
  EXPECT_EQ(CFArrayGetValueAtIndex(a, 2), nullptr);
  EXPECT_EQ(CFArrayGetValueAtIndex(a, -1), nullptr);
  CFRelease(a);
  EXPECT_EQ(CFGetRetainCount(s), 1);
  CFRelease(s);
}

TEST(CFOwnership, ArrayWithoutCallBacksHoldsPlainPointers)
{
  int record = 7;
  CFMutableArrayRef a = CFArrayCreateMutable(kCFAllocatorDefault, 1, nullptr);
  CFArrayAppendValue(a, &record);
  CFArrayAppendValue(a, &record); // capacity is a hint, not a limit
  EXPECT_EQ(CFArrayGetCount(a), 2);
  EXPECT_EQ(CFArrayGetValueAtIndex(a, 0), &record);
  CFRelease(a);
  EXPECT_EQ(CFArrayCreateMutable(kCFAllocatorDefault, -1, nullptr), nullptr);
}

TEST(CFOwnership, DictionaryRetainsKeysAndValuesAndReleasesReplacedValues)
{
  CFMutableDictionaryRef d =
    CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFStringRef key = Str("name");
  CFStringRef v1 = Str("one");
  CFStringRef v2 = Str("two");
  CFDictionarySetValue(d, key, v1);
  EXPECT_EQ(CFGetRetainCount(key), 2);
  EXPECT_EQ(CFGetRetainCount(v1), 2);
  CFDictionarySetValue(d, key, v1); // the same value again must not free it
  EXPECT_EQ(CFGetRetainCount(v1), 2);
  CFDictionarySetValue(d, key, v2);
  EXPECT_EQ(CFGetRetainCount(v1), 1);
  EXPECT_EQ(CFGetRetainCount(v2), 2);
  EXPECT_EQ(CFDictionaryGetCount(d), 1);

  CFStringRef sameText = Str("name"); // another object, equal by content
  EXPECT_EQ(CFDictionaryGetValue(d, sameText), v2);
  CFDictionarySetValue(d, nullptr, v1);
  CFDictionarySetValue(d, sameText, nullptr);
  EXPECT_EQ(CFDictionaryGetCount(d), 1);
  EXPECT_EQ(CFDictionaryGetValue(d, sameText), v2);

  CFRelease(d);
  EXPECT_EQ(CFGetRetainCount(key), 1);
  EXPECT_EQ(CFGetRetainCount(v2), 1);
  for (CFTypeRef o : {CFTypeRef(key), CFTypeRef(v1), CFTypeRef(v2), CFTypeRef(sameText)})
    CFRelease(o);
}

TEST(CFOwnership, DictionaryWithoutCallBacksComparesByIdentity)
{
  CFMutableDictionaryRef d = CFDictionaryCreateMutable(kCFAllocatorDefault, 0, nullptr, nullptr);
  CFStringRef a = Str("k");
  CFStringRef b = Str("k");
  int value = 1;
  CFDictionarySetValue(d, a, &value);
  EXPECT_EQ(CFGetRetainCount(a), 1);
  EXPECT_EQ(CFDictionaryGetValue(d, a), &value);
  EXPECT_EQ(CFDictionaryGetValue(d, b), nullptr);
  const void* got = &value;
  EXPECT_FALSE(CFDictionaryGetValueIfPresent(d, b, &got));
  EXPECT_EQ(got, &value);
  const void* keys[1];
  const void* values[1];
  CFDictionaryGetKeysAndValues(d, keys, values);
  EXPECT_EQ(keys[0], a);
  EXPECT_EQ(values[0], &value);
  CFRelease(d);
  CFRelease(a);
  CFRelease(b);
}

TEST(CFTypeChecks, EveryCallRefusesAnObjectOfAnotherType)
{
  CFStringRef s = Str("12");
  SInt32 n = 12;
  CFNumberRef num = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &n);
  SInt32 out = -1;
  EXPECT_FALSE(CFNumberGetValue(reinterpret_cast<CFNumberRef>(s), kCFNumberSInt32Type, &out));
  EXPECT_EQ(out, -1);
  char text[8] = "keep";
  EXPECT_FALSE(CFStringGetCString(reinterpret_cast<CFStringRef>(num), text, sizeof text, kCFStringEncodingUTF8));
  EXPECT_EQ(CFDataGetLength(reinterpret_cast<CFDataRef>(s)), 0);
  EXPECT_EQ(CFDataGetBytePtr(reinterpret_cast<CFDataRef>(num)), nullptr);
  EXPECT_EQ(CFArrayGetCount(reinterpret_cast<CFArrayRef>(s)), 0);
  EXPECT_EQ(CFDictionaryGetValue(reinterpret_cast<CFDictionaryRef>(num), s), nullptr);
  CFArrayAppendValue(reinterpret_cast<CFMutableArrayRef>(const_cast<__CFNumber*>(num)), s);
  EXPECT_EQ(CFGetRetainCount(s), 1);
  EXPECT_EQ(CFStringGetLength(reinterpret_cast<CFStringRef>(num)), 0);
  EXPECT_FALSE(CFEqual(s, num));

  // Memory that is no object at all, given to a call of one type.
  alignas(16) unsigned char junk[64] = {};
  EXPECT_EQ(CFStringGetLength(reinterpret_cast<CFStringRef>(junk)), 0);
  CFRelease(s);
  CFRelease(num);
}

TEST(CFNumber, HoldsSigned32BitValuesOnly)
{
  SInt32 v = -123456;
  CFNumberRef num = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &v);
  ASSERT_NE(num, nullptr);
  SInt32 out = 0;
  ASSERT_TRUE(CFNumberGetValue(num, kCFNumberSInt32Type, &out));
  EXPECT_EQ(out, -123456);
  double d = 0;
  EXPECT_FALSE(CFNumberGetValue(num, 6, &d)); // 64-bit float: not held here
  EXPECT_FALSE(CFNumberGetValue(num, kCFNumberSInt32Type, nullptr));
  EXPECT_EQ(CFNumberCreate(kCFAllocatorDefault, 6, &d), nullptr);
  EXPECT_EQ(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, nullptr), nullptr);
  SInt32 same = -123456;
  CFNumberRef twin = CFNumberCreate(kCFAllocatorDefault, kCFNumberIntType, &same);
  EXPECT_TRUE(CFEqual(num, twin));
  CFRelease(num);
  CFRelease(twin);
}

TEST(CFData, CopiesItsBytes)
{
  UInt8 bytes[] = {1, 2, 3, 0, 5};
  CFDataRef d = CFDataCreate(kCFAllocatorDefault, bytes, sizeof bytes);
  bytes[0] = 9;
  ASSERT_EQ(CFDataGetLength(d), 5);
  EXPECT_EQ(CFDataGetBytePtr(d)[0], 1);
  EXPECT_EQ(CFDataGetBytePtr(d)[4], 5);
  CFRelease(d);
  CFDataRef empty = CFDataCreate(kCFAllocatorDefault, nullptr, 0);
  EXPECT_EQ(CFDataGetLength(empty), 0);
  EXPECT_EQ(CFDataGetBytePtr(empty), nullptr);
  CFRelease(empty);
  EXPECT_EQ(CFDataCreate(kCFAllocatorDefault, bytes, -1), nullptr);
  EXPECT_EQ(CFDataCreate(kCFAllocatorDefault, nullptr, 4), nullptr);
}

} // namespace
