#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/cocoa/Gestalt.h"
#include "platform/cocoa/NSAutoreleasePool.h"
#include "platform/cocoa/NSBundle.h"
#include "platform/cocoa/NSClass.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSStringDrawing.h"
#include "platform/cocoa/NSURL.h"
#include "platform/cocoa/NSView.h"

namespace
{

std::string tempDir()
{
  char tmpl[] = "/tmp/kestrel-cocoa-XXXXXX";
  return mkdtemp(tmpl);
}

void writeFile(const std::string& path, const std::string& text)
{
  std::ofstream(path) << text;
}

std::string readFile(const std::string& path)
{
  std::stringstream s;
  s << std::ifstream(path).rdbuf();
  return s.str();
}

class Counted : public NSObject
{
public:
  explicit Counted(int* deaths) : mDeaths(deaths) {}
  ~Counted() override { ++*mDeaths; }

private:
  int* mDeaths;
};

} // namespace

TEST(NSAutoreleasePool, DrainingReleasesOncePerAutoreleaseAndInnerPoolsFirst)
{
  int deaths = 0;
  auto* outer = new NSAutoreleasePool;
  auto* kept = new Counted(&deaths);
  kept->retain();
  kept->autorelease();
  kept->autorelease();
  auto* inner = new NSAutoreleasePool;
  (new Counted(&deaths))->autorelease();
  EXPECT_EQ(NSAutoreleasePool::depth(), 2);
  outer->drain(); // drains inner too
  (void)inner;
  EXPECT_EQ(NSAutoreleasePool::depth(), 0);
  EXPECT_EQ(deaths, 2);
}

TEST(NSObjectDeathTest, MessagesToFreedObjectsAndPoollessAutoreleasesAbort)
{
  EXPECT_DEATH(
    {
      NSObject* o = new NSObject;
      o->release();
      o->release();
    },
    // Under the address sanitizer, its report comes first.
    "release sent to deallocated instance|heap-use-after-free");
  EXPECT_DEATH((new NSObject)->autorelease(), "no pool in place");
  EXPECT_DEATH(NSGraphicsContext::restoreGraphicsState(), "no saved state");
  SInt32 version = 0;
  EXPECT_DEATH(Gestalt(gestaltSystemVersion, nullptr), "null response");
  EXPECT_DEATH(NSURL::fileURLWithPath(nullptr), "nil or empty");
  EXPECT_EQ(Gestalt(0x61626364, &version), gestaltUndefSelectorErr);
  EXPECT_EQ(Gestalt(gestaltSystemVersion, &version), noErr);
  EXPECT_EQ(version, 0x1068);
}

TEST(NSBundle, ResourcesAndPathsComeFromTheBundleRegistry)
{
  std::string root = tempDir() + "/Thing.vst";
  mkdir(root.c_str(), 0755);
  mkdir((root + "/Contents").c_str(), 0755);
  mkdir((root + "/Contents/Resources").c_str(), 0755);
  writeFile(root + "/Contents/Info.plist", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                                           "<key>CFBundleIdentifier</key><string>com.example.thing</string>"
                                           "<key>CFBundleExecutable</key><string>Thing.so</string></dict></plist>");
  writeFile(root + "/Contents/Resources/knob.png", "x");
  mkdir((root + "/Contents/Resources/dir.png").c_str(), 0755);

  EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.thing"), nullptr); // not loaded yet
  NSBundle* b = NSBundle::bundleWithPath(root.c_str());
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.thing"), b);
  EXPECT_EQ(b->bundleIdentifier(), "com.example.thing");
  EXPECT_EQ(b->bundlePath(), root);
  EXPECT_EQ(b->executablePath(), root + "/Contents/Thing.so");
  EXPECT_EQ(b->pathForResource("knob", "png"), root + "/Contents/Resources/knob.png");
  EXPECT_EQ(b->pathForResource("knob.png", ""), root + "/Contents/Resources/knob.png");
  EXPECT_EQ(b->pathForResource("knob", "jpg"), "");
  EXPECT_EQ(b->pathForResource("dir", "png"), ""); // not a file
  EXPECT_EQ(b->pathForResource("../Info", "plist"), "");
  EXPECT_EQ(b->pathForResource(nullptr, "png"), "");
  EXPECT_EQ(NSBundle::bundleWithIdentifier(nullptr), nullptr);
  EXPECT_EQ(NSBundle::bundleWithPath((root + "/nothing").c_str()), nullptr);
}

