#include "dialogs/device/PlanDialogs.h"

#include "device/DeviceTypes.h"

namespace vesk {

std::unique_ptr<PlanDialogBase> MakePlanDialog(const PlanDialogContext& context, QWidget* parent) {
  switch (context.deviceKind) {
    case kTaloColor:
    case kTaloBlack:
      return std::make_unique<TaloPlanDialog>(context, parent);
    case kMiru:
      if (context.mode == kModeMonitor) return std::make_unique<SimplePlanDialog>(context, parent);
      return std::make_unique<PlanDialog>(context, parent);
    case kPexa:
      return std::make_unique<PexaPlanDialog>(context, parent);
    case kPexaC:
      return std::make_unique<PlanDialog>(context, parent);
    default:
      return nullptr;
  }
}

}  // namespace vesk
