#pragma once
// URLs and opening them. A URL made from a string keeps the string as it
// is; a file URL keeps an absolute path (a relative one is taken against
// the current directory) and writes it as "file://" with the bytes
// outside the unreserved set and "/" percent-encoded.

#include <string>

#include "platform/cocoa/NSObject.h"

class NSURL : public NSObject
{
public:
  // Null for nil, an empty text, or a text with a byte a URL cannot hold
  // (controls, space, non-ASCII, "<>\"{}|\\^`", or "%" not followed by two
  // hex digits), or without a scheme. The caller owns the reference.
  static NSURL* URLWithString(const char* text);
  // Aborts for nil or an empty path, as the platform raises.
  static NSURL* fileURLWithPath(const char* path);

  const std::string& absoluteString() const { return mText; }
  // "http", "file", ... in lower case.
  std::string scheme() const;
  bool isFileURL() const { return scheme() == "file"; }

private:
  explicit NSURL(std::string text) : mText(std::move(text)) {}
  std::string mText;
};

class NSWorkspace : public NSObject
{
public:
  static NSWorkspace* sharedWorkspace();

  // Hands the URL to the desktop's opener ("xdg-open" by default), run
  // directly, never through a shell, with the URL as its one argument.
  // True when it ran and succeeded, or was still running after a second
  // (it is then left to finish); false for nil, a program that cannot be
  // started or one that exits with a failure.
  bool openURL(const NSURL* url);
  // Stand-in only: the program that opens URLs (looked up in PATH).
  void setURLOpener(const char* program) { mOpener = program ? program : "xdg-open"; }

private:
  NSWorkspace() = default;
  std::string mOpener = "xdg-open";
};
