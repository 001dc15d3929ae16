#include "device/CProtocolCOMMIRU.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMMIRU::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

DeviceResult CProtocolCOMMIRU::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}

DeviceResult CProtocolCOMMIRU::ReadBP(TransferSession& s) {
  switch (s.mode) {
    case kModeMonitor:
      return s.ReadMainReadings(link::kBlockMonitor, kTransportBpTrend);
    case kModeSingleUser:
      return s.ReadMainReadings(link::kBlockSingleUser, kTransportSingleUser);
    default:
      return s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
  }
}

DeviceResult CProtocolCOMMIRU::ReadSpO2(TransferSession& s) {
  if (s.mode != kModeMonitor) return DeviceResult::Ok;
  return s.ReadSpO2(std::get<MiruDownload>(s.data.data).spo2);
}

int CProtocolCOMMIRU::UploadBPInfo() {
  if (!UploadModeAllowed(CurrentMode())) return ToInt(DeviceResult::NotSupported);
  return CProtocolBase::UploadBPInfo();
}

int CProtocolCOMMIRU::DownloadBPInfo() {
  return ToInt(ReadInfo(Session()));
}
int CProtocolCOMMIRU::DownloadBPData() {
  return ToInt(ReadBP(Session()));
}
int CProtocolCOMMIRU::DownloadSpO2Data() {
  return ToInt(ReadSpO2(Session()));
}

}  // namespace vesk
