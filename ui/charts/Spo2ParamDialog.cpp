#include "charts/Spo2ParamDialog.h"

#include <QtGui/QIntValidator>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "analysis/CaseAnalysis.h"
#include "charts/ChartRules.h"
#include "charts/ChartText.h"
#include "settings/ConfigFile.h"

namespace vesk {

Spo2ParamDialog::Spo2ParamDialog(const EventDialogValues& values, const CLanguage* language,
                                 QWidget* parent)
    : QDialog(parent), values_(values), language_(language) {
  const auto text = [language](const char* section, const char* key) {
    return ChartText(language, section, key);
  };
  setWindowTitle(text(kChartCorreLine, "IDS_SPO2_PARAMETER_SET"));
  const int32_t initial[5] = {values.spo2LeastChange, values.spo2MinTime, values.spo2Criterion,
                              values.prLeastChange, values.prMinTime};
  for (size_t i = 0; i < 5; ++i) {
    fields_[i] = new QLineEdit(QString::asprintf("%d", initial[i]), this);
    fields_[i]->setValidator(new QIntValidator(0, 999, fields_[i]));
  }
  auto* outer = new QVBoxLayout(this);
  auto* group = new QGroupBox(text(kChartCorreLine, "IDS_SPO2_PARAM"), this);
  auto* groupLayout = new QVBoxLayout(group);
  auto* drop = new QGroupBox(text(kChartCorreLine, "IDS_DROP_EVENT"), group);
  auto* dropForm = new QFormLayout(drop);
  dropForm->addRow(text(kChartCorreLine, "IDS_MINIMUM_DURATION"), fields_[1]);
  dropForm->addRow(text(kChartCorreLine, "IDS_DESATURATION_LEVEL"), fields_[0]);
  dropForm->addRow(text(kChartDialog, "IDS_HEADING_SPO2"), fields_[2]);
  auto* pulse = new QGroupBox(text(kChartCorreLine, "IDS_PULSE_RATE"), group);
  auto* pulseForm = new QFormLayout(pulse);
  pulseForm->addRow(text(kChartCorreLine, "IDS_RATE_CHANGE"), fields_[3]);
  pulseForm->addRow(text(kChartCorreLine, "IDS_MINIMUM_DURATION"), fields_[4]);
  groupLayout->addWidget(drop);
  groupLayout->addWidget(pulse);
  outer->addWidget(group);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(text(kChartMessage, "IDS_MAKE_SURE"), this);
  auto* cancel = new QPushButton(text(kChartMessage, "IDS_CANCEL"), this);
  ok->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  outer->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &Spo2ParamDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &Spo2ParamDialog::reject);
}

void Spo2ParamDialog::accept() {
  std::array<std::string, 5> texts;
  for (size_t i = 0; i < 5; ++i) texts[i] = fields_[i]->text().toStdString();
  const std::optional<EventDialogValues> parsed = ParseEventFields(texts, values_);
  if (!parsed) {
    QMessageBox::warning(this, windowTitle(),
                         ChartText(language_, kChartCorreLine, "IDS_ANALYSIS"));
    return;
  }
  values_ = *parsed;
  QDialog::accept();
}

bool RunSpo2ParameterDialog(QWidget* parent, CConfigFile& config, const CaseDocument& doc,
                            CaseAnalysis& analysis, const CLanguage* language) {
  Spo2ParamDialog dialog(DialogValuesFrom(config.settings), language, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  ConfirmEventParams(config, dialog.Values(), doc, analysis);
  return true;
}

}  // namespace vesk
