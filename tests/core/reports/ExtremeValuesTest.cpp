// Stored values at the ends of their ranges. A case file can hold any 32-bit value in any
// field; every figure made from them must stay defined (the sanitizer build turns a wrapped
// sum, difference or product into a failure) and keep its sign.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "ReportTestData.h"
#include "analysis/ClinicalIndices.h"
#include "analysis/DayNight.h"
#include "cases/AwpFormat.h"
#include "cases/CaseDocument.h"
#include "platform/DateTime.h"
#include "reports/ReportFiles.h"
#include "support/TempDir.h"

namespace vesk::test {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int16_t kMin16 = std::numeric_limits<int16_t>::min();
constexpr int16_t kMax16 = std::numeric_limits<int16_t>::max();

TEST(ExtremeValues, PlanTimesStayInsideTheInt32Range) {
  EXPECT_EQ(PlanMinutes(7, 30), 450);
  EXPECT_EQ(PlanMinutes(-1, -1), -61);
  EXPECT_EQ(PlanMinutes(kMax, kMax), kMax);
  EXPECT_EQ(PlanMinutes(kMin, kMin), kMin);
  EXPECT_EQ(PlanMinutes(kMin, kMax), kMin) << "-2^31 * 60 + 2^31 is still below the range";
  EXPECT_EQ(PlanMinutes(35791394, 0), 2147483640) << "the largest hour that fits";
}

TEST(ExtremeValues, PulsePressureKeepsItsSign) {
  _BP_RECORD r;
  r.sys = kMin, r.dia = kMax16;
  EXPECT_EQ(ValueOf(r, Quantity::Pp), kMin);
  r.sys = kMax, r.dia = kMin16;
  EXPECT_EQ(ValueOf(r, Quantity::Pp), kMax);
  r.sys = kMax, r.dia = 1;
  EXPECT_EQ(ValueOf(r, Quantity::Pp), kMax - 1);
  r.sys = 120, r.dia = 80;
  EXPECT_EQ(ValueOf(r, Quantity::Pp), 40);
}

TEST(ExtremeValues, AsleepLengthOfAnyPeriodStarts) {
  EXPECT_EQ(AsleepMinutes(22 * 60, 7 * 60), 540);
  EXPECT_EQ(AsleepMinutes(kMin, kMax), kMax) << "2^32 - 1 minutes, kept in range";
  EXPECT_EQ(AsleepMinutes(kMax, kMin), kMin);
}

TEST(ExtremeValues, MinuteStampOfAnyClockFields) {
  const int64_t day = DaysFromCivil(2024, 3, 1);
  EXPECT_EQ(MinuteStamp(2024, 3, 1, kMax, kMax), day * 1440 + int64_t{kMax} * 61);
  EXPECT_EQ(MinuteStamp(2024, 3, 1, kMin, kMin), day * 1440 + int64_t{kMin} * 61);
  EXPECT_EQ(MinuteStamp(2024, 3, 1, 8, 30), day * 1440 + 510);
}

class KeyTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

// Valid readings among readings whose every stored value sits at an end of its type, a plan
// of extremes, and SpO2 samples whose offsets jump between the ends.
_FILE_ALL_INFO CaseAtTheEnds(int32_t planValue, int32_t asleepValue) {
  _FILE_ALL_INFO f = SmallCase();
  f.modelCode = kPexa;
  f.modelName = "PEXA";
  f.patient.age = kMin, f.patient.height = kMax, f.patient.weight = kMin;
  for (int32_t* v : {&f.plan.awakeHour, &f.plan.awakeMinute, &f.plan.asleepHour,
                     &f.plan.asleepMinute, &f.plan.specialStartHour, &f.plan.specialStartMinute,
                     &f.plan.specialEndHour, &f.plan.specialEndMinute, &f.plan.awakeInterval,
                     &f.plan.asleepInterval, &f.plan.specialInterval})
    *v = planValue;
  f.plan.asleepHour = f.plan.asleepMinute = asleepValue;
  for (int i = 0; i < 4; ++i) {
    _BP_RECORD r = Reading(3 + i, 5, 10, 0, 0, 0, 0, 0);
    const bool high = i % 2 == 0;
    r.sys = high ? kMax : kMin;
    r.dia = r.map = r.pr = r.spo2 = high ? kMin16 : kMax16;
    r.year = high ? kMax : kMin;
    r.month = r.day = r.hour = r.minute = r.seconds = high ? kMax16 : kMin16;
    r.errorCode = high ? kMax16 : kMin16;
    f.readings.push_back(r);
  }
  f.bpHead.count() = static_cast<int32_t>(f.readings.size());
  for (int32_t offset : {0, 1, kMax, kMin, 2, kMax - 1}) {
    _SPO2_SAMPLE s;
    s.spo2 = 90, s.pr = 70, s.offset = offset;
    f.samples.push_back(s);
  }
  f.spo2Head.v[0] = static_cast<int32_t>(f.samples.size());
  f.spo2Head.v[1] = 2024, f.spo2Head.v[2] = 3, f.spo2Head.v[3] = 5;
  f.spo2Head.v[4] = 9, f.spo2Head.v[5] = 0, f.spo2Head.v[6] = 0;
  return f;
}

TEST(ExtremeValues, ACaseAtTheEndsOpensAndReports) {
  CLanguage language;
  LoadEnglish(language);
  for (auto [planValue, asleepValue] : {std::pair{kMax, kMax}, std::pair{kMin, kMin},
                                        std::pair{kMax, kMin}, std::pair{kMin, kMax}}) {
    SCOPED_TRACE(testing::Message() << planValue << " " << asleepValue);
    TempDir dir;
    const std::string path = dir / "ends.awp";
    test::WriteBytes(path, awp::Serialize(CaseAtTheEnds(planValue, asleepValue), 2));
    CaseState state;
    KeyTexts texts;
    CaseDocument doc(state, texts);
    doc.SetCasePath(path);
    ASSERT_EQ(doc.LoadCase(), 1);
    EXPECT_EQ(doc.AwakeStart(), planValue);
    EXPECT_EQ(doc.AsleepStart(), asleepValue);
    EXPECT_EQ(doc.ValidReadings().size(), 3u) << "only the three ordinary readings are valid";

    const ReportData d = BuildReportData(ReportCaseOf(doc), AllPages(), ReportOptions{}, language);
    EXPECT_EQ(d.statistics.analysedCount, 3);
    for (ReportFileId id : ReportFilesFor(AllPages().pages)) {
      ReportData back;
      std::string error;
      EXPECT_TRUE(DecodeReportFile(id, EncodeReportFile(id, d), back, &error)) << error;
    }
  }
}

}  // namespace
}  // namespace vesk::test
