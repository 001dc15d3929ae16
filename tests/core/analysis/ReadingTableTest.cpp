// The data table without a screen: cell texts, the three views, exclusion, editing, moving
// the start, and the history entries of what changed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "analysis/ReadingTable.h"
#include "cases/CaseDocument.h"
#include "cases/CaseState.h"
#include "cases/Filemanage.h"
#include "cases/SampleCases.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

_BP_RECORD R(int index, int month, int day, int hour, int minute, int sys = 130, int dia = 80,
             int map = 97, int pr = 70) {
  _BP_RECORD r;
  r.index = index;
  r.year = 2024;
  r.month = static_cast<int16_t>(month);
  r.day = static_cast<int16_t>(day);
  r.hour = static_cast<int16_t>(hour);
  r.minute = static_cast<int16_t>(minute);
  r.sys = sys;
  r.dia = static_cast<int16_t>(dia);
  r.map = static_cast<int16_t>(map);
  r.pr = static_cast<int16_t>(pr);
  return r;
}

std::vector<_BP_RECORD> Day() {
  return {R(0, 3, 30, 8, 5), R(1, 3, 30, 8, 55, 140, 90, 105), R(2, 3, 30, 9, 0, 120, 70, 85),
          R(3, 3, 30, 10, 30, 118, 76, 88)};
}

ReadingInput Input(int sys, int dia, int map, int pr, int hour, int minute) {
  ReadingInput in;
  in.sys = sys, in.dia = dia, in.map = map, in.pr = pr;
  in.year = 2024, in.month = 3, in.day = 30, in.hour = hour, in.minute = minute;
  return in;
}

TEST(ReadingTable, CellTexts) {
  _BP_RECORD r = R(4, 3, 7, 8, 5, 130, 80, 97, 70);
  r.mark = 2;
  r.spo2 = 97;
  r.errorCode = 6;
  r.secondCode = 2;
  r.comment = "after lunch";
  const RowCells c = ReadingCells(r);
  EXPECT_EQ(c[0], "");
  EXPECT_EQ(c[1], "5++");
  EXPECT_EQ(c[2], "08:05");
  EXPECT_EQ(c[3], "07-03-2024");
  EXPECT_EQ(c[4], "130/80");
  EXPECT_EQ(c[5], "70");
  EXPECT_EQ(c[6], "97");
  EXPECT_EQ(c[7], "50");
  EXPECT_EQ(c[8], "97");
  EXPECT_EQ(c[9], "6(2)");
  EXPECT_EQ(c[10], "after lunch");

  // Missing values, diastolic 0 (no pulse pressure, unlike the text export), SpO2 100.
  _BP_RECORD z = R(0, 3, 7, 8, 5, 0, 0, 0, 0);
  z.included = 0;
  z.spo2 = 100;
  z.mark = 1;
  const RowCells e = ReadingCells(z);
  EXPECT_EQ(e[0], "*");
  EXPECT_EQ(e[1], "1+");
  EXPECT_EQ(e[4], "---/---");
  EXPECT_EQ(e[5], "---");
  EXPECT_EQ(e[6], "---");
  EXPECT_EQ(e[8], "---");
  EXPECT_EQ(PulsePressureText(R(0, 1, 1, 0, 0, 130, 0, 90)), "---");
  EXPECT_EQ(PulsePressureText(R(0, 1, 1, 0, 0, 300, 200, 250)), "100");
  // MAP outside DIA..SYS gives no pulse pressure either.
  EXPECT_EQ(PulsePressureText(R(0, 1, 1, 0, 0, 130, 80, 140)), "---");
  EXPECT_EQ(PulsePressureText(R(0, 1, 1, 0, 0, 130, 80, 80)), "---");

  EXPECT_EQ(ExclusionSummary(0, 4), "*=0/4(0.0%)");
  EXPECT_EQ(ExclusionSummary(1, 3), "*=1/3(33.3%)");
  EXPECT_EQ(ExclusionSummary(0, 0), "*=0/0(0.0%)");
}

