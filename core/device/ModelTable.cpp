#include "device/ModelTable.h"

#include "device/CDevice_COM.h"
#include "device/CDevice_HID.h"
#include "device/CProtocolCOMMIRU.h"
#include "device/CProtocolCOMPEXA.h"
#include "device/CProtocolCOMPEXAC.h"
#include "device/CProtocolCOMQORA.h"
#include "device/CProtocolCOMTALO.h"
#include "device/CProtocol_NEW.h"

namespace vesk {

namespace {
constexpr uint16_t M(int m) {
  return static_cast<uint16_t>(1u << m);
}
constexpr uint16_t kRecordingOnly = M(kModeRecording);
constexpr uint16_t kMiruModes = M(kModeRecording) | M(kModeMonitor) | M(kModeSingleUser);
constexpr uint16_t kQoraModes = M(kModeUser1) | M(kModeUser2) | M(kModeUser3) | M(kModeAllUsers);

constexpr ModelInfo kModels[] = {
    {kTaloColor, "TALOColor", 1, LinkBus::Hid, kUsbVendorId, 0xB701, kRecordingOnly},
    {kTaloBlack, "TALOBlack", 2, LinkBus::Hid, kUsbVendorId, 0xB702, kRecordingOnly},
    {kMiru, "MIRU", 3, LinkBus::Hid, kUsbVendorId, 0xB703, kMiruModes},
    {kPexa, "PEXA", 4, LinkBus::Hid, kUsbVendorId, 0xB704, kRecordingOnly},
    {kQora, "QORA", 5, LinkBus::Hid, kUsbVendorId, 0xB705, kQoraModes},
    {kTaloColor, "TALOColor", 6, LinkBus::Serial, 0, 0, kRecordingOnly},
    {kTaloBlack, "TALOBlack", 6, LinkBus::Serial, 0, 0, kRecordingOnly},
    {kMiru, "MIRU", 7, LinkBus::Serial, 0, 0, kMiruModes},
    {kPexa, "PEXA", 8, LinkBus::Serial, 0, 0, kRecordingOnly},
    {kPexaC, "PEXAC", 9, LinkBus::Serial, 0, 0, kRecordingOnly},
    {kQora, "QORA", 10, LinkBus::Serial, 0, 0, kQoraModes},
};
}  // namespace

std::span<const ModelInfo> AllModels() {
  return kModels;
}

const ModelInfo* FindModelByProtocol(int32_t protocol) {
  for (const auto& m : kModels)
    if (m.protocol == protocol) return &m;
  return nullptr;
}

const ModelInfo* FindModel(int32_t deviceKind, int32_t protocol) {
  for (const auto& m : kModels)
    if (m.deviceKind == deviceKind && m.protocol == protocol) return &m;
  return nullptr;
}

bool IsRecorderUsbId(uint16_t vendor, uint16_t product) {
  for (const auto& m : kModels)
    if (m.bus == LinkBus::Hid && m.usbVendor == vendor && m.usbProduct == product) return true;
  return false;
}

uint16_t ModeFlagsOfKind(int32_t deviceKind) {
  for (const auto& m : kModels)
    if (m.deviceKind == deviceKind) return m.modeFlags;
  return 0;
}

void ModeFlagsToArray(uint16_t flags, int modes[kDataModeSlots]) {
  for (int i = 0; i < kDataModeSlots; ++i) modes[i] = (i > 0 && (flags & (1u << i))) ? 1 : 0;
}

std::unique_ptr<CProtocolBase> CreateProtocol(int32_t protocol) {
  switch (protocol) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      return std::make_unique<CProtocol_NEW>();
    case 6:
      return std::make_unique<CProtocolCOMTALO>();
    case 7:
      return std::make_unique<CProtocolCOMMIRU>();
    case 8:
      return std::make_unique<CProtocolCOMPEXA>();
    case 9:
      return std::make_unique<CProtocolCOMPEXAC>();
    case 10:
      return std::make_unique<CProtocolCOMQORA>();
    default:
      return nullptr;
  }
}

std::unique_ptr<CDevice> CreateTransport(int32_t protocol) {
  const ModelInfo* m = FindModelByProtocol(protocol);
  if (!m) return nullptr;
  if (m->bus == LinkBus::Hid) return std::make_unique<CDevice_HID>();
  return std::make_unique<CDevice_COM>();
}

}  // namespace vesk
