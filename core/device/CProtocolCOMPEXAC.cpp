#include "device/CProtocolCOMPEXAC.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMPEXAC::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

int CProtocolCOMPEXAC::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}
int CProtocolCOMPEXAC::ReadBP(TransferSession& s) {
  return s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
}

int CProtocolCOMPEXAC::DownloadBPInfo() {
  return ReadInfo(Session());
}
int CProtocolCOMPEXAC::DownloadBPData() {
  return ReadBP(Session());
}

}  // namespace vesk
