#include "cases/CaseFolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <functional>

#include "cases/Filemanage.h"
#include "cases/SampleCases.h"
#include "platform/FileUtil.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

_FILE_ALL_INFO Ambulatory(uint64_t seed, DateParts start = {2024, 3, 30, 9, 12, 0}) {
  SampleOptions o;
  o.seed = seed;
  o.start = start;
  return MakeAmbulatorySample(o);
}

void Write(const std::string& path, const _FILE_ALL_INFO& info, int version = 2) {
  ASSERT_EQ(WriteSampleCase(path, info, version), CaseFileResult::Ok) << path;
}

_FILE_ALL_INFO LoadAll(const std::string& path) {
  auto file = CFilemanage::CreateFor(path);
  EXPECT_TRUE(file);
  if (!file) return {};
  EXPECT_EQ(file->LoadAllInfo(), 1);
  return file->FileInfo();
}

// Root may write anywhere, so permission checks run in a child that gives its rights up.
int AsUnprivileged(const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(CaseFolderTree, RefusesMissingOrUnusableUserNames) {
  TempDir dir;
  EXPECT_EQ(CaseFolderTree(dir.path(), "").Check().code, CaseOpCode::EmptyUser);
  EXPECT_EQ(CaseFolderTree(dir.path(), "  ").Check().code, CaseOpCode::EmptyUser);
  EXPECT_EQ(CaseFolderTree(dir.path(), "..").Check().code, CaseOpCode::BadUser);
  EXPECT_EQ(CaseFolderTree(dir.path(), "a/b").Check().code, CaseOpCode::BadUser);
  EXPECT_EQ(CaseFolderTree(dir.path(), "a\\b").Check().code, CaseOpCode::BadUser);
  EXPECT_EQ(CaseFolderTree("", "family").Check().code, CaseOpCode::NoDataPath);
  // Nothing at all is created for a refused tree, least of all case folders in the data folder.
  EXPECT_EQ(CaseFolderTree(dir.path(), "").EnsureAll().code, CaseOpCode::EmptyUser);
  EXPECT_FALSE(fsutil::FolderExists(dir / "VESK"));
  EXPECT_FALSE(CaseFolderTree(dir.path(), "").Check().detail.empty());
}

TEST(CaseFolderTree, BuildsTheFourFoldersAndStampedNames) {
  TempDir dir;
  CaseFolderTree tree(dir.path() + "/", "Dr Wang 王");
  ASSERT_TRUE(tree.EnsureAll().ok());
  for (const char* name : {"VESK", "Monitor", "SingleUser", "BPM"})
    EXPECT_TRUE(fsutil::FolderExists(dir.path() + "/Dr Wang 王/" + name)) << name;
  EXPECT_EQ(tree.FilePath({CaseFolder::Bpm, 3}, "20240331021500"),
            dir.path() + "/Dr Wang 王/BPM/20240331021500" + "03.awp");
  EXPECT_EQ(CaseStamp({2024, 3, 5, 7, 8, 9}), "20240305070809");
  EXPECT_EQ(CaseFileName("20240305070809", 2), "2024030507080902.awp");
}

TEST(CaseFolderTree, ReadOnlyDataFolderIsAClearError) {
  TempDir dir;
  ASSERT_TRUE(fsutil::CreateFolders(dir / "data"));
  ::chmod(dir.path().c_str(), 0755);
  ::chmod((dir / "data").c_str(), 0555);
  const std::string data = dir / "data";
  const int code = AsUnprivileged([&] {
    return static_cast<int>(CaseFolderTree(data, "family").Ensure(CaseFolder::Vesk).code);
  });
  EXPECT_EQ(code, static_cast<int>(CaseOpCode::ReadOnly));
}

TEST(CaseSlots, FreeStampNeverReusesAnExistingName) {
  TempDir dir;
  CaseFolderTree tree(dir.path(), "family");
  ASSERT_TRUE(tree.EnsureAll().ok());
  const DateParts now{2024, 12, 31, 23, 59, 59};
  const std::vector<CaseSlot> qora = {{CaseFolder::Bpm, 1}, {CaseFolder::Bpm, 2}};
  EXPECT_EQ(FreeCaseStamp(tree, qora, now), "20241231235959");
  // One user's file of that second exists: both users move on together, over the year's end.
  WriteBytes(tree.FilePath({CaseFolder::Bpm, 2}, "20241231235959"), "x");
  EXPECT_EQ(FreeCaseStamp(tree, qora, now), "20250101000000");
}

class CaseFolderListing : public ::testing::Test {
 protected:
  TempDir dir;
  std::string folder = dir / "VESK";
  void SetUp() override { ASSERT_TRUE(fsutil::CreateFolders(folder)); }
  std::string At(const std::string& name) const { return folder + "/" + name; }
};

TEST_F(CaseFolderListing, ListsCaseFilesOfBothVersionsWithStartTimes) {
  Write(At("20240330100000"
           "01.awp"),
        Ambulatory(1));
  Write(At("20230101100000"
           "01.awp"),
        Ambulatory(2, {2023, 1, 1, 8, 5, 0}), 1);
  WriteBytes(At("notes.txt"), "not listed");
  WriteBytes(At("broken.AWP"), "\x01\x02 not a case file");
  ASSERT_TRUE(fsutil::CreateFolders(At("folder.awp")));
  ASSERT_TRUE(fsutil::CreateFolders(At("sub")));
  Write(At("sub/20240330100000"
           "01.awp"),
        Ambulatory(3));

  const CaseListing listing = ListCaseFolder(folder);
  ASSERT_TRUE(listing.result.ok());
  EXPECT_FALSE(listing.truncated);
  ASSERT_EQ(listing.rows.size(), 3u);  // name order; not the sub-folder, not the folder
  EXPECT_EQ(listing.rows[0].fileName,
            "20230101100000"
            "01.awp");
  EXPECT_EQ(listing.rows[0].startText, "2023/01/01 08:05");
  EXPECT_EQ(listing.rows[0].name, Ambulatory(2).patient.name);
  EXPECT_EQ(listing.rows[1].startText, "2024/03/30 09:12");
  EXPECT_EQ(listing.rows[1].caseId, Ambulatory(1).patient.caseId);
  EXPECT_EQ(listing.rows[2].fileName, "broken.AWP");
  EXPECT_NE(listing.rows[2].loadResult, CaseFileResult::Ok);
  EXPECT_EQ(listing.rows[2].startText, kNoStartTime);
}

TEST_F(CaseFolderListing, StartTimeIgnoresPressuresButNeedsARealDate) {
  _FILE_ALL_INFO impossible = Ambulatory(4);
  for (_BP_RECORD& r : impossible.readings) r.day = 31, r.month = 2;
  Write(At("a.awp"), impossible);
  _FILE_ALL_INFO badPressure = Ambulatory(5);
  badPressure.readings[0].sys = 0;  // invalid reading, valid date
  badPressure.readings[0].minute = 7;
  badPressure.readings[0].hour = 8;
  Write(At("b.awp"), badPressure);
  const CaseListing listing = ListCaseFolder(folder);
  ASSERT_EQ(listing.rows.size(), 2u);
  EXPECT_EQ(listing.rows[0].startText, "----/--/-- --:--");
  EXPECT_FALSE(listing.rows[0].start);
  EXPECT_EQ(listing.rows[1].startText, "2024/03/30 08:07");

  CaseSearch byDate{CaseSearchBy::StartDate, "", 2024, 2, 31};
  EXPECT_TRUE(SearchCaseFolder(folder, byDate).rows.empty());
  byDate.month = 3, byDate.day = 30;
  ASSERT_EQ(SearchCaseFolder(folder, byDate).rows.size(), 1u);
}

TEST_F(CaseFolderListing, StopsAtTheLimitAndReportsIt) {
  Write(At("seed.awp"), Ambulatory(6));
  const std::string bytes = ReadBytes(At("seed.awp"));
  for (int i = 0; i < 5; ++i) WriteBytes(At("c" + std::to_string(i) + ".awp"), bytes);
  const CaseListing listing = ListCaseFolder(folder, 4);
  EXPECT_EQ(listing.rows.size(), 4u);
  EXPECT_TRUE(listing.truncated);
  EXPECT_EQ(ListCaseFolder(folder).rows.size(), 6u);
}

TEST_F(CaseFolderListing, MissingFolderIsAnError) {
  EXPECT_EQ(ListCaseFolder(dir / "nothing").result.code, CaseOpCode::FolderMissing);
}

TEST_F(CaseFolderListing, SearchesNameAndIdCaseSensitivelyAnywhere) {
  _FILE_ALL_INFO a = Ambulatory(7), b = Ambulatory(8), c = Ambulatory(9);
  a.patient.name = "Anna Miller";
  a.patient.caseId = "X-100";
  b.patient.name = "Johann Mill";
  b.patient.caseId = "x-200";
  c.patient.name = "MILLER";
  c.patient.caseId = "100X";
  Write(At("a.awp"), a);
  Write(At("b.awp"), b);
  Write(At("c.awp"), c);
  auto names = [&](const CaseSearch& s) {
    std::string out;
    for (const CaseListRow& row : SearchCaseFolder(folder, s).rows) out += row.fileName[0];
    return out;
  };
  EXPECT_EQ(names({CaseSearchBy::Name, "Mill"}), "ab");
  EXPECT_EQ(names({CaseSearchBy::Name, "mill"}), "");
  EXPECT_EQ(names({CaseSearchBy::Name, "ER"}), "c");
  EXPECT_EQ(names({CaseSearchBy::CaseId, "X"}), "ac");
  EXPECT_EQ(names({CaseSearchBy::CaseId, "100"}), "ac");
  const CaseListing empty = SearchCaseFolder(folder, {CaseSearchBy::Name, ""});
  EXPECT_EQ(empty.result.code, CaseOpCode::SearchTextEmpty);
  EXPECT_EQ(empty.result.key, "IDS_SEARCHNULL");
  EXPECT_EQ(empty.result.section, "Dialog Setting");
  EXPECT_TRUE(empty.rows.empty());
}

TEST(CaseMeasuringTime, MovesEveryValidReadingByTheSameMinutes) {
  TempDir dir;
  const std::string path = dir / "case.awp";
  _FILE_ALL_INFO before = Ambulatory(10);
  before.readings[3].month = 13;  // an impossible date stays as it is
  Write(path, before);
  ASSERT_TRUE(ChangeCaseMeasuringTime(path, 2024, 10, 26, 23, 30).ok());
  const _FILE_ALL_INFO after = LoadAll(path);
  ASSERT_EQ(after.readings.size(), before.readings.size());
  const auto stamp = [](const _BP_RECORD& r) {
    return MinuteStamp(r.year, r.month, r.day, r.hour, r.minute);
  };
  EXPECT_EQ(stamp(after.readings[0]), MinuteStamp(2024, 10, 26, 23, 30));
  const int64_t delta = stamp(after.readings[0]) - stamp(before.readings[0]);
  for (size_t i = 0; i < before.readings.size(); ++i) {
    if (i == 3) {
      EXPECT_EQ(after.readings[i].month, 13);
      continue;
    }
    EXPECT_EQ(stamp(after.readings[i]) - stamp(before.readings[i]), delta) << i;
    EXPECT_EQ(after.readings[i].seconds, before.readings[i].seconds);
  }
}

TEST(CaseMeasuringTime, RefusesImpossibleTimesAndMissingOrTimelessFiles) {
  TempDir dir;
  const std::string path = dir / "case.awp";
  Write(path, Ambulatory(11));
  const std::string original = ReadBytes(path);
  EXPECT_EQ(ChangeCaseMeasuringTime(path, 2024, 2, 30, 8, 0).code, CaseOpCode::InvalidTime);
  EXPECT_EQ(ChangeCaseMeasuringTime(path, 2024, 2, 3, 24, 0).code, CaseOpCode::InvalidTime);
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(ChangeCaseMeasuringTime(dir / "gone.awp", 2024, 2, 3, 8, 0).code,
            CaseOpCode::FileMissing);
  _FILE_ALL_INFO timeless = Ambulatory(12);
  for (_BP_RECORD& r : timeless.readings) r.hour = 25;
  Write(dir / "timeless.awp", timeless);
  EXPECT_EQ(ChangeCaseMeasuringTime(dir / "timeless.awp", 2024, 2, 3, 8, 0).code,
            CaseOpCode::NothingToMove);
  WriteBytes(dir / "junk.awp", "junk");
  const CaseOpResult junk = ChangeCaseMeasuringTime(dir / "junk.awp", 2024, 2, 3, 8, 0);
  EXPECT_EQ(junk.code, CaseOpCode::CaseFileError);
  EXPECT_EQ(ReadBytes(dir / "junk.awp"), "junk");
}

// Local time must never enter: under a zone with clock changes, readings in the hour that
// does not exist in spring, and in the hour that exists twice in autumn, keep their spacing.
TEST(CaseMeasuringTime, IgnoresDaylightSavingChangesOfTheLocalZone) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  TempDir dir;
  for (const DateParts target :
       {DateParts{2024, 3, 30, 23, 0, 0}, DateParts{2024, 10, 26, 23, 0, 0}}) {
    const std::string path = dir / "dst.awp";
    SampleOptions o;
    o.seed = 13;
    o.failurePercent = 0;
    o.start = {2024, 1, 10, 9, 0, 0};
    const _FILE_ALL_INFO before = MakeAmbulatorySample(o);
    Write(path, before);
    ASSERT_TRUE(ChangeCaseMeasuringTime(path, target.year, target.month, target.day, target.hour,
                                        target.minute)
                    .ok());
    const _FILE_ALL_INFO after = LoadAll(path);
    int inSwitchHour = 0;
    for (size_t i = 0; i < after.readings.size(); ++i) {
      const _BP_RECORD& a = after.readings[i];
      const _BP_RECORD& b = before.readings[i];
      EXPECT_EQ(MinuteStamp(a.year, a.month, a.day, a.hour, a.minute) -
                    MinuteStamp(b.year, b.month, b.day, b.hour, b.minute),
                MinuteStamp(target.year, target.month, target.day, target.hour, target.minute) -
                    MinuteStamp(2024, 1, 10, 9, 0));
      if (a.hour == 2 && a.day == target.day + 1) ++inSwitchHour;
    }
    EXPECT_GT(inSwitchHour, 0) << "no reading between 02:00 and 03:00 on the switch day";
    ASSERT_TRUE(ListCaseFolder(dir.path()).rows.size() == 1);
    EXPECT_EQ(ListCaseFolder(dir.path()).rows[0].startText,
              FormatStartTime(DateParts{target.year, target.month, target.day, 23, 0, 0}));
  }
  if (old)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
}

