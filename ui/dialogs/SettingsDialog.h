#pragma once
// The settings dialog with its three tabs: case path, report configuration and standard
// values. OK applies every page.

#include <QtWidgets/QDialog>

class QTabWidget;

namespace vesk {

class CCasePathPage;
class CConfigFile;
class CReportPage;
class CStandardValuesPage;

class CSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  CSettingsDialog(CConfigFile& config, int page, QWidget* parent = nullptr);

  QTabWidget* Tabs() const { return tabs_; }
  CCasePathPage* CasePathPage() const { return casePath_; }
  CReportPage* ReportPage() const { return report_; }
  CStandardValuesPage* StandardValuesPage() const { return standard_; }
  void OnOk();

 private:
  QTabWidget* tabs_;
  CCasePathPage* casePath_;
  CReportPage* report_;
  CStandardValuesPage* standard_;
};

}  // namespace vesk
