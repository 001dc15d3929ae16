#pragma once
// The reading editor of the data table: one reading's pressures, pulse rate, date, time and
// comment, in edit mode (2) or add mode (1). OK runs the two pressure checks of the core and
// keeps the dialog open, with the focus on the field to correct, while one fails.

#include <QtWidgets/QDialog>

#include "analysis/ReadingTable.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

namespace vesk {

class CLanguage;

class ReadingEditDialog : public QDialog {
  Q_OBJECT
 public:
  enum Mode { kAdd = 1, kEdit = 2 };
  // number: the reading number as the grid shows it; chinese: the fixed texts in Chinese.
  ReadingEditDialog(Mode mode, const ReadingInput& values, const QString& number,
                    const CLanguage& language, bool chinese, QWidget* parent = nullptr);

  ReadingInput Values() const;
  void OnOk();

  QSpinBox* Sys() const { return sys_; }
  QSpinBox* Dia() const { return dia_; }
  QSpinBox* Map() const { return map_; }
  QSpinBox* Pr() const { return pr_; }

 private:
  bool chinese_;
  QLabel* number_;
  QSpinBox* sys_;
  QSpinBox* dia_;
  QSpinBox* map_;
  QSpinBox* pr_;
  QDateEdit* date_;
  QTimeEdit* time_;
  QLineEdit* comment_;
};

}  // namespace vesk
