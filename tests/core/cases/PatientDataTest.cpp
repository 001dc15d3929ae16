#include "cases/PatientData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

#include "cases/Filemanage.h"
#include "cases/SampleCases.h"
#include "platform/Profile.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

DateParts Day(int y, int m, int d) {
  return {y, m, d, 0, 0, 0};
}

TEST(AgeRules, YearDifferenceOnly) {
  const BirthdayChoice c = ApplyBirthdayRules(Day(2023, 12, 31), Day(2024, 1, 1));
  EXPECT_EQ(c.age, 1);
  EXPECT_EQ(c.birthday, Day(2023, 12, 31));
  EXPECT_EQ(ApplyBirthdayRules(Day(1960, 12, 31), Day(2024, 1, 1)).age, 64);
  EXPECT_EQ(ApplyBirthdayRules(Day(1960, 1, 1), Day(2024, 12, 31)).age, 64);
  // The time of day a picker may carry plays no part.
  EXPECT_EQ(ApplyBirthdayRules(DateParts{1960, 1, 1, 13, 45, 10}, Day(2024, 6, 1)).birthday,
            Day(1960, 1, 1));
}

TEST(AgeRules, FloorOf150YearsAndNoFutureDates) {
  const DateParts today = Day(2024, 6, 15);
  BirthdayChoice old = ApplyBirthdayRules(Day(1824, 8, 9), today);
  EXPECT_EQ(old.birthday, Day(1874, 1, 1));
  EXPECT_EQ(old.age, 150);
  old = ApplyBirthdayRules(Day(1874, 12, 31), today);  // exactly Y - 150 is at the floor
  EXPECT_EQ(old.birthday, Day(1874, 1, 1));
  EXPECT_EQ(ApplyBirthdayRules(Day(1875, 3, 3), today).age, 149);

  for (const DateParts future : {Day(2031, 1, 1), Day(2024, 6, 16), Day(2024, 12, 31)}) {
    const BirthdayChoice c = ApplyBirthdayRules(future, today);
    EXPECT_EQ(c.birthday, today) << future.year << "-" << future.month;
    EXPECT_EQ(c.age, 0);
  }
  EXPECT_EQ(ApplyBirthdayRules(today, today).birthday, today);
  // No date chosen, or a date that does not exist.
  EXPECT_EQ(ApplyBirthdayRules(std::nullopt, today).age, 0);
  EXPECT_FALSE(ApplyBirthdayRules(std::nullopt, today).birthday);
  EXPECT_EQ(ApplyBirthdayRules(Day(2001, 2, 29), today).birthday, today);
  EXPECT_EQ(AgeOn(OleDateTime{}, today), 0);
  EXPECT_EQ(AgeOn(OleDateTime::FromParts(1990, 7, 1), today), 34);
}

TEST(AgeRules, BirthdayShownWhenThePageOpens) {
  const DateParts today = Day(2024, 6, 15);
  const OleDateTime recorded = OleDateTime::FromParts(1971, 4, 2);
  EXPECT_FALSE(BirthdayShown(BirthdayMarker::NotEntered, recorded, today));
  EXPECT_EQ(BirthdayShown(BirthdayMarker::Entered, recorded, today), Day(1971, 4, 2));
  EXPECT_EQ(BirthdayShown(BirthdayMarker::Missing, recorded, today), Day(1971, 4, 2));
  OleDateTime invalid;
  invalid.status = OleDateTime::Invalid;
  EXPECT_EQ(BirthdayShown(BirthdayMarker::Entered, invalid, today), today);
  EXPECT_TRUE(IsNoBirthdayMarker("-1--1--1"));
  EXPECT_FALSE(IsNoBirthdayMarker("-1--1--1 "));
  EXPECT_FALSE(IsNoBirthdayMarker("1956-3-7"));
}

class PatientFile : public ::testing::Test {
 protected:
  TempDir dir;
  _FILE_ALL_INFO sample = [] {
    SampleOptions o;
    o.seed = 3;
    o.language = 1;
    return MakeAmbulatorySample(o);
  }();
  std::string Make(const std::string& name, int version) {
    const std::string path = dir / name;
    EXPECT_EQ(WriteSampleCase(path, sample, version), CaseFileResult::Ok);
    return path;
  }
};

