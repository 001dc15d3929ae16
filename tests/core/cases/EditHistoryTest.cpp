// The edit history section: round trip of awkward texts, files with and without it, atomic
// saves of readings and patient data with their entries, and refusals that leave the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <random>

#include "CaseTestData.h"
#include "cases/AwpFormat.h"
#include "cases/CaseDocument.h"
#include "cases/CaseState.h"
#include "cases/EditHistory.h"
#include "cases/Filemanage.h"
#include "cases/PatientData.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::Reading;
using test::TempDir;
using test::WriteBytes;

class NoTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

std::string MakeCase(const TempDir& dir, const std::string& name, int version = 2) {
  const std::string path = dir / name;
  _FILE_ALL_INFO f = test::SimpleCase({Reading(2024, 5, 6, 7, 8), Reading(2024, 5, 6, 8, 8)});
  f.dataMode = version == 2 ? 2 : 1;
  f.spo2Head.count() = 2;
  f.samples = {_SPO2_SAMPLE{97, 70, {}, 0}, _SPO2_SAMPLE{96, 71, {}, 1}};
  WriteBytes(path, awp::Serialize(f, version));
  return path;
}

EditEntry Entry(EditKind kind, int32_t reading, std::string was, std::string now) {
  return EditEntry{"2026-12-06 21:30:00", "dr. 王", kind, reading, {}, was, now};
}

TEST(EditHistory, AwkwardTextsComeBackExactly) {
  std::mt19937 rng(7);
  std::vector<EditEntry> entries;
  for (int i = 0; i < 200; ++i) {
    EditEntry e{test::AwkwardText(rng) + ",",
                test::AwkwardText(rng),
                static_cast<EditKind>(1 + i % 8),
                i - 5,
                test::AwkwardText(rng),
                "a,b,," + test::AwkwardText(rng),
                test::AwkwardText(rng)};
    entries.push_back(e);
  }
  std::string file = "[CASE FILE]\r\n[END]\r\n" + SerializeHistory(entries);
  std::vector<EditEntry> back;
  ASSERT_EQ(ParseHistory(file, back), CaseFileResult::Ok);
  EXPECT_EQ(back, entries);
}

TEST(EditHistory, DamagedSectionsAreReportedAndNeverOverwritten) {
  std::vector<EditEntry> back;
  EXPECT_EQ(ParseHistory("[END]\r\n", back), CaseFileResult::Ok);
  EXPECT_TRUE(back.empty());
  const std::string good = "[END]\r\n" + SerializeHistory({Entry(EditKind::Added, 3, "", "x"),
                                                           Entry(EditKind::Deleted, 4, "y", "")});
  // A file cut inside the history, a count that is too high, a kind that does not exist.
  const std::string cut = good.substr(0, good.size() - 12);
  std::string tooMany = good;
  tooMany.replace(tooMany.find("Entries=2"), 9, "Entries=3");
  std::string badKind = good;
  badKind.replace(badKind.find(",5,4,"), 5, ",9,4,");
  for (const std::string& bad : {cut, tooMany, badKind}) {
    EXPECT_NE(ParseHistory(bad, back), CaseFileResult::Ok) << bad;
    EXPECT_TRUE(back.empty());
    std::string bytes = bad;
    EXPECT_NE(AppendHistory(bytes, {Entry(EditKind::Comment, 1, "a", "b")}), CaseFileResult::Ok);
    EXPECT_EQ(bytes, bad);
  }
}