TEST(ReadingTable, ViewsAndTheirRows) {
  ReadingTable t(Day());
  EXPECT_EQ(t.Rows().size(), 4u);
  EXPECT_EQ(t.Heading(), "*=0/4(0.0%)");

  // 08:05 and 08:55 give one row (08:05); 09:00 starts the next.
  t.SetView(TableView::PerHour);
  ASSERT_EQ(t.Rows().size(), 3u);
  EXPECT_EQ(t.Rows()[0].cells[2], "08:05");
  EXPECT_EQ(t.Rows()[1].cells[2], "09:00");
  EXPECT_EQ(t.Rows()[2].cells[2], "10:30");

  t.SetView(TableView::Averages);
  EXPECT_FALSE(t.ShowExcluded());
  ASSERT_EQ(t.Rows().size(), 3u);
  EXPECT_EQ(t.Rows()[0].reading, -1);
  EXPECT_EQ(t.Rows()[0].cells[2], "08:00-09:00");
  EXPECT_EQ(t.Rows()[0].cells[3], "30-03-2024");
  EXPECT_EQ(t.Rows()[0].cells[4], "135.0/85.0");
  EXPECT_EQ(t.Rows()[0].cells[7], "50.0");
  EXPECT_EQ(t.Rows()[0].cells[0], "");
  EXPECT_EQ(t.Heading(), "*=0/3(0.0%)");
  EXPECT_FALSE(t.ToggleExclusion(0));
  EXPECT_FALSE(t.EditingAllowed());
  t.SetInterval(120);
  EXPECT_EQ(t.Rows().size(), 2u);
  t.SetInterval(0);  // an interval that is no number
  EXPECT_TRUE(t.Rows().empty());
  EXPECT_EQ(t.Heading(), "*=0/0(0.0%)");
}

TEST(ReadingTable, ExclusionAndShowExcluded) {
  std::vector<_BP_RECORD> day = Day();
  day[3].map = day[3].sys;  // invalid: MAP not below SYS
  day[3].included = 0;
  ReadingTable t(day);
  EXPECT_EQ(t.Heading(), "*=1/4(25.0%)");
  ASSERT_TRUE(t.ToggleExclusion(1));
  EXPECT_EQ(t.Rows()[1].cells[0], "*");
  EXPECT_EQ(t.Heading(), "*=2/4(50.0%)");
  // An invalid reading stays excluded.
  EXPECT_FALSE(t.ToggleExclusion(3));
  EXPECT_EQ(t.Rows()[3].cells[0], "*");
  EXPECT_EQ(t.Readings()[3].included, 0);

  // Without show-excluded a refill drops the excluded rows.
  t.SetShowExcluded(false);
  ASSERT_EQ(t.Rows().size(), 2u);
  EXPECT_EQ(t.Rows()[1].reading, 2);
  EXPECT_EQ(t.Heading(), "*=2/4(50.0%)");
  t.SetShowExcluded(true);
  ASSERT_TRUE(t.ToggleExclusion(1));
  EXPECT_EQ(t.Heading(), "*=1/4(25.0%)");

  // All readings excluded: nothing to average, nothing listed without show-excluded.
  ReadingTable none(day);
  for (int row = 0; row < 3; ++row) ASSERT_TRUE(none.ToggleExclusion(row));
  none.SetShowExcluded(false);
  EXPECT_TRUE(none.Rows().empty());
  EXPECT_EQ(none.Heading(), "*=4/4(100.0%)");
  none.SetView(TableView::Averages);
  EXPECT_TRUE(none.Rows().empty());
}

TEST(ReadingTable, InvalidDatesInThePerHourView) {
  std::vector<_BP_RECORD> day = Day();
  day[0].month = 2;
  day[0].day = 31;  // 31 February
  ReadingTable t(day);
  EXPECT_EQ(t.Rows().size(), 4u);
  EXPECT_EQ(t.Rows()[0].cells[3], "31-02-2024");
  t.SetView(TableView::PerHour);
  ASSERT_EQ(t.Rows().size(), 3u);
  EXPECT_EQ(t.Rows()[0].cells[2], "08:55");
  // The editor starts such a reading at a time the pickers can show.
  t.SetView(TableView::All);
  const ReadingInput in = t.EditProposal(0);
  EXPECT_EQ(in.month, 3);
  EXPECT_EQ(in.day, 30);
}

TEST(ReadingTable, EditorChecks) {
  EXPECT_EQ(CheckPressures(Input(120, 80, 120, 70, 8, 0)), PressureCheck::MapNotBelowSys);
  EXPECT_EQ(CheckPressures(Input(120, 80, 130, 70, 8, 0)), PressureCheck::MapNotBelowSys);
  EXPECT_EQ(CheckPressures(Input(120, 80, 80, 70, 8, 0)), PressureCheck::MapNotAboveDia);
  EXPECT_EQ(CheckPressures(Input(120, 80, 95, 70, 8, 0)), PressureCheck::Ok);
  EXPECT_EQ(CheckPressures(Input(0, 0, 0, 0, 8, 0)), PressureCheck::MapNotBelowSys);
  EXPECT_STREQ(FixedTextOf(FixedText::SelectRowFirst, true), "请首先选中一行。");
  EXPECT_STREQ(FixedTextOf(FixedText::SelectRowFirst, false), "Please select a row first.");
  EXPECT_STREQ(FixedTextOf(FixedText::EditTitle, true), "编辑血压数据");
  EXPECT_STREQ(FixedTextOf(FixedText::AddTitle, true), "增加血压数据");
  EXPECT_TRUE(IsChineseLanguage("chinese"));
  EXPECT_TRUE(IsChineseLanguage("Chinese"));
  EXPECT_FALSE(IsChineseLanguage("English"));
  EXPECT_FALSE(IsChineseLanguage("Chinese2"));
}

