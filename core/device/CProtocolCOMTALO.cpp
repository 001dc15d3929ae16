#include "device/CProtocolCOMTALO.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMTALO::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

int CProtocolCOMTALO::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}

int CProtocolCOMTALO::ReadBP(TransferSession& s) {
  int r = s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
  // Only the model whose download has a single-user part keeps those readings.
  auto* d = std::get_if<_DOWNLOAD_TALOCOLOR>(&s.data.data);
  if (r != kResultOk || !d) return r;
  r = s.ReadReadings(link::kBlockSingleUser, kTransportSingleUser, d->singleUser);
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
