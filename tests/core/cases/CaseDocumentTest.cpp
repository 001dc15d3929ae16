// Opening a case: result codes, the reading lists, the derived times and flags, the
// application state, and saving edited readings.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "CaseTestData.h"
#include "cases/AwpFormat.h"
#include "cases/CaseDocument.h"
#include "cases/Filemanage.h"
#include "support/Comparable.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::Reading;
using test::SimpleCase;

// The library's codes and the loading codes meet only their own kind: an int from one of the
// int32 operations must go through ToInt or CaseFileResultOf, where the reader sees it.
using test::Comparable;
static_assert(Comparable<CaseFileResult, CaseFileResult>);
static_assert(!Comparable<CaseFileResult, int32_t>);
static_assert(!Comparable<CaseFileResult, CaseLoadResult>);
static_assert(!Comparable<CaseLoadResult, int32_t>);
// The numbers are what the int32 operations and LoadCase answer with; they never move.
static_assert(ToInt(CaseFileResult::Ok) == 1 && ToInt(CaseFileResult::Failed) == 0);
static_assert(ToInt(CaseFileResult::TooLarge) == 3 && ToInt(CaseFileResult::Changed) == 16);
static_assert(ToInt(CaseLoadResult::Ok) == ToInt(CaseFileResult::Ok));
static_assert(ToInt(CaseLoadResult::Locked) == 4 && ToInt(CaseLoadResult::NoData) == 13);
static_assert(CaseFileResultOf(ToInt(CaseFileResult::BadCount)) == CaseFileResult::BadCount);

TEST(CaseFileResult, EveryCodeHasItsOwnText) {
  const CaseFileResult all[] = {
      CaseFileResult::Failed,      CaseFileResult::Ok,          CaseFileResult::CannotOpen,
      CaseFileResult::TooLarge,    CaseFileResult::NotCaseFile, CaseFileResult::BadVersion,
      CaseFileResult::BadCount,    CaseFileResult::BadValue,    CaseFileResult::Missing,
      CaseFileResult::WriteFailed, CaseFileResult::ReadOnly,    CaseFileResult::Changed};
  const std::string unknown = CaseFileResultText(CaseFileResultOf(4));
  std::set<std::string> seen;
  for (CaseFileResult r : all) {
    const std::string text = CaseFileResultText(r);
    EXPECT_NE(text, unknown) << ToInt(r);
    EXPECT_TRUE(seen.insert(text).second) << ToInt(r);
  }
  // The loading codes are not the library's: a log that names one says so.
  EXPECT_EQ(CaseFileResultText(CaseFileResultOf(ToInt(CaseLoadResult::NoData))), unknown);
}

class KeyTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t code) const override {
    const char* key = ErrorCodeKey(code);
    return *key ? std::string("text of ") + key : std::string();
  }
};

class CaseDocumentTest : public ::testing::Test {
 protected:
  // Writes the case (version 2 unless asked) and loads it into the document.
  int32_t Open(const _FILE_ALL_INFO& f, int version = 2) {
    const std::string path = dir_ / "case.awp";
    test::WriteBytes(path, awp::Serialize(f, version));
    doc_.SetCasePath(path);
    return doc_.LoadCase();
  }

  test::TempDir dir_;
  CaseState state_;
  KeyTexts texts_;
  CaseDocument doc_{state_, texts_};
};