TEST(CaseCopy, ReplacesSameNameAndRefusesItselfAndMissingPlaces) {
  TempDir dir;
  ASSERT_TRUE(fsutil::CreateFolders(dir / "a") && fsutil::CreateFolders(dir / "b"));
  const std::string src = dir / "a/c.awp";
  Write(src, Ambulatory(14));
  WriteBytes(dir / "b/c.awp", "older file of the same name");
  ASSERT_TRUE(CopyCaseFile(src, dir / "b").ok());
  EXPECT_EQ(ReadBytes(dir / "b/c.awp"), ReadBytes(src));

  const std::string original = ReadBytes(src);
  EXPECT_EQ(CopyCaseFile(src, dir / "a").code, CaseOpCode::SameFile);
  EXPECT_EQ(CopyCaseFile(src, dir.path() + "/a/./").code, CaseOpCode::SameFile);
  EXPECT_EQ(ReadBytes(src), original);
  EXPECT_EQ(CopyCaseFile(dir / "a/none.awp", dir / "b").code, CaseOpCode::FileMissing);
  EXPECT_EQ(CopyCaseFile(src, dir / "nowhere").code, CaseOpCode::FolderMissing);

  // Several files, one of them gone: the others are still copied.
  Write(dir / "a/d.awp", Ambulatory(15));
  ASSERT_TRUE(fsutil::CreateFolders(dir / "c"));
  const auto results = CopyCaseFiles({src, dir / "a/gone.awp", dir / "a/d.awp"}, dir / "c");
  ASSERT_EQ(results.size(), 3u);
  EXPECT_TRUE(results[0].ok());
  EXPECT_EQ(results[1].code, CaseOpCode::FileMissing);
  EXPECT_TRUE(results[2].ok());
  EXPECT_TRUE(fsutil::FileExists(dir / "c/d.awp"));
}

