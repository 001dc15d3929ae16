// The document's device half end to end: a simulated recorder on a pty is detected, downloaded
// in every mode it offers and the case files in a temporary folder tree are compared field by
// field with what the simulator holds; faults leave no file behind.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <thread>

#include "SimHarness.h"
#include "cases/Filemanage.h"
#include "device/DeviceCaseDocument.h"
#include "device/LinkMessages.h"
#include "device/ModelTable.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

class NoErrorTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

const DateParts kNow{2024, 5, 6, 9, 41, 17};
constexpr char kStamp[] = "20240506094117";

// A recorder on a pty and a document that finds it through the extra-port list.
struct DocHarness {
  explicit DocHarness(sim::SimRecorder rec) : sim(std::move(rec)), runner(sim) {
    language.LoadFile(std::string(VESK_SOURCE_DIR) + "/data/Language/English.lng");
    doc.SetDownloadTarget(temp / "data", "Ann");
    doc.SetClock([] { return kNow; });
  }
  ::testing::AssertionResult Start() {
    if (!runner.Start()) return ::testing::AssertionFailure() << "no pty";
    DetectOptions o;
    o.probeHid = false;
    o.probeSystemPorts = false;
    o.extraPorts = {runner.Path()};
    o.timing = test::QuickTiming();
    const DeviceResult r = doc.DetectRecorder(o, 5000);
    if (r != DeviceResult::Ok)
      return ::testing::AssertionFailure() << "detection gave " << ToInt(r);
    doc.Link().SetLinkTiming(test::QuickTiming());
    return ::testing::AssertionSuccess();
  }
  // DownloadData, and how it ended; the int must be the one the outcome stands for.
  DownloadOutcome Download(int mode) {
    const int32_t code = doc.DownloadData(mode);
    EXPECT_EQ(code, doc.LastDownload().Code());
    return doc.LastDownload();
  }
  std::string Path(const char* folder, int ending) const {
    return temp / ("data/Ann/" + std::string(folder) + "/" + kStamp + "0" + std::to_string(ending) +
                   ".awp");
  }
  // Every file below the data folder, case files or not.
  std::vector<std::string> Files() const {
    std::vector<std::string> out;
    if (!fs::exists(temp / "data")) return out;
    for (const auto& e : fs::recursive_directory_iterator(temp / "data"))
      if (!e.is_directory()) out.push_back(e.path().string());
    std::sort(out.begin(), out.end());
    return out;
  }

  test::TempDir temp;
  CLanguage language;
  CaseState state;
  NoErrorTexts texts;
  DeviceCaseDocument doc{state, texts, language};
  sim::RecorderSimulator sim;
  sim::SimulatorRunner runner;
};

const DownloadOutcome kStored{DownloadStep::Stored, DeviceResult::Ok, CaseFileResult::Ok};
const DownloadOutcome kNoData{DownloadStep::NoData, DeviceResult::Ok, CaseFileResult::Ok};
DownloadOutcome TransferFailed(DeviceResult r) {
  return {DownloadStep::Transfer, r, CaseFileResult::Ok};
}

_FILE_ALL_INFO Load(const std::string& path) {
  auto file = CFilemanage::CreateFor(path);
  EXPECT_EQ(file->LoadAllInfo(), ToInt(CaseFileResult::Ok)) << path;
  EXPECT_EQ(file->Version(), 2);
  return file->FileInfo();
}

void ExpectHeader(const _FILE_ALL_INFO& f, const sim::SimRecorder& rec, int dataMode) {
  EXPECT_EQ(f.modelCode, rec.deviceKind);
  EXPECT_EQ(f.modelName, ModelName(rec.deviceKind));
  EXPECT_EQ(f.dataMode, dataMode);
  EXPECT_EQ(f.version[0], rec.version);
  EXPECT_EQ(f.version[1], (_SUB_VERSION{0, 0}));
  EXPECT_EQ(f.version[2], (_SUB_VERSION{0, 0}));
  EXPECT_EQ(f.version[3], (_SUB_VERSION{5, 2}));
  EXPECT_EQ(f.protocol, rec.protocol);
  EXPECT_EQ(f.deviceByte, rec.deviceByte);
  EXPECT_EQ(f.locked, rec.lockByte);
}

