#include "plugin/Kestrel.h"

#include <cstdio>

namespace
{
// One factory preset; the enumerations are ints, so no value can be stored with the wrong type.
struct FactoryPreset
{
  const char* mName;
  double mThreshold;
  int mRatio;
  double mCompensation;
  double mAttackUs;
  double mReleaseMs;
  double mParallel;
  int mDecadence;
  double mDetectorHPF;
  int mSidechain;
  double mImpetus;
  int mAutoMakeup;
  int mMeter;
};

constexpr FactoryPreset kShowcase[] = {
  {"Sex, Drums, Rock'n'Roll", -31.51, 4, 6.67, 85.44, 73.51, 0.0, 0, 10.0, 0, 62.63, 1, 1},
  {"Room to Breathe", -50.27, 3, 20.0, 5.0, 233.77, 48.86, 0, 10.0, 0, 49.19, 1, 1},
  {"Push It", -14.59, 1, 4.1, 471.57, 475.46, 0.0, 1, 38.07, 0, 88.17, 1, 1},
  {"Heavy Vibes", -48.42, 4, 8.23, 1742.58, 48.47, 34.09, 1, 10.0, 0, 57.8, 1, 1},
  {"\"Edgy\" NME, 5 stars", -38.22, 4, 8.89, 5.0, 54.71, 12.5, 0, 115.8, 0, 100.0, 1, 1},
};

// Listed once; each comes again as a "HiRes " preset with Decadence on.
constexpr FactoryPreset kNamed[] = {
  {"Power Bass 1", -8.8, 3, 7.62, 165.89, 159.44, 0.0, 0, 10.0, 0, 69.35, 1, 1},
  {"Slap Power Bass", -8.8, 3, 0.0, 80.08, 105.73, 0.0, 0, 10.0, 0, 69.35, 1, 1},
  {"Acoustic Bass 1", -19.92, 1, 0.0, 133.71, 242.69, 0.0, 0, 10.0, 0, 24.19, 1, 1},
  {"Acoustic Bass Natural (Slow)", -19.92, 0, 0.0, 128.35, 296.4, 0.0, 0, 10.0, 0, 5.65, 1, 1},
  {"Voiceover", -27.34, 0, 0.0, 10.36, 84.25, 0.0, 0, 38.07, 0, 4.57, 1, 1},
  {"Ambient Pad Stabilizer", -43.55, 2, 0.0, 26.45, 164.81, 0.0, 0, 79.09, 0, 22.85, 1, 1},
  {"Drums Kick Control", -21.31, 2, 0.0, 63.99, 25.17, 0.0, 0, 10.0, 0, 12.37, 1, 1},
  {"Drums Kick Control Phat", -21.31, 2, 0.0, 63.99, 25.17, 0.0, 0, 10.0, 0, 66.13, 1, 1},
  {"Drums Kick Nail me to the wall", -21.31, 3, 0.0, 42.54, 78.88, 0.0, 0, 10.0, 0, 19.09, 1, 1},
  {"Drums Snare Smack 1", -22.7, 1, 0.0, 90.81, 38.6, 0.0, 0, 105.0, 0, 63.44, 1, 1},
  {"Drums Snare Smack 2 (harder)", -22.7, 1, 0.0, 90.81, 11.74, 0.0, 0, 105.0, 0, 70.16, 1, 1},
  {"Drums Snare 1980's console style", -22.7, 2, 0.0, 63.99, 46.65, 0.0, 0, 105.0, 0, 8.87, 1, 1},
  {"Drums Toms 1", -23.63, 2, 0.0, 57.54, 134.52, 0.0, 0, 10.0, 0, 16.67, 1, 1},
  {"Drums Toms 2 (more relaxed)", -27.8, 1, 0.0, 105.81, 188.23, 38.64, 0, 10.0, 0, 8.6, 1, 1},
  {"Drums Hats 1", -27.8, 1, 0.0, 58.63, 156.76, 38.64, 0, 100.68, 0, 35.75, 1, 1},
  {"Drums Hats 2 (control)", -27.8, 1, 0.0, 21.09, 73.51, 38.64, 0, 100.68, 0, 52.15, 1, 1},
  {"Drums Hats 3 (slam)", -27.8, 1, 0.0, 31.81, 76.19, 38.64, 0, 81.25, 0, 62.37, 1, 1},
  {"Drums Ride 1", -27.8, 1, 0.0, 133.71, 221.21, 5.68, 0, 61.82, 0, 62.37, 1, 1},
  {"Drums Ride 2", -27.8, 1, 0.0, 171.25, 288.35, 5.68, 0, 20.8, 0, 12.63, 1, 1},
  {"Guitar Electric 1", -18.53, 2, 0.0, 96.17, 143.33, 5.68, 0, 16.48, 0, 56.72, 1, 1},
  {"Guitar Electric 2 (more bite)", -18.53, 2, 0.0, 160.52, 73.51, 5.68, 0, 16.48, 0, 68.01, 1, 1},
  {"Guitar Electric 3 (killer)", -18.53, 4, 0.0, 74.72, 84.25, 0.0, 0, 16.48, 0, 68.01, 1, 1},
  {"Guitar Electric 4 (picking)", -18.53, 2, 0.0, 37.18, 62.77, 0.0, 0, 16.48, 0, 77.96, 1, 1},
  {"Bass Puncher", -18.53, 2, 0.0, 63.99, 215.84, 0.0, 0, 10.0, 0, 36.83, 1, 1},
  {"Vocal 1", -18.53, 1, 0.0, 74.72, 129.9, 0.0, 0, 10.0, 0, 5.65, 1, 1},
  {"Vocal 2 (slow)", -18.53, 1, 0.0, 101.53, 226.58, 0.0, 0, 10.0, 0, 5.65, 1, 1},
  {"Vocal 3", -18.53, 0, 0.0, 139.07, 272.23, 14.77, 0, 35.91, 0, 5.65, 1, 1},
  {"Vocal in yer face", -18.53, 2, 0.0, 5.0, 57.4, 14.77, 0, 35.91, 0, 32.53, 1, 1},
  {"Vocal good starting point", -18.53, 0, 0.0, 58.63, 113.79, 4.55, 0, 10.0, 0, 24.46, 1, 1},
  {"Vocal aggression tamer", -18.53, 0, 0.0, 10.36, 127.22, 4.55, 0, 10.0, 0, 9.41, 1, 1},
  {"Vocal Mr. Nasty", -18.53, 0, 0.0, 5.0, 68.14, 4.55, 0, 10.0, 0, 76.88, 1, 1},
  {"Vocal Mrs. Nasty", -18.53, 0, 0.0, 63.99, 46.65, 4.55, 0, 10.0, 0, 59.68, 1, 1},
  {"BussComp 1990s console", -12.0, 0, 0.0, 100.76, 10.99, 0.0, 0, 81.44, 0, 27.2, 1, 1},
  {"BussComp Los Angeles", -12.0, 0, 0.0, 212.48, 20.98, 0.0, 0, 100.44, 0, 56.0, 1, 1},
  {"BussComp Nashville", -12.0, 0, 0.0, 404.0, 60.94, 0.0, 0, 100.44, 0, 56.0, 1, 1},
  {"BussComp 500 Club", -12.0, 0, 0.0, 404.0, 128.87, 0.0, 0, 100.44, 0, 2.0, 1, 1},
  {"BussComp Dalston Junction", -12.0, 0, 0.0, 66.14, 128.87, 0.0, 0, 152.5, 0, 62.22, 1, 1},
  {"BussComp Cockfosters", -12.0, 0, 0.0, 37.18, 9.06, 0.0, 0, 10.0, 0, 8.33, 1, 1},
  {"BussComp NY Chelsea (tweak compensation)", -39.12, 0, 11.84, 5.0, 1.0, 100.0, 0, 10.0, 0, 0.0, 0, 1},
  {"BussComp NY SoHo (tweak compensation)", -39.12, 0, 7.2, 52.88, 24.98, 100.0, 0, 10.0, 0, 0.0, 0, 1},
  {"BussComp Copenhagen", -6.96, 0, 0.0, 1018.46, 108.89, 15.2, 0, 38.88, 0, 2.8, 1, 1},
  {"BussComp Saskatoon", -6.96, 0, 0.0, 37.05, 315.67, 15.2, 0, 66.14, 0, 29.95, 1, 1},
};

constexpr FactoryPreset kGuitarAndBass[] = {
  {"Bass Guitar - Faith No Less", -18.53, 2, 0.0, 310.69, 27.85, 0.0, 1, 70.45, 0, 86.29, 1, 0},
  {"Guitar - Chunk Attack", -14.83, 1, 0.0, 2000.0, 67.39, 0.0, 0, 141.7, 0, 70.97, 1, 1},
  {"Guitar - A Disressing E", -12.05, 1, 0.0, 530.56, 102.3, 0.0, 0, 141.7, 0, 90.32, 1, 1},
  {"Guitar - A Distressing Cheater Tuning", -12.05, 1, 0.0, 991.77, 51.27, 0.0, 0, 120.11, 0, 96.51, 1, 1},
  {"Guitar - A Distressing Baritone", -9.27, 2, 0.0, 1587.06, 86.19, 0.0, 0, 63.98, 0, 100.0, 1, 1},
};

constexpr char kHiResPrefix[] = "HiRes ";
} // namespace

