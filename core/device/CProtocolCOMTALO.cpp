#include "device/CProtocolCOMTALO.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMTALO::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

DeviceResult CProtocolCOMTALO::ReadInfo(TransferSession& s) {
  return s.ReadPlanPart();
}

DeviceResult CProtocolCOMTALO::ReadBP(TransferSession& s) {
  DeviceResult r = s.ReadMainReadings(link::kBlockRecording, kTransportBpTrend);
  // Only the model whose download has a single-user part keeps those readings.
  auto* d = std::get_if<TaloColorDownload>(&s.data.data);
  if (r != DeviceResult::Ok || !d) return r;
  r = s.ReadReadings(link::kBlockSingleUser, kTransportSingleUser, d->singleUser);
  // An older TALOColor without single-user memory simply has none.
  return r == DeviceResult::NotSupported ? DeviceResult::Ok : r;
}

int CProtocolCOMTALO::DownloadBPInfo() {
  return ToInt(ReadInfo(Session()));
}
int CProtocolCOMTALO::DownloadBPData() {
  return ToInt(ReadBP(Session()));
}

}  // namespace vesk
