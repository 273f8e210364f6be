#pragma once
// Images holding pixels: made from a Core Graphics image, loaded from a
// PNG file, or found by a name registered with setName. They draw into
// the current graphics context.

#include "platform/cocoa/NSObject.h"
#include "platform/coregraphics/CGImage.h"

enum NSCompositingOperation
{
  NSCompositeSourceOver = 2
};

class NSImage : public NSObject
{
public:
  // An empty image of that size: it has no pixels and draws nothing.
  explicit NSImage(NSSize size) : mSize(size) {}
  // Retains image; the size is the image's own when size is zero.
  NSImage(CGImageRef image, NSSize size);

  // A new image (the caller owns the reference), or null when the file is
  // missing or not a PNG the decoder accepts.
  static NSImage* imageWithContentsOfFile(const char* path);
  // The image registered under name, lent; null when none.
  static NSImage* imageNamed(const char* name);
  // Registers the image under name (holding a reference), replacing any
  // other; false for a null or empty name.
  bool setName(const char* name);

  NSSize size() const { return mSize; }
  // Lent; null for an empty image.
  CGImageRef CGImage() const { return mImage; }

  // Draws the part src of the image (the whole image when src is empty),
  // scaled into dst of the current context, source-over with the given
  // opacity. Without a current context nothing happens.
  void drawInRect(NSRect dst, NSRect src, NSCompositingOperation op, CGFloat fraction);

protected:
  ~NSImage() override;

private:
  NSSize mSize;
  CGImageRef mImage = nullptr;
};
