#pragma once
// The MIRU recorder: an ambulatory recording (mode 1), patient monitoring with an SpO2 and
// pulse-rate series (mode 2) and single-user readings (mode 3).

#include "device/CProtocolBase.h"

namespace vesk {

class TransferSession;

class CProtocolCOMMIRU : public CProtocolBase {
 public:
  static constexpr int32_t kProtocol = 7;
  // The models of the table that answer on this protocol number.
  bool SpeaksKind(int32_t kind) const override;
  [[nodiscard]] static DeviceResult ReadInfo(TransferSession& s);
  [[nodiscard]] static DeviceResult ReadBP(TransferSession& s);
  [[nodiscard]] static DeviceResult ReadSpO2(TransferSession& s);
  // Plans go out for a recording (1) or for monitoring (2) only.
  static bool UploadModeAllowed(int mode) { return mode == kModeRecording || mode == kModeMonitor; }

 protected:
  int UploadBPInfo() override;
  int DownloadBPInfo() override;
  int DownloadBPData() override;
  int DownloadSpO2Data() override;
};

}  // namespace vesk
