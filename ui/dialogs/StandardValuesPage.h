#pragma once
// The standard values page: the eight analysis thresholds of the current user. Each pair is
// held apart by the rules of the settings code when a value is entered.

#include <QtWidgets/QWidget>
#include <array>

#include "settings/ConfigTypes.h"

class QLineEdit;

namespace vesk {

class CConfigFile;
class CUpDown;

class CStandardValuesPage : public QWidget {
  Q_OBJECT
 public:
  // Field order: awake SYS, awake DIA, asleep SYS, asleep DIA, low CR, high CR, day load,
  // night load.
  enum Field { AwakeSys, AwakeDia, AsleepSys, AsleepDia, LowCR, HighCR, DayLoad, NightLoad };
  static constexpr std::array<int, 8> kEditIds = {1067, 1069, 1068, 1070, 1072, 1073, 1074, 1075};
  static constexpr std::array<int, 8> kSpinIds = {1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036};

  explicit CStandardValuesPage(CConfigFile& config, QWidget* parent = nullptr);

  QLineEdit* Edit(Field f) const { return edits_[f]; }
  CUpDown* Spin(Field f) const { return spins_[f]; }
  // Enters a value as the user would and applies the pair rules.
  void Enter(Field f, int value);
  Thresholds Values() const;
  void SetValues(const Thresholds& t);
  void OnDefaults();
  void Apply();

 private:
  void Fix(Field f);
  int Value(Field f) const;
  void Put(Field f, int value);

  CConfigFile& config_;
  std::array<QLineEdit*, 8> edits_{};
  std::array<CUpDown*, 8> spins_{};
  bool fixing_ = false;
};

}  // namespace vesk
