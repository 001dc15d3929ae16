#pragma once
// The sleep-period dialog: the awake and asleep start of the open case, each chosen from the
// times of day in steps of 30 minutes. A start between two steps shows the step before it.

#include <QtWidgets/QDialog>

class QComboBox;

namespace vesk {

class CLanguage;

inline constexpr int kSleepStepMinutes = 30;
inline constexpr int kSleepSteps = 24 * 60 / kSleepStepMinutes;

class SleepPeriodDialog : public QDialog {
  Q_OBJECT
 public:
  // Minutes of the day; a value outside 0..1439 selects the first entry.
  SleepPeriodDialog(int awakeStart, int asleepStart, const CLanguage& language,
                    QWidget* parent = nullptr);
  int AwakeStart() const { return awake_; }
  int AsleepStart() const { return asleep_; }
  QComboBox* AwakeList() const { return awakeList_; }
  QComboBox* AsleepList() const { return asleepList_; }

 private:
  int awake_;
  int asleep_;
  QComboBox* awakeList_ = nullptr;
  QComboBox* asleepList_ = nullptr;
};

}  // namespace vesk
