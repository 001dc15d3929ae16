#include "device/CProtocol_NEW.h"

#include "device/CProtocolCOMMIRU.h"
#include "device/CProtocolCOMPEXA.h"
#include "device/CProtocolCOMPEXAC.h"
#include "device/CProtocolCOMQORA.h"
#include "device/CProtocolCOMTALO.h"
#include "device/TransferSession.h"

namespace vesk {

int CProtocol_NEW::UploadBPInfo() {
  const int kind = Session().kind;
  if (kind == kQora) return kResultNotSupported;
  if (kind == kMiru && !CProtocolCOMMIRU::UploadModeAllowed(CurrentMode()))
    return kResultNotSupported;
  return CProtocolBase::UploadBPInfo();
}

int CProtocol_NEW::DownloadBPInfo() {
  TransferSession& s = Session();
  switch (s.kind) {
    case kTaloColor:
    case kTaloBlack:
      return CProtocolCOMTALO::ReadInfo(s);
    case kMiru:
      return CProtocolCOMMIRU::ReadInfo(s);
    case kPexa:
      return CProtocolCOMPEXA::ReadInfo(s);
    case kPexaC:
      return CProtocolCOMPEXAC::ReadInfo(s);
    default:
      return kResultOk;  // QORA keeps no plan
  }
}

int CProtocol_NEW::DownloadBPData() {
  TransferSession& s = Session();
  switch (s.kind) {
    case kTaloColor:
    case kTaloBlack:
      return CProtocolCOMTALO::ReadBP(s);
    case kMiru:
      return CProtocolCOMMIRU::ReadBP(s);
    case kPexa:
      return CProtocolCOMPEXA::ReadBP(s);
    case kPexaC:
      return CProtocolCOMPEXAC::ReadBP(s);
    case kQora:
      return CProtocolCOMQORA::ReadBP(s);
    default:
      return kResultWrongDevice;
  }
}

int CProtocol_NEW::DownloadSpO2Data() {
  return Session().kind == kMiru ? CProtocolCOMMIRU::ReadSpO2(Session()) : int(kResultOk);
}

}  // namespace vesk