TEST(EditHistory, AppendsAfterTheEndAndOlderReadersStillReadTheFile) {
  TempDir dir;
  const std::string path = MakeCase(dir, "a.awp");
  const std::string before = ReadBytes(path);
  auto lib = CFilemanage::CreateFor(path);
  ASSERT_EQ(lib->LoadBPData(), ToInt(CaseFileResult::Ok));
  lib->FileInfo().readings[0].included = 0;
  ASSERT_EQ(lib->SaveBPDataWithHistory({Entry(EditKind::Excluded, 0, "", "")}),
            ToInt(CaseFileResult::Ok));
  const std::string after = ReadBytes(path);
  EXPECT_EQ(after.find("[EDIT HISTORY]"), after.rfind("[EDIT HISTORY]"));
  EXPECT_GT(after.find("[EDIT HISTORY]"), after.find("[END]"));
  // Everything before the readings and the series after them are untouched.
  EXPECT_EQ(after.substr(0, after.find("[BP DATA]")), before.substr(0, before.find("[BP DATA]")));

  // The whole file and the listing read exactly as without the section.
  _FILE_ALL_INFO full, listed;
  ASSERT_EQ(awp::Parse(after, true, 0, full), CaseFileResult::Ok);
  ASSERT_EQ(awp::Parse(after, false, 0, listed), CaseFileResult::Ok);
  EXPECT_EQ(full.samples.size(), 2u);
  EXPECT_EQ(full.readings[0].included, 0);

  // A second save appends to the one section.
  ASSERT_EQ(lib->SaveBPDataWithHistory({Entry(EditKind::Included, 0, "", "")}),
            ToInt(CaseFileResult::Ok));
  std::vector<EditEntry> history;
  ASSERT_EQ(CFilemanage::LoadEditHistory(path, history), ToInt(CaseFileResult::Ok));
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].kind, EditKind::Excluded);
  EXPECT_EQ(history[1].kind, EditKind::Included);
  EXPECT_EQ(history[1].user, "dr. 王");
  const std::string twice = ReadBytes(path);
  EXPECT_EQ(twice.find("[EDIT HISTORY]"), twice.rfind("[EDIT HISTORY]"));

  // Saving without entries keeps the history.
  ASSERT_EQ(lib->SaveBPData(), ToInt(CaseFileResult::Ok));
  ASSERT_EQ(CFilemanage::LoadEditHistory(path, history), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(history.size(), 2u);
}

TEST(EditHistory, MovingTheMeasuringTimeKeepsTheHistory) {
  TempDir dir;
  const std::string path = MakeCase(dir, "a.awp", 1);
  auto lib = CFilemanage::CreateFor(path);
  ASSERT_EQ(lib->LoadBPData(), ToInt(CaseFileResult::Ok));
  ASSERT_EQ(lib->SaveBPDataWithHistory({Entry(EditKind::Comment, 1, "", "c")}),
            ToInt(CaseFileResult::Ok));
  auto mover = CFilemanage::CreateFor(path);
  ASSERT_EQ(mover->ChangeMeasuringTime(OleDateTime::FromParts(2025, 1, 2, 3, 4)),
            ToInt(CaseFileResult::Ok));
  std::vector<EditEntry> history;
  ASSERT_EQ(CFilemanage::LoadEditHistory(path, history), ToInt(CaseFileResult::Ok));
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].newValue, "c");
  _FILE_ALL_INFO f;
  ASSERT_EQ(awp::Parse(ReadBytes(path), true, 1, f), CaseFileResult::Ok);
  EXPECT_EQ(f.readings[0].year, 2025);
}

TEST(EditHistory, PatientChangesAreRecordedFieldByField) {
  TempDir dir;
  const std::string path = MakeCase(dir, "a.awp");
  const std::string before = ReadBytes(path);
  _PATIENT_INFO p;
  ASSERT_EQ(LoadPatientInfoOfFile(path, p), ToInt(CaseFileResult::Ok));
  const EditStamp stamp{"nurse", "2026-12-06 22:00:00"};
  // Nothing changed: the file stays byte for byte.
  ASSERT_EQ(SavePatientInfoWithHistory(path, p, stamp), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(ReadBytes(path), before);

  _PATIENT_INFO changed = p;
  changed.name = "New, Name";
  changed.height = 181;
  ASSERT_EQ(SavePatientInfoWithHistory(path, changed, stamp), ToInt(CaseFileResult::Ok));
  std::vector<EditEntry> history;
  ASSERT_EQ(CFilemanage::LoadEditHistory(path, history), ToInt(CaseFileResult::Ok));
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].field, "Name");
  EXPECT_EQ(history[0].oldValue, "Test Patient");
  EXPECT_EQ(history[0].newValue, "New, Name");
  EXPECT_EQ(history[1].field, "Height");
  EXPECT_EQ(history[1].oldValue, "0");
  EXPECT_EQ(history[1].newValue, "181");
  EXPECT_EQ(history[0].user, "nurse");
  ASSERT_EQ(LoadPatientInfoOfFile(path, p), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(p.name, "New, Name");

  // The patient page's save, in a version-1 file that stays version 1.
  const std::string old = MakeCase(dir, "old.awp", 1);
  _PATIENT_INFO q;
  ASSERT_EQ(LoadCasePatient(old, q), CaseFileResult::Ok);
  q.email = "a@b.c";
  ASSERT_EQ(SaveCasePatient(old, q, stamp), CaseFileResult::Ok);
  ASSERT_EQ(CFilemanage::LoadEditHistory(old, history), ToInt(CaseFileResult::Ok));
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].field, "Email");
  _SUB_VERSION v;
  ASSERT_EQ(CFilemanage::GetFileVersion(old, v), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(v.nMain, 1);
  EXPECT_NE(SaveCasePatient(dir / "none.awp", q, stamp), CaseFileResult::Ok);
}