TEST_F(CaseDocumentTest, ValidityDecidesTheLists) {
  _BP_RECORD excluded = Reading(2024, 1, 1, 8, 30);
  excluded.included = 0;
  const std::vector<_BP_RECORD> readings = {
      Reading(2024, 1, 1, 8, 0),                     // valid
      Reading(2024, 1, 1, 8, 10, 120, 80, 120, 70),  // MAP equal to SYS
      Reading(2024, 1, 1, 8, 15, 130, 80, 97, 400),  // pulse 400
      Reading(2024, 1, 1, 8, 20, 130, 80, 97, 399),  // pulse 399
      Reading(2024, 2, 31, 8, 25),                   // 31 February
      excluded,                                      // valid, left out by the user
  };
  ASSERT_EQ(Open(SimpleCase(readings)), 1);
  ASSERT_EQ(doc_.AllReadings().size(), 6u);
  std::vector<int> included;
  for (const auto& r : doc_.AllReadings()) included.push_back(r.included);
  EXPECT_EQ(included, (std::vector<int>{1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(doc_.ValidReadings().size(), 3u);
  ASSERT_EQ(doc_.AnalysedReadings().size(), 2u);
  EXPECT_EQ(doc_.AnalysedReadings()[1].pr, 399);
  EXPECT_EQ(doc_.LastValidTime(), (MinuteTime{2024, 1, 1, 8, 30}));

  // Editing the included flag and rebuilding, as the data table does.
  doc_.AllReadings()[0].included = 0;
  doc_.RebuildLists();
  EXPECT_EQ(doc_.AnalysedReadings().size(), 1u);
}

TEST_F(CaseDocumentTest, OnlyInvalidReadingsStillOpen) {
  ASSERT_EQ(Open(SimpleCase({Reading(2024, 1, 1, 8, 0, 0, 0, 0, 0), Reading(2024, 2, 30, 9, 0)})),
            1);
  EXPECT_EQ(doc_.AllReadings().size(), 2u);
  EXPECT_TRUE(doc_.ValidReadings().empty());
  EXPECT_TRUE(doc_.AnalysedReadings().empty());
  EXPECT_EQ(doc_.MultiDay(), 1);
  EXPECT_EQ(doc_.LastValidTime(), MinuteTime{});
}

// Readings from `start` to `start` plus the given minutes, every 30 minutes and at the end.
std::vector<_BP_RECORD> Span(int minutes) {
  std::vector<_BP_RECORD> out;
  const int64_t first = MinuteStamp(2024, 3, 29, 12, 0);
  for (int m = 0;; m = std::min(m + 30, minutes)) {
    int y, mo, d;
    const int64_t t = first + m;
    CivilFromDays(t / 1440, y, mo, d);
    out.push_back(Reading(y, mo, d, static_cast<int>(t % 1440 / 60), static_cast<int>(t % 60)));
    if (m == minutes) break;
  }
  return out;
}

TEST_F(CaseDocumentTest, LayoutFollowsSpanOrderAndMode) {
  // Wall-clock fields only: the spans cross Berlin's March switch and must not lose an hour.
  const char* oldTz = std::getenv("TZ");
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  struct Case {
    std::vector<_BP_RECORD> readings;
    int dataMode;
    int multiDay;
  };
  std::vector<_BP_RECORD> outOfOrder = Span(24 * 60);
  std::swap(outOfOrder[3], outOfOrder[4]);
  std::vector<_BP_RECORD> invalidAtEnd = Span(72 * 60);
  invalidAtEnd.push_back(Reading(2024, 4, 9, 12, 0, 0, 0, 0, 0));  // not valid: not counted
  const Case cases[] = {
      {Span(72 * 60), 1, 0}, {Span(72 * 60 + 59), 2, 0}, {Span(73 * 60), 1, 1},
      {Span(60), 1, 0},      {Span(59), 1, 1},           {Span(24 * 60), 0, 1},
      {Span(24 * 60), 3, 1}, {outOfOrder, 1, 1},         {invalidAtEnd, 1, 0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Open(SimpleCase(c.readings, c.dataMode)), 1);
    EXPECT_EQ(doc_.MultiDay(), c.multiDay) << &c - cases;
    EXPECT_EQ(doc_.Scheduled(), c.dataMode == 1 || c.dataMode == 2 ? 1 : 0);
    EXPECT_EQ(state_.scheduled, doc_.Scheduled());
  }
  if (oldTz)
    setenv("TZ", oldTz, 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST_F(CaseDocumentTest, PlanTimesBecomeMinutesOfTheDay) {
  _FILE_ALL_INFO f = SimpleCase({Reading(2024, 1, 1, 8, 0)});
  f.plan.awakeHour = 6, f.plan.awakeMinute = 30;
  f.plan.asleepHour = 23, f.plan.asleepMinute = 15;
  f.plan.specialStartHour = 255, f.plan.specialStartMinute = 30;
  f.plan.specialEndHour = 14, f.plan.specialEndMinute = 45;
  f.plan.specialInterval = 255;
  ASSERT_EQ(Open(f), 1);
  EXPECT_EQ(doc_.AwakeStart(), 390);
  EXPECT_EQ(doc_.AsleepStart(), 1395);
  EXPECT_EQ(state_.awakeStartMinutes, 390);
  EXPECT_EQ(state_.asleepStartMinutes, 1395);
  EXPECT_EQ(doc_.SpecialStart(), -1);
  EXPECT_EQ(doc_.Plan().specialStartHour, -1);
  EXPECT_EQ(doc_.Plan().specialStartMinute, 30);
  EXPECT_EQ(doc_.SpecialEnd(), 14 * 60 + 45);
  EXPECT_EQ(doc_.Plan().specialInterval, 0);

  // The fresh plan's -1 fields mean "not set" too (never minute -61).
  f.plan = _BP_TRANSPORT_INFO{};
  f.plan.specialEndMinute = 255;
  ASSERT_EQ(Open(f), 1);
  EXPECT_EQ(doc_.SpecialStart(), -1);
  EXPECT_EQ(doc_.SpecialEnd(), -1);
  EXPECT_EQ(doc_.Plan().specialEndMinute, -1);
}

TEST_F(CaseDocumentTest, EmptyCommentsShowTheErrorText) {
  _BP_RECORD cuff = Reading(2024, 1, 1, 8, 0, 0, 0, 0, 0);
  cuff.errorCode = 6;
  _BP_RECORD own = cuff;
  own.comment = "patient moved";
  _BP_RECORD none = Reading(2024, 1, 1, 9, 0);
  ASSERT_EQ(Open(SimpleCase({cuff, own, none})), 1);
  EXPECT_EQ(doc_.AllReadings()[0].comment, "text of IDS_LOOSE_CUFF");
  EXPECT_EQ(doc_.AllReadings()[1].comment, "patient moved");
  EXPECT_EQ(doc_.AllReadings()[2].comment, "");
}

TEST_F(CaseDocumentTest, ResultCodesAndStateOnFailure) {
  ASSERT_EQ(Open(SimpleCase({Reading(2024, 1, 1, 8, 0)})), 1);
  const std::string openPath = doc_.CasePath();
  state_.caseOpen = 1;

  _FILE_ALL_INFO locked = SimpleCase({Reading(2025, 1, 1, 8, 0), Reading(2025, 1, 1, 9, 0)});
  locked.locked = 1;
  locked.modelCode = kMiru;
  EXPECT_EQ(Open(locked), ToInt(CaseLoadResult::Locked));
  EXPECT_EQ(doc_.AllReadings().size(), 1u);  // the open case stays as it was
  EXPECT_EQ(state_.deviceType, kTaloBlack);

  EXPECT_EQ(Open(SimpleCase({})), ToInt(CaseLoadResult::NoData));

  doc_.SetCasePath(dir_ / "missing.awp");
  EXPECT_EQ(doc_.LoadCase(), ToInt(CaseFileResult::CannotOpen));
  test::WriteBytes(dir_ / "bad.awp", "\x89PNG\r\n\x1a\n");
  doc_.SetCasePath(dir_ / "bad.awp");
  EXPECT_EQ(doc_.LoadCase(), ToInt(CaseFileResult::NotCaseFile));
  doc_.SetCasePath("");
  EXPECT_EQ(doc_.LoadCase(), ToInt(CaseFileResult::CannotOpen));
}

TEST_F(CaseDocumentTest, Spo2SeriesAndApplicationState) {
  _FILE_ALL_INFO f = SimpleCase({}, 2);
  f.modelCode = kMiru;
  f.protocol = 7;
  f.spo2Head = _SPO2_DATA_HEAD{{3, 2024, 10, 26, 23, 59, 30, 0}};
  f.samples = {{97, 60, {}, 0}, {96, 61, {}, 1}, {95, 62, {}, 3600}};
  state_.caseHasSpO2 = 0;
  ASSERT_EQ(Open(f), 1);  // SpO2 alone is data enough
  EXPECT_EQ(state_.caseHasSpO2, 1);
  EXPECT_EQ(state_.deviceType, kMiru);
  EXPECT_EQ(state_.protocolNumber, 7);
  EXPECT_EQ(doc_.Spo2Count(), 3);
  DateParts end;
  ASSERT_TRUE(doc_.Spo2End().ToParts(end));
  EXPECT_EQ(end, (DateParts{2024, 10, 27, 0, 59, 30}));

  // A header that promises more samples than there are is held to the samples present.
  f.spo2Head.count() = 1000;
  ASSERT_EQ(Open(f), 1);
  EXPECT_EQ(doc_.Spo2Count(), 3);
  // Without data mode 2 the series is not part of the case.
  f.dataMode = 1;
  EXPECT_EQ(Open(f), ToInt(CaseLoadResult::NoData));
  EXPECT_EQ(state_.caseHasSpO2, 0);
  // An impossible start leaves the end unset.
  f.dataMode = 2;
  f.spo2Head = _SPO2_DATA_HEAD{{3, 2024, 2, 30, 0, 0, 0, 0}};
  ASSERT_EQ(Open(f), 1);
  EXPECT_FALSE(doc_.Spo2End().IsValid());
}

TEST_F(CaseDocumentTest, SaveEditedCaseWritesFlagsAndComments) {
  for (int version : {1, 2}) {
    _FILE_ALL_INFO f = SimpleCase({Reading(2024, 1, 1, 8, 0), Reading(2024, 1, 1, 9, 0)});
    f.samples.resize(5);
    ASSERT_EQ(Open(f, version), 1);
    doc_.AllReadings()[1].included = 0;
    doc_.AllReadings()[1].comment = "arm moved; \"retry\" = later";
    ASSERT_EQ(doc_.SaveEditedCase(), 1);
    CaseDocument again(state_, texts_);
    again.SetCasePath(doc_.CasePath());
    ASSERT_EQ(again.LoadCase(), 1);
    EXPECT_TRUE(again.AllReadings() == doc_.AllReadings());
    auto lib = CFilemanage::CreateFor(doc_.CasePath());
    ASSERT_EQ(lib->LoadAllInfo(), 1);
    EXPECT_EQ(lib->Version(), version);
    EXPECT_EQ(lib->FileInfo().samples.size(), version == 2 ? 5u : 0u);
  }
  // A file that disappeared is reported, not claimed saved.
  std::remove(doc_.CasePath().c_str());
  EXPECT_EQ(doc_.SaveEditedCase(), ToInt(CaseFileResult::CannotOpen));
}

TEST_F(CaseDocumentTest, VirtualSlotsAnswerForNow) {
  CaseDocument& base = doc_;
  EXPECT_EQ(base.UploadPlan(), 0);
  EXPECT_EQ(base.DownloadData(1), 0);
}

}  // namespace
}  // namespace vesk

namespace vesk {
namespace {

TEST_F(CaseDocumentTest, AdoptedCaseIsTheLoadedCaseAndLeavesTheScratchEmpty) {
  const std::vector<_BP_RECORD> readings = {Reading(2024, 1, 1, 8, 0), Reading(2024, 1, 1, 9, 0),
                                            Reading(2024, 1, 1, 23, 0)};
  ASSERT_EQ(Open(SimpleCase(readings)), 1);
  const CaseState loadedState = state_;

  CaseState keptState;
  keptState.awakeSysThresh = 999;  // replaced by the adopted case's values
  CaseDocument kept(keptState, texts_);
  kept.AdoptCase(std::move(doc_));
  EXPECT_EQ(keptState, loadedState);
  EXPECT_EQ(kept.CasePath(), dir_ / "case.awp");
  EXPECT_EQ(kept.AllReadings().size(), 3u);
  EXPECT_EQ(kept.ValidReadings().size(), 3u);
  EXPECT_EQ(kept.AwakeStart(), loadedState.awakeStartMinutes);
  EXPECT_EQ(kept.ModelCode(), loadedState.deviceType);

  EXPECT_TRUE(doc_.CasePath().empty());
  EXPECT_TRUE(doc_.AllReadings().empty());
  EXPECT_TRUE(doc_.ValidReadings().empty());
  EXPECT_TRUE(doc_.Spo2Samples().empty());

  // Adopting an empty document closes the case.
  CaseState emptyState;
  CaseDocument empty(emptyState, texts_);
  kept.AdoptCase(std::move(empty));
  EXPECT_TRUE(kept.AllReadings().empty());
  EXPECT_EQ(keptState, CaseState{});
}

}  // namespace
}  // namespace vesk
