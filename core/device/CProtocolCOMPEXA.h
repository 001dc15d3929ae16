#pragma once
// The PEXA recorder (adult, child and neonate measuring) on a serial link. Its data is one
// recording with the plan it was programmed with.

#include "device/CProtocolBase.h"

namespace vesk {

class TransferSession;

class CProtocolCOMPEXA : public CProtocolBase {
 public:
  static constexpr int32_t kProtocol = 8;
  // The models of the table that answer on this protocol number.
  bool SpeaksKind(int32_t kind) const override;
  [[nodiscard]] static DeviceResult ReadInfo(TransferSession& s);
  [[nodiscard]] static DeviceResult ReadBP(TransferSession& s);

 protected:
  int DownloadBPInfo() override;
  int DownloadBPData() override;
};

}  // namespace vesk
