// Storing a download without a recorder: names taken from the recorder's plan, the stamp shared
// by the files of one download, and the patient-information program around a download.
#include <gtest/gtest.h>

#include <cstring>

#include "cases/Filemanage.h"
#include "device/DownloadStore.h"
#include "device/PatientInfoProgram.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

_FILE_ALL_INFO WithPlanName(const std::string& name, const std::string& id) {
  _FILE_ALL_INFO f;
  std::memcpy(f.plan.patientName, name.data(), std::min(name.size(), sizeof f.plan.patientName));
  std::memcpy(f.plan.patientId, id.data(), std::min(id.size(), sizeof f.plan.patientId));
  TakePatientFromPlan(f);
  return f;
}

TEST(DownloadStoreNames, TooLongOrUnreadableNamesAreClearedNeverCut) {
  // 30 bytes fit, a 31st byte means the recorder sent a longer name: cleared, not cut.
  EXPECT_EQ(WithPlanName(std::string(30, 'A'), "12345678901").patient.name, std::string(30, 'A'));
  _FILE_ALL_INFO f = WithPlanName(std::string(31, 'A'), std::string(12, '7'));
  EXPECT_EQ(f.patient.name, "");
  EXPECT_EQ(f.patient.caseId, "");
  EXPECT_EQ(f.plan.patientName[0], 0);
  EXPECT_EQ(f.plan.patientName[30], 0);
  EXPECT_EQ(f.plan.patientId[11], 0);
  EXPECT_EQ(WithPlanName("12345678901", "12345678901").patient.caseId, "12345678901");

  // Double-byte names of the narrow code page arrive as UTF-8; a control byte or a lead byte
  // without its second byte makes the whole field go.
  EXPECT_EQ(WithPlanName("\xD5\xC5\xC8\xFD", "").patient.name, "张三");
  EXPECT_EQ(WithPlanName("Ann\x01", "ok").patient.name, "");
  EXPECT_EQ(WithPlanName(std::string(29, 'B') + "\xD5", "").patient.name, "");
  EXPECT_EQ(WithPlanName("x", "\xFF\xFF").patient.caseId, "");
  EXPECT_EQ(WithPlanName("x", "\xFF\xFF").patient.name, "x");
}

_DOWNLOAD_DATAINFO QoraData(int mode, std::initializer_list<int> usersWithReadings) {
  QoraDownload q;
  for (int u : usersWithReadings) {
    _BP_RECORD r;
    r.year = 2024, r.month = 2, r.day = 29, r.hour = 7, r.minute = 5, r.seconds = 9;
    r.sys = 130, r.dia = 80, r.map = 96, r.pr = 70;
    q.users[static_cast<size_t>(u - 1)].readings = {r};
    q.users[static_cast<size_t>(u - 1)].head.v[0] = 1;
  }
  _DOWNLOAD_DATAINFO d;
  d.nDeviceKind = kQora;
  d.nDataMode = mode;
  d.data = q;
  return d;
}

TEST(DownloadStoreFiles, FilesOfOneDownloadShareOneFreeStamp) {
  test::TempDir temp;
  CLanguage language;
  const StoreContext ctx{temp / "data", "Bo", {2024, 12, 31, 23, 59, 59}};
  // A file of an earlier download already holds the user-3 name of this second.
  test::WriteBytes(temp / "data/Bo/BPM/2024123123595903.awp", "earlier");
  const StoreOutcome o =
      StoreDownload(QoraData(kModeAllUsers, {1, 3}), {kQora, 10, 0, 0}, {3, 1}, ctx, language);
  ASSERT_EQ(o.device, DeviceResult::Ok);
  ASSERT_EQ(o.caseFile, CaseFileResult::Ok);
  EXPECT_EQ(o.storedFiles, (std::vector<std::string>{temp / "data/Bo/BPM/2025010100000001.awp",
                                                     temp / "data/Bo/BPM/2025010100000003.awp"}));
  EXPECT_EQ(o.currentPath, o.storedFiles.back());
  EXPECT_EQ(test::ReadBytes(temp / "data/Bo/BPM/2024123123595903.awp"), "earlier");

  // The generated plan is dated like the first reading, to the minute.
  auto file = CFilemanage::CreateFor(o.storedFiles[1]);
  ASSERT_EQ(file->LoadAllInfo(), ToInt(CaseFileResult::Ok));
  const _FILE_ALL_INFO& f = file->FileInfo();
  EXPECT_EQ(f.patient.name, "User3");
  EXPECT_EQ(f.dataMode, kModeUser3);
  EXPECT_EQ(f.version[0], (_SUB_VERSION{3, 1}));
  EXPECT_EQ((std::array<int, 6>{f.plan.year, f.plan.month, f.plan.day, f.plan.hour, f.plan.minute,
                                f.plan.second}),
            (std::array<int, 6>{2024, 2, 29, 7, 5, 0}));
}

