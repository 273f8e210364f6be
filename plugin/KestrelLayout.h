#pragma once

// The editor's layout as plain data, read by the editor that builds itself from it and by
// the artwork generator that draws the images and the background's wells and labels to fit.

#include "plugin/KestrelParams.h"

constexpr int kKestrelEditorWidth = 700, kKestrelEditorHeight = 249;

// The images' resource ids.
enum EKestrelImage
{
  kBackgroundImage = 101,
  kKnobImage = 102,
  kButtonImage = 103,
  kInputMeterImage = 105,
  kOutputMeterImage = 106,
  kThresholdSlideImage = 107,
  kCompensationSlideImage = 108,
  kSlideButtonImage = 109,
  kDigitsImage = 110,
  kMeterModeImage = 112,
  kRatioImage = 113,
  kSmallKnobImage = 114,
};

struct KestrelImageSpec
{
  EKestrelImage mId;
  const char* mFile;
  int mFrames; // stacked top to bottom
  // One frame's size: the artwork draws it so, the editor finds it in the file.
  int mFrameWidth, mFrameHeight;
  // How many controls of kKestrelControls are attached before it is loaded.
  int mLoadAfter = 0;
};

// In the order the editor loads them. The background control loads its own image.
constexpr KestrelImageSpec kKestrelImages[] = {
  {kBackgroundImage, "kestrelbg.png", 1, kKestrelEditorWidth, kKestrelEditorHeight},
  {kInputMeterImage, "topVU.png", 121, 134, 16},
  {kOutputMeterImage, "botVU.png", 121, 134, 16},
  {kButtonImage, "button.png", 2, 40, 22},
  {kMeterModeImage, "outgr.png", 2, 44, 34},
  {kThresholdSlideImage, "topslide.png", 100, 180, 40},
  {kCompensationSlideImage, "botslide.png", 100, 180, 40},
  {kSlideButtonImage, "slidebutton.png", 1, 14, 24}, // drawn by no control
  {kRatioImage, "ratiostack.png", 5, 100, 114},
  {kSmallKnobImage, "smallknob.png", 136, 44, 44},
  {kKnobImage, "knob.png", 136, 80, 72},
  {kDigitsImage, "numberstack.png", 100, 14, 22, 14}, // once the meters are on
};
constexpr int kKestrelImageCount = int(sizeof(kKestrelImages) / sizeof(kKestrelImages[0]));

// kKestrelImages' index of an image, or -1.
constexpr int KestrelImageIndex(EKestrelImage id)
{
  for (int i = 0; i < kKestrelImageCount; ++i)
    if (kKestrelImages[i].mId == id)
      return i;
  return -1;
}

// The entry of an image, or null.
constexpr const KestrelImageSpec* KestrelImageFor(EKestrelImage id)
{
  const int i = KestrelImageIndex(id);
  return i < 0 ? nullptr : &kKestrelImages[i];
}

enum class EKestrelControlKind
{
  ImageMap, // the ratio selector: a click picks the area it falls in
  Switch,
  Knob,    // a knob or slider turned by dragging
  Meter,   // a level bar with no parameter
  Readout, // a row of digit wheels with no parameter
};

enum class EKestrelDrag
{
  None,
  Vertical,
  Horizontal,
};

// The controls the compressor keeps, to post levels and values to.
enum class EKestrelKept
{
  None,
  InputMeter,
  OutputMeter,
  AttackReadout,
  ReleaseReadout,
  ImpetusReadout,
};
constexpr int kKestrelKeptCount = int(EKestrelKept::ImpetusReadout) + 1;

struct KestrelControlSpec
{
  EKestrelControlKind mKind;
  EKestrelImage mImage;
  int mX, mY; // top-left corner; the image's frame size gives the rest
  int mParam = -1;
  EKestrelDrag mDrag = EKestrelDrag::None;
  double mGearing = 0.0;
  int mDigits = 0;
  EKestrelKept mKept = EKestrelKept::None;
};

// The rows without a parameter.
constexpr KestrelControlSpec KestrelMeter(EKestrelImage image, int x, int y, EKestrelKept kept)
{
  return {.mKind = EKestrelControlKind::Meter, .mImage = image, .mX = x, .mY = y, .mKept = kept};
}
constexpr KestrelControlSpec KestrelReadout(int x, int y, int digits, EKestrelKept kept)
{
  return {
    .mKind = EKestrelControlKind::Readout, .mImage = kDigitsImage, .mX = x, .mY = y, .mDigits = digits, .mKept = kept};
}

// In attach order, after the background.
constexpr KestrelControlSpec kKestrelControls[] = {
  {EKestrelControlKind::ImageMap, kRatioImage, 363, 65, kRatio},
  {EKestrelControlKind::Switch, kMeterModeImage, 596, 77, kMeter},
  {EKestrelControlKind::Switch, kButtonImage, 26, 209, kDecadence},
  {EKestrelControlKind::Switch, kButtonImage, 613, 28, kSidechain},
  {EKestrelControlKind::Switch, kButtonImage, 613, 205, kAutoMakeup},
  {EKestrelControlKind::Knob, kKnobImage, 113, 19, kAttack, EKestrelDrag::Vertical, 4.0},
  {EKestrelControlKind::Knob, kKnobImage, 250, 82, kRelease, EKestrelDrag::Vertical, 4.0},
  {EKestrelControlKind::Knob, kKnobImage, 113, 146, kImpetus, EKestrelDrag::Vertical, 4.0},
  {EKestrelControlKind::Knob, kThresholdSlideImage, 422, 5, kThreshold, EKestrelDrag::Horizontal, 0.7},
  {EKestrelControlKind::Knob, kCompensationSlideImage, 424, 197, kCompensation, EKestrelDrag::Horizontal, 0.7},
  {EKestrelControlKind::Knob, kSmallKnobImage, 344, 201, kParallel, EKestrelDrag::Vertical, 4.0},
  {EKestrelControlKind::Knob, kSmallKnobImage, 344, 17, kDetectorHPF, EKestrelDrag::Vertical, 4.0},
  KestrelMeter(kInputMeterImage, 460, 50, EKestrelKept::InputMeter),
  KestrelMeter(kOutputMeterImage, 460, 135, EKestrelKept::OutputMeter),
  KestrelReadout(199, 52, 4, EKestrelKept::AttackReadout),
  KestrelReadout(204, 116, 4, EKestrelKept::ReleaseReadout),
  KestrelReadout(199, 179, 3, EKestrelKept::ImpetusReadout),
};
constexpr int kKestrelControlCount = int(sizeof(kKestrelControls) / sizeof(kKestrelControls[0]));

// The images load in table order, every control's image before the control is attached, and
// the compressor keeps meters as meters and read-outs as read-outs.
constexpr bool KestrelLayoutHolds()
{
  for (int i = 1; i < kKestrelImageCount; ++i)
    if (kKestrelImages[i].mLoadAfter < kKestrelImages[i - 1].mLoadAfter)
      return false;
  for (int i = 0; i < kKestrelControlCount; ++i)
  {
    const KestrelControlSpec& s = kKestrelControls[i];
    const int image = KestrelImageIndex(s.mImage);
    if (image < 0 || kKestrelImages[image].mLoadAfter > i)
      return false;
    const bool meter = s.mKept == EKestrelKept::InputMeter || s.mKept == EKestrelKept::OutputMeter;
    if (s.mKept != EKestrelKept::None && s.mKind != (meter ? EKestrelControlKind::Meter : EKestrelControlKind::Readout))
      return false;
  }
  return true;
}
static_assert(KestrelLayoutHolds());
