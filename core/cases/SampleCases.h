#pragma once
// Realistic, reproducible recordings for demonstrations, tests and benchmarks. Every value
// comes from a small generator of our own working on integers only, so one seed gives the same
// case on every machine and with every standard library.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cases/CaseFileResult.h"
#include "cases/CaseRecord.h"
#include "platform/DateTime.h"

namespace vesk {

// splitmix64: tiny, fast and fully specified, unlike the distributions of <random>.
class SampleRandom {
 public:
  explicit SampleRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  // Uniform in [lo, hi] (inclusive); lo when hi < lo.
  int Range(int lo, int hi);
  // Roughly bell-shaped around 0 with the given spread (sum of four uniforms, integers only).
  int Noise(int spread);
  // True with the probability percent / 100.
  bool Chance(int percent) { return Range(0, 99) < percent; }

 private:
  uint64_t state_;
};

struct SampleOptions {
  uint64_t seed = 1;
  // Wall-clock time of the first reading (or of the first SpO2 sample).
  DateParts start{2024, 3, 30, 9, 12, 0};
  // Device kind of an ambulatory recording: 1, 2, 4 or 6.
  int deviceKind = kTaloBlack;
  // Readings moved back in time, as after a clock reset of the recorder (0 to 2).
  int outOfOrder = 0;
  // Percent of measurements that fail with an error code.
  int failurePercent = 6;
  // 0: English patient, 1: Chinese patient, -1: chosen by the seed.
  int language = -1;
};

// A 24-hour ambulatory recording: readings every 15-30 minutes awake and 30-60 minutes
// asleep with a nocturnal dip, failed measurements with their error codes and a retry a few
// minutes later, a few marked readings. Data mode 1, case file version 2.
_FILE_ALL_INFO MakeAmbulatorySample(const SampleOptions& options);

// Readings taken by the patient on a TALOColor in single-user mode: morning and evening
// pairs over two weeks, the generated identity "SingleUser"/"000" and the default plan.
_FILE_ALL_INFO MakeSingleUserSample(const SampleOptions& options);

// A 48-hour MIRU recording in data mode 2: blood pressure every 30/60 minutes and a 1 Hz
// SpO2 and pulse series (48 * 3600 samples) with desaturation episodes during sleep.
_FILE_ALL_INFO MakeMiruSample(const SampleOptions& options);

// QORA home readings of users 1 to 3 ("User1"/"001" ...), one case per user.
std::array<_FILE_ALL_INFO, 3> MakeQoraSamples(const SampleOptions& options);

// Writes a case file as a download would (version 2, through the case-file library), or in
// the older version-1 layout. Returns the library's result: Ok or an error code.
[[nodiscard]] CaseFileResult WriteSampleCase(const std::string& path, const _FILE_ALL_INFO& info,
                                             int version = 2);

// The sample kinds by name, for the command line: "ambulatory", "singleuser", "miru",
// "qora1", "qora2", "qora3".
std::vector<std::string> SampleKindNames();
// False for an unknown name.
bool MakeSampleByName(const std::string& kind, const SampleOptions& options, _FILE_ALL_INFO& out);

}  // namespace vesk
