#pragma once
// The main view: the area the charts of the opened case are drawn in, the controls that
// belong to the distribution charts, the keyboard entry and the view's commands.

#include <QtWidgets/QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "analysis/CaseAnalysis.h"
#include "analysis/Extremes.h"

class QRadioButton;
class QLabel;
class QLineEdit;
class QToolButton;
class QUrl;
class QAction;

namespace vesk {

class CZavDoc;
class CButtonNew;
class CUpDown;
class CaseSession;
class ChartWidget;
class TransferCommands;
struct ChartSource;

// "VESK     Name:x      ID:y      Age:z" ("--" for an age of 0 or less).
std::string FormatCaseTitle(const std::string& appTitle, const std::string& nameLabel,
                            const std::string& name, const std::string& idLabel,
                            const std::string& id, const std::string& ageLabel, int age);
// The user's guide for a language name: Help/Chinese.html only for exactly "Chinese" and
// when it is there, else Help/English.html (which may be missing too).
std::string HelpFilePath(const std::string& languageName);

class CZavView : public QWidget {
  Q_OBJECT
 public:
  static const QColor kBackground;
  // Starting values of the six bound fields: SYS upper, lower, DIA upper, lower, PR upper,
  // lower.
  static constexpr std::array<int, 6> kBoundStart = {140, 100, 90, 60, 100, 60};

  explicit CZavView(CZavDoc* doc, QWidget* parent = nullptr);
  ~CZavView() override;

  // Commands.
  void OnOpenData();
  void OnChartKind(int kind);
  void OnHelp();
  // Recorder transfers: download (32812), upload (32801), link way (32806).
  void OnDownload();
  void OnUpload();
  void OnSetConnect();
  TransferCommands& Transfers();
  // Loads a case and shows it (the end of the open-data command and of a download).
  // Returns the load result; failures are told to the user.
  int OpenCase(const std::string& path);

  // Texts of every control from the language tables.
  void Retext();
  // The period and bounds the analysis of the open case is prepared with.
  AnalysisView CurrentAnalysisView() const;
  // After the open case was analysed with new sleep periods or thresholds: the charts take
  // the new boundaries and threshold lines and the whole view is drawn again.
  void ShowChangedAnalysis();
  // The window title again from the open case's patient record.
  void ShowPatient();

  int ChartKind() const { return chartKind_; }
  int SelectedPeriod() const { return selectedPeriod_; }
  int TrendMode() const { return trendMode_; }
  int Range(int period, int index) const { return ranges_.at(size_t(period)).at(size_t(index)); }
  const QString& TypedCharacters() const { return typed_; }
  CaseSession& Session() { return *session_; }
  CUpDown* Spin(int index) const { return spins_.at(size_t(index)); }
  ChartWidget* Charts() const { return charts_; }
  // The bounds the pie is prepared with: the six bound fields as they stand.
  RangeLimits FieldLimits() const;

  // Where the help command hands the file; tests replace it.
  static std::function<bool(const QUrl&)>& UrlOpener();
  // Asks where the chart picture goes (the proposed name given); empty when cancelled. Tests
  // replace it.
  static std::function<QString(QWidget* parent, const QString& proposed)>& ImagePathChooser();

  // The chart area's context menu: the shown chart as a PNG file or on the clipboard.
  void OnSaveChartImage();
  void OnCopyChartImage();

 signals:
  // A case was loaded and is shown; the main window enables its commands by the new state.
  void caseOpened();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void keyReleaseEvent(QKeyEvent*) override;

 private:
  void CreateControls();
  void LayoutControls();
  void ResetBoundFields();
  void ShowControlsFor(int kind);
  void HideChartControls();
  void OnBoundChanged(int index);
  void UpdateBandLabel(int pair);
  void OnPeriod(int period);
  void OnGraphType();
  void OnSpO2Parameters();
  void OnChartTool(int id);
  void OnChartLeftPress();
  void OnPaintError(const QString& text);
  void OnWindowChanged(int activePreset);
  // The statistics of the shown chart again for the selected period and the bound fields.
  void PrepareChartData();
  // What the charts are handed for the open case.
  ChartSource CaseSource() const;
  void LayoutCharts();
  QString PulseRateSuffix() const;

  CZavDoc* doc_;
  std::unique_ptr<CaseSession> session_;
  std::unique_ptr<TransferCommands> transfers_;
  std::array<QRadioButton*, 3> periods_{};
  std::array<QLabel*, 3> bands_{};
  std::array<QLabel*, 6> boundLabels_{};
  std::array<QLineEdit*, 6> edits_{};
  std::array<CUpDown*, 6> spins_{};
  CButtonNew* graphType_ = nullptr;
  CButtonNew* spo2Parameters_ = nullptr;
  std::array<QToolButton*, 8> tools_{};
  ChartWidget* charts_ = nullptr;
  QAction* saveChartImage_ = nullptr;
  QAction* copyChartImage_ = nullptr;
  bool showingPaintError_ = false;

  int chartKind_ = 0;
  int selectedPeriod_ = 0;
  int trendMode_ = 0;
  bool pulseRateDisplay_ = false;  // the case shows pulse rate only
  std::array<std::array<int, 6>, 3> ranges_{};
  QString typed_;
  bool adjusting_ = false;
};

}  // namespace vesk
