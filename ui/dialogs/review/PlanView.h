#pragma once
// The plan view: the measurement plan the recorder of the open case was programmed with, one
// caption and value per line.

#include <QtWidgets/QDialog>
#include <vector>

#include "cases/PlanLines.h"

class QTreeWidget;

namespace vesk {

class CLanguage;

class PlanView : public QDialog {
  Q_OBJECT
 public:
  PlanView(const std::vector<PlanLine>& lines, const CLanguage& language,
           QWidget* parent = nullptr);
  // The list of caption/value lines (object name "PlanList").
  QTreeWidget* List() const { return list_; }

 private:
  QTreeWidget* list_ = nullptr;
};

}  // namespace vesk
