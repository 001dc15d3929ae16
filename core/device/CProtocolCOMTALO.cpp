#include "device/CProtocolCOMTALO.h"

#include "device/TransferSession.h"

namespace vesk {

int CProtocolCOMTALO::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}

int CProtocolCOMTALO::ReadBP(TransferSession& s) {
  int r = s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
  if (r != kResultOk || s.kind != kTaloColor) return r;
  auto& d = std::get<_DOWNLOAD_TALOCOLOR>(s.data.data);
  r = s.ReadReadings(link::kBlockSingleUser, kTransportSingleUser, d.singleUser);
  // An older TALOColor without single-user memory simply has none.
  return r == kResultNotSupported ? int(kResultOk) : r;
}

int CProtocolCOMTALO::DownloadBPInfo() {
  return ReadInfo(Session());
}
int CProtocolCOMTALO::DownloadBPData() {
  return ReadBP(Session());
}

}  // namespace vesk
