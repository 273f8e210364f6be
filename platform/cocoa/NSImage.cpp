#include "platform/cocoa/NSImage.h"

#include <png.h>

#include <map>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/coregraphics/CGDataProvider.h"

namespace
{

struct NamedImages
{
  std::mutex lock;
  std::map<std::string, NSImage*> byName;
};

NamedImages& named()
{
  static NamedImages* n = new NamedImages; // lives to the end of the process
  return *n;
}

// A PNG file as premultiplied A, R, G, B rows, through libpng's simplified
// reader (which premultiplies for this format).
CGImageRef readPNG(const char* path)
{
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path))
    return nullptr;
  image.format = PNG_FORMAT_ARGB | PNG_FORMAT_FLAG_ASSOCIATED_ALPHA;
  if (uint64_t(image.width) * image.height > kCGMaxBitmapPixels)
  {
    png_image_free(&image);
    return nullptr;
  }
  std::vector<unsigned char> px;
  try
  {
    px.resize(PNG_IMAGE_SIZE(image));
  }
  catch (const std::bad_alloc&)
  {
    png_image_free(&image);
    return nullptr;
  }
  if (!png_image_finish_read(&image, nullptr, px.data(), 0, nullptr))
    return nullptr;
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, px.data(), px.size(), nullptr);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGImageRef img = CGImageCreate(image.width, image.height, 8, 32, size_t(image.width) * 4, space,
                                 kCGImageAlphaPremultipliedFirst, provider, nullptr, false, 0);
  CGColorSpaceRelease(space);
  CGDataProviderRelease(provider);
  return img;
}

} // namespace

NSImage::NSImage(CGImageRef image, NSSize size) : mSize(size), mImage(CGImageRetain(image))
{
  if (mSize.width == 0 && mSize.height == 0)
    mSize = NSSize{CGFloat(CGImageGetWidth(image)), CGFloat(CGImageGetHeight(image))};
}

NSImage::~NSImage()
{
  CGImageRelease(mImage);
}

NSImage* NSImage::imageWithContentsOfFile(const char* path)
{
  CGImageRef img = path ? readPNG(path) : nullptr;
  if (!img)
    return nullptr;
  NSImage* result = new (std::nothrow) NSImage(img, NSSize{0, 0});
  CGImageRelease(img);
  return result;
}

NSImage* NSImage::imageNamed(const char* name)
{
  if (!name)
    return nullptr;
  NamedImages& n = named();
  std::lock_guard<std::mutex> guard(n.lock);
  auto it = n.byName.find(name);
  return it == n.byName.end() ? nullptr : it->second;
}

bool NSImage::setName(const char* name)
{
  if (!name || !*name)
    return false;
  NamedImages& n = named();
  NSImage* old = nullptr;
  {
    std::lock_guard<std::mutex> guard(n.lock);
    retain();
    NSImage*& slot = n.byName[name];
    old = slot;
    slot = this;
  }
  NSRelease(old);
  return true;
}

void NSImage::drawInRect(NSRect dst, NSRect src, NSCompositingOperation, CGFloat fraction)
{
  NSGraphicsContext* ctx = NSGraphicsContext::currentContext();
  CGContextRef port = ctx ? ctx->graphicsPort() : nullptr;
  if (!port || !mImage)
    return;
  CGImageRef part = CGRectIsEmpty(src) ? CGImageRetain(mImage) : CGImageCreateWithImageInRect(mImage, src);
  if (!part)
    return;
  CGContextSaveGState(port);
  CGContextSetAlpha(port, fraction);
  CGContextDrawImage(port, dst, part);
  CGContextRestoreGState(port);
  CGImageRelease(part);
}
