#pragma once
// The plan dialog of each recorder family.

#include <memory>

#include "dialogs/device/PexaPlanDialog.h"
#include "dialogs/device/PlanDialog.h"
#include "dialogs/device/SimplePlanDialog.h"
#include "dialogs/device/TaloPlanDialog.h"

namespace vesk {

// TALO: TaloPlanDialog; MIRU: PlanDialog for recording, SimplePlanDialog for monitoring;
// PEXA: PexaPlanDialog; PEXAC: PlanDialog. Null for recorders that take no plan.
std::unique_ptr<PlanDialogBase> MakePlanDialog(const PlanDialogContext& context, QWidget* parent);

}  // namespace vesk
