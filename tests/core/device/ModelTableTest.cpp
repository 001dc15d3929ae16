// The model table is the one place where recorder models differ: every row must be complete
// and consistent in itself, and the code around it must ask the table instead of comparing
// device kinds or assuming they run from 1 to 6.
#include "device/ModelTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "cases/SampleCases.h"
#include "device/CProtocol_NEW.h"
#include "device/DownloadTexts.h"
#include "device/TransferSession.h"

namespace vesk {
namespace {

// Reading blocks a download shape holds.
int PartsOf(DownloadShape shape) {
  switch (shape) {
    case DownloadShape::TaloColor:
      return 2;
    case DownloadShape::Qora:
      return 3;
    default:
      return 1;
  }
}

bool Offers(const RecorderModel& m, int mode) {
  return mode > 0 && mode < kDataModeSlots && (m.modeFlags & (1u << mode));
}

TEST(ModelTable, EveryRowIsCompleteAndConsistent) {
  std::set<int32_t> kinds, protocols;
  for (const RecorderModel& m : RecorderModels()) {
    SCOPED_TRACE(m.name);
    EXPECT_TRUE(kinds.insert(m.deviceKind).second) << "one row per device kind";
    EXPECT_EQ(ModelOfKind(m.deviceKind), &m);
    EXPECT_STREQ(m.name, ModelName(m.deviceKind));

    // Links: every protocol class speaks the model, HID links have a product id.
    ASSERT_FALSE(m.links.empty());
    for (const ModelLink& l : m.links) {
      protocols.insert(l.protocol);
      const auto proto = CreateProtocol(l.protocol);
      ASSERT_NE(proto, nullptr) << l.protocol;
      EXPECT_TRUE(proto->SpeaksKind(m.deviceKind)) << l.protocol;
      EXPECT_EQ(l.bus == LinkBus::Hid, l.usbProduct != 0) << l.protocol;
      EXPECT_NE(FindModel(m.deviceKind, l.protocol), nullptr) << l.protocol;
    }

    // Modes: only real modes; a model without a choice offers the recording mode alone.
    EXPECT_EQ(m.modeFlags & 1u, 0u);
    EXPECT_EQ(m.modeFlags >> kDataModeSlots, 0u);
    if (m.downloadChoices.empty()) {
      EXPECT_EQ(m.modeFlags, 1u << kModeRecording);
    }
    for (const ModeChoiceRow& c : m.downloadChoices) {
      EXPECT_TRUE(Offers(m, c.mode)) << c.mode;
      EXPECT_FALSE(c.label.empty()) << c.mode;
    }

    // Every offered mode has blocks to erase and stores at least one recording.
    for (int mode = 1; mode < kDataModeSlots; ++mode) {
      if (!Offers(m, mode)) continue;
      EXPECT_FALSE(BlocksOfMode(m.deviceKind, mode).empty()) << mode;
      bool stored = false;
      for (const StoredRecording& r : m.recordings) stored = stored || (r.modes & (1u << mode));
      EXPECT_TRUE(stored) << "mode " << mode << " stores nothing";
    }
    _DOWNLOAD_DATAINFO shape;
    InitDownloadShape(shape, m.deviceKind, kModeRecording);
    EXPECT_FALSE(std::holds_alternative<std::monostate>(shape.data));

    // Stored recordings fit the shape, the folder tree and the generated identities.
    for (const StoredRecording& r : m.recordings) {
      EXPECT_GE(r.part, 0);
      EXPECT_LT(r.part, PartsOf(m.shape));
      EXPECT_EQ(r.modes & ~m.modeFlags, 0u) << "stored in a mode the model does not offer";
      EXPECT_GE(r.slot.ending, 1);
      EXPECT_LE(r.slot.ending, 3);
      EXPECT_EQ(r.name == nullptr, r.id == nullptr);
      EXPECT_EQ(r.data == RecordingData::HomeUser, r.homeUser != 0);
      if (r.withSpO2) {
        EXPECT_EQ(m.shape, DownloadShape::Miru);
      }
      if (r.fileMode) {
        EXPECT_TRUE(Offers(m, r.fileMode));
      }
      EXPECT_EQ(SlotFor(m.deviceKind, r.data, r.homeUser), r.slot);
    }
    EXPECT_NE(m.storeFailedText, nullptr);

    // Plans: upload modes are offered modes with distinct numbers; a choice has labels.
    std::set<int> uploadModes;
    for (const UploadModeRow& u : m.uploadModes) {
      EXPECT_TRUE(uploadModes.insert(u.mode).second);
      EXPECT_TRUE(Offers(m, u.mode)) << u.mode;
      if (m.uploadModes.size() > 1) {
        EXPECT_FALSE(u.label.empty());
      }
      EXPECT_EQ(UploadModeOf(m.deviceKind, u.mode), &u);
      if (m.planWarnings) {
        EXPECT_EQ(u.family, plan::PlanFamily::Talo);
      }
    }
    EXPECT_EQ(UploadModeChoices(m.deviceKind).size(),
              m.uploadModes.size() > 1 ? m.uploadModes.size() : 0u);

    // The USB protocol runs the family steps: a plan to read exactly when the shape has one.
    EXPECT_NE(m.steps.readBP, nullptr);
    EXPECT_EQ(m.steps.readInfo == nullptr, m.shape == DownloadShape::Qora);
    EXPECT_EQ(m.steps.readSpO2 != nullptr, m.recordsSpO2);
  }

  // The per-protocol view holds every link, USB first, and nothing else.
  size_t links = 0;
  for (const RecorderModel& m : RecorderModels()) links += m.links.size();
  EXPECT_EQ(AllModels().size(), links);
  for (size_t i = 1; i < AllModels().size(); ++i)
    EXPECT_FALSE(AllModels()[i - 1].bus == LinkBus::Serial && AllModels()[i].bus == LinkBus::Hid);
  for (int32_t p : protocols) EXPECT_NE(FindModelByProtocol(p), nullptr);
}

TEST(ModelTable, KindsOutsideTheTableHaveNoModel) {
  int32_t past = 0;
  for (const RecorderModel& m : RecorderModels()) past = std::max(past, m.deviceKind);
  for (int32_t kind : {0, -1, past + 1, 255}) {
    EXPECT_EQ(ModelOfKind(kind), nullptr) << kind;
    EXPECT_EQ(ModeFlagsOfKind(kind), 0) << kind;
    EXPECT_FALSE(CProtocol_NEW().SpeaksKind(kind)) << kind;
    EXPECT_FALSE(SlotForDataMode(kind, kModeRecording)) << kind;
    EXPECT_FALSE(UploadModeOf(kind, kModeRecording)) << kind;
    _DOWNLOAD_DATAINFO d;
    InitDownloadShape(d, kind, kModeRecording);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(d.data)) << kind;
  }
}

TEST(ModelTable, SlotsFollowTheDownloadTable) {
  using F = CaseFolder;
  EXPECT_EQ(SlotFor(kTaloColor, RecordingData::Ambulatory), (CaseSlot{F::Vesk, 1}));
  EXPECT_EQ(SlotFor(kTaloColor, RecordingData::SingleUser), (CaseSlot{F::SingleUser, 2}));
  EXPECT_EQ(SlotFor(kMiru, RecordingData::SingleUser), (CaseSlot{F::SingleUser, 3}));
  EXPECT_EQ(SlotFor(kMiru, RecordingData::Monitor), (CaseSlot{F::Monitor, 2}));
  EXPECT_EQ(SlotFor(kQora, RecordingData::HomeUser, 2), (CaseSlot{F::Bpm, 2}));
  EXPECT_FALSE(SlotFor(kQora, RecordingData::HomeUser, 4));
  EXPECT_FALSE(SlotFor(kQora, RecordingData::Ambulatory));
  EXPECT_FALSE(SlotFor(kPexa, RecordingData::Monitor));
  for (int kind : {kTaloBlack, kPexa, kPexaC, kMiru, kTaloColor})
    EXPECT_EQ(SlotForDataMode(kind, 1), (CaseSlot{F::Vesk, 1})) << kind;
  EXPECT_EQ(SlotForDataMode(kMiru, 2), (CaseSlot{F::Monitor, 2}));
  EXPECT_EQ(SlotForDataMode(kMiru, 3), (CaseSlot{F::SingleUser, 3}));
  EXPECT_EQ(SlotForDataMode(kQora, 6), (CaseSlot{F::Bpm, 3}));
  EXPECT_FALSE(SlotForDataMode(kQora, 7));  // three files
  EXPECT_FALSE(SlotForDataMode(kPexa, 2));
  EXPECT_FALSE(SlotForDataMode(kMiru, 0));
  EXPECT_FALSE(SlotForDataMode(kMiru, 99));
}

TEST(ModelTable, UploadRulesAndPlanDialogs) {
  EXPECT_EQ(PlanDialogOf(UploadModeOf(kTaloBlack, kModeRecording)->family), PlanDialogKind::Talo);
  EXPECT_EQ(PlanDialogOf(UploadModeOf(kMiru, kModeRecording)->family), PlanDialogKind::Plan);
  EXPECT_EQ(PlanDialogOf(UploadModeOf(kMiru, kModeMonitor)->family), PlanDialogKind::Simple);
  EXPECT_EQ(PlanDialogOf(UploadModeOf(kPexa, kModeRecording)->family), PlanDialogKind::Pexa);
  EXPECT_EQ(PlanDialogOf(UploadModeOf(kPexaC, kModeRecording)->family), PlanDialogKind::Plan);
  EXPECT_EQ(UploadModeOf(kQora, kModeRecording), nullptr);
  EXPECT_EQ(UploadModeOf(kTaloColor, kModeMonitor), nullptr);
  EXPECT_TRUE(ModelOfKind(kTaloBlack)->planWarnings);
  EXPECT_FALSE(ModelOfKind(kTaloColor)->planWarnings);

  // Only a model with a monitoring plan follows the mode-2 flag.
  EXPECT_EQ(UploadModeFor(kMiru, 0), kModeMonitor);
  EXPECT_EQ(UploadModeFor(kMiru, 1), kModeRecording);
  for (int kind : {int(kTaloColor), int(kTaloBlack), int(kPexa), int(kPexaC), int(kQora), 0}) {
    EXPECT_FALSE(TracksMode2Flag(kind)) << kind;
    EXPECT_EQ(UploadModeFor(kind, 0), kModeRecording) << kind;
  }
}

TEST(ModelTable, DefaultPlanCarriesTheModelsFlagsAndTheSamplesUseIt) {
  const DateParts first{2024, 5, 6, 7, 8, 9};
  for (const RecorderModel& m : RecorderModels()) {
    const _BP_TRANSPORT_INFO p = DefaultPlanFor(m.deviceKind, first);
    EXPECT_EQ(p.manualSet, m.generatedFlags) << m.name;
    EXPECT_EQ(p.startKey, m.generatedFlags) << m.name;
    EXPECT_EQ((std::array<int, 6>{p.year, p.month, p.day, p.hour, p.minute, p.second}),
              (std::array<int, 6>{2024, 5, 6, 7, 8, 0}));
    // Everything else is the record's default: 7:00/60, 22:00/30, no special period.
    _BP_TRANSPORT_INFO rest = p;
    rest.year = rest.month = rest.day = rest.hour = rest.minute = rest.second = 0;
    rest.manualSet = rest.startKey = 0;
    _BP_TRANSPORT_INFO blank;
    blank.year = blank.month = blank.day = blank.hour = blank.minute = blank.second = 0;
    blank.manualSet = blank.startKey = 0;
    EXPECT_EQ(rest, blank) << m.name;
  }
  EXPECT_EQ(DefaultPlanFor(kMiru, first).startKey, 1);
  EXPECT_EQ(DefaultPlanFor(kQora, first).startKey, 1);
  EXPECT_EQ(DefaultPlanFor(kTaloColor, first).startKey, 0);

  // The sample generator makes what a download would store.
  const SampleOptions o;
  const _FILE_ALL_INFO single = MakeSingleUserSample(o);
  const _BP_RECORD& r = single.readings.front();
  _BP_TRANSPORT_INFO want =
      DefaultPlanFor(single.modelCode, {r.year, r.month, r.day, r.hour, r.minute, 0});
  // Apart from the generated identity, which the plan carries like a download's.
  std::memcpy(want.patientName, single.plan.patientName, sizeof want.patientName);
  std::memcpy(want.patientId, single.plan.patientId, sizeof want.patientId);
  EXPECT_EQ(single.plan, want);
  for (const _FILE_ALL_INFO& q : MakeQoraSamples(o)) {
    const _BP_RECORD& f = q.readings.front();
    _BP_TRANSPORT_INFO w =
        DefaultPlanFor(q.modelCode, {f.year, f.month, f.day, f.hour, f.minute, 0});
    std::memcpy(w.patientName, q.plan.patientName, sizeof w.patientName);
    std::memcpy(w.patientId, q.plan.patientId, sizeof w.patientId);
    EXPECT_EQ(q.plan, w) << q.patient.name;
  }
}

// The files that turn a device kind into behaviour. None of them may compare kinds or assume
// a range of them; the table rows (ModelTable.cpp) are the one place that names the models.
std::vector<std::filesystem::path> KindSensitiveSources() {
  namespace fs = std::filesystem;
  const fs::path root = VESK_SOURCE_DIR;
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(root / "core/device")) {
    const std::string ext = e.path().extension().string();
    if ((ext == ".cpp" || ext == ".h") && e.path().filename() != "ModelTable.cpp")
      out.push_back(e.path());
  }
  for (const char* f :
       {"core/cases/CaseFolders.cpp", "core/cases/CaseFolders.h", "core/analysis/Reanalysis.cpp",
        "tools/cli/CliRecorder.cpp", "tools/cli/CliRecorderPlan.cpp"})
    out.push_back(root / f);
  return out;
}

TEST(ModelTable, NoCodePathComparesDeviceKinds) {
  const std::string names = "k(TaloColor|TaloBlack|Miru|Pexa|PexaC|Qora)\\b";
  const std::regex compare("([=!<>]=|[<>])\\s*" + names + "|\\b" + names +
                           "\\s*([=!<>]=|[<>])|case\\s+" + names);
  // A range of kinds spelled with numbers: "kind <= 6", "deviceKind > 0".
  const std::regex range("[Kk]ind\\w*\\s*(\\(\\))?\\s*([=!<>]=|[<>])\\s*-?[0-9]+\\b");
  size_t files = 0;
  for (const auto& path : KindSensitiveSources()) {
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    ++files;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      EXPECT_FALSE(std::regex_search(line, compare)) << path.string() << ":" << n << ": " << line;
      EXPECT_FALSE(std::regex_search(line, range)) << path.string() << ":" << n << ": " << line;
    }
  }
  EXPECT_GT(files, 30u);
}

}  // namespace
}  // namespace vesk