TEST(NSURL, TextsAreCheckedAndFilePathsEncoded)
{
  NSURL* web = NSURL::URLWithString("HTTP://example.com/a%20b?q=1#x");
  ASSERT_NE(web, nullptr);
  EXPECT_EQ(web->scheme(), "http");
  EXPECT_FALSE(web->isFileURL());
  web->release();
  for (const char* bad : {"", "no scheme", "http://a b", "http://x/%2", "http://x/%zz", "1http://x", "http://\xc3\xa9"})
    EXPECT_EQ(NSURL::URLWithString(bad), nullptr) << bad;
  EXPECT_EQ(NSURL::URLWithString(nullptr), nullptr);

  NSURL* file = NSURL::fileURLWithPath("/tmp/a b/é;$(x)");
  EXPECT_EQ(file->absoluteString(), "file:///tmp/a%20b/%C3%A9%3B%24%28x%29");
  EXPECT_TRUE(file->isFileURL());
  file->release();
}

TEST(NSWorkspace, OpensThroughTheOpenerWithoutAShellAndReportsFailure)
{
  std::string dir = tempDir();
  std::string opener = dir + "/opener", out = dir + "/args";
  // Records its arguments one per line; a shell would have run the $( ).
  writeFile(opener, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + out + "\n");
  chmod(opener.c_str(), 0755);
  NSWorkspace* ws = NSWorkspace::sharedWorkspace();
  ws->setURLOpener(opener.c_str());
  NSURL* url = NSURL::URLWithString("http://x/?a=$(touch%20p)&b=;ls");
  ASSERT_NE(url, nullptr);
  EXPECT_TRUE(ws->openURL(url));
  EXPECT_EQ(readFile(out), "http://x/?a=$(touch%20p)&b=;ls\n");
  EXPECT_FALSE(ws->openURL(nullptr));

  ws->setURLOpener("false"); // runs and fails
  EXPECT_FALSE(ws->openURL(url));
  ws->setURLOpener((dir + "/missing").c_str());
  EXPECT_FALSE(ws->openURL(url));
  ws->setURLOpener(nullptr);
  url->release();
}

namespace
{

class FactoryThing : public NSObject
{
};
NS_REGISTER_CLASS(FactoryThing, "Kestrel_TestFactory", "NSObject");

bool drawerCalled = false;
bool testDrawer(NSGraphicsContext*, const char* utf8, NSRect rect, int options, const NSStringAttributes& a)
{
  drawerCalled = std::string(utf8) == "dB" && rect.size.width == 30 && options == NSStringDrawingUsesDeviceMetrics &&
                 a.pointSize == 10 && a.alignment == NSCenterTextAlignment;
  return true;
}

} // namespace

TEST(NSClass, ClassesAreMadeByNameAndAnswerKindOf)
{
  Class c = NSClassFromString("Kestrel_TestFactory");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->superclass, NSClassFromString("NSObject"));
  NSObject* obj = NSClassCreateInstance(c);
  EXPECT_NE(dynamic_cast<FactoryThing*>(obj), nullptr);
  EXPECT_TRUE(NSObjectIsKindOfClass(obj, NSClassFromString("NSObject")));
  EXPECT_FALSE(NSObjectIsKindOfClass(obj, NSClassFromString("NSView")));
  EXPECT_NE(obj->description().find("FactoryThing: 0x"), std::string::npos) << obj->description();
  obj->release();
  NSObject* view = NSClassCreateInstance(NSClassFromString("NSView"));
  EXPECT_TRUE(NSObjectIsKindOfClass(view, NSClassFromString("NSView")));
  view->release();
  EXPECT_FALSE(NSRegisterClass(c)); // the name is taken
  EXPECT_EQ(NSClassFromString("NoSuchClass"), nullptr);
  EXPECT_EQ(NSClassFromString(nullptr), nullptr);
}

TEST(NSStringDrawing, GoesToTheInstalledTextLayerOnlyWithAContext)
{
  NSStringAttributes attrs;
  attrs.pointSize = 10;
  attrs.alignment = NSCenterTextAlignment;
  NSRect r = NSMakeRect(0, 0, 30, 10);
  EXPECT_FALSE(NSStringDrawWithRect("dB", r, NSStringDrawingUsesDeviceMetrics, attrs)); // no drawer
  NSSetStringDrawer(&testDrawer);
  EXPECT_FALSE(NSStringDrawWithRect("dB", r, NSStringDrawingUsesDeviceMetrics, attrs)); // no context
  NSGraphicsContext* ctx = NSGraphicsContext::graphicsContextWithGraphicsPort(nullptr, true);
  NSGraphicsContext::saveGraphicsState();
  NSGraphicsContext::setCurrentContext(ctx);
  EXPECT_TRUE(NSStringDrawWithRect("dB", r, NSStringDrawingUsesDeviceMetrics, attrs));
  EXPECT_TRUE(drawerCalled);
  NSGraphicsContext::restoreGraphicsState();
  EXPECT_EQ(NSGraphicsContext::currentContext(), nullptr);
  NSSetStringDrawer(nullptr);
  ctx->release();
}
