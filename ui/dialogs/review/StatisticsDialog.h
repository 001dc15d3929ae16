#pragma once
// The statistics window: counts, means, loads and thresholds of the awake and asleep periods
// and of the whole recording, as the core formats them.

#include <QtWidgets/QDialog>
#include <array>

#include "analysis/StatisticsTable.h"

class QLabel;

namespace vesk {

class CLanguage;

class StatisticsDialog : public QDialog {
  Q_OBJECT
 public:
  StatisticsDialog(const StatisticsTable& table, const CLanguage& language,
                   QWidget* parent = nullptr);
  // The shown text of one cell (also found as the label named "cell_<row>_<column>").
  QString Cell(StatRow row, StatColumn column) const;

 private:
  std::array<std::array<QLabel*, kStatColumns>, kStatRows> cells_{};
};

}  // namespace vesk
