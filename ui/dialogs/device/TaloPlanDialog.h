#pragma once
// The plan of a TALO: the periods with the intervals the recorder names, and for a TALOBlack
// its warning switches and limits. The plan starts from the one the recorder holds.

#include <array>
#include <vector>

#include "dialogs/device/PlanDialogBase.h"

class QComboBox;
class QSpinBox;
class QWidget;

namespace vesk {

class TaloPlanDialog : public PlanDialogBase {
  Q_OBJECT
 public:
  TaloPlanDialog(const PlanDialogContext& context, QWidget* parent = nullptr);
  QWidget* WarningGroup() const { return warnings_; }

 protected:
  void FillOptions(UploadPlanOptions& options) const override;
  void StoreSettings() const override;

 private:
  QComboBox* awakeTime_ = nullptr;
  QComboBox* awakeSpan_ = nullptr;
  QComboBox* asleepTime_ = nullptr;
  QComboBox* asleepSpan_ = nullptr;
  std::vector<int32_t> awakeMinutes_, asleepMinutes_;
  QWidget* warnings_ = nullptr;
};

}  // namespace vesk
