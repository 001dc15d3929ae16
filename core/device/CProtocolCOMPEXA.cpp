#include "device/CProtocolCOMPEXA.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMPEXA::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

DeviceResult CProtocolCOMPEXA::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}
DeviceResult CProtocolCOMPEXA::ReadBP(TransferSession& s) {
  return s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
}

int CProtocolCOMPEXA::DownloadBPInfo() {
  return ToInt(ReadInfo(Session()));
}
int CProtocolCOMPEXA::DownloadBPData() {
  return ToInt(ReadBP(Session()));
}

}  // namespace vesk
