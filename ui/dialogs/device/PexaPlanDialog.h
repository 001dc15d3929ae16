#pragma once
// The plan of a PEXA: the periods of the plan dialog plus the measurement mode, the maximum
// cuff pressure and the warning limits of both periods, whose ranges follow the mode.

#include <array>

#include "dialogs/device/PlanDialog.h"

class QSpinBox;
class QLabel;

namespace vesk {

class PexaPlanDialog : public PlanDialog {
  Q_OBJECT
 public:
  PexaPlanDialog(const PlanDialogContext& context, QWidget* parent = nullptr);

  // Limits in plan order: systolic high, low, diastolic high, low, mean high, low.
  QSpinBox* Limit(int group, int index) const { return limits_[size_t(group)][size_t(index)]; }
  QSpinBox* MaxPressure() const { return maxPressure_; }

 protected:
  void FillOptions(UploadPlanOptions& options) const override;

 private:
  void OnModeChanged(int mode);

  QComboBox* mode_ = nullptr;
  QSpinBox* maxPressure_ = nullptr;
  QLabel* maxRange_ = nullptr;
  std::array<QComboBox*, 2> switches_{};
  std::array<std::array<QSpinBox*, 6>, 2> limits_{};
  std::array<QLabel*, 3> ranges_{};
};

}  // namespace vesk
