#include "dialogs/device/SimplePlanDialog.h"

#include <QtWidgets/QDateEdit>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QTimeEdit>

namespace vesk {

SimplePlanDialog::SimplePlanDialog(const PlanDialogContext& context, QWidget* parent)
    : PlanDialogBase(context, parent) {
  setObjectName("SimplePlanDialog");
  auto* grid = new QGridLayout(this);
  int row = AddPatientRows(grid, 0, 1157, 1158, 0);
  const DateParts& n = context.now;
  date_ = new QDateEdit(QDate(n.year, n.month, n.day), this);
  date_->setObjectName("1089");
  date_->setDisplayFormat("yyyy-MM-dd");
  time_ = new QTimeEdit(QTime(n.hour, n.minute, n.second), this);
  time_->setObjectName("1160");
  time_->setDisplayFormat("HH:mm:ss");
  auto* label = new QLabel(T("Message Setting", "IDS_CURRENT_TIME"), this);
  label->setObjectName("1058");
  grid->addWidget(label, row, 0);
  grid->addWidget(date_, row, 1);
  grid->addWidget(time_, row, 2);
  ++row;
  AddOkCancel(grid, row, 4);
  setMinimumWidth(380);
}

DateParts SimplePlanDialog::Clock() const {
  const QDate d = date_->date();
  const QTime t = time_->time();
  DateParts out;
  out.year = d.year();
  out.month = d.month();
  out.day = d.day();
  out.hour = t.hour();
  out.minute = t.minute();
  out.second = t.second();
  return out;
}

}  // namespace vesk
