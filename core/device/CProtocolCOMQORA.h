#pragma once
// The QORA home monitor: readings of up to three users, no plan (it measures on request).

#include "device/CProtocolBase.h"

namespace vesk {

class TransferSession;

class CProtocolCOMQORA : public CProtocolBase {
 public:
  bool SpeaksKind(int32_t kind) const override { return kind == kQora; }
  static int ReadBP(TransferSession& s);

 protected:
  // A home monitor takes no plan.
  int UploadBPInfo() override { return kResultNotSupported; }
  int DownloadBPData() override;
};

}  // namespace vesk