TEST(EditHistory, ReadOnlyMissingAndFullDisksLeaveTheFile) {
  TempDir dir;
  const std::string path = MakeCase(dir, "a.awp");
  const std::string before = ReadBytes(path);
  CaseState state;
  NoTexts texts;
  CaseDocument doc(state, texts);
  doc.SetCasePath(path);
  ASSERT_EQ(doc.LoadCase(), ToInt(CaseLoadResult::Ok));
  doc.AllReadings()[1].comment = "changed";
  const std::vector<EditEntry> entries = {Entry(EditKind::Comment, 1, "", "changed")};

  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(doc.SaveEditedCaseWithHistory(entries), CaseFileResult::ReadOnly);
  EXPECT_EQ(ReadBytes(path), before);
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

  // A disk that fills up: the writer hits the file-size limit half way.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* previous = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = before.size() / 2;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const CaseFileResult full = doc.SaveEditedCaseWithHistory(entries);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ(full, CaseFileResult::WriteFailed);
  EXPECT_EQ(ReadBytes(path), before);

  ASSERT_EQ(std::remove(path.c_str()), 0);
  EXPECT_EQ(doc.SaveEditedCaseWithHistory(entries), CaseFileResult::CannotOpen);
  EXPECT_FALSE(test::ReadBytes(path).size());

  // A file put back in its place is not the one loaded, whatever it holds; once loaded again
  // it saves.
  WriteBytes(path, before);
  EXPECT_EQ(doc.SaveEditedCaseWithHistory(entries), CaseFileResult::Changed);
  EXPECT_EQ(ReadBytes(path), before);
  ASSERT_EQ(doc.LoadCase(), ToInt(CaseLoadResult::Ok));
  doc.AllReadings()[1].comment = "changed";
  EXPECT_EQ(doc.SaveEditedCaseWithHistory(entries), CaseFileResult::Ok);
  CaseDocument again(state, texts);
  again.SetCasePath(path);
  ASSERT_EQ(again.LoadCase(), ToInt(CaseLoadResult::Ok));
  EXPECT_EQ(again.AllReadings()[1].comment, "changed");
}

TEST(EditHistory, DiffsAndSelection) {
  _PATIENT_INFO a, b;
  EXPECT_TRUE(DiffPatient(a, b, {}).empty());
  b.birthday = OleDateTime::FromParts(1956, 3, 7);
  b.extra[2] = "diagnosis";
  const auto d = DiffPatient(a, b, {"u", "t"});
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d[0].field, "Birthday");
  EXPECT_EQ(d[0].newValue, "1956-03-07");
  EXPECT_EQ(d[1].field, "Text3");

  const std::vector<EditEntry> all = {
      Entry(EditKind::Values, 3, "a", "b"), Entry(EditKind::StartMoved, -1, "c", "d"),
      Entry(EditKind::Comment, 3, "", "x"), Entry(EditKind::Comment, 4, "", "y")};
  const auto of3 = EntriesOfReading(all, 3);
  ASSERT_EQ(of3.size(), 2u);
  EXPECT_EQ(of3[1].newValue, "x");
  EXPECT_EQ(ReadingSummary(Reading(2024, 5, 6, 7, 8, 120, 80, 95, 70)),
            "120/80 MAP 95 PR 70 2024-05-06 07:08:00");
}

}  // namespace
}  // namespace vesk
