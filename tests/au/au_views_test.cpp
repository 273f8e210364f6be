// The editor's ways into a host: the Carbon view component's selectors,
// the Cocoa factory's view request, and the view properties.

#include "platform/macbase/Gestalt.h"
#include "tests/au/AUTestEffect.h"
#include "tests/support/IGraphicsTest.h"

namespace
{

constexpr SInt16 kCreate = 0x301;

// Records the window each open was given; its "view" is the editor itself.
class ViewEditor : public IGraphicsTest
{
public:
  using IGraphicsTest::IGraphicsTest;
  void* OpenWindow(void* pParent) override
  {
    ++mCocoaOpens;
    return IGraphicsTest::OpenWindow(pParent);
  }
  void* OpenWindow(void* pWindow, void* pControl) override
  {
    mCarbonWindow = pWindow;
    mCarbonControl = pControl;
    return mRefuse ? nullptr : IGraphicsTest::OpenWindow(pWindow);
  }
  void CloseWindow() override
  {
    ++mCloses;
    IGraphicsTest::CloseWindow();
  }
  void* mCarbonWindow = nullptr;
  void* mCarbonControl = nullptr;
  int mCocoaOpens = 0, mCloses = 0;
  bool mRefuse = false; // as the editor refuses what is not a window
};

class ViewTest : public AUTestFixture
{
protected:
  ViewEditor* AttachEditor()
  {
    auto* ed = new ViewEditor(mPlug, 60, 40, 30);
    mPlug->AttachGraphics(ed);
    return ed;
  }
  // A view component instance, opened and closed through the entry as the
  // Component Manager would.
  ComponentResult ViewCall(void* storage, SInt16 what, auto... args)
  {
    ComponentParameters p = PackComponentParameters(what, args...);
    return IPlugAU::IPlugAUCarbonViewEntry(&p, storage);
  }
  void* OpenView()
  {
    ComponentDescription cd = {kAudioUnitCarbonViewComponentType, MacFourCC("tst1"), MacFourCC("Test"), 0, 0};
    mViewComponent = RegisterComponent(&cd, IPlugAU::IPlugAUCarbonViewEntry, 0, nullptr);
    mView = OpenComponent(mViewComponent);
    return mView ? static_cast<void*>(GetComponentInstanceStorage(mView)) : nullptr;
  }
  ComponentResult Create(void* storage, AudioUnit unit, void** outControl)
  {
    const float where[2] = {5, 5}, size[2] = {999, 999};
    return ViewCall(storage, kCreate, unit, reinterpret_cast<void*>(0x1234), reinterpret_cast<void*>(0x99),
                    static_cast<const void*>(where), static_cast<const void*>(size), static_cast<void*>(outControl));
  }
  void TearDown() override
  {
    if (mView)
    {
      EXPECT_EQ(CloseComponent(mView), noErr);
    }
    if (mViewComponent)
      UnregisterComponent(mViewComponent);
    AUTestFixture::TearDown();
  }
  Component mViewComponent = nullptr;
  ComponentInstance mView = nullptr;
};

TEST_F(ViewTest, CarbonViewSelectorTable)
{
  void* storage = OpenView();
  ASSERT_NE(storage, nullptr);
  void* control = reinterpret_cast<void*>(1);
  // Without an editor the create is refused and nothing is handed out.
  EXPECT_EQ(Create(storage, mUnit, &control), badComponentSelector);
  EXPECT_EQ(control, reinterpret_cast<void*>(1));
  for (SInt16 what : {SInt16(-3), SInt16(-4), SInt16(0x302), SInt16(1)})
    EXPECT_EQ(ViewCall(storage, what, 0), badComponentSelector) << what;

  ViewEditor* ed = AttachEditor();
  ASSERT_EQ(Create(storage, mUnit, &control), noErr);
  EXPECT_EQ(ed->mCarbonWindow, reinterpret_cast<void*>(0x1234));
  EXPECT_EQ(ed->mCarbonControl, reinterpret_cast<void*>(0x99));
  EXPECT_EQ(control, ed->GetWindow());
  EXPECT_EQ(ed->Width(), 60); // the host's size is not used
  ed->mRefuse = true;
  EXPECT_EQ(Create(storage, mUnit, &control), badComponentSelector);
  EXPECT_EQ(control, ed->GetWindow()); // nothing handed out
  ed->mRefuse = false;
  // Closing the view closes the editor's window; the editor stays.
  int closes = ed->mCloses;
  EXPECT_EQ(CloseComponent(mView), noErr);
  mView = nullptr;
  EXPECT_EQ(ed->mCloses, closes + 1);
  EXPECT_EQ(mPlug->GetGUI(), ed);

  // Reopen, then a Cocoa open after the Carbon close.
  storage = OpenView();
  ASSERT_EQ(Create(storage, mUnit, &control), noErr);
  IPlugBase* plug = nullptr;
  EXPECT_EQ(IPlugAU::OpenCocoaView(mUnit, &plug), ed);
  EXPECT_EQ(plug, mPlug);
  EXPECT_EQ(ed->mCocoaOpens, 1);
}

TEST_F(ViewTest, ViewsNeverReachAClosedUnit)
{
  void* storage = OpenView();
  ViewEditor* ed = AttachEditor();
  int closed = 0;
  ed->mDeleted = &closed;
  void* control = nullptr;
  ASSERT_EQ(Create(storage, mUnit, &control), noErr);
  AudioUnit unit = mUnit;
  ASSERT_EQ(CloseComponent(mUnit), noErr);
  mUnit = nullptr;
  EXPECT_EQ(closed, 1);
  // The view outlives the unit: its close and further requests find nothing.
  IPlugBase* plug = mPlug;
  EXPECT_EQ(IPlugAU::OpenCocoaView(unit, &plug), nullptr);
  EXPECT_EQ(plug, nullptr);
  EXPECT_EQ(Create(storage, unit, &control), badComponentSelector);
  EXPECT_EQ(CloseComponent(mView), noErr);
  mView = nullptr;
}

TEST_F(ViewTest, ViewPropertiesWithAnEditor)
{
  AttachEditor();
  ComponentDescription cd = {};
  UInt32 size = sizeof cd;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_GetUIComponentList, kAudioUnitScope_Output, 3, &cd, &size),
            noErr);
  EXPECT_EQ(cd.componentType, MacFourCC("auvw"));
  EXPECT_EQ(cd.componentSubType, OSType(mPlug->GetUniqueID()));
  EXPECT_EQ(cd.componentManufacturer, OSType(mPlug->GetMfrID()));
  EXPECT_EQ(cd.componentFlags | cd.componentFlagsMask, 0u);
  // The Cocoa view only from 10.5 on.
  GestaltSetSystemVersion(0x1049);
  EXPECT_EQ(AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &size, nullptr),
            kAudioUnitErr_InvalidProperty);
  GestaltSetSystemVersion(0x1068);
}

} // namespace