void ExpectReadings(const _FILE_ALL_INFO& f, const ReadingBlock& want) {
  EXPECT_EQ(f.bpHead, want.head);
  ASSERT_EQ(f.readings.size(), want.readings.size());
  for (size_t i = 0; i < want.readings.size(); ++i)
    ASSERT_EQ(f.readings[i], want.readings[i]) << "reading " << i;
}

// The recorder's plan as it lands in the case, and the patient taken from it.
void ExpectRecorderPlan(const _FILE_ALL_INFO& f, const sim::SimRecorder& rec) {
  EXPECT_EQ(f.plan, rec.plan);
  EXPECT_EQ(f.patient.name, std::string(rec.plan.patientName));
  EXPECT_EQ(f.patient.caseId, std::string(rec.plan.patientId));
  EXPECT_TRUE(f.patient.address.empty());
}

void ExpectGenerated(const _FILE_ALL_INFO& f, const char* name, const char* id, int flags) {
  EXPECT_EQ(f.patient.name, name);
  EXPECT_EQ(f.patient.caseId, id);
  EXPECT_STREQ(f.plan.patientName, name);
  EXPECT_STREQ(f.plan.patientId, id);
  const _BP_RECORD& first = f.readings.at(0);
  EXPECT_EQ(f.plan.year, first.year);
  EXPECT_EQ(f.plan.month, first.month);
  EXPECT_EQ(f.plan.day, first.day);
  EXPECT_EQ(f.plan.hour, first.hour);
  EXPECT_EQ(f.plan.minute, first.minute);
  EXPECT_EQ(f.plan.second, 0);
  EXPECT_EQ(f.plan.awakeHour, 7);
  EXPECT_EQ(f.plan.awakeInterval, 60);
  EXPECT_EQ(f.plan.asleepHour, 22);
  EXPECT_EQ(f.plan.asleepInterval, 30);
  EXPECT_EQ(f.plan.maxPressure, 297);
  EXPECT_EQ(f.plan.specialStartHour, -1);
  EXPECT_EQ(f.plan.specialInterval, 0);
  EXPECT_EQ(f.plan.manualSet, flags);
  EXPECT_EQ(f.plan.startKey, flags);
  EXPECT_EQ(f.plan.awakeWarn[1], 140);
  EXPECT_EQ(f.plan.asleepWarn[4], 50);
}

struct Case {
  int kind;
  int protocol;
  int mode;
};

class DocumentDownload : public ::testing::TestWithParam<Case> {};

