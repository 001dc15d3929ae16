#pragma once
// The QORA home monitor: readings of up to three users, no plan (it measures on request).

#include "device/CProtocolBase.h"

namespace vesk {

class TransferSession;

class CProtocolCOMQORA : public CProtocolBase {
 public:
  static constexpr int32_t kProtocol = 10;
  // The models of the table that answer on this protocol number.
  bool SpeaksKind(int32_t kind) const override;
  [[nodiscard]] static DeviceResult ReadBP(TransferSession& s);
  // A home monitor takes no plan.
  static bool UploadModeAllowed(int) { return false; }

 protected:
  int UploadBPInfo() override { return ToInt(DeviceResult::NotSupported); }
  int DownloadBPData() override;
};

}  // namespace vesk
