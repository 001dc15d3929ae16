#include "device/CProtocolCOMPEXAC.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMPEXAC::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

DeviceResult CProtocolCOMPEXAC::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}
DeviceResult CProtocolCOMPEXAC::ReadBP(TransferSession& s) {
  return s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
}

int CProtocolCOMPEXAC::DownloadBPInfo() {
  return ToInt(ReadInfo(Session()));
}
int CProtocolCOMPEXAC::DownloadBPData() {
  return ToInt(ReadBP(Session()));
}

}  // namespace vesk
