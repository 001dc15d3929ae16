#pragma once
// The 24-hour dial of the plan dialogs: midnight at the top, the awake period as a light arc,
// the asleep period as a dark arc and the special period as an inner ring. It shows what the
// lists say and is redrawn on every change of them.

#include <QtCore/QStringList>
#include <QtWidgets/QWidget>

namespace vesk {

class PlanDial : public QWidget {
  Q_OBJECT
 public:
  explicit PlanDial(QWidget* parent = nullptr);
  // Minutes of the day; a special start or end of -1 means no special period.
  void SetPeriods(int awakeStart, int asleepStart, int specialStart, int specialEnd);
  int AwakeStart() const { return awake_; }
  int AsleepStart() const { return asleep_; }
  int SpecialStart() const { return specialStart_; }
  int SpecialEnd() const { return specialEnd_; }
  bool HasSpecial() const { return specialStart_ >= 0 && specialEnd_ >= 0; }
  // Texts of the awake, asleep and special colours, drawn below the dial.
  void SetLegend(const QStringList& texts) {
    legend_ = texts;
    update();
  }
  QSize sizeHint() const override { return {260, 260}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int awake_ = 7 * 60;
  int asleep_ = 22 * 60;
  int specialStart_ = -1;
  int specialEnd_ = -1;
  QStringList legend_;
};

}  // namespace vesk
