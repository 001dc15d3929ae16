#pragma once
// The TALO ambulatory recorders (TALOColor, TALOBlack) on a serial link. A TALOColor also
// keeps the single-user readings taken outside a recording.

#include "device/CProtocolBase.h"

namespace vesk {

class TransferSession;

class CProtocolCOMTALO : public CProtocolBase {
 public:
  static constexpr int32_t kProtocol = 6;
  // The models of the table that answer on this protocol number.
  bool SpeaksKind(int32_t kind) const override;
  [[nodiscard]] static DeviceResult ReadInfo(TransferSession& s);
  [[nodiscard]] static DeviceResult ReadBP(TransferSession& s);

 protected:
  int DownloadBPInfo() override;
  int DownloadBPData() override;
};

}  // namespace vesk
