#include <gtest/gtest.h>

#include <cstring>

#include "ReportTestData.h"
#include "cases/SampleCases.h"
#include "platform/FileUtil.h"
#include "reports/ReportFiles.h"
#include "support/TempDir.h"

namespace vesk::test {
namespace {

// An independent little-endian writer for the expected bytes.
struct Bytes {
  std::string s;
  Bytes& I32(int32_t v) { return Put(uint32_t(v), 4); }
  Bytes& I16(int16_t v) { return Put(uint16_t(v), 2); }
  Bytes& Put(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& Zero(int n) { return Put(0, n); }
  Bytes& Text16(std::u16string t) {
    I32(int32_t(t.size() * 2));
    for (char16_t c : t) Put(c, 2);
    return *this;
  }
};

class ReportFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadEnglish(language_); }
  ReportData Build(const _FILE_ALL_INFO& f, const ReportHead& head) {
    return BuildReportData(ReportCaseOf(f), head, ReportOptions{}, language_);
  }
  CLanguage language_;
  TempDir dir_;
};

TEST_F(ReportFilesTest, ReportTxtByteForByte) {
  _FILE_ALL_INFO f;
  f.patient.name = "Li\xE6\x9D\x8E";  // "Li" and U+674E
  f.patient.caseId = "7";
  _BP_RECORD r = Reading(4, 5, 9, 30, 150, 95, 113, 70, "not in this file");
  r.seconds = 12, r.spo2 = 97, r.secondCode = 3, r.errorCode = 2, r.mark = 1, r.included = 0;
  f.readings = {r};
  ReportHead head;
  head.pages[0] = head.pages[11] = 1;
  head.aasi = 1;
  head.title = "T";
  const std::string got = EncodeReportFile(ReportFileId::Main, Build(f, head));

  Bytes e;
  for (int i = 0; i < 13; ++i) e.I32(i == 0 || i == 11 ? 1 : 0);
  e.I32(-1).I32(1).I32(0).I32(0);
  e.Text16(u"Li\u674E").Text16(u"7").Text16(u"T");
  for (int v : {2024, 3, 5, 9, 30, 2024, 3, 5, 9, 30, 7 * 60, 22 * 60}) e.I32(v);
  e.I32(1);  // recording-length flag of a head made by hand
  e.I32(1);
  // The reading block with its alignment gaps.
  e.I32(4).I32(2024).I16(3).I16(5).I16(9).I16(30).I16(12).Zero(2);
  e.I32(150).I16(95).I16(113).I16(70).I16(97).I16(3).I16(0).I16(2);
  e.Put(1, 1).Zero(1).I32(0).I32(0).I32(0).Zero(4);
  EXPECT_EQ(got.size(), 13u * 4 + 16 + 3 * 4 + 2 * 5 + 12 * 4 + 4 + 4 + 56);
  EXPECT_EQ(got, e.s);
}

TEST_F(ReportFilesTest, EveryPageSizeFollowsTheFieldWidths) {
  _FILE_ALL_INFO f = SmallCase();
  f.patient.address = "Road 1";
  const ReportData d = Build(f, AllPages());
  auto size = [&](ReportFileId id) { return EncodeReportFile(id, d).size(); };
  const size_t name = 2 * 3, id = 2 * 2, title = 2 * 6;
  EXPECT_EQ(size(ReportFileId::Main), 52 + 16 + 12 + name + id + title + 48 + 4 + 4 + 3 * 56);
  // 13 texts (name, ID, "Male", "", address, model name) and 312 bytes of numbers.
  const size_t texts1 = 2 * (3 + 2 + 4 + 6 + 9);
  EXPECT_EQ(size(ReportFileId::Patient), 13 * 4 + texts1 + 312);
  EXPECT_EQ(size(ReportFileId::Statistics), 20u + 16 + 24 + 14 * 52 + 24 + 4 + 8 + 41 * 8);
  EXPECT_EQ(size(ReportFileId::Summary), 4u + 24 + 8 + 8 + 16 + 24 + 4 + 4 + 4);
  const size_t items = 3 * 49 + 2 * 4;  // one comment "walk"
  EXPECT_EQ(size(ReportFileId::Graphs), 4 + items + 24);
  EXPECT_EQ(size(ReportFileId::Data), size(ReportFileId::Graphs));
  EXPECT_EQ(size(ReportFileId::Histogram), 4 + name + 112 + 120 + 120);
  EXPECT_EQ(size(ReportFileId::Pie), 4 + name + 3 * (24 + 24 + 4 + 8 + 24));
  EXPECT_EQ(size(ReportFileId::Correlation), 40u + 4 + 2 * 8 + 4 + 1 * 8);
  EXPECT_EQ(size(ReportFileId::Hourly), 32u + 32 + 4 * 288);
  EXPECT_EQ(size(ReportFileId::ThreeHistogram), 12u + 3 * 288);
  EXPECT_EQ(size(ReportFileId::SpO2), 4u + 4 + 48 + 16 + 4 + 72 + 4 + 4 + 56 + 56 + 404);
}

TEST_F(ReportFilesTest, FilesFollowThePageFlags) {
  std::array<int32_t, kReportHeadPageCount> pages{};
  auto names = [&] {
    std::string s;
    for (ReportFileId id : ReportFilesFor(pages)) s += std::string(ReportFileName(id)) + " ";
    return s;
  };
  EXPECT_EQ(names(), "Report.txt ");
  pages[4] = 1;  // the bar graph alone still writes the shared graph file
  EXPECT_EQ(names(), "Report.txt 45.rp ");
  pages[3] = 1;
  pages[11] = 1;  // the hourly summary has no file of its own
  EXPECT_EQ(names(), "Report.txt 45.rp ");
  pages.fill(1);
  EXPECT_EQ(names(), "Report.txt 1.rp 2.rp 3.rp 45.rp 6.rp 7.rp 8.rp 9.rp 10.rp 11.rp 12.rp ");
}

TEST_F(ReportFilesTest, EveryPageRoundTripsForAMiruCase) {
  SampleOptions options;
  options.language = 1;  // Chinese texts
  _FILE_ALL_INFO f = MakeMiruSample(options);
  f.readings[1].comment = "a, b\r\n\"c\" \xE4\xB8\xAD";
  f.patient.extra[kExtraDiagnosis] = "Hypertension & <dipper>";
  const ReportData d = Build(f, AllPages(3));
  ASSERT_FALSE(d.spo2.samples.empty());
  ASSERT_GT(d.spo2.spo2EventCount, 0);
  ASSERT_TRUE(WriteReportFiles(dir_.path(), d).ok);

  ReportData back;
  const ReportFilesResult r = ReadReportFiles(dir_.path(), back);
  ASSERT_TRUE(r.ok) << r.failedPath << ": " << r.detail;
  EXPECT_EQ(back.head, d.head);
  EXPECT_EQ(back.main, d.main);
  EXPECT_EQ(back.patient, d.patient);
  EXPECT_EQ(back.statistics, d.statistics);
  EXPECT_EQ(back.summary, d.summary);
  EXPECT_EQ(back.readingsPage, d.readingsPage);
  EXPECT_EQ(back.histogram, d.histogram);
  EXPECT_EQ(back.pie, d.pie);
  EXPECT_EQ(back.correlation, d.correlation);
  EXPECT_EQ(back.hourly, d.hourly);
  EXPECT_EQ(back.threeHistogram, d.threeHistogram);
  EXPECT_EQ(back.spo2, d.spo2);
  EXPECT_EQ(back.readingsPage.items[1].comment, f.readings[1].comment);
  EXPECT_EQ(back.main.readings.size(), f.readings.size());
}

TEST_F(ReportFilesTest, SpO2EventsComeFromTheCaseUnlessVariantThreeAsksAfresh) {
  const _FILE_ALL_INFO f = MakeMiruSample(SampleOptions{});
  const std::vector<EventRecord> none;
  ReportOptions o;
  o.spo2Events = &none;
  o.prEvents = &none;
  const ReportCase c = ReportCaseOf(f);
  EXPECT_EQ(BuildReportData(c, AllPages(1), o, language_).spo2.spo2EventCount, 0);
  EXPECT_GT(BuildReportData(c, AllPages(3), o, language_).spo2.spo2EventCount, 0);
  ReportHead off = AllPages(1);
  off.pages[kSpo2ReportPage] = 0;
  EXPECT_TRUE(BuildReportData(c, off, o, language_).spo2.samples.empty());
}

TEST_F(ReportFilesTest, CasesWithoutReadingsAsleepReadingsOrSpO2) {
  _FILE_ALL_INFO empty;
  ReportData d = Build(empty, AllPages());
  const std::string main = EncodeReportFile(ReportFileId::Main, d);
  int32_t count = -1;
  std::memcpy(&count, main.data() + main.size() - 4, 4);
  EXPECT_EQ(count, 0);
  ASSERT_TRUE(WriteReportFiles(dir_.path(), d).ok);
  ReportData back;
  EXPECT_TRUE(ReadReportFiles(dir_.path(), back).ok);
  EXPECT_EQ(back.statistics, d.statistics);

  _FILE_ALL_INFO day = SmallCase();
  day.readings.pop_back();  // only awake readings remain
  d = Build(day, AllPages());
  EXPECT_EQ(d.statistics.asleepCount, 0);
  EXPECT_EQ(d.patient.asleep.meanSys, 0.0);
  EXPECT_EQ(d.summary.nightDipSys, 0.0);  // no night, no dip
  EXPECT_EQ(d.patient.figures & kFigNightDip, 0);
  EXPECT_TRUE(d.spo2.samples.empty());
  ASSERT_TRUE(WriteReportFiles(dir_.path(), d).ok);
  EXPECT_TRUE(ReadReportFiles(dir_.path(), back).ok);
  EXPECT_EQ(back.patient, d.patient);
  EXPECT_EQ(back.spo2, d.spo2);
}

TEST_F(ReportFilesTest, ReadingsPageCarriesFlagsAndAllReadings) {
  _FILE_ALL_INFO f = SmallCase();
  f.readings[1].included = 0;
  f.readings.push_back(Reading(3, 5, 23, 40, 0, 0, 0, 0, "E2"));  // a failed measurement
  const ReportData d = Build(f, AllPages());
  ASSERT_EQ(d.readingsPage.items.size(), 4u);
  EXPECT_EQ(d.readingsPage.items[0].flags, 1 | 4);  // valid, awake load (150 > 135)
  EXPECT_EQ(d.readingsPage.items[1].flags, 1);      // excluded: never a load
  EXPECT_EQ(d.readingsPage.items[2].flags, 1 | 2);  // asleep, 110/65 below 120/70
  EXPECT_EQ(d.readingsPage.items[3].flags, 2);      // invalid
  EXPECT_EQ(d.readingsPage.items[3].comment, "E2");
  EXPECT_EQ(d.statistics.analysedCount, 2);
  EXPECT_EQ(d.statistics.readingCount, 4);
}

TEST_F(ReportFilesTest, BrokenFilesAreRefused) {
  const ReportData d = Build(SmallCase(), AllPages());
  const std::string good = EncodeReportFile(ReportFileId::Graphs, d);
  ReportData out;
  std::string error;
  EXPECT_TRUE(DecodeReportFile(ReportFileId::Graphs, good, out, &error)) << error;
  EXPECT_FALSE(
      DecodeReportFile(ReportFileId::Graphs, good.substr(0, good.size() - 1), out, &error));
  EXPECT_NE(error.find("ends early"), std::string::npos);
  EXPECT_FALSE(DecodeReportFile(ReportFileId::Graphs, good + "x", out, &error));
  EXPECT_NE(error.find("left over"), std::string::npos);

  std::string huge = good;
  huge[3] = char(0x7F);  // a count of about two thousand million items
  EXPECT_FALSE(DecodeReportFile(ReportFileId::Graphs, huge, out, &error));
  EXPECT_NE(error.find("impossible count"), std::string::npos);

  std::string odd = EncodeReportFile(ReportFileId::Histogram, d);
  odd[0] = 5;  // a text of an odd number of bytes
  EXPECT_FALSE(DecodeReportFile(ReportFileId::Histogram, odd, out, &error));
  EXPECT_NE(error.find("text length"), std::string::npos);
}

TEST_F(ReportFilesTest, WritingReplacesAndFailsCleanly) {
  const ReportData all = Build(SmallCase(), AllPages());
  ASSERT_TRUE(WriteReportFiles(dir_ / "start", all).ok);
  EXPECT_TRUE(fsutil::FileExists(dir_ / "start/12.rp"));
  ReportHead few;
  few.pages[0] = 1;
  ASSERT_TRUE(WriteReportFiles(dir_ / "start", Build(SmallCase(), few)).ok);
  EXPECT_TRUE(fsutil::FileExists(dir_ / "start/1.rp"));
  EXPECT_FALSE(fsutil::FileExists(dir_ / "start/2.rp"));  // no leftovers of the last report
  EXPECT_FALSE(fsutil::FileExists(dir_ / "start/12.rp"));

  WriteBytes(dir_ / "blocked", "a file where the folder should be");
  const ReportFilesResult r = WriteReportFiles(dir_ / "blocked/start", all);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.failedPath, dir_ / "blocked/start");
}

}  // namespace
}  // namespace vesk::test
