// The project's Audio Unit host opens an editor through the unit's Carbon
// view component and saves the window as it shows it.

#include <png.h>

#include <cstdio>

#include "platform/carbon/carbon_driver.h"
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