TEST(ReadingTable, EditAddDeleteKeepTimeOrder) {
  ReadingTable t(Day());
  // The edited reading moves to its place in time.
  const int row = t.ReplaceReading(0, Input(150, 95, 110, 80, 9, 30));
  EXPECT_EQ(row, 2);
  EXPECT_EQ(t.Rows()[2].cells[4], "150/95");
  EXPECT_EQ(t.Readings()[2].index, 0);

  // A new reading is proposed one minute after the selected one with its pressures.
  const ReadingInput proposal = t.AddProposal(0);
  EXPECT_EQ(proposal.hour, 8);
  EXPECT_EQ(proposal.minute, 56);
  EXPECT_EQ(proposal.sys, 140);
  EXPECT_TRUE(proposal.comment.empty());
  const int added = t.AddReading(0, proposal);
  EXPECT_EQ(added, 1);
  EXPECT_EQ(t.Readings()[1].index, 4);  // a number no other reading has
  EXPECT_EQ(t.Rows()[1].cells[1], "5");
  // Values 0 and 300: stored as entered, and 0 makes the reading invalid and excluded.
  const int zero = t.AddReading(-1, Input(300, 0, 200, 0, 11, 0));
  EXPECT_EQ(zero, 5);
  EXPECT_EQ(t.Readings()[5].included, 0);
  EXPECT_EQ(t.Rows()[5].cells[0], "*");
  EXPECT_EQ(t.Rows()[5].cells[7], "---");

  EXPECT_TRUE(t.DeleteReading(5));
  EXPECT_EQ(t.Rows().size(), 5u);
  t.SetView(TableView::PerHour);
  EXPECT_FALSE(t.DeleteReading(0));
  EXPECT_EQ(t.ReplaceReading(0, Input(150, 95, 110, 80, 9, 30)), -1);
  EXPECT_EQ(t.AddReading(0, Input(150, 95, 110, 80, 9, 30)), -1);

  // A number once used by a deleted reading is not given out again.
  ReadingTable later(Day());
  later.ReserveIndicesBelow(9);
  EXPECT_EQ(
      later.Readings()[later.ReadingOfRow(later.AddReading(-1, Input(120, 80, 95, 70, 23, 0)))]
          .index,
      9);

  ReadingTable one({R(0, 3, 30, 8, 5)});
  EXPECT_FALSE(one.DeleteReading(0));
  EXPECT_FALSE(one.DeleteReading(-1));
}

TEST(ReadingTable, OutOfOrderListsKeepTheChosenPlace) {
  std::vector<_BP_RECORD> day = Day();
  std::swap(day[1], day[2]);
  ReadingTable t(day);
  EXPECT_EQ(t.AddReading(0, Input(120, 80, 95, 70, 23, 0)), 1);
}

TEST(ReadingTable, MovingTheStart) {
  std::vector<_BP_RECORD> day = Day();
  day[2].seconds = 17;
  day[3].day = 31;
  day[3].month = 4;
  day[3].day = 31;  // 31 April: stays where it is
  ReadingTable t(day);
  ASSERT_EQ(t.MoveStart(DateParts{2024, 12, 31, 23, 0, 0}), 1);
  EXPECT_EQ(t.Rows()[0].cells[2], "23:00");
  EXPECT_EQ(t.Rows()[0].cells[3], "31-12-2024");
  EXPECT_EQ(t.Rows()[2].cells[2], "23:55");
  EXPECT_EQ(t.Rows()[1].cells[3], "31-12-2024");
  EXPECT_EQ(t.Readings()[2].year, 2024);
  EXPECT_EQ(t.Readings()[2].seconds, 17);
  EXPECT_EQ(t.Rows()[3].cells[3], "31-04-2024");
  EXPECT_EQ(t.MoveStart(DateParts{2024, 2, 30, 0, 0, 0}), 0);

  const auto changes = t.Changes({"u", "now"});
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].kind, EditKind::StartMoved);
  EXPECT_EQ(changes[0].oldValue, "2024-03-30 08:05");
  EXPECT_EQ(changes[0].newValue, "2024-12-31 23:00");

  // Moving back where it was is no change at all.
  ASSERT_EQ(t.MoveStart(DateParts{2024, 3, 30, 8, 5, 0}), 1);
  EXPECT_FALSE(t.Changed());
}