TEST_P(DocumentDownload, StoresWhatTheRecorderHoldsWhereItBelongs) {
  const Case c = GetParam();
  DocHarness h(sim::MakeSampleRecorder(c.kind, c.protocol, 11, 700));
  ASSERT_TRUE(h.Start());
  EXPECT_EQ(h.doc.Detected().nDeviceKind, c.kind);
  EXPECT_EQ(h.doc.Detected().nProtocol, c.protocol);
  const sim::SimRecorder rec = h.sim.Snapshot();
  h.doc.ChooseDataMode(c.kind, c.mode);
  const DownloadOutcome r = h.Download(c.mode);

  std::vector<std::string> want;
  switch (c.kind) {
    case kTaloColor: {
      ASSERT_EQ(r, kStored);
      want = {h.Path("SingleUser", 2), h.Path("VESK", 1)};
      const _FILE_ALL_INFO amb = Load(h.Path("VESK", 1));
      ExpectHeader(amb, rec, 1);
      ExpectRecorderPlan(amb, rec);
      ExpectReadings(amb, rec.readings.at(link::kBlockRecording));
      const _FILE_ALL_INFO single = Load(h.Path("SingleUser", 2));
      ExpectHeader(single, rec, 1);
      ExpectReadings(single, rec.readings.at(link::kBlockSingleUser));
      ExpectGenerated(single, "SingleUser", "000", 0);
      EXPECT_EQ(h.doc.StoredCasePath(), h.Path("VESK", 1));
      EXPECT_EQ(h.doc.ResultText(), "Download complete.\r\n\r\n");
      break;
    }
    case kMiru: {
      ASSERT_EQ(r, kStored);
      const char* folder = c.mode == 1 ? "VESK" : c.mode == 2 ? "Monitor" : "SingleUser";
      const int ending = c.mode == 1 ? 1 : c.mode;
      want = {h.Path(folder, ending)};
      const _FILE_ALL_INFO f = Load(want[0]);
      ExpectHeader(f, rec, c.mode);
      const uint8_t block = c.mode == 1   ? link::kBlockRecording
                            : c.mode == 2 ? link::kBlockMonitor
                                          : link::kBlockSingleUser;
      ExpectReadings(f, rec.readings.at(block));
      if (c.mode == 3) {
        ExpectGenerated(f, "SingleUser", "004", 1);
      } else {
        ExpectRecorderPlan(f, rec);
      }
      if (c.mode == 2) {
        EXPECT_EQ(f.spo2Head, rec.spo2->head);
        EXPECT_EQ(f.samples, rec.spo2->samples);
        EXPECT_EQ(f.samples.size(), 700u);
      } else {
        EXPECT_TRUE(f.samples.empty());
        EXPECT_EQ(f.spo2Head, _SPO2_DATA_HEAD{});
      }
      EXPECT_EQ(h.doc.Mode2Flag(), c.mode == 1 ? 1 : 0);
      EXPECT_EQ(h.doc.ResultText(), "Download complete.");
      break;
    }
    case kQora: {
      // The built-in home monitor has readings for users 1 and 2 only.
      if (c.mode == kModeUser3) {
        EXPECT_EQ(r, kNoData);
        break;
      }
      ASSERT_EQ(r, kStored);
      for (int u = 1; u <= 2; ++u) {
        if (c.mode != kModeAllUsers && c.mode != 3 + u) continue;
        want.push_back(h.Path("BPM", u));
        const _FILE_ALL_INFO f = Load(want.back());
        ExpectHeader(f, rec, 3 + u);
        ExpectReadings(f, rec.readings.at(static_cast<uint8_t>(link::kBlockUser1 + u - 1)));
        const std::string n = std::to_string(u);
        ExpectGenerated(f, ("User" + n).c_str(), ("00" + n).c_str(), 1);
      }
      EXPECT_EQ(h.doc.StoredCasePath(), want.back());
      break;
    }
    default: {
      ASSERT_EQ(r, kStored);
      want = {h.Path("VESK", 1)};
      const _FILE_ALL_INFO f = Load(want[0]);
      ExpectHeader(f, rec, 1);
      ExpectRecorderPlan(f, rec);
      ExpectReadings(f, rec.readings.at(link::kBlockRecording));
    }
  }
  EXPECT_EQ(h.Files(), want);
  std::vector<std::string> stored = h.doc.StoredFiles();
  std::sort(stored.begin(), stored.end());
  EXPECT_EQ(stored, want);
}

std::vector<Case> AllCases() {
  std::vector<Case> out;
  for (const auto& m : AllModels())
    for (int mode = 1; mode < kDataModeSlots; ++mode)
      if (m.modeFlags & (1u << mode)) out.push_back({m.deviceKind, m.protocol, mode});
  return out;
}

INSTANTIATE_TEST_SUITE_P(AllModelsAllModes, DocumentDownload, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(ModelName(info.param.kind)) + "_p" +
                                  std::to_string(info.param.protocol) + "_m" +
                                  std::to_string(info.param.mode);
                         });

TEST(DocumentDownloadEdges, QoraWithOnlyUserTwoStoresOneFileUnderItsOwnIdentity) {
  sim::SimRecorder rec = sim::MakeSampleRecorder(kQora);
  rec.readings[link::kBlockUser1] = {};
  DocHarness h(rec);
  ASSERT_TRUE(h.Start());
  h.doc.SetCasePath(h.temp / "open.awp");
  ASSERT_EQ(h.Download(kModeAllUsers), kStored);
  EXPECT_EQ(h.Files(), std::vector<std::string>{h.Path("BPM", 2)});
  // The open case keeps its path: its edits must never land in the new file.
  EXPECT_EQ(h.doc.CasePath(), h.temp / "open.awp");
  EXPECT_EQ(h.doc.StoredCasePath(), h.Path("BPM", 2));
  const _FILE_ALL_INFO f = Load(h.Path("BPM", 2));
  EXPECT_EQ(f.patient.name, "User2");
  EXPECT_EQ(f.patient.caseId, "002");
  // Asking for the empty user alone is "no data" and stores nothing.
  EXPECT_EQ(h.Download(kModeUser1), kNoData);
  EXPECT_EQ(h.Files().size(), 1u);
}

