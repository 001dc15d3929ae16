// The page table against the other places that know the pages: the report-set keys and
// defaults, the language files, the data files written for a head.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "language/Language.h"
#include "reports/ReportFiles.h"
#include "reports/ReportPageTable.h"
#include "settings/ConfigKeys.h"
#include "support/HomeFixture.h"

namespace vesk {
namespace {

TEST(ReportPageTable, OneRowPerHeadFlagAndTheSetKeysInOrder) {
  ASSERT_EQ(ReportPages().size(), size_t(kReportHeadPageCount));
  std::set<std::string_view> keys;
  for (const ReportPageRow& row : ReportPages()) {
    const int i = PageIndex(row.id);
    if (i < kReportPageCount) {
      EXPECT_EQ(row.settingsKey, kReportPageKeys[size_t(i)]) << i;
    }
    keys.insert(row.settingsKey);
  }
  EXPECT_EQ(keys.size(), ReportPages().size()) << "a key selects two pages";
  EXPECT_EQ(ReportPageOf(ReportPageId::SpO2).settingsKey, "Spo2 Page");
}

TEST(ReportPageTable, FilesAndRecordsAgree) {
  // Every page with a file reads the record that file holds; only the hourly summary and the
  // two graph pages are special.
  for (const ReportPageRow& row : ReportPages()) {
    SCOPED_TRACE(std::string(row.settingsKey));
    if (!row.hasFile) {
      EXPECT_EQ(row.id, ReportPageId::HourlySummary);
      EXPECT_EQ(row.record, ReportRecordId::None);
      continue;
    }
    EXPECT_NE(row.file, ReportFileId::Main);
    EXPECT_EQ(ReportFileOf(row.file).record, row.record);
  }
  EXPECT_EQ(ReportPageOf(ReportPageId::ColourGraph).file, ReportFileId::Graphs);
  EXPECT_EQ(ReportPageOf(ReportPageId::BarGraph).file, ReportFileId::Graphs);
  EXPECT_EQ(ReportFileOf(ReportFileId::Data).record, ReportFileOf(ReportFileId::Graphs).record);

  std::set<std::string_view> names;
  for (const ReportFileRow& f : ReportFiles()) {
    names.insert(f.name);
    EXPECT_EQ(ReportFileNamed(f.name), &f);
  }
  EXPECT_EQ(names.size(), size_t(kReportFileCount));
  EXPECT_EQ(ReportFileNamed("4.rp"), nullptr);
  EXPECT_EQ(ReportFileNamed(""), nullptr);
}

TEST(ReportPageTable, EveryFileButTheMainOneBelongsToAPage) {
  std::array<int32_t, kReportHeadPageCount> pages{};
  pages.fill(1);
  EXPECT_EQ(ReportFilesFor(pages).size(), size_t(kReportFileCount));
  for (const ReportPageRow& row : ReportPages()) {
    pages.fill(0);
    pages[size_t(PageIndex(row.id))] = 1;
    const auto files = ReportFilesFor(pages);
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(files[0], ReportFileId::Main);
    EXPECT_EQ(files.size(), row.hasFile ? 2u : 1u) << row.settingsKey;
    if (row.hasFile) {
      EXPECT_EQ(files[1], row.file);
    }
  }
}

class ReportPageNames : public test::HomeFixture {};

TEST_F(ReportPageNames, EveryPageHasANameInBothLanguages) {
  for (const char* file : {"English", "Chinese"}) {
    CLanguage language;
    ASSERT_TRUE(language.LoadFile(HomePath(std::string("Language/") + file + ".lng")));
    for (const ReportPageRow& row : ReportPages())
      EXPECT_FALSE(
          language.GetText(std::string(row.languageSection), std::string(row.languageKey)).empty())
          << file << " " << row.languageKey;
  }
}

}  // namespace
}  // namespace vesk
