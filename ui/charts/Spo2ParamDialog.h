#pragma once
// The SpO2 and pulse event parameter dialog (button 1213): five values; confirming stores
// them, detects the events again and saves the configuration at once.

#include <QtWidgets/QDialog>
#include <array>

#include "analysis/EventParams.h"

class QLineEdit;

namespace vesk {

class CConfigFile;
class CaseDocument;
class CLanguage;
struct CaseAnalysis;

class Spo2ParamDialog : public QDialog {
  Q_OBJECT

 public:
  Spo2ParamDialog(const EventDialogValues& values, const CLanguage* language,
                  QWidget* parent = nullptr);
  const EventDialogValues& Values() const { return values_; }
  // In the order of EventDialogValues.
  QLineEdit* field(int index) const { return fields_[static_cast<size_t>(index)]; }

 public slots:
  void accept() override;

 private:
  EventDialogValues values_;
  const CLanguage* language_;
  std::array<QLineEdit*, 5> fields_{};
};

// The whole of button 1213: the dialog on the configuration's values; on confirm the events
// are detected again and the configuration saved. True when the user confirmed.
bool RunSpo2ParameterDialog(QWidget* parent, CConfigFile& config, const CaseDocument& doc,
                            CaseAnalysis& analysis, const CLanguage* language);

}  // namespace vesk