TEST(DocumentDownloadEdges, TaloColorWithOnlySingleUserReadingsSaysSoAndOffersThatFile) {
  sim::SimRecorder rec = sim::MakeSampleRecorder(kTaloColor);
  rec.readings[link::kBlockRecording] = {};
  DocHarness h(rec);
  ASSERT_TRUE(h.Start());
  ASSERT_EQ(h.Download(kModeRecording), kStored);
  EXPECT_EQ(h.Files(), std::vector<std::string>{h.Path("SingleUser", 2)});
  EXPECT_EQ(h.doc.StoredCasePath(), h.Path("SingleUser", 2));
  EXPECT_EQ(h.doc.ResultText(),
            "Download complete.\r\nNo ambulatory blood-pressure readings were received.\r\n");
}

TEST(DocumentDownloadEdges, EmptyRecorderOfEveryKindIsNoDataAndStoresNothing) {
  for (int kind = 1; kind <= 6; ++kind) {
    sim::SimRecorder rec = sim::MakeSampleRecorder(kind);
    for (auto& [block, b] : rec.readings) b = {};
    if (rec.spo2) rec.spo2 = SpO2Block{};
    DocHarness h(rec);
    ASSERT_TRUE(h.Start());
    const int mode = kind == kQora ? kModeAllUsers : kind == kMiru ? kModeMonitor : 1;
    EXPECT_EQ(h.Download(mode), kNoData) << kind;
    EXPECT_TRUE(h.Files().empty()) << kind;
    EXPECT_TRUE(h.doc.StoredCasePath().empty());
  }
}

TEST(DocumentDownloadEdges, MiruMonitoringWithSpO2AloneIsStored) {
  sim::SimRecorder rec = sim::MakeSampleRecorder(kMiru);
  rec.readings[link::kBlockMonitor] = {};
  DocHarness h(rec);
  ASSERT_TRUE(h.Start());
  ASSERT_EQ(h.Download(kModeMonitor), kStored);
  const _FILE_ALL_INFO f = Load(h.Path("Monitor", 2));
  EXPECT_TRUE(f.readings.empty());
  EXPECT_EQ(f.samples, rec.spo2->samples);
}

TEST(DocumentDownloadEdges, SecondDownloadInTheSameSecondGetsTheNextStamp) {
  DocHarness h(sim::MakeSampleRecorder(kPexa));
  ASSERT_TRUE(h.Start());
  ASSERT_EQ(h.Download(kModeRecording), kStored);
  ASSERT_EQ(h.Download(kModeRecording), kStored);
  EXPECT_EQ(h.Files(), (std::vector<std::string>{h.Path("VESK", 1),
                                                 h.temp / "data/Ann/VESK/2024050609411801.awp"}));
}

// Faults -------------------------------------------------------------------------------------

TEST(DocumentDownloadFaults, LinkCutAtAnyPointStoresNothing) {
  for (int kind : {kTaloColor, kMiru, kQora}) {
    const int mode = kind == kQora ? kModeAllUsers : kind == kMiru ? kModeMonitor : 1;
    // How many bytes a whole download takes, to cut early, midway and just before the end.
    uint64_t whole = 0;
    {
      DocHarness clean(sim::MakeSampleRecorder(kind));
      ASSERT_TRUE(clean.Start());
      const uint64_t before = clean.sim.BytesSent();
      ASSERT_EQ(clean.Download(mode), kStored);
      whole = clean.sim.BytesSent() - before;
    }
    // The last reply (to BYE, 10 bytes) is not waited for: cut inside the last data reply.
    for (uint64_t cut : {whole / 20, whole / 2, whole - 12}) {
      DocHarness h(sim::MakeSampleRecorder(kind));
      ASSERT_TRUE(h.Start());
      sim::SimFaults f;
      f.cutAfterBytes = static_cast<int64_t>(h.sim.BytesSent() + cut);
      h.sim.SetFaults(f);
      const DownloadOutcome r = h.Download(mode);
      EXPECT_EQ(r.step, DownloadStep::Transfer);
      EXPECT_TRUE(r.device == DeviceResult::NoReply || r.device == DeviceResult::LinkLost ||
                  r.device == DeviceResult::ProtocolError)
          << kind << " cut " << cut << " gave " << ToInt(r.device);
      EXPECT_EQ(h.doc.Progress().state.load(), kStateFailed);
      EXPECT_TRUE(h.Files().empty()) << kind << " cut " << cut;
      EXPECT_TRUE(h.doc.ResultText().empty());
    }
  }
}