TEST(DownloadStoreFiles, DataOfAnotherKindIsRefusedWithoutWriting) {
  test::TempDir temp;
  CLanguage language;
  const StoreContext ctx{temp / "data", "Bo", {2024, 1, 2, 3, 4, 5}};
  _DOWNLOAD_DATAINFO d = QoraData(kModeAllUsers, {1});
  const StoreOutcome o = StoreDownload(d, {kMiru, 7, 0, 0}, {}, ctx, language);
  // Nothing a case file did: the data itself is at fault.
  EXPECT_EQ(o.device, DeviceResult::WrongDevice);
  EXPECT_EQ(o.caseFile, CaseFileResult::Ok);
  EXPECT_TRUE(o.storedFiles.empty());
  EXPECT_FALSE(fsutil::FolderExists(temp / "data"));
}

// The patient-information program -------------------------------------------------------------

struct FakeProgram : IPatientInfoProgram {
  bool Run(const std::string& program, const std::string& caseInfoPath) override {
    calls.push_back(program + "|" + caseInfoPath);
    return result;
  }
  std::vector<std::string> calls;
  bool result = true;
};

TEST(PatientInfoProgram, RunsOnlyWhenSwitchedOnWithTheCaseInfoPath) {
  test::TempDir temp;
  SetProgramDir(temp.path());
  FakeProgram program;
  SystemSettings system;
  system.otherExe = "/opt/patient-info";
  EXPECT_TRUE(RunPatientInfoProgram(system, program));
  EXPECT_TRUE(program.calls.empty());
  system.useOtherExe = 1;
  EXPECT_TRUE(RunPatientInfoProgram(system, program));
  EXPECT_EQ(program.calls, std::vector<std::string>{"/opt/patient-info|" + temp / "CaseInfo.xml"});
  program.result = false;
  EXPECT_FALSE(RunPatientInfoProgram(system, program));
}

TEST(PatientInfoProgram, CaseInfoOverlaysTheStoredCaseOnly) {
  test::TempDir temp;
  const std::string path = temp / "data/Bo/VESK/2024010203040501.awp";
  _FILE_ALL_INFO f;
  f.modelCode = kPexa;
  f.patient.name = "From Recorder";
  f.patient.caseId = "R1";
  f.readings.resize(1);
  f.bpHead.v[0] = 1;
  ASSERT_EQ(WriteDownloadedCase(path, f), CaseFileResult::Ok);
  const std::string before = test::ReadBytes(path);

  SystemSettings system;
  system.useOtherExe = 1;
  const std::string xml = temp / "CaseInfo.xml";
  // No file from the program: nothing is written.
  CaseInfoApplied a = ApplyCaseInfoToStoredCase(system, path, xml);
  EXPECT_TRUE(a.wanted);
  EXPECT_FALSE(a.ok());
  EXPECT_EQ(test::ReadBytes(path), before);

  test::WriteBytes(xml,
                   "<?xml version=\"1.0\"?><Info><Patient><CaseID>H-77</CaseID><Tel>555</Tel>"
                   "<Age>61</Age></Patient></Info>");
  a = ApplyCaseInfoToStoredCase(system, path, xml);
  EXPECT_TRUE(a.ok());
  _PATIENT_INFO p;
  ASSERT_EQ(LoadPatientInfoOfFile(path, p), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(p.name, "From Recorder");  // not in the file: the stored value stays
  EXPECT_EQ(p.caseId, "H-77");
  EXPECT_EQ(p.tel, "555");
  EXPECT_EQ(p.age, 61);

  // Switched off, or nothing stored: not wanted, nothing touched.
  system.useOtherExe = 0;
  EXPECT_FALSE(ApplyCaseInfoToStoredCase(system, path, xml).wanted);
  system.useOtherExe = 1;
  EXPECT_FALSE(ApplyCaseInfoToStoredCase(system, "", xml).wanted);
}

}  // namespace
}  // namespace vesk
