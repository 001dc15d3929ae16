#include "cases/SampleCases.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "cases/Filemanage.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

int64_t Stamp(const _BP_RECORD& r) {
  return MinuteStamp(r.year, r.month, r.day, r.hour, r.minute);
}

// FNV-1a over the fields that matter: pins the generator, so a change of platform, compiler
// or standard library that would alter a sample shows up here.
uint64_t Fingerprint(const _FILE_ALL_INFO& f) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&](int64_t v) {
    for (int i = 0; i < 8; ++i) h = (h ^ static_cast<uint8_t>(v >> (8 * i))) * 1099511628211ull;
  };
  for (const _BP_RECORD& r : f.readings) {
    mix(Stamp(r));
    mix(r.seconds);
    mix(r.sys), mix(r.dia), mix(r.map), mix(r.pr), mix(r.errorCode), mix(r.mark);
  }
  for (const _SPO2_SAMPLE& s : f.samples) mix(s.spo2 | s.pr << 8 | int64_t(s.offset) << 16);
  for (char c : f.patient.name) mix(c);
  return h;
}

TEST(SampleRandom, IsSplitmix64) {
  SampleRandom r(0);
  EXPECT_EQ(r.Next(), 0xE220A8397B1DCDAFull);
  EXPECT_EQ(r.Next(), 0x6E789E6AA1B965F4ull);
  for (int i = 0; i < 1000; ++i) {
    const int v = r.Range(-3, 4);
    ASSERT_TRUE(v >= -3 && v <= 4);
  }
  EXPECT_EQ(r.Range(5, 5), 5);
  EXPECT_EQ(r.Range(5, 2), 5);
}

TEST(SampleCases, SameSeedSameCaseEverywhere) {
  SampleOptions o;
  EXPECT_EQ(MakeAmbulatorySample(o), MakeAmbulatorySample(o));
  EXPECT_EQ(Fingerprint(MakeAmbulatorySample(o)), 14953156403001708210ull);
  EXPECT_EQ(Fingerprint(MakeMiruSample(o)), 3065712779896338619ull);
  EXPECT_EQ(Fingerprint(MakeQoraSamples(o)[1]), 10513457871563474055ull);
  SampleOptions other = o;
  other.seed = 2;
  EXPECT_NE(MakeAmbulatorySample(other).readings, MakeAmbulatorySample(o).readings);
}

TEST(SampleCases, AmbulatoryDayLooksLikeARecording) {
  int dippers = 0;
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    SampleOptions o;
    o.seed = seed;
    const _FILE_ALL_INFO f = MakeAmbulatorySample(o);
    SCOPED_TRACE(seed);
    EXPECT_EQ(f.dataMode, 1);
    EXPECT_EQ(f.bpHead.v[0], static_cast<int32_t>(f.readings.size()));
    ASSERT_GE(f.readings.size(), 40u);
    EXPECT_TRUE(IsChronological(f.readings));
    const int64_t span = Stamp(f.readings.back()) - Stamp(f.readings.front());
    EXPECT_GE(span, 22 * 60);
    EXPECT_LE(span, 24 * 60 + 10);
    const int awake = f.plan.awakeHour * 60 + f.plan.awakeMinute;
    const int asleep = f.plan.asleepHour * 60 + f.plan.asleepMinute;
    EXPECT_TRUE(f.plan.awakeInterval >= 15 && f.plan.awakeInterval <= 30);
    EXPECT_TRUE(f.plan.asleepInterval >= 30 && f.plan.asleepInterval <= 60);
    int64_t sysDay = 0, nDay = 0, sysNight = 0, nNight = 0, failed = 0;
    for (size_t i = 0; i < f.readings.size(); ++i) {
      const _BP_RECORD& r = f.readings[i];
      EXPECT_EQ(r.index, static_cast<int32_t>(i));
      if (r.errorCode != 0) {
        ++failed;
        EXPECT_FALSE(IsValidReading(r));
        EXPECT_EQ(r.included, 0);
        continue;
      }
      ASSERT_TRUE(IsValidReading(r)) << i;
      const int t = r.hour * 60 + r.minute;
      const bool night = t >= asleep + 60 || t < awake - 30;  // clear of the transitions
      (night ? sysNight : sysDay) += r.sys;
      ++(night ? nNight : nDay);
    }
    EXPECT_LT(failed, static_cast<int64_t>(f.readings.size()) / 4);
    ASSERT_GT(nNight, 3);
    // The nocturnal dip; a few patients are non-dippers, as in real life.
    EXPECT_LT(sysNight / nNight, sysDay / nDay + 6);
    if (sysNight * 100 / nNight <= sysDay * 90 / nDay) ++dippers;
    EXPECT_EQ(ModelName(f.modelCode), f.modelName);
  }
  EXPECT_GE(dippers, 10);
}

TEST(SampleCases, OutOfOrderReadingsOnRequest) {
  SampleOptions o;
  o.outOfOrder = 1;
  EXPECT_FALSE(IsChronological(MakeAmbulatorySample(o).readings));
  o.outOfOrder = 2;
  const _FILE_ALL_INFO f = MakeAmbulatorySample(o);
  int backwards = 0;
  for (size_t i = 1; i < f.readings.size(); ++i)
    if (IsValidDate(f.readings[i].year, f.readings[i].month, f.readings[i].day, 0) &&
        Stamp(f.readings[i]) < Stamp(f.readings[i - 1]))
      ++backwards;
  EXPECT_EQ(backwards, 2);
}

