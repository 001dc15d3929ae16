#include "device/CProtocolCOMMIRU.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMMIRU::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

int CProtocolCOMMIRU::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}

int CProtocolCOMMIRU::ReadBP(TransferSession& s) {
  switch (s.mode) {
    case kModeMonitor:
      return s.ReadMainReadings(link::kBlockMonitor, kTransportBpTrend);
    case kModeSingleUser:
      return s.ReadMainReadings(link::kBlockSingleUser, kTransportSingleUser);
    default:
      return s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
  }
}

int CProtocolCOMMIRU::ReadSpO2(TransferSession& s) {
  if (s.mode != kModeMonitor) return kResultOk;
  return s.ReadSpO2(std::get<_DOWNLOAD_MIRU>(s.data.data).spo2);
}

int CProtocolCOMMIRU::UploadBPInfo() {
  if (!UploadModeAllowed(CurrentMode())) return kResultNotSupported;
  return CProtocolBase::UploadBPInfo();
}

int CProtocolCOMMIRU::DownloadBPInfo() {
  return ReadInfo(Session());
}
int CProtocolCOMMIRU::DownloadBPData() {
  return ReadBP(Session());
}
int CProtocolCOMMIRU::DownloadSpO2Data() {
  return ReadSpO2(Session());
}

}  // namespace vesk
