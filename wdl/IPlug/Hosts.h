#pragma once
// Host identification: the binding hands over a host name (the VST product
// string or the Audio Unit host's bundle identifier) and the plug-in adapts
// to a few hosts by id.

enum EHost
{
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostProTools = 2,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostSonar = 5,
  kHostVegas = 6,
  kHostFL = 7,
  kHostSamplitude = 8,
  kHostAbletonLive = 9,
  kHostTracktion = 10,
  kHostNTracks = 11,
  kHostMelodyneStudio = 12,
  kHostVSTScanner = 13,
  kHostAULab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostBias = 19,
  kHostSAWStudio = 20,
  kHostLogic = 21,
  kHostDigitalPerformer = 22,
  kHostArdour = 23,
};
using EHostId = int;

// Host names are looked at up to this many characters; longer names are cut.
constexpr int kMaxHostNameLen = 255;

EHostId LookUpHost(const char* host);
