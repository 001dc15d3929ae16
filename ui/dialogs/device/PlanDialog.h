#pragma once
// The plan of a MIRU recording and of a PEXAC: the awake and asleep periods with their
// intervals, an optional special period, start key and manual measurement, and the 24-hour
// dial that shows the periods as the lists set them.

#include "dialogs/device/PlanDialogBase.h"

class QComboBox;
class QGridLayout;

namespace vesk {

class PlanDial;

class PlanDialog : public PlanDialogBase {
  Q_OBJECT
 public:
  PlanDialog(const PlanDialogContext& context, QWidget* parent = nullptr)
      : PlanDialog(context, parent, true) {}

  PlanDial* Dial() const { return dial_; }

 protected:
  // Builds everything but the OK row when `finish` is false (for a dialog that adds more).
  PlanDialog(const PlanDialogContext& context, QWidget* parent, bool finish);
  void FillOptions(UploadPlanOptions& options) const override;
  void StoreSettings() const override;

  QGridLayout* grid_ = nullptr;
  int nextRow_ = 0;

 private:
  void OnSpecialChanged();
  void UpdateDial();
  static int Index(const QComboBox* list);

  QComboBox* awakeTime_ = nullptr;
  QComboBox* awakeSpan_ = nullptr;
  QComboBox* asleepTime_ = nullptr;
  QComboBox* asleepSpan_ = nullptr;
  QComboBox* specialStart_ = nullptr;
  QComboBox* specialEnd_ = nullptr;
  QComboBox* specialSpan_ = nullptr;
  QComboBox* startKey_ = nullptr;
  QComboBox* manualSet_ = nullptr;
  PlanDial* dial_ = nullptr;
  bool adjusting_ = false;
};

}  // namespace vesk