void Kestrel::MakeFactoryPresets()
{
  auto make = [this](const FactoryPreset& p, const char* name) {
    const IPresetParamValue values[] = {
      {kThreshold, p.mThreshold},
      {kRatio, double(p.mRatio)},
      {kCompensation, p.mCompensation},
      {kAttack, p.mAttackUs},
      {kRelease, p.mReleaseMs},
      {kParallel, p.mParallel},
      {kDecadence, double(p.mDecadence)},
      {kDetectorHPF, p.mDetectorHPF},
      {kSidechain, double(p.mSidechain)},
      {kImpetus, p.mImpetus},
      {kAutoMakeup, double(p.mAutoMakeup)},
      {kMeter, double(p.mMeter)},
    };
    static_assert(sizeof(values) / sizeof(values[0]) == kNumParams);
    MakePresetFromNamedParams(name, kNumParams, values);
  };

  MakeDefaultPreset(nullptr, 1);
  for (const FactoryPreset& p : kShowcase)
    make(p, p.mName);
  for (const FactoryPreset& p : kNamed)
    make(p, p.mName);
  for (const FactoryPreset& p : kNamed)
  {
    FactoryPreset hiRes = p;
    hiRes.mDecadence = 1;
    char name[MAX_PRESET_NAME_LEN];
    snprintf(name, sizeof(name), "%s%s", kHiResPrefix, p.mName);
    make(hiRes, name);
  }
  for (const FactoryPreset& p : kGuitarAndBass)
    make(p, p.mName);
}
