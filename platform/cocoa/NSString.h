#pragma once
// Immutable strings. The stand-in's default C-string encoding is UTF-8, the
// encoding its Core Foundation reads.

#include <string>

#include "platform/cocoa/NSObject.h"

class NSString : public NSObject
{
public:
  // stringWithCString: null when the bytes are not text in the default
  // C-string encoding; aborts for a nil cString, as the platform raises.
  // The caller owns the reference.
  static NSString* stringWithCString(const char* cString);

  const char* UTF8String() const { return mText.c_str(); }

private:
  explicit NSString(std::string text) : mText(std::move(text)) {}
  std::string mText;
};
