#pragma once
// "Set trend length manually" (command 2004): hours and minutes of the SpO2 window, its start
// and the choice of the whole recording.

#include <QtWidgets/QDialog>

#include "charts/Spo2Window.h"

class QCheckBox;
class QDateTimeEdit;
class QSpinBox;

namespace vesk {

class CLanguage;

class TrendLengthDialog : public QDialog {
  Q_OBJECT

 public:
  TrendLengthDialog(const Spo2Window& window, const CLanguage* language, QWidget* parent = nullptr);
  // The window after a confirmed entry.
  const Spo2Window& Result() const { return window_; }

  QSpinBox* hoursField() const { return hours_; }
  QSpinBox* minutesField() const { return minutes_; }
  QCheckBox* allDataBox() const { return allData_; }

 public slots:
  void accept() override;

 private:
  Spo2Window window_;
  const CLanguage* language_;
  QSpinBox* hours_ = nullptr;
  QSpinBox* minutes_ = nullptr;
  QDateTimeEdit* start_ = nullptr;
  QCheckBox* allData_ = nullptr;
};

}  // namespace vesk
