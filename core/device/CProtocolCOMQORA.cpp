#include "device/CProtocolCOMQORA.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

bool CProtocolCOMQORA::SpeaksKind(int32_t kind) const {
  return FindModel(kind, kProtocol) != nullptr;
}

DeviceResult CProtocolCOMQORA::ReadBP(TransferSession& s) {
  auto& d = std::get<QoraDownload>(s.data.data);
  for (int user = 0; user < 3; ++user) {
    if (s.mode != kModeAllUsers && s.mode != kModeUser1 + user) continue;
    const DeviceResult r =
        s.ReadReadings(static_cast<uint8_t>(link::kBlockUser1 + user), kTransportUser1 + user,
                       d.users[static_cast<size_t>(user)]);
    if (r != DeviceResult::Ok) return r;
  }
  return DeviceResult::Ok;
}

int CProtocolCOMQORA::DownloadBPData() {
  return ToInt(ReadBP(Session()));
}

}  // namespace vesk
