#pragma once
// Bundles over the Core Foundation bundle registry: the same bundles, found
// by identifier or made from a folder. One NSBundle per bundle, kept for
// the life of the process; the pointers handed out are lent. Texts are
// UTF-8; an empty result stands for nil.

#include <string>

#include "platform/cocoa/NSObject.h"
#include "platform/corefoundation/CFBundle.h"

class NSBundle : public NSObject
{
public:
  // The bundle with that CFBundleIdentifier; null for nil or none.
  static NSBundle* bundleWithIdentifier(const char* identifier);
  // The bundle at a folder holding Contents/Info.plist; null when it cannot
  // be read.
  static NSBundle* bundleWithPath(const char* path);
  static NSBundle* mainBundle();

  std::string bundleIdentifier() const;
  std::string bundlePath() const;
  // Contents/<CFBundleExecutable>; the running program for the main bundle.
  std::string executablePath() const;
  // Contents/Resources.
  std::string resourcePath() const;
  // The existing file name.type (name alone for an empty type) in the
  // resources; empty when there is none or name is nil or empty.
  std::string pathForResource(const char* name, const char* type) const;
  // The Info.plist string under key; empty when absent or not a string.
  std::string objectForInfoDictionaryKey(const char* key) const;

  CFBundleRef cfBundle() const { return mBundle; }

private:
  explicit NSBundle(CFBundleRef bundle) : mBundle(bundle) {}
  static NSBundle* wrap(CFBundleRef bundle);

  CFBundleRef mBundle;
};
