// The case-file library on disk: the calling sequences, what each save keeps, the error codes,
// and that a save killed at any moment leaves the old file or the new one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "CaseTestData.h"
#include "cases/AwpFormat.h"
#include "cases/Filemanage.h"
#include "platform/FileUtil.h"
#include "platform/Profile.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::Reading;
using test::TempDir;
using test::WriteBytes;

CaseFileResult Create(const std::string& path, const _FILE_ALL_INFO& f) {
  CFilemanage_2Ver lib;
  int32_t cur = 0, total = 0;
  lib.SetProgressInfo(&cur, &total);
  lib.SetCaseFilePath(path);
  lib.SetFileInfo(f);
  const CaseFileResult rc = CaseFileResultOf(lib.SaveAllInfotoCaseFile());
  if (rc == CaseFileResult::Ok) {
    EXPECT_EQ(cur, total);
  }
  return rc;
}

TEST(Filemanage, VersionsAndTheClassTheyChoose) {
  TempDir dir;
  std::mt19937 rng(1);
  const _FILE_ALL_INFO f = test::RandomCase(rng, 2, 3, 5);
  ASSERT_EQ(Create(dir / "v2.awp", f), CaseFileResult::Ok);
  WriteBytes(dir / "v1.awp", awp::Serialize(f, 1));
  WriteBytes(dir / "other.awp", "[General]\r\nKey=1\r\n");

  _SUB_VERSION v;
  EXPECT_EQ(CFilemanage::GetFileVersion(dir / "v2.awp", v), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(v, (_SUB_VERSION{2, 0}));
  EXPECT_EQ(CFilemanage::GetFileVersion(dir / "v1.awp", v), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(v, (_SUB_VERSION{1, 0}));
  for (const char* name : {"missing.awp", "other.awp", ""}) {
    _SUB_VERSION untouched;
    EXPECT_NE(CFilemanage::GetFileVersion(name[0] ? dir / name : "", untouched),
              ToInt(CaseFileResult::Ok));
    EXPECT_EQ(untouched, _SUB_VERSION{}) << name;
  }
  EXPECT_EQ(CFilemanage::GetFileVersion(dir.path(), v), ToInt(CaseFileResult::CannotOpen));

  auto lib2 = CFilemanage::CreateFor(dir / "v2.awp");
  EXPECT_EQ(lib2->Version(), 2);
  ASSERT_EQ(lib2->LoadAllInfo(), ToInt(CaseFileResult::Ok));
  EXPECT_TRUE(lib2->FileInfo() == f);
  auto lib1 = CFilemanage::CreateFor(dir / "v1.awp");
  EXPECT_EQ(lib1->Version(), 1);
  EXPECT_EQ(lib1->LoadAllInfo(), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(CFilemanage::CreateFor(dir / "missing.awp")->LoadAllInfo(),
            ToInt(CaseFileResult::CannotOpen));
  EXPECT_EQ(CFilemanage::CreateFor(dir / "other.awp")->LoadAllInfo(),
            ToInt(CaseFileResult::NotCaseFile));
}

TEST(Filemanage, SavingReadingsKeepsTheRestOfTheFile) {
  TempDir dir;
  std::mt19937 rng(2);
  for (int version : {1, 2}) {
    const std::string path = dir / ("case" + std::to_string(version) + ".awp");
    const _FILE_ALL_INFO f = test::RandomCase(rng, version, 6, 500);
    const std::string before = awp::Serialize(f, version);
    WriteBytes(path, before);

    auto lib = CFilemanage::CreateFor(path);
    ASSERT_EQ(lib->LoadBPData(), ToInt(CaseFileResult::Ok));
    EXPECT_TRUE(lib->FileInfo().samples.empty());  // listing never reads the series
    lib->FileInfo().readings[2].included = 0;
    lib->FileInfo().readings[2].comment = "edited\r\n= ;";
    lib->FileInfo().readings.pop_back();
    lib->FileInfo().bpHead.count() = 5;
    ASSERT_EQ(lib->SaveBPData(), ToInt(CaseFileResult::Ok));

    _FILE_ALL_INFO expected = f;
    expected.readings = lib->FileInfo().readings;
    expected.bpHead.count() = 5;
    const std::string after = ReadBytes(path);
    EXPECT_EQ(after, awp::Serialize(expected, version));
    // Everything after the readings is the same bytes as before.
    const std::string tailMark = version == 2 ? "[TAIL]" : "[END]";
    EXPECT_EQ(after.substr(after.find(tailMark)), before.substr(before.find(tailMark)));
  }
}

TEST(Filemanage, PatientInfoThroughBothVersions) {
  TempDir dir;
  std::mt19937 rng(3);
  for (int version : {1, 2}) {
    const std::string path = dir / ("p" + std::to_string(version) + ".awp");
    const _FILE_ALL_INFO f = test::RandomCase(rng, version, 2, 70);
    WriteBytes(path, awp::Serialize(f, version));
    _PATIENT_INFO p = test::RandomCase(rng, 1, 0, 0).patient;
    p.birthday = OleDateTime::FromParts(1956, 3, 7);
    ASSERT_EQ(SavePatientInfoOfFile(path, p), ToInt(CaseFileResult::Ok));
    _PATIENT_INFO back;
    if (version == 1) {
      ASSERT_EQ(CFilemanage_1Ver::LoadPatientInfo(path, back), ToInt(CaseFileResult::Ok));
      EXPECT_EQ(CFilemanage_2Ver::LoadPatientInfo(path, back), ToInt(CaseFileResult::BadVersion));
    } else {
      ASSERT_EQ(CFilemanage_2Ver::LoadPatientInfo(path, back), ToInt(CaseFileResult::Ok));
      EXPECT_EQ(CFilemanage_1Ver::SavePatientInfo(path, p), ToInt(CaseFileResult::BadVersion));
    }
    EXPECT_TRUE(back == p);
    profile::ProfileFile ini(path);
    EXPECT_EQ(ini.GetString("PATIENT DATA", "Birthday", ""), "1956-3-7");
    p.birthday.status = OleDateTime::Null;
    ASSERT_EQ(LoadPatientInfoOfFile(path, back), ToInt(CaseFileResult::Ok));
    ASSERT_EQ(SavePatientInfoOfFile(path, p), ToInt(CaseFileResult::Ok));
    EXPECT_EQ(profile::ProfileFile(path).GetString("PATIENT DATA", "Birthday", ""), "-1--1--1");
    // The other parts are untouched.
    auto lib = CFilemanage::CreateFor(path);
    ASSERT_EQ(lib->LoadAllInfo(), ToInt(CaseFileResult::Ok));
    _FILE_ALL_INFO expected = f;
    expected.patient = p;
    EXPECT_TRUE(lib->FileInfo() == expected);
  }
}

TEST(Filemanage, LockedFlagAndFailedWrites) {
  TempDir dir;
  _FILE_ALL_INFO f = test::SimpleCase({Reading(2024, 5, 6, 7, 8)});
  f.locked = 1;
  ASSERT_EQ(Create(dir / "a.awp", f), CaseFileResult::Ok);
  auto lib = CFilemanage::CreateFor(dir / "a.awp");
  ASSERT_EQ(lib->LoadExtraInfo(), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(lib->FileInfo().locked, 1);

  EXPECT_EQ(Create(dir / "no/such/folder/b.awp", f), CaseFileResult::WriteFailed);
  CFilemanage_2Ver noPath;
  EXPECT_EQ(noPath.SaveAllInfotoCaseFile(), ToInt(CaseFileResult::CannotOpen));

  // A file that turned bad meanwhile is not overwritten by a save of readings.
  const std::string garbage = "[CASE FILE]\r\nFormat=VESK case\r\nVersion=2\r\n";
  WriteBytes(dir / "a.awp", garbage);
  EXPECT_EQ(lib->SaveBPData(), ToInt(CaseFileResult::Missing));
  EXPECT_EQ(ReadBytes(dir / "a.awp"), garbage);
  EXPECT_EQ(SavePatientInfoOfFile(dir / "a.awp", f.patient), ToInt(CaseFileResult::Missing));
  EXPECT_EQ(ReadBytes(dir / "a.awp"), garbage);
  // No version at all: the answer is the version's, and neither layout touches the file.
  WriteBytes(dir / "a.awp", "not a case");
  _PATIENT_INFO back;
  EXPECT_EQ(LoadPatientInfoOfFile(dir / "a.awp", back), ToInt(CaseFileResult::NotCaseFile));
  EXPECT_EQ(SavePatientInfoOfFile(dir / "a.awp", f.patient), ToInt(CaseFileResult::NotCaseFile));
  EXPECT_EQ(ReadBytes(dir / "a.awp"), "not a case");
}

TEST(Filemanage, HugeFilesAreRefusedUnread) {
  TempDir dir;
  const std::string path = dir / "huge.awp";
  WriteBytes(path, awp::Serialize(test::SimpleCase({}), 2));
  ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(awp::kMaxFileBytes + 1)), 0);
  auto lib = CFilemanage::CreateFor(path);
  EXPECT_EQ(lib->LoadAllInfo(), ToInt(CaseFileResult::TooLarge));
  EXPECT_EQ(lib->LoadBPData(), ToInt(CaseFileResult::TooLarge));
}

TEST(Filemanage, ChangeMeasuringTimeMovesEveryValidTime) {
  // Wall-clock arithmetic: the March switch of Berlin (02:00 -> 03:00) must not show.
  const char* oldTz = std::getenv("TZ");
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  TempDir dir;
  std::vector<_BP_RECORD> readings = {Reading(2024, 2, 31, 1, 0),  // impossible date stays
                                      Reading(2024, 3, 30, 23, 30), Reading(2024, 3, 31, 1, 45),
                                      Reading(2024, 3, 31, 3, 15)};
  readings[1].seconds = 42;
  _FILE_ALL_INFO f = test::SimpleCase(readings, 2);
  f.spo2Head = _SPO2_DATA_HEAD{{1, 2024, 3, 30, 23, 0, 5, 9}};
  f.samples.resize(1);
  ASSERT_EQ(Create(dir / "c.awp", f), CaseFileResult::Ok);

  CFilemanage_2Ver lib;
  lib.SetCaseFilePath(dir / "c.awp");
  ASSERT_EQ(lib.ChangeMeasuringTime(OleDateTime::FromParts(2024, 3, 31, 2, 30)),
            ToInt(CaseFileResult::Ok));
  ASSERT_EQ(lib.LoadAllInfo(), ToInt(CaseFileResult::Ok));
  const auto& r = lib.FileInfo().readings;
  EXPECT_EQ(r[0].day, 31);
  EXPECT_EQ(r[0].month, 2);
  EXPECT_EQ((std::vector<int>{r[1].day, r[1].hour, r[1].minute, r[1].seconds}),
            (std::vector<int>{31, 2, 30, 42}));
  EXPECT_EQ((std::vector<int>{r[2].day, r[2].hour, r[2].minute}), (std::vector<int>{31, 4, 45}));
  EXPECT_EQ((std::vector<int>{r[3].day, r[3].hour, r[3].minute}), (std::vector<int>{31, 6, 15}));
  EXPECT_EQ(lib.FileInfo().spo2Head, (_SPO2_DATA_HEAD{{1, 2024, 3, 31, 2, 0, 5, 9}}));
  // Back across a month end and a year end.
  ASSERT_EQ(lib.ChangeMeasuringTime(OleDateTime::FromParts(2023, 12, 31, 23, 50)),
            ToInt(CaseFileResult::Ok));
  ASSERT_EQ(lib.LoadAllInfo(), ToInt(CaseFileResult::Ok));
  EXPECT_EQ((std::vector<int>{lib.FileInfo().readings[3].year, lib.FileInfo().readings[3].month,
                              lib.FileInfo().readings[3].day, lib.FileInfo().readings[3].hour,
                              lib.FileInfo().readings[3].minute}),
            (std::vector<int>{2024, 1, 1, 3, 35}));

  EXPECT_EQ(lib.ChangeMeasuringTime(OleDateTime{}), ToInt(CaseFileResult::Failed));
  ASSERT_EQ(Create(dir / "none.awp", test::SimpleCase({Reading(2024, 2, 30, 1, 0)})),
            CaseFileResult::Ok);
  CFilemanage_2Ver none;
  none.SetCaseFilePath(dir / "none.awp");
  EXPECT_EQ(none.ChangeMeasuringTime(OleDateTime::FromParts(2024, 1, 1)),
            ToInt(CaseFileResult::Failed));
  if (oldTz)
    setenv("TZ", oldTz, 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(Filemanage, IsValidString) {
  auto valid = [](std::string s, size_t len) {
    s.resize(std::max(s.size(), len), '\0');
    return CFilemanage::IsValidString(reinterpret_cast<const uint8_t*>(s.data()), len);
  };
  EXPECT_TRUE(valid("Zhang San 01", 30));
  EXPECT_TRUE(valid("\xd5\xc5\xc8\xfd", 30));  // two GBK characters
  EXPECT_TRUE(valid("", 30));
  EXPECT_TRUE(valid(std::string("ok\0\x01\x02", 5), 30));  // after the end: not looked at
  EXPECT_FALSE(valid("tab\there", 30));
  EXPECT_FALSE(valid("cut \xd5", 30));  // lead byte without its second byte
  EXPECT_FALSE(valid("\xd5\x7f", 30));  // not a GBK trail byte
  EXPECT_FALSE(valid("\x80x", 30));
  EXPECT_FALSE(valid("\xff\xff", 30));
  EXPECT_TRUE(valid(std::string(30, 'a'), 30));
  EXPECT_FALSE(CFilemanage::IsValidString(nullptr, 5));
}

// A save killed at a random moment, many times: the file is always the old or the new one.
TEST(Filemanage, KilledSavesLeaveOldOrNew) {
  // In memory when possible: the property is about the order of the steps, and 200 rounds of
  // disk fsyncs would take most of a minute.
  std::string folder = "/dev/shm/vesk-crash-XXXXXX";
  if (access("/dev/shm", W_OK) != 0 || !mkdtemp(folder.data())) folder.clear();
  TempDir dir;
  if (folder.empty()) folder = dir.path();
  const std::string path = folder + "/crash.awp";
  std::mt19937 rng(4);
  _FILE_ALL_INFO a = test::RandomCase(rng, 2, 300, 20000);
  _FILE_ALL_INFO b = a;
  for (auto& r : b.readings) r.included = !r.included, r.comment += "edited";
  ASSERT_EQ(Create(path, a), CaseFileResult::Ok);
  const std::string bytesA = ReadBytes(path);
  ASSERT_EQ(Create(path, b), CaseFileResult::Ok);
  const std::string bytesB = ReadBytes(path);
  ASSERT_NE(bytesA, bytesB);

  std::uniform_int_distribution<int> wait(0, 3000);
  int sawA = 0, sawB = 0;
  for (int round = 0; round < 200; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Alternating saves of readings only, as the data table does.
      CFilemanage_2Ver lib;
      lib.SetCaseFilePath(path);
      for (int i = 0;; ++i) {
        if (lib.LoadBPData() != ToInt(CaseFileResult::Ok)) _exit(3);
        lib.FileInfo().readings = (i % 2 ? a : b).readings;
        if (lib.SaveBPData() != ToInt(CaseFileResult::Ok)) _exit(4);
      }
    }
    usleep(static_cast<useconds_t>(wait(rng)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended by itself: " << WEXITSTATUS(status);
    std::string now;
    ASSERT_TRUE(fsutil::ReadFile(path, now));
    ASSERT_TRUE(now == bytesA || now == bytesB) << "round " << round;
    (now == bytesA ? sawA : sawB)++;
  }
  EXPECT_GT(sawA + sawB, 0);
  if (folder != dir.path()) fsutil::RemoveFolderTree(folder);
}

}  // namespace
}  // namespace vesk
