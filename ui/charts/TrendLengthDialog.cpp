#include "charts/TrendLengthDialog.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDateTimeEdit>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>

#include "charts/ChartRules.h"
#include "charts/ChartText.h"

namespace vesk {

namespace {
QDateTime ToQt(const OleDateTime& t) {
  DateParts d;
  if (!t.ToParts(d)) return {};
  return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
}
}  // namespace

TrendLengthDialog::TrendLengthDialog(const Spo2Window& window, const CLanguage* language,
                                     QWidget* parent)
    : QDialog(parent), window_(window), language_(language) {
  setWindowTitle(ChartText(language, kChartCorreLine, "IDS_RESOLUTION_SET"));
  auto* grid = new QGridLayout(this);
  hours_ = new QSpinBox(this);
  hours_->setRange(0, 9999);
  hours_->setValue(window.Hours());
  minutes_ = new QSpinBox(this);
  minutes_->setRange(0, 59);
  minutes_->setValue(window.Minutes());
  start_ = new QDateTimeEdit(this);
  start_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  const QDateTime first = ToQt(window.First());
  start_->setDateTimeRange(first, first.addSecs(window.SeriesSeconds()));
  start_->setDateTime(ToQt(window.StartTime()));
  allData_ = new QCheckBox(ChartText(language, kChartCorreLine, "IDS_CHECK_ALL_DATA"), this);
  allData_->setChecked(window.AllData());
  grid->addWidget(new QLabel(ChartText(language, kChartCorreLine, "IDS_TIME_INTERVAL"), this), 0,
                  0);
  grid->addWidget(hours_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral(":"), this), 0, 2);
  grid->addWidget(minutes_, 0, 3, 1, 2);
  grid->addWidget(new QLabel(ChartText(language, kChartCorreLine, "IDS_STA_TIME"), this), 1, 0);
  grid->addWidget(start_, 1, 1, 1, 4);
  grid->addWidget(allData_, 2, 0, 1, 5);
  auto* ok = new QPushButton(ChartText(language, kChartMessage, "IDS_MAKE_SURE"), this);
  auto* cancel = new QPushButton(ChartText(language, kChartMessage, "IDS_CANCEL"), this);
  ok->setDefault(true);
  grid->addWidget(ok, 3, 3);
  grid->addWidget(cancel, 3, 4);
  connect(ok, &QPushButton::clicked, this, &TrendLengthDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &TrendLengthDialog::reject);
  const auto enable = [this](bool all) {
    hours_->setEnabled(!all);
    minutes_->setEnabled(!all);
    start_->setEnabled(!all);
  };
  connect(allData_, &QCheckBox::toggled, this, enable);
  enable(allData_->isChecked());
}

void TrendLengthDialog::accept() {
  const QDateTime first = ToQt(window_.First());
  const int64_t start = first.isValid() ? first.secsTo(start_->dateTime()) : 0;
  if (!ApplyLengthEntry(window_, hours_->value(), minutes_->value(), allData_->isChecked(),
                        start)) {
    QMessageBox::warning(this, windowTitle(),
                         ChartText(language_, kChartCorreLine, "IDS_INPUT_RESOLUTION"));
    return;
  }
  QDialog::accept();
}

}  // namespace vesk
