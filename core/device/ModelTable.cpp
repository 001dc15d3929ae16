#include "device/ModelTable.h"

#include <algorithm>

#include "device/CDevice_COM.h"
#include "device/CDevice_HID.h"
#include "device/CProtocolCOMMIRU.h"
#include "device/CProtocolCOMPEXA.h"
#include "device/CProtocolCOMPEXAC.h"
#include "device/CProtocolCOMQORA.h"
#include "device/CProtocolCOMTALO.h"
#include "device/CProtocol_NEW.h"
#include "device/DownloadStore.h"
#include "device/LinkMessages.h"

namespace vesk {

namespace {

constexpr uint16_t M(int m) {
  return static_cast<uint16_t>(1u << m);
}
constexpr uint16_t kRecordingOnly = M(kModeRecording);
constexpr uint16_t kMiruModes = M(kModeRecording) | M(kModeMonitor) | M(kModeSingleUser);
constexpr uint16_t kQoraModes = M(kModeUser1) | M(kModeUser2) | M(kModeUser3) | M(kModeAllUsers);

constexpr const char* kGlobal = "Global Setting";
constexpr const char* kMenu = "Menu Setting";
// The language tables keep the monitoring label with the dialog texts, not with the other two
// mode labels; looking it up elsewhere would show an empty row.
constexpr const char* kDialog = "Dialog Setting";

template <typename P>
std::unique_ptr<CProtocolBase> Make() {
  return std::make_unique<P>();
}

// Links ---------------------------------------------------------------------------------------
constexpr ModelLink kTaloColorLinks[] = {{1, LinkBus::Hid, 0xB701, Make<CProtocol_NEW>},
                                         {6, LinkBus::Serial, 0, Make<CProtocolCOMTALO>}};
constexpr ModelLink kTaloBlackLinks[] = {{2, LinkBus::Hid, 0xB702, Make<CProtocol_NEW>},
                                         {6, LinkBus::Serial, 0, Make<CProtocolCOMTALO>}};
constexpr ModelLink kMiruLinks[] = {{3, LinkBus::Hid, 0xB703, Make<CProtocol_NEW>},
                                    {7, LinkBus::Serial, 0, Make<CProtocolCOMMIRU>}};
constexpr ModelLink kPexaLinks[] = {{4, LinkBus::Hid, 0xB704, Make<CProtocol_NEW>},
                                    {8, LinkBus::Serial, 0, Make<CProtocolCOMPEXA>}};
constexpr ModelLink kQoraLinks[] = {{5, LinkBus::Hid, 0xB705, Make<CProtocol_NEW>},
                                    {10, LinkBus::Serial, 0, Make<CProtocolCOMQORA>}};
constexpr ModelLink kPexaCLinks[] = {{9, LinkBus::Serial, 0, Make<CProtocolCOMPEXAC>}};

// Blocks of each mode ---------------------------------------------------------------------------
constexpr uint8_t kRecordingBlock[] = {link::kBlockRecording};
constexpr uint8_t kTaloColorBlocks[] = {link::kBlockRecording, link::kBlockSingleUser};
constexpr uint8_t kMonitorBlocks[] = {link::kBlockMonitor, link::kBlockSpO2};
constexpr uint8_t kSingleUserBlock[] = {link::kBlockSingleUser};
constexpr uint8_t kUser1Block[] = {link::kBlockUser1};
constexpr uint8_t kUser2Block[] = {link::kBlockUser2};
constexpr uint8_t kUser3Block[] = {link::kBlockUser3};
constexpr uint8_t kAllUserBlocks[] = {link::kBlockUser1, link::kBlockUser2, link::kBlockUser3};

constexpr ModeBlocks kRecordingModeBlocks[] = {{0, kRecordingBlock}};
constexpr ModeBlocks kTaloColorModeBlocks[] = {{0, kTaloColorBlocks}};
constexpr ModeBlocks kMiruModeBlocks[] = {
    {kModeMonitor, kMonitorBlocks}, {kModeSingleUser, kSingleUserBlock}, {0, kRecordingBlock}};
constexpr ModeBlocks kQoraModeBlocks[] = {{kModeUser1, kUser1Block},
                                          {kModeUser2, kUser2Block},
                                          {kModeUser3, kUser3Block},
                                          {0, kAllUserBlocks}};

// Choices -----------------------------------------------------------------------------------
constexpr ModeChoiceRow kMiruChoices[] = {{kModeRecording, {kGlobal, "IDS_TRE_PRESSURE"}},
                                          {kModeMonitor, {kDialog, "IDS_PATIENT_TUTELAGE"}},
                                          {kModeSingleUser, {kGlobal, "IDS_USERALONE"}}};
constexpr ModeChoiceRow kQoraChoices[] = {{kModeUser1, {kMenu, "IDS_USER1"}},
                                          {kModeUser2, {kMenu, "IDS_USER2"}},
                                          {kModeUser3, {kMenu, "IDS_USER3"}},
                                          {kModeAllUsers, {kMenu, "IDS_ALLUSER"}, true}};

using plan::PlanFamily;
constexpr UploadModeRow kTaloUpload[] = {{kModeRecording, PlanFamily::Talo, {}}};
constexpr UploadModeRow kMiruUpload[] = {
    {kModeRecording, PlanFamily::Miru, {kGlobal, "IDS_TRE_PRESSURE"}},
    {kModeMonitor, PlanFamily::MiruSimple, {kDialog, "IDS_PATIENT_TUTELAGE"}}};
constexpr UploadModeRow kPexaUpload[] = {{kModeRecording, PlanFamily::Pexa, {}}};
constexpr UploadModeRow kPexaCUpload[] = {{kModeRecording, PlanFamily::PexaC, {}}};

// Stored recordings ---------------------------------------------------------------------------
using RD = RecordingData;
using CF = CaseFolder;
constexpr StoredRecording kTaloColorStore[] = {
    {RD::Ambulatory,
     0,
     0,
     kRecordingOnly,
     {CF::Vesk, 1},
     0,
     nullptr,
     nullptr,
     false,
     true,
     "IDS_BP_RECEIVED_VESK"},
    {RD::SingleUser,
     0,
     1,
     kRecordingOnly,
     {CF::SingleUser, 2},
     0,
     "SingleUser",
     "000",
     false,
     true,
     "IDS_BP_RECEIVED_COMMOM"},
};
constexpr StoredRecording kBasicStore[] = {
    {RD::Ambulatory,
     0,
     0,
     kRecordingOnly,
     {CF::Vesk, 1},
     0,
     nullptr,
     nullptr,
     false,
     false,
     nullptr},
};
constexpr StoredRecording kMiruStore[] = {
    {RD::Ambulatory,
     0,
     0,
     M(kModeRecording),
     {CF::Vesk, 1},
     0,
     nullptr,
     nullptr,
     false,
     false,
     nullptr},
    {RD::Monitor,
     0,
     0,
     M(kModeMonitor),
     {CF::Monitor, 2},
     0,
     nullptr,
     nullptr,
     true,
     false,
     nullptr},
    {RD::SingleUser,
     0,
     0,
     M(kModeSingleUser),
     {CF::SingleUser, 3},
     0,
     "SingleUser",
     "004",
     false,
     false,
     nullptr},
};
// Each file carries its own user's mode, so it reads back as that user's recording.
constexpr StoredRecording kQoraStore[] = {
    {RD::HomeUser,
     1,
     0,
     M(kModeUser1) | M(kModeAllUsers),
     {CF::Bpm, 1},
     kModeUser1,
     "User1",
     "001",
     false,
     true,
     nullptr},
    {RD::HomeUser,
     2,
     1,
     M(kModeUser2) | M(kModeAllUsers),
     {CF::Bpm, 2},
     kModeUser2,
     "User2",
     "002",
     false,
     true,
     nullptr},
    {RD::HomeUser,
     3,
     2,
     M(kModeUser3) | M(kModeAllUsers),
     {CF::Bpm, 3},
     kModeUser3,
     "User3",
     "003",
     false,
     true,
     nullptr},
};

constexpr FamilySteps kTaloSteps{CProtocolCOMTALO::ReadInfo, CProtocolCOMTALO::ReadBP, nullptr,
                                 nullptr};
constexpr FamilySteps kMiruSteps{CProtocolCOMMIRU::ReadInfo, CProtocolCOMMIRU::ReadBP,
                                 CProtocolCOMMIRU::ReadSpO2, CProtocolCOMMIRU::UploadModeAllowed};
constexpr FamilySteps kPexaSteps{CProtocolCOMPEXA::ReadInfo, CProtocolCOMPEXA::ReadBP, nullptr,
                                 nullptr};
constexpr FamilySteps kPexaCSteps{CProtocolCOMPEXAC::ReadInfo, CProtocolCOMPEXAC::ReadBP, nullptr,
                                  nullptr};
// QORA keeps no plan and takes none.
constexpr FamilySteps kQoraSteps{nullptr, CProtocolCOMQORA::ReadBP, nullptr,
                                 CProtocolCOMQORA::UploadModeAllowed};

const RecorderModel kModels[] = {
    {kTaloColor,
     "TALOColor",
     kTaloColorLinks,
     kRecordingOnly,
     DownloadShape::TaloColor,
     kTaloColorModeBlocks,
     {},
     kTaloColorStore,
     kStoreFailedBasic,
     true,
     kTaloUpload,
     false,
     0,
     true,
     false,
     kTaloSteps},
    {kTaloBlack,
     "TALOBlack",
     kTaloBlackLinks,
     kRecordingOnly,
     DownloadShape::Basic,
     kRecordingModeBlocks,
     {},
     kBasicStore,
     kStoreFailedBasic,
     false,
     kTaloUpload,
     true,
     0,
     true,
     false,
     kTaloSteps},
    {kMiru, "MIRU", kMiruLinks, kMiruModes, DownloadShape::Miru, kMiruModeBlocks, kMiruChoices,
     kMiruStore, kStoreFailedMiru, false, kMiruUpload, false, 1, true, true, kMiruSteps},
    {kPexa,
     "PEXA",
     kPexaLinks,
     kRecordingOnly,
     DownloadShape::Basic,
     kRecordingModeBlocks,
     {},
     kBasicStore,
     kStoreFailedBasic,
     false,
     kPexaUpload,
     false,
     0,
     true,
     false,
     kPexaSteps},
    {kQora,
     "QORA",
     kQoraLinks,
     kQoraModes,
     DownloadShape::Qora,
     kQoraModeBlocks,
     kQoraChoices,
     kQoraStore,
     kStoreFailedQora,
     false,
     {},
     false,
     1,
     false,
     false,
     kQoraSteps},
    {kPexaC,
     "PEXAC",
     kPexaCLinks,
     kRecordingOnly,
     DownloadShape::Basic,
     kRecordingModeBlocks,
     {},
     kBasicStore,
     kStoreFailedBasic,
     false,
     kPexaCUpload,
     false,
     0,
     true,
     false,
     kPexaCSteps},
};

std::vector<ModelInfo> BuildModelInfo() {
  std::vector<ModelInfo> out;
  for (const RecorderModel& m : kModels)
    for (const ModelLink& l : m.links)
      out.push_back({m.deviceKind, m.name, l.protocol, l.bus,
                     l.bus == LinkBus::Hid ? kUsbVendorId : uint16_t(0), l.usbProduct,
                     m.modeFlags});
  std::stable_sort(out.begin(), out.end(), [](const ModelInfo& a, const ModelInfo& b) {
    if (a.bus != b.bus) return a.bus == LinkBus::Hid;
    return a.protocol < b.protocol;
  });
  return out;
}

const ModelLink* FindLink(int32_t protocol) {
  for (const RecorderModel& m : kModels)
    for (const ModelLink& l : m.links)
      if (l.protocol == protocol) return &l;
  return nullptr;
}

}  // namespace

std::span<const RecorderModel> RecorderModels() {
  return kModels;
}

const RecorderModel* ModelOfKind(int32_t deviceKind) {
  for (const RecorderModel& m : kModels)
    if (m.deviceKind == deviceKind) return &m;
  return nullptr;
}

std::span<const ModelInfo> AllModels() {
  static const std::vector<ModelInfo> models = BuildModelInfo();
  return models;
}

const ModelInfo* FindModelByProtocol(int32_t protocol) {
  for (const auto& m : AllModels())
    if (m.protocol == protocol) return &m;
  return nullptr;
}

const ModelInfo* FindModel(int32_t deviceKind, int32_t protocol) {
  for (const auto& m : AllModels())
    if (m.deviceKind == deviceKind && m.protocol == protocol) return &m;
  return nullptr;
}

bool IsRecorderUsbId(uint16_t vendor, uint16_t product) {
  for (const auto& m : AllModels())
    if (m.bus == LinkBus::Hid && m.usbVendor == vendor && m.usbProduct == product) return true;
  return false;
}

uint16_t ModeFlagsOfKind(int32_t deviceKind) {
  const RecorderModel* m = ModelOfKind(deviceKind);
  return m ? m->modeFlags : 0;
}

void ModeFlagsToArray(uint16_t flags, int modes[kDataModeSlots]) {
  for (int i = 0; i < kDataModeSlots; ++i) modes[i] = (i > 0 && (flags & (1u << i))) ? 1 : 0;
}

std::unique_ptr<CProtocolBase> CreateProtocol(int32_t protocol) {
  const ModelLink* l = FindLink(protocol);
  return l ? l->create() : nullptr;
}

std::unique_ptr<CDevice> CreateTransport(int32_t protocol) {
  const ModelLink* l = FindLink(protocol);
  if (!l) return nullptr;
  if (l->bus == LinkBus::Hid) return std::make_unique<CDevice_HID>();
  return std::make_unique<CDevice_COM>();
}

std::optional<CaseSlot> SlotFor(int deviceKind, RecordingData data, int homeUser) {
  const RecorderModel* m = ModelOfKind(deviceKind);
  if (!m) return std::nullopt;
  for (const StoredRecording& r : m->recordings)
    if (r.data == data && r.homeUser == homeUser) return r.slot;
  return std::nullopt;
}

std::optional<CaseSlot> SlotForDataMode(int deviceKind, int dataMode) {
  const RecorderModel* m = ModelOfKind(deviceKind);
  if (!m || dataMode <= 0 || dataMode >= kDataModeSlots) return std::nullopt;
  // The file of the mode itself: nullopt when the mode stores several recordings of one kind
  // (the users of an all-users download).
  const StoredRecording* found = nullptr;
  int alike = 0;
  for (const StoredRecording& r : m->recordings) {
    if (!(r.modes & (1u << dataMode))) continue;
    if (!found) found = &r;
    if (r.data == found->data) ++alike;
  }
  if (!found || alike > 1) return std::nullopt;
  return found->slot;
}

PlanDialogKind PlanDialogOf(plan::PlanFamily family) {
  switch (family) {
    case PlanFamily::Talo:
      return PlanDialogKind::Talo;
    case PlanFamily::MiruSimple:
      return PlanDialogKind::Simple;
    case PlanFamily::Pexa:
      return PlanDialogKind::Pexa;
    case PlanFamily::Miru:
    case PlanFamily::PexaC:
      return PlanDialogKind::Plan;
  }
  return PlanDialogKind::Plan;
}

const UploadModeRow* UploadModeOf(int32_t deviceKind, int mode) {
  const RecorderModel* m = ModelOfKind(deviceKind);
  if (!m) return nullptr;
  for (const UploadModeRow& u : m->uploadModes)
    if (u.mode == mode) return &u;
  return nullptr;
}

bool TracksMode2Flag(int32_t deviceKind) {
  return UploadModeOf(deviceKind, kModeMonitor) != nullptr;
}

int UploadModeFor(int32_t deviceKind, int mode2Flag) {
  return TracksMode2Flag(deviceKind) && mode2Flag == 0 ? kModeMonitor : kModeRecording;
}

_BP_TRANSPORT_INFO DefaultPlanFor(int deviceKind, const DateParts& first) {
  _BP_TRANSPORT_INFO plan;
  plan.year = first.year;
  plan.month = first.month;
  plan.day = first.day;
  plan.hour = first.hour;
  plan.minute = first.minute;
  plan.second = 0;
  const RecorderModel* m = ModelOfKind(deviceKind);
  const int flags = m ? m->generatedFlags : 0;
  plan.manualSet = flags;
  plan.startKey = flags;
  return plan;
}

}  // namespace vesk