TEST(ReadingTable, ChangesBecomeHistoryEntries) {
  ReadingTable t(Day());
  EXPECT_FALSE(t.Changed());
  ASSERT_TRUE(t.ToggleExclusion(1));
  ASSERT_TRUE(t.ToggleExclusion(2));
  ASSERT_TRUE(t.ToggleExclusion(2));  // back again: no entry
  ASSERT_TRUE(t.SetComment(0, "moved arm"));
  EXPECT_FALSE(t.SetComment(0, "moved arm"));
  t.ReplaceReading(3, Input(119, 76, 88, 70, 10, 30));
  t.AddReading(-1, Input(125, 82, 96, 71, 11, 0));
  ASSERT_TRUE(t.DeleteReading(2));
  const auto c = t.Changes({"dr", "2026-12-06 21:00:00"});
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[0].kind, EditKind::Comment);
  EXPECT_EQ(c[0].reading, 0);
  EXPECT_EQ(c[0].newValue, "moved arm");
  EXPECT_EQ(c[1].kind, EditKind::Excluded);
  EXPECT_EQ(c[1].reading, 1);
  EXPECT_EQ(c[2].kind, EditKind::Values);
  EXPECT_EQ(c[2].oldValue, "118/76 MAP 88 PR 70 2024-03-30 10:30:00");
  EXPECT_EQ(c[2].newValue, "119/76 MAP 88 PR 70 2024-03-30 10:30:00");
  EXPECT_EQ(c[3].kind, EditKind::Added);
  EXPECT_EQ(c[3].reading, 4);
  EXPECT_EQ(c[4].kind, EditKind::Deleted);
  EXPECT_EQ(c[4].reading, 2);
  EXPECT_EQ(c[4].user, "dr");
  EXPECT_EQ(c[4].when, "2026-12-06 21:00:00");
}

TEST(ReadingTable, ThousandReadings) {
  std::vector<_BP_RECORD> many;
  for (int i = 0; i < 1000; ++i) many.push_back(R(i, 3, 1 + i / 96, (i / 4) % 24, (i % 4) * 15));
  ReadingTable t(many);
  EXPECT_EQ(t.Rows().size(), 1000u);
  t.SetView(TableView::PerHour);
  EXPECT_EQ(t.Rows().size(), 250u);
  t.SetView(TableView::Averages);
  t.SetInterval(30);
  EXPECT_EQ(t.Rows().size(), 500u);
}

class NoTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

TEST(ReadingTable, SavingIntoTheCase) {
  test::TempDir dir;
  const std::string path = dir / "a.awp";
  ASSERT_EQ(WriteSampleCase(path, MakeAmbulatorySample({})), CaseFileResult::Ok);
  const std::string before = test::ReadBytes(path);
  CaseState state;
  NoTexts texts;
  CaseDocument doc(state, texts);
  doc.SetCasePath(path);
  ASSERT_EQ(doc.LoadCase(), ToInt(CaseLoadResult::Ok));
  const size_t count = doc.AllReadings().size();
  const EditStamp stamp{"dr", "2026-12-06 21:00:00"};

  // Nothing changed: nothing written.
  ReadingTable same(doc.AllReadings());
  EXPECT_EQ(SaveTableToCase(doc, same, stamp), CaseFileResult::Ok);
  EXPECT_EQ(test::ReadBytes(path), before);

  ReadingTable table(doc.AllReadings());
  ASSERT_GE(table.AddReading(0, table.AddProposal(0)), 0);
  // A file that became read-only: the document keeps what the file holds.
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(SaveTableToCase(doc, table, stamp), CaseFileResult::ReadOnly);
  EXPECT_EQ(doc.AllReadings().size(), count);
  EXPECT_EQ(doc.BpHead().count(), static_cast<int32_t>(count));
  EXPECT_EQ(test::ReadBytes(path), before);
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

  EXPECT_EQ(SaveTableToCase(doc, table, stamp), CaseFileResult::Ok);
  EXPECT_EQ(doc.AllReadings().size(), count + 1);
  CaseDocument again(state, texts);
  again.SetCasePath(path);
  ASSERT_EQ(again.LoadCase(), ToInt(CaseLoadResult::Ok));
  EXPECT_EQ(again.AllReadings().size(), count + 1);
  EXPECT_EQ(again.BpHead().count(), static_cast<int32_t>(count + 1));
  std::vector<EditEntry> history;
  ASSERT_EQ(CFilemanage::LoadEditHistory(path, history), ToInt(CaseFileResult::Ok));
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].kind, EditKind::Added);
}

}  // namespace
}  // namespace vesk
