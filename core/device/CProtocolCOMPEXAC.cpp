#include "device/CProtocolCOMPEXAC.h"

#include "device/TransferSession.h"

namespace vesk {

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