TEST(CaseCopy, ReadOnlyTargetFolderIsAClearError) {
  TempDir dir;
  ASSERT_TRUE(fsutil::CreateFolders(dir / "a") && fsutil::CreateFolders(dir / "ro"));
  Write(dir / "a/c.awp", Ambulatory(16));
  ::chmod(dir.path().c_str(), 0755);
  ::chmod((dir / "a").c_str(), 0755);
  ::chmod((dir / "a/c.awp").c_str(), 0644);
  ::chmod((dir / "ro").c_str(), 0555);
  const std::string src = dir / "a/c.awp", ro = dir / "ro";
  const int code = AsUnprivileged([&] { return static_cast<int>(CopyCaseFile(src, ro).code); });
  EXPECT_EQ(code, static_cast<int>(CaseOpCode::ReadOnly));
  EXPECT_FALSE(fsutil::FileExists(dir / "ro/c.awp"));
}

TEST(CaseDelete, RefusesTheOpenCaseWhateverItsLetterCase) {
  TempDir dir;
  const std::string open = dir / "Case.awp";
  Write(open, Ambulatory(17));
  Write(dir / "other.awp", Ambulatory(18));
  std::string shouted = dir.path() + "/CASE.AWP";
  const auto results = DeleteCaseFiles({dir / "other.awp", open}, shouted);
  EXPECT_TRUE(results[0].ok());
  EXPECT_EQ(results[1].code, CaseOpCode::OpenCase);
  EXPECT_EQ(results[1].key, "IDS_UNABLE_DEL");
  EXPECT_EQ(results[1].section, "Global Setting");
  EXPECT_EQ(results[1].path, open);
  EXPECT_TRUE(fsutil::FileExists(open));
  EXPECT_FALSE(fsutil::FileExists(dir / "other.awp"));
  // The same file reached by another spelling of its path, or through a link, is the open case.
  EXPECT_EQ(DeleteCaseFile(dir.path() + "//./Case.awp", open).code, CaseOpCode::OpenCase);
  ASSERT_EQ(::symlink(open.c_str(), (dir / "link.awp").c_str()), 0);
  EXPECT_TRUE(IsSameCasePath(dir / "link.awp", open));
  EXPECT_TRUE(IsSameCasePath(dir / "ÄÖ.awp", dir / "äö.awp"));
  EXPECT_FALSE(IsSameCasePath(dir / "a.awp", ""));
}

