#pragma once
// The USB recorders of every family (protocol numbers 1-5). They speak the same link as the
// serial ones; the family is known only after the greeting, so each step runs the family's
// reading rules that the model table gives for the reported device kind.

#include "device/CProtocolBase.h"

namespace vesk {

class CProtocol_NEW : public CProtocolBase {
 public:
  // Every model of the table.
  bool SpeaksKind(int32_t kind) const override;

 protected:
  int UploadBPInfo() override;
  int DownloadBPInfo() override;
  int DownloadSpO2Data() override;
  int DownloadBPData() override;
};

}  // namespace vesk
