#include "device/CProtocolCOMPEXA.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMPEXA::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

int CProtocolCOMPEXA::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}
int CProtocolCOMPEXA::ReadBP(TransferSession& s) {
  return s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
}

int CProtocolCOMPEXA::DownloadBPInfo() {
  return ReadInfo(Session());
}
int CProtocolCOMPEXA::DownloadBPData() {
  return ReadBP(Session());
}

}  // namespace vesk