TEST(CaseDelete, FileGoneMeanwhileAndReadOnlyFolderAreClearErrors) {
  TempDir dir;
  EXPECT_EQ(DeleteCaseFile(dir / "gone.awp", "").code, CaseOpCode::FileMissing);
  ASSERT_TRUE(fsutil::CreateFolders(dir / "ro"));
  Write(dir / "ro/c.awp", Ambulatory(19));
  ::chmod(dir.path().c_str(), 0755);
  ::chmod((dir / "ro").c_str(), 0555);
  const std::string path = dir / "ro/c.awp";
  const int code = AsUnprivileged([&] { return static_cast<int>(DeleteCaseFile(path, "").code); });
  EXPECT_EQ(code, static_cast<int>(CaseOpCode::ReadOnly));
  EXPECT_TRUE(fsutil::FileExists(path));
}

TEST(CaseOpen, LockedCaseIsRefusedBeforeOpening) {
  TempDir dir;
  _FILE_ALL_INFO locked = Ambulatory(20);
  locked.locked = 1;
  Write(dir / "locked.awp", locked);
  Write(dir / "free.awp", Ambulatory(21));
  const CaseOpResult r = CheckCaseBeforeOpen(dir / "locked.awp");
  EXPECT_EQ(r.code, CaseOpCode::Locked);
  EXPECT_EQ(r.key, "IDS_CANNOT_CHECK");
  EXPECT_TRUE(CheckCaseBeforeOpen(dir / "free.awp").ok());
  EXPECT_EQ(CheckCaseBeforeOpen(dir / "none.awp").code, CaseOpCode::FileMissing);
  // Without a language text the English description is shown.
  CLanguage none;
  EXPECT_EQ(r.Text(none), r.detail);
  EXPECT_EQ(CaseOpResult{}.Text(none), "");
}

}  // namespace
}  // namespace vesk