TEST(DocumentDownloadFaults, RecorderErrorsAndCancelStoreNothing) {
  DocHarness h(sim::MakeSampleRecorder(kPexaC));
  ASSERT_TRUE(h.Start());
  sim::SimFaults f;
  f.errorStatus = link::kStatusRemote;
  f.errorCommand = link::kCmdRead;
  h.sim.SetFaults(f);
  EXPECT_EQ(h.Download(kModeRecording), TransferFailed(DeviceResult::RemoteError));
  h.sim.SetFaults({});
  // Cancel asked after arming but before the worker got going is honoured, not lost.
  h.doc.Link().Arm();
  h.doc.Link().Cancel();
  const int requestsBefore = h.sim.RequestsSeen();
  DownloadOutcome cancelled;
  std::thread worker([&] { cancelled = h.Download(kModeRecording); });
  worker.join();
  EXPECT_EQ(cancelled, TransferFailed(DeviceResult::Cancelled));
  EXPECT_EQ(h.doc.Progress().state.load(), kStateFailed);
  EXPECT_TRUE(h.Files().empty());
  EXPECT_EQ(h.sim.RequestsSeen(), requestsBefore);  // not a single packet went out
  // Arming again clears the old request: the next download goes through.
  h.doc.Link().Arm();
  ASSERT_EQ(h.Download(kModeRecording), kStored);
  EXPECT_EQ(h.Files().size(), 1u);
}

TEST(DocumentDownloadFaults, FailedWriteKeepsTheFilesStoredBeforeIt) {
  DocHarness h(sim::MakeSampleRecorder(kTaloColor));
  ASSERT_TRUE(h.Start());
  // A plain file where the single-user folder belongs: that folder cannot be made.
  test::WriteBytes(h.temp / "data/Ann/SingleUser", "in the way");
  EXPECT_EQ(h.Download(kModeRecording),
            (DownloadOutcome{DownloadStep::Store, DeviceResult::Ok, CaseFileResult::WriteFailed}));
  EXPECT_EQ(h.Files(),
            (std::vector<std::string>{h.temp / "data/Ann/SingleUser", h.Path("VESK", 1)}));
  EXPECT_EQ(h.doc.StoredFiles(), std::vector<std::string>{h.Path("VESK", 1)});
  EXPECT_EQ(h.doc.StoredCasePath(), h.Path("VESK", 1));
  EXPECT_NE(h.doc.ResultText().find("There has an abnormity in saving BP data to case file."),
            std::string::npos);
}

TEST(DocumentDownloadFaults, UnusableUserFolderIsAWriteFailureNotSuccess) {
  DocHarness h(sim::MakeSampleRecorder(kQora));
  ASSERT_TRUE(h.Start());
  h.doc.SetDownloadTarget(h.temp / "data", "");
  EXPECT_EQ(h.Download(kModeAllUsers),
            (DownloadOutcome{DownloadStep::Store, DeviceResult::Ok, CaseFileResult::WriteFailed}));
  EXPECT_EQ(h.doc.ResultText(), "Failed in saving");
  EXPECT_TRUE(h.Files().empty());
}

// Upload -------------------------------------------------------------------------------------

