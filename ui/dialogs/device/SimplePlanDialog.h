#pragma once
// The monitoring plan of a MIRU: the patient's name and ID and the recorder's clock.

#include "dialogs/device/PlanDialogBase.h"

class QDateEdit;
class QTimeEdit;

namespace vesk {

class SimplePlanDialog : public PlanDialogBase {
  Q_OBJECT
 public:
  SimplePlanDialog(const PlanDialogContext& context, QWidget* parent = nullptr);

 protected:
  void FillOptions(UploadPlanOptions&) const override {}
  void StoreSettings() const override {}
  DateParts Clock() const override;

 private:
  QDateEdit* date_ = nullptr;
  QTimeEdit* time_ = nullptr;
};

}  // namespace vesk