TEST_F(PatientFile, LoadAndSaveKeepTheFileVersionAndEveryField) {
  for (int version : {1, 2}) {
    const std::string path = Make("v" + std::to_string(version) + ".awp", version);
    _PATIENT_INFO p;
    ASSERT_EQ(LoadCasePatient(path, p), CaseFileResult::Ok);
    EXPECT_EQ(p, sample.patient);
    p.name = "陈丽华 = [Chen] ; \"quoted\"";
    p.extra[4] = "line one\r\nline two";
    p.email = "";
    p.birthday = OleDateTime::FromParts(1949, 10, 1);
    p.age = 75;
    ASSERT_EQ(SaveCasePatient(path, p), CaseFileResult::Ok);
    _PATIENT_INFO back;
    ASSERT_EQ(LoadCasePatient(path, back), CaseFileResult::Ok);
    EXPECT_EQ(back, p);
    _SUB_VERSION v;
    ASSERT_EQ(CFilemanage::GetFileVersion(path, v), 1);
    EXPECT_EQ(v.nMain, version);
    // The readings are untouched by a patient save.
    auto file = CFilemanage::CreateFor(path);
    ASSERT_EQ(file->LoadAllInfo(), 1);
    EXPECT_EQ(file->FileInfo().readings, sample.readings);
  }
}

TEST_F(PatientFile, NonCaseFilesAreNeitherReadNorOverwritten) {
  WriteBytes(dir / "notes.awp", "[PATIENT DATA]\r\nName=someone\r\n");
  _PATIENT_INFO p;
  p.name = "kept";
  EXPECT_NE(LoadCasePatient(dir / "notes.awp", p), CaseFileResult::Ok);
  EXPECT_EQ(p.name, "kept");
  EXPECT_NE(SaveCasePatient(dir / "notes.awp", p), CaseFileResult::Ok);
  EXPECT_EQ(ReadBytes(dir / "notes.awp"), "[PATIENT DATA]\r\nName=someone\r\n");
  EXPECT_NE(SaveCasePatient(dir / "missing.awp", p), CaseFileResult::Ok);
  EXPECT_FALSE(std::ifstream(dir / "missing.awp").good());
}

TEST_F(PatientFile, BirthdayMarkerIsReadWithTheProfileReader) {
  const std::string path = Make("c.awp", 2);
  EXPECT_EQ(ReadBirthdayMarker(path), BirthdayMarker::Entered);
  _PATIENT_INFO p = sample.patient;
  p.birthday = OleDateTime{};
  ASSERT_EQ(SaveCasePatient(path, p), CaseFileResult::Ok);
  EXPECT_EQ(ReadBirthdayMarker(path), BirthdayMarker::NotEntered);
  EXPECT_EQ(ReadBirthdayMarker(dir / "none.awp"), BirthdayMarker::Missing);
  // A marker written by hand in another letter case still means "not entered".
  profile::ProfileFile file(dir / "hand.awp");
  ASSERT_TRUE(file.Set("PATIENT DATA", "Birthday", "-1--1--1"));
  EXPECT_EQ(ReadBirthdayMarker(dir / "hand.awp"), BirthdayMarker::NotEntered);
}

// Birthdays on the days the clocks change keep their date, and the age rules see them as the
// dates they are, whatever the local zone does at 02:00.
TEST_F(PatientFile, BirthdaysOnClockChangeDaysUnderEuropeBerlin) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  const std::string path = Make("dst.awp", 2);
  for (const DateParts day : {Day(2024, 3, 31), Day(2024, 10, 27)}) {
    _PATIENT_INFO p = sample.patient;
    p.birthday = OleDateTime::FromParts(day);
    ASSERT_EQ(SaveCasePatient(path, p), CaseFileResult::Ok);
    _PATIENT_INFO back;
    ASSERT_EQ(LoadCasePatient(path, back), CaseFileResult::Ok);
    DateParts parts;
    ASSERT_TRUE(back.birthday.ToParts(parts));
    EXPECT_EQ(parts, day);
    const BirthdayChoice same = ApplyBirthdayRules(parts, day);
    EXPECT_EQ(same.birthday, day);
    EXPECT_EQ(same.age, 0);
    EXPECT_EQ(ApplyBirthdayRules(parts, Day(2025, 1, 1)).age, 1);
    EXPECT_EQ(ApplyBirthdayRules(Day(day.year, day.month, day.day + 1), day).birthday, day);
  }
  if (old)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace vesk