TEST(DocumentUpload, MiruModeFollowsTheChoiceOtherKindsAlwaysModeOne) {
  DocHarness h(sim::MakeSampleRecorder(kMiru));
  ASSERT_TRUE(h.Start());
  _BP_TRANSPORT_INFO plan;
  std::strcpy(plan.patientName, "Eva");
  h.doc.SetUploadPlan(plan);
  h.doc.ChooseDataMode(kMiru, kModeMonitor);
  ASSERT_EQ(DeviceResultOf(h.doc.UploadPlan()), DeviceResult::Ok);
  EXPECT_EQ(h.sim.Snapshot().uploadedMode, kModeMonitor);
  h.doc.ChooseDataMode(kMiru, kModeRecording);
  ASSERT_EQ(DeviceResultOf(h.doc.UploadPlan()), DeviceResult::Ok);
  EXPECT_EQ(h.sim.Snapshot().uploadedMode, kModeRecording);
  // A MIRU download in single-user mode also leaves the flag at 0.
  h.doc.ChooseDataMode(kMiru, kModeSingleUser);
  EXPECT_EQ(h.doc.Mode2Flag(), 0);
  ASSERT_EQ(DeviceResultOf(h.doc.UploadPlan()), DeviceResult::Ok);
  EXPECT_EQ(h.sim.Snapshot().uploadedMode, kModeMonitor);
  EXPECT_EQ(std::memcmp(h.sim.Snapshot().uploadedBytes.data(), "Eva", 4), 0);

  DocHarness p(sim::MakeSampleRecorder(kPexa));
  ASSERT_TRUE(p.Start());
  p.doc.ChooseDataMode(kMiru, kModeMonitor);  // a stale MIRU choice
  p.doc.ChooseDataMode(kPexa, kModeRecording);
  ASSERT_EQ(DeviceResultOf(p.doc.UploadPlan()), DeviceResult::Ok);
  EXPECT_EQ(p.sim.Snapshot().uploadedMode, kModeRecording);
}

TEST(DocumentUpload, RecorderPlanWithAllZeroStartsProposesSevenAndTwentyTwo) {
  sim::SimRecorder rec = sim::MakeSampleRecorder(kTaloBlack);
  rec.plan.awakeHour = rec.plan.awakeMinute = rec.plan.asleepHour = rec.plan.asleepMinute = 0;
  rec.plan.awakeInterval = 15;
  DocHarness h(rec);
  ASSERT_TRUE(h.Start());
  _UPLOAD_NEEDED_DATA needed;
  ASSERT_EQ(h.doc.ReadRecorderPlan(needed), DeviceResult::Ok);
  EXPECT_EQ(needed.plan.awakeHour, 7);
  EXPECT_EQ(needed.plan.asleepHour, 22);
  EXPECT_EQ(needed.plan.awakeInterval, 15);
  EXPECT_FALSE(needed.awakeIntervals.empty());

  // Only an all-zero plan is changed: 00:00 awake with 22:30 asleep stays.
  rec.plan.asleepHour = 22;
  rec.plan.asleepMinute = 30;
  DocHarness k(rec);
  ASSERT_TRUE(k.Start());
  ASSERT_EQ(k.doc.ReadRecorderPlan(needed), DeviceResult::Ok);
  EXPECT_EQ(needed.plan.awakeHour, 0);
  EXPECT_EQ(needed.plan.asleepMinute, 30);

  DocHarness q(sim::MakeSampleRecorder(kQora));
  ASSERT_TRUE(q.Start());
  EXPECT_EQ(q.doc.ReadRecorderPlan(needed), DeviceResult::NotSupported);
}

TEST(DocumentDetect, NothingAnsweringIsRetryAndErrorsPassThrough) {
  DocHarness h(sim::MakeSampleRecorder(kMiru));
  sim::SimFaults f;
  f.errorStatus = link::kStatusRegion;
  h.sim.SetFaults(f);
  EXPECT_FALSE(h.Start());
  EXPECT_EQ(h.doc.Progress().state.load(), kStateFailed);
  DetectOptions none;
  none.probeHid = false;
  none.probeSystemPorts = false;
  EXPECT_EQ(h.doc.DetectRecorder(none, 2000), DeviceResult::DetectRetry);
  DetectOptions o = none;
  o.extraPorts = {h.runner.Path()};
  o.timing = test::QuickTiming();
  EXPECT_EQ(h.doc.DetectRecorder(o, 5000), DeviceResult::RegionError);
}

}  // namespace
}  // namespace vesk
