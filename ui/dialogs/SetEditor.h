#pragma once
// The report set editor: a sheet with the print page, which takes the name, the title, the
// page choice, the derived indices and the SpO2 page of one report configuration set.

#include <QtWidgets/QDialog>
#include <array>
#include <string>

#include "settings/ConfigTypes.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QTimeEdit;

namespace vesk {

class CConfigFile;
struct CaseState;

class CEditPrintPage : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kNameLimit = 30;
  static constexpr int kTitleLimit = 60;

  // The morning surge's times are those of the configuration's case state.
  CEditPrintPage(CConfigFile& config, const std::string& name, const ReportSettings& values,
                 QWidget* parent);

  QLineEdit* NameField() const { return name_; }
  QLineEdit* TitleField() const { return title_; }
  QCheckBox* PageBox(int page) const { return pages_[size_t(page)]; }
  // 0 AASI, 1 smoothness index, 2 morning surge.
  QCheckBox* IndexBox(int index) const { return indices_[size_t(index)]; }
  QCheckBox* Spo2Box() const { return spo2_; }
  QRadioButton* Spo2Variant(int i) const { return spo2Variants_[size_t(i)]; }
  ReportSettings Values() const;

  // Asks for the awake and asleep start of the morning surge and stores them in `times`;
  // false when cancelled.
  static bool (*ConfirmSurgeTimes)(CaseState& times, QWidget* parent);

 private:
  void UpdateEnabling();
  void OnMorningSurge(bool checked);

  CConfigFile& config_;
  QLineEdit* name_;
  QLineEdit* title_;
  std::array<QCheckBox*, kReportPageCount> pages_{};
  std::array<QCheckBox*, 3> indices_{};
  QCheckBox* spo2_;
  std::array<QRadioButton*, 3> spo2Variants_{};
  bool indicesAllowed_ = true;
};

class CSetEditor : public QDialog {
  Q_OBJECT
 public:
  // An empty name makes a new set, whose name must not be one of the configuration's sets;
  // otherwise the named set is edited and keeps its name.
  CSetEditor(CConfigFile& config, const std::string& name, const ReportSettings& values,
             QWidget* parent = nullptr);

  CEditPrintPage* Page() const { return page_; }
  std::string Name() const;
  ReportSettings Values() const { return page_->Values(); }
  bool IsNew() const { return isNew_; }
  // Checks the name of a new set (not empty, not taken) and closes.
  void OnOk();

 private:
  const CConfigFile& config_;
  QTabWidget* tabs_;
  CEditPrintPage* page_;
  bool isNew_;
};

// The awake and asleep start times used for the morning surge.
class CMorningSurgeDialog : public QDialog {
  Q_OBJECT
 public:
  CMorningSurgeDialog(int awakeStart, int asleepStart, QWidget* parent = nullptr);
  int AwakeStart() const;
  int AsleepStart() const;

 private:
  QTimeEdit* awake_;
  QTimeEdit* asleep_;
};

}  // namespace vesk
