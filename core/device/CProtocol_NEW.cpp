#include "device/CProtocol_NEW.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

namespace {
const FamilySteps* StepsOf(int kind) {
  const RecorderModel* model = ModelOfKind(kind);
  return model ? &model->steps : nullptr;
}
}  // namespace

bool CProtocol_NEW::SpeaksKind(int32_t kind) const {
  return ModelOfKind(kind) != nullptr;
}

int CProtocol_NEW::UploadBPInfo() {
  const FamilySteps* steps = StepsOf(Session().kind);
  if (steps && steps->uploadAllowed && !steps->uploadAllowed(CurrentMode()))
    return ToInt(DeviceResult::NotSupported);
  return CProtocolBase::UploadBPInfo();
}

int CProtocol_NEW::DownloadBPInfo() {
  const FamilySteps* steps = StepsOf(Session().kind);
  // A model without a plan (the home monitor) has nothing to read here.
  return ToInt(steps && steps->readInfo ? steps->readInfo(Session()) : DeviceResult::Ok);
}

int CProtocol_NEW::DownloadBPData() {
  const FamilySteps* steps = StepsOf(Session().kind);
  return ToInt(steps && steps->readBP ? steps->readBP(Session()) : DeviceResult::WrongDevice);
}

int CProtocol_NEW::DownloadSpO2Data() {
  const FamilySteps* steps = StepsOf(Session().kind);
  return ToInt(steps && steps->readSpO2 ? steps->readSpO2(Session()) : DeviceResult::Ok);
}

}  // namespace vesk