TEST(SampleCases, MiruHasTwoDaysOfOneHertzSpo2WithDesaturations) {
  const _FILE_ALL_INFO f = MakeMiruSample({});
  EXPECT_EQ(f.modelCode, kMiru);
  EXPECT_EQ(f.dataMode, 2);
  ASSERT_EQ(f.samples.size(), 172800u);
  EXPECT_EQ(f.spo2Head.v[0], 172800);
  EXPECT_EQ(f.samples.back().offset, 172799);
  EXPECT_GE(f.readings.size(), 150u);
  EXPECT_LE(f.readings.size(), 260u);
  int episodes = 0, below90 = 0;
  bool in = false;
  for (const _SPO2_SAMPLE& s : f.samples) {
    ASSERT_LE(s.spo2, 100);
    if (s.spo2 > 0 && s.spo2 < 90) ++below90;
    const bool low = s.spo2 > 0 && s.spo2 <= 91;
    if (low && !in) ++episodes;
    in = low;
  }
  EXPECT_GE(episodes, 10);
  EXPECT_GT(below90, 0);
  for (const _BP_RECORD& r : f.readings)
    if (r.errorCode == 0) {
      EXPECT_TRUE(r.spo2 > 0 && r.spo2 < 100);
    }
}

TEST(SampleCases, GeneratedIdentitiesAndDefaultPlans) {
  const auto qora = MakeQoraSamples({});
  for (int u = 0; u < 3; ++u) {
    const _FILE_ALL_INFO& f = qora[size_t(u)];
    EXPECT_EQ(f.modelCode, kQora);
    EXPECT_EQ(f.dataMode, 4 + u);
    EXPECT_EQ(f.patient.name, "User" + std::to_string(u + 1));
    EXPECT_EQ(f.patient.caseId, "00" + std::to_string(u + 1));
    EXPECT_EQ(std::string(f.plan.patientName), f.patient.name);
    EXPECT_EQ(f.plan.manualSet, 1);
    EXPECT_EQ(f.plan.startKey, 1);
    EXPECT_FALSE(f.readings.empty());
    EXPECT_EQ(f.plan.year, f.readings[0].year);
    EXPECT_EQ(f.plan.minute, f.readings[0].minute);
  }
  const _FILE_ALL_INFO single = MakeSingleUserSample({});
  EXPECT_EQ(single.modelCode, kTaloColor);
  EXPECT_EQ(single.patient.name, "SingleUser");
  EXPECT_EQ(single.patient.caseId, "000");
  EXPECT_EQ(single.plan.manualSet, 0);
  EXPECT_EQ(single.plan.awakeInterval, 60);
  EXPECT_EQ(single.plan.asleepInterval, 30);
  EXPECT_EQ(single.plan.specialStartHour, -1);
}

TEST(SampleCases, WrittenInBothVersionsAndReadBack) {
  test::TempDir dir;
  SampleOptions o;
  o.language = 1;
  const _FILE_ALL_INFO miru = MakeMiruSample(o);
  ASSERT_EQ(WriteSampleCase(dir / "m.awp", miru, 2), CaseFileResult::Ok);
  auto file = CFilemanage::CreateFor(dir / "m.awp");
  ASSERT_EQ(file->LoadAllInfo(), 1);
  EXPECT_EQ(file->FileInfo(), miru);

  const _FILE_ALL_INFO amb = MakeAmbulatorySample(o);
  ASSERT_EQ(WriteSampleCase(dir / "v1.awp", amb, 1), CaseFileResult::Ok);
  _SUB_VERSION v;
  ASSERT_EQ(CFilemanage::GetFileVersion(dir / "v1.awp", v), 1);
  EXPECT_EQ(v.nMain, 1);
  auto old = CFilemanage::CreateFor(dir / "v1.awp");
  ASSERT_EQ(old->LoadAllInfo(), 1);
  EXPECT_EQ(old->FileInfo().patient, amb.patient);
  EXPECT_EQ(old->FileInfo().readings, amb.readings);
  EXPECT_EQ(old->FileInfo().plan, amb.plan);
}

// Samples are built from wall-clock fields: a recording over the spring clock change has its
// readings between 02:00 and 03:00, however the local zone sees that hour.
TEST(SampleCases, ClockChangesOfTheLocalZoneDoNotShiftReadings) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  SampleOptions o;
  o.start = {2024, 3, 30, 20, 0, 0};
  o.failurePercent = 0;
  const _FILE_ALL_INFO spring = MakeAmbulatorySample(o);
  o.start = {2024, 10, 26, 20, 0, 0};
  const _FILE_ALL_INFO autumn = MakeAmbulatorySample(o);
  if (old)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  for (const _FILE_ALL_INFO* f : {&spring, &autumn}) {
    int inHour = 0;
    for (size_t i = 1; i < f->readings.size(); ++i) {
      const int64_t gap = Stamp(f->readings[i]) - Stamp(f->readings[i - 1]);
      EXPECT_GE(gap, f->plan.awakeInterval - 1);
      EXPECT_LE(gap, 61);
      if (f->readings[i].hour == 2) ++inHour;
    }
    EXPECT_GE(inHour, 1);
  }
}

}  // namespace
}  // namespace vesk
