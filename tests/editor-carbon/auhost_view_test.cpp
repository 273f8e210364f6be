// The Audio Unit build's editor: the project's host opens it through the
// unit's Carbon view component and saves the window as it shows it, and the
// Cocoa factory hands a host a view of its own.

#include <png.h>

#include <cstdio>

#include "platform/carbon/carbon_driver.h"
#include "platform/cocoa/AUCocoaUIView.h"
#include "platform/cocoa/NSClass.h"
#include "platform/cocoa/NSView.h"
#include "tests/au/AUTestEffect.h"
#include "tests/editor-carbon/CarbonEditor.h"
#include "tools/auhost/AUHostView.h"

namespace
{

class AUHostViewTest : public AUTestFixture
{
protected:
  void SetUp() override
  {
    AUTestFixture::SetUp();
    ComponentDescription cd = {kAudioUnitCarbonViewComponentType, OSType(mPlug->GetUniqueID()),
                               OSType(mPlug->GetMfrID()), 0, 0};
    mViewComponent = RegisterComponent(&cd, IPlugAU::IPlugAUCarbonViewEntry, 0, nullptr);
  }
  void TearDown() override
  {
    UnregisterComponent(mViewComponent);
    AUTestFixture::TearDown();
  }
  Component mViewComponent = nullptr;
};

TEST_F(AUHostViewTest, CarbonSnapshotIsTheEditorUpright)
{
  std::string error, path = testing::TempDir() + "auhost_view.png";
  EXPECT_FALSE(AUHostSnapshotView(mUnit, "carbon", path, &error));
  EXPECT_EQ(error, "the unit lists no Carbon view");
  IGraphicsMac* ed = MakeMacEditor(mPlug);
  ed->AttachControl(new Quadrants(mPlug, 0));
  mPlug->AttachGraphics(ed);
  ASSERT_TRUE(AUHostSnapshotView(mUnit, "carbon", path, &error)) << error;
  EXPECT_EQ(ed->GetCarbonHost(), nullptr); // the view component closed the window again

  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  ASSERT_EQ(image.width, unsigned(kW));
  ASSERT_EQ(image.height, unsigned(kH));
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  std::vector<unsigned char> want = Reference(ed);
  for (int i = 0; i < kW * kH; ++i)
    for (int c = 0; c < 3; ++c)
      ASSERT_EQ(rgb[size_t(i * 3 + c)], want[size_t(i * 4 + 1 + c)]) << "pixel " << i;
  std::remove(path.c_str());
  EXPECT_FALSE(AUHostSnapshotView(mUnit, "gdi", path, &error));
}

} // namespace

namespace
{

using CocoaFactoryTest = AUTestFixture;

TEST_F(CocoaFactoryTest, FactoryViewIsTheHostsAndOutlivesTheUnit)
{
  Class cls = NSClassFromString("Kestrel_View");
  ASSERT_NE(cls, nullptr);
  NSObject* object = NSClassCreateInstance(cls);
  auto* factory = dynamic_cast<AUCocoaUIBase*>(object);
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->interfaceVersion(), 0u);
  EXPECT_EQ(object->description(), "Kestrel Compressor View");
  EXPECT_EQ(factory->uiViewForAudioUnit(mUnit, NSSize{1, 1}), nullptr); // no editor yet

  IGraphics* g = MakeGraphics(mPlug, kW, kH, 30);
  EXPECT_STREQ(static_cast<IGraphicsMac*>(g)->GetBundleID(), "com.example.audiounit.Test");
  mPlug->AttachGraphics(g);
  NSView* view = factory->uiViewForAudioUnit(mUnit, NSSize{999, 999});
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->frame().size.width, kW); // the preferred size is not used
  ASSERT_EQ(CloseComponent(mUnit), noErr);
  AudioUnit closed = mUnit;
  mUnit = nullptr;
  EXPECT_EQ(view->retainCount(), 1); // only the host's is left
  EXPECT_EQ(factory->uiViewForAudioUnit(closed, NSSize{0, 0}), nullptr);
  NSRelease(view);
  NSRelease(object);
}

} // namespace
