#include "view/ZavView.h"

#include <QtCore/QUrl>
#include <QtGui/QAction>
#include <QtGui/QDesktopServices>
#include <QtGui/QIntValidator>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolButton>

#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "charts/ChartSource.h"
#include "charts/ChartWidget.h"
#include "charts/Spo2ParamDialog.h"
#include "common/Globals.h"
#include "common/Texts.h"
#include "common/UiMessages.h"
#include "controls/ButtonNew.h"
#include "controls/UpDown.h"
#include "dialogs/OpenDataDialog.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "view/CaseSession.h"
#include "view/ChartImageMenu.h"
#include "view/TransferCommands.h"
#include "view/ZavDoc.h"

namespace vesk {

namespace {

// The maker's short name, typed into the view, shows the version.
const QString kMakerName = "vesk";
constexpr int kMaxTyped = 9;
constexpr int kBoundMax = 300;
// The row of chart controls above the chart; the charts draw captions in their top corners.
constexpr int kControlRowHeight = 50;

}  // namespace

const QColor CZavView::kBackground(199, 237, 204);

std::string FormatCaseTitle(const std::string& appTitle, const std::string& nameLabel,
                            const std::string& name, const std::string& idLabel,
                            const std::string& id, const std::string& ageLabel, int age) {
  std::string title = appTitle + "     " + nameLabel + ":" + name + "      " + idLabel + ":" + id +
                      "      " + ageLabel + ":";
  title += age > 0 ? std::to_string(age) : std::string("--");
  return title;
}

std::string HelpFilePath(const std::string& languageName) {
  if (languageName == "Chinese") {
    const std::string chinese = ProgramPath("\\Help\\Chinese.html");
    if (fsutil::FileExists(chinese)) return chinese;
  }
  return ProgramPath("\\Help\\English.html");
}

std::function<bool(const QUrl&)>& CZavView::UrlOpener() {
  static std::function<bool(const QUrl&)> opener = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
  };
  return opener;
}

std::function<QString(QWidget*, const QString&)>& CZavView::ImagePathChooser() {
  static std::function<QString(QWidget*, const QString&)> chooser = [](QWidget* parent,
                                                                       const QString& proposed) {
    return QFileDialog::getSaveFileName(parent, {}, proposed, "PNG (*.png)");
  };
  return chooser;
}

CZavView::CZavView(CZavDoc* doc, QWidget* parent)
    : QWidget(parent), doc_(doc), session_(std::make_unique<CaseSession>(g_Language)) {
  setObjectName("ZavView");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kBackground);
  setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);
  for (auto& period : ranges_) std::copy(kBoundStart.begin(), kBoundStart.end(), period.begin());
  CreateControls();
  Retext();
  ResetBoundFields();
  HideChartControls();
}

CZavView::~CZavView() = default;

void CZavView::CreateControls() {
  // Created first so that every control stands above the chart.
  charts_ = new ChartWidget(this);
  charts_->setObjectName("ChartArea");
  charts_->setBackgroundColour(kBackground);
  connect(charts_, &ChartWidget::leftButtonPressed, this, &CZavView::OnChartLeftPress);
  connect(charts_, &ChartWidget::paintError, this, &CZavView::OnPaintError, Qt::QueuedConnection);
  connect(charts_, &ChartWidget::windowChanged, this, &CZavView::OnWindowChanged);
  saveChartImage_ = new QAction(charts_);
  saveChartImage_->setObjectName("SaveChartImage");
  copyChartImage_ = new QAction(charts_);
  copyChartImage_->setObjectName("CopyChartImage");
  charts_->addAction(saveChartImage_);
  charts_->addAction(copyChartImage_);
  charts_->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(saveChartImage_, &QAction::triggered, this, &CZavView::OnSaveChartImage);
  connect(copyChartImage_, &QAction::triggered, this, &CZavView::OnCopyChartImage);

  auto* group = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    periods_[i] = new QRadioButton(this);
    periods_[i]->setObjectName(QString::number(1001 + i));
    group->addButton(periods_[i], i);
  }
  periods_[0]->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this, &CZavView::OnPeriod);

  for (int i = 0; i < 3; ++i) {
    bands_[i] = new QLabel(this);
    bands_[i]->setObjectName(QString::number(1004 + i));
  }
  for (int i = 0; i < 6; ++i) {
    boundLabels_[i] = new QLabel(this);
    boundLabels_[i]->setObjectName(QString::number(1007 + i));
    edits_[i] = new QLineEdit(this);
    edits_[i]->setObjectName(QString::number(1013 + i));
    edits_[i]->setValidator(new QIntValidator(0, kBoundMax, edits_[i]));
    edits_[i]->setAlignment(Qt::AlignRight);
    spins_[i] = new CUpDown(edits_[i], this);
    spins_[i]->setObjectName(QString::number(1019 + i));
    spins_[i]->SetRange(0, kBoundMax);
    connect(spins_[i], &CUpDown::positionChanged, this, [this, i] { OnBoundChanged(i); });
  }

  graphType_ = new CButtonNew(this);
  graphType_->setObjectName("1212");
  connect(graphType_, &CButtonNew::clicked, this, &CZavView::OnGraphType);
  spo2Parameters_ = new CButtonNew(this);
  spo2Parameters_->setObjectName("1213");
  connect(spo2Parameters_, &CButtonNew::clicked, this, &CZavView::OnSpO2Parameters);

  // Window tools of the trend charts: three window lengths, the length dialog, and paging
  // and stepping by grid; the chart host gives them their work.
  static const char* const glyphs[] = {"1'", "10'", "1h", "...", "<<", "<", ">", ">>"};
  for (int i = 0; i < 8; ++i) {
    tools_[i] = new QToolButton(this);
    tools_[i]->setObjectName(QString::number(2001 + i));
    tools_[i]->setText(glyphs[i]);
    tools_[i]->setFixedSize(34, 26);
    tools_[i]->setFocusPolicy(Qt::NoFocus);
    tools_[i]->setCheckable(i < 3);
    connect(tools_[i], &QToolButton::clicked, this, [this, i] { OnChartTool(2001 + i); });
  }
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w == charts_) continue;
    if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QLineEdit*>(w))
      w->setFocusPolicy(Qt::TabFocus);
  }
}

QString CZavView::PulseRateSuffix() const {
  return Tx(kMenuSetting, "IDS_HEART_RATE");
}

void CZavView::Retext() {
  periods_[0]->setText(Tx(kMenuSetting, "IDS_ALL"));
  periods_[1]->setText(Tx(kMenuSetting, "IDS_DAYTIME"));
  periods_[2]->setText(Tx(kMenuSetting, "IDS_NIGHT"));
  for (int i = 0; i < 6; ++i)
    boundLabels_[i]->setText(Tx(kMenuSetting, i % 2 == 0 ? "IDS_ABOVE" : "IDS_BELOW"));
  for (int pair = 0; pair < 3; ++pair) UpdateBandLabel(pair);
  graphType_->setText(Tx(kGlobalSetting, "IDS_GRAPH_TYPE"));
  spo2Parameters_->setText(Tx(kCorreLine, "IDS_SPO2_PARAMETER_SET"));
  const ChartImageTexts imageTexts = ChartImageMenuTexts(CLanguage::GetLanguage());
  saveChartImage_->setText(imageTexts.save);
  copyChartImage_->setText(imageTexts.copy);
  LayoutControls();
  update();
}

void CZavView::ResetBoundFields() {
  adjusting_ = true;
  for (int i = 0; i < 6; ++i) spins_[i]->SetPos(kBoundStart[size_t(i)]);
  adjusting_ = false;
  for (int pair = 0; pair < 3; ++pair) UpdateBandLabel(pair);
}

void CZavView::UpdateBandLabel(int pair) {
  const int upper = spins_[size_t(pair * 2)]->Pos();
  const int lower = spins_[size_t(pair * 2 + 1)]->Pos();
  if (pair < 2)
    bands_[size_t(pair)]->setText(QString("%1-%2 mmHg").arg(lower).arg(upper));
  else
    bands_[size_t(pair)]->setText(QString("%1-%2 ").arg(lower).arg(upper) + PulseRateSuffix());
}

void CZavView::OnBoundChanged(int index) {
  if (adjusting_ || chartKind_ != 3) return;
  const int pair = index / 2;
  CUpDown* upper = spins_[size_t(pair * 2)];
  CUpDown* lower = spins_[size_t(pair * 2 + 1)];
  adjusting_ = true;
  // A lower bound above its upper bound lifts the upper bound to it; an upper bound pulled
  // below its lower bound is held there. Either way the band never turns inside out.
  if (lower->Pos() > upper->Pos()) upper->SetPos(lower->Pos());
  adjusting_ = false;
  UpdateBandLabel(pair);
  ranges_[size_t(selectedPeriod_)][size_t(pair * 2)] = upper->Pos();
  ranges_[size_t(selectedPeriod_)][size_t(pair * 2 + 1)] = lower->Pos();
  PrepareChartData();
  charts_->refresh();
}

RangeLimits CZavView::FieldLimits() const {
  RangeLimits r;
  r.sysHigh = spins_[0]->Pos();
  r.sysLow = spins_[1]->Pos();
  r.diaHigh = spins_[2]->Pos();
  r.diaLow = spins_[3]->Pos();
  r.prHigh = spins_[4]->Pos();
  r.prLow = spins_[5]->Pos();
  return r;
}

void CZavView::PrepareChartData() {
  if (!session_->Info().open) return;
  const AnalysisView view{Period(selectedPeriod_), FieldLimits()};
  session_->Reanalyse(view);
  charts_->setPieSelection(view.period, view.limits);
}

void CZavView::OnPeriod(int period) {
  selectedPeriod_ = period;
  if (!session_->Info().open || (chartKind_ != 2 && chartKind_ != 3)) return;
  PrepareChartData();
  charts_->refresh();
}

void CZavView::OnGraphType() {
  if (!CurrentCaseFlags().caseOpen || !session_->Info().open) return;
  charts_->toggleGraphType();
  trendMode_ = charts_->host().Trend().DisplayMode();
}

void CZavView::OnSpO2Parameters() {
  if (!session_->Info().open || !g_Config) return;
  if (RunSpo2ParameterDialog(window(), *g_Config, session_->Document(), session_->Analysis(),
                             &g_Language))
    charts_->reloadEvents();
}

void CZavView::OnChartTool(int id) {
  if (!session_->Info().open) return;
  charts_->runCommand(id);
  // The window-length buttons show the active length, not the last click.
  if (chartKind_ == 1)
    OnWindowChanged(charts_->host().Spo2().Window().ActivePreset());
  else
    for (int i = 0; i < 3; ++i) tools_[size_t(i)]->setChecked(false);
}

void CZavView::OnWindowChanged(int activePreset) {
  for (int i = 0; i < 3; ++i)
    tools_[size_t(i)]->setChecked(chartKind_ == 1 && activePreset == 2001 + i);
}

void CZavView::OnChartLeftPress() {
  // Every press on the chart analyses the case again, so the pictures never lag behind
  // edits made elsewhere.
  if (!session_->Info().open) return;
  session_->Reanalyse({Period(selectedPeriod_), FieldLimits()});
  charts_->refresh(true);
}

void CZavView::OnSaveChartImage() {
  if (!session_->Info().open) return;
  const QString proposed = DefaultChartImageName(session_->Info().path, chartKind_);
  const QString path = WithPngSuffix(ImagePathChooser()(window(), proposed));
  if (path.isEmpty()) return;
  if (!charts_->saveImage(path))
    ShowBox((ChartImageMenuTexts(CLanguage::GetLanguage()).saveFailed + path).toStdString(),
            MessageIcon::Error);
}

void CZavView::OnCopyChartImage() {
  if (!session_->Info().open) return;
  charts_->copyToClipboard();
}

void CZavView::OnPaintError(const QString& text) {
  // A chart that fails to paint fails again on the repaint behind the box: one box at a time.
  if (showingPaintError_) return;
  showingPaintError_ = true;
  ShowBox(text.toStdString(), MessageIcon::Error);
  showingPaintError_ = false;
}

void CZavView::HideChartControls() {
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w != charts_) w->hide();
}

void CZavView::ShowControlsFor(int kind) {
  graphType_->setVisible(kind == 0 && !pulseRateDisplay_);
  spo2Parameters_->setVisible(kind == 1);
  const bool pie = kind == 3;
  for (int i = 0; i < 6; ++i) {
    edits_[size_t(i)]->setVisible(pie);
    spins_[size_t(i)]->setVisible(pie);
    boundLabels_[size_t(i)]->setVisible(pie);
  }
  for (QLabel* band : bands_) band->setVisible(pie);
  const bool periods = (kind == 2 || kind == 3) && !pulseRateDisplay_;
  for (QRadioButton* r : periods_) r->setVisible(periods);
  for (QToolButton* t : tools_) t->setVisible(kind == 0 || kind == 1);
  LayoutCharts();
}

void CZavView::LayoutCharts() {
  // The pie leaves the column of the bound fields free.
  const int right = chartKind_ == 3 ? std::max(0, width() - 260) : width();
  charts_->setGeometry(0, kControlRowHeight, right, std::max(0, height() - kControlRowHeight));
  charts_->setVisible(session_->Info().open);
}

void CZavView::LayoutControls() {
  const int margin = 10;
  // The two chart buttons stand left of the tool buttons, all in the control row.
  const int toolsLeft = width() - margin - 8 * 36;
  graphType_->resize(graphType_->sizeHint());
  graphType_->move(std::max(margin, toolsLeft - 16 - graphType_->width()), margin);
  spo2Parameters_->resize(spo2Parameters_->sizeHint());
  spo2Parameters_->move(std::max(margin, toolsLeft - 16 - spo2Parameters_->width()), margin);
  int x = margin;
  for (QRadioButton* r : periods_) {
    r->adjustSize();
    r->move(x, margin);
    x += r->width() + 16;
  }
  for (int i = 0; i < 8; ++i) tools_[size_t(i)]->move(toolsLeft + i * 36, margin);

  // The bound fields stand in a column at the right, one block per quantity.
  const int panelX = width() - 250;
  int y = 60;
  for (int pair = 0; pair < 3; ++pair) {
    bands_[size_t(pair)]->setGeometry(panelX, y, 240, 22);
    y += 26;
    for (int k = 0; k < 2; ++k) {
      const size_t i = size_t(pair * 2 + k);
      boundLabels_[i]->setGeometry(panelX, y, 110, 24);
      edits_[i]->setGeometry(panelX + 114, y, 60, 24);
      spins_[i]->setGeometry(panelX + 174, y, 18, 24);
      y += 28;
    }
    y += 34;
  }
  LayoutCharts();
}

void CZavView::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  LayoutControls();
}

void CZavView::paintEvent(QPaintEvent*) {
  // The chart area paints the opened case (the pie with its legend squares); without a case
  // the view shows its background only.
  QPainter p(this);
  p.fillRect(rect(), kBackground);
}

void CZavView::keyPressEvent(QKeyEvent* e) {
  const QString text = e->text();
  if (text.size() == 1 && text[0].isPrint() && !text[0].isSpace()) {
    typed_ += text;
    if (typed_.size() > kMaxTyped) typed_.remove(0, typed_.size() - kMaxTyped);
    return;
  }
  QWidget::keyPressEvent(e);
}

void CZavView::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    if (typed_ == kMakerName) ShowBox(g_AppTitle + "\n" + g_Version, MessageIcon::Information);
    typed_.clear();
    return;
  }
  QWidget::keyReleaseEvent(e);
}

void CZavView::OnOpenData() {
  HideChartControls();
  ResetBoundFields();
  if (!g_Config) return;
  COpenDataDialog dialog(*g_Config, g_Language, window());
  if (dialog.exec() == QDialog::Accepted) {
    OpenCase(dialog.ChosenPath());
  } else if (CurrentCaseFlags().caseOpen) {
    // Cancelling the browser leaves the case on screen with its controls.
    ShowControlsFor(chartKind_);
  }
}

TransferCommands& CZavView::Transfers() {
  if (!transfers_) {
    transfers_ = std::make_unique<TransferCommands>(*g_Config, g_Language, UiSink(),
                                                    session_->Device(), window());
    transfers_->openCase = [this](const std::string& path) { return OpenCase(path); };
    transfers_->showStatus = [this](const QString& text) {
      if (auto* frame = qobject_cast<QMainWindow*>(window())) frame->statusBar()->showMessage(text);
    };
  }
  return *transfers_;
}

void CZavView::OnDownload() {
  if (g_Config) Transfers().Download();
}

void CZavView::OnUpload() {
  if (g_Config) Transfers().Upload();
}

void CZavView::OnSetConnect() {
  if (g_Config) Transfers().SetConnect();
}

int CZavView::OpenCase(const std::string& path) {
  Thresholds t = kDefaultThresholds;
  EventParams spo2Params, prParams;
  if (g_Config) {
    t = g_Config->settings.GetThresholds();
    spo2Params = SpO2ParamsFrom(g_Config->settings);
    prParams = PulseRateParamsFrom(g_Config->settings);
  }
  const int result = session_->Open(path, t, spo2Params, prParams);
  if (result != ToInt(CaseLoadResult::Ok)) {
    if (result == ToInt(CaseLoadResult::Locked))
      ShowBox(TxS(kGlobalSetting, "IDS_CANNOT_CHECK"), MessageIcon::Warning);
    else if (result == ToInt(CaseLoadResult::NoData))
      ShowBox(TxS(kGlobalSetting, "IDS_NOAWPDATA"), MessageIcon::Warning);
    else
      ShowBox(TxS(kCorreLine, "IDS_CASE_FILE") + "\n" + path, MessageIcon::Error);
    if (CurrentCaseFlags().caseOpen) ShowControlsFor(chartKind_);
    return result;
  }
  const OpenedCaseInfo& info = session_->Info();
  if (g_Config) {
    CaseState& s = g_Config->caseState;
    s.caseOpen = 1;
    s.caseHasSpO2 = info.hasSpO2 ? 1 : 0;
    s.deviceType = info.deviceType;
    s.protocolNumber = info.protocol;
    s.scheduled = info.scheduled;
    s.awakeStartMinutes = info.awakeStart;
    s.asleepStartMinutes = info.asleepStart;
  }
  if (doc_) doc_->currentCasePath = path;
  chartKind_ = 0;
  pulseRateDisplay_ = info.multiDay;
  // The pie of a new case starts from the fields' starting values.
  ResetBoundFields();
  charts_->setCase(CaseSource());
  trendMode_ = charts_->host().Trend().DisplayMode();
  ShowControlsFor(chartKind_);
  ShowPatient();
  emit caseOpened();
  update();
  return result;
}

ChartSource CZavView::CaseSource() const {
  ChartSource source = SourceFromDocument(session_->Document(), session_->Analysis(),
                                          session_->State(), &g_Language);
  if (g_Config) source.colours = g_Config->colours;
  source.period = Period(selectedPeriod_);
  source.ranges = FieldLimits();
  return source;
}

AnalysisView CZavView::CurrentAnalysisView() const {
  return {Period(selectedPeriod_), FieldLimits()};
}

void CZavView::ShowChangedAnalysis() {
  if (!session_->Info().open) return;
  const OpenedCaseInfo& info = session_->Info();
  if (g_Config) {
    g_Config->caseState.awakeStartMinutes = info.awakeStart;
    g_Config->caseState.asleepStartMinutes = info.asleepStart;
  }
  // The charts copy boundaries and thresholds when they are given a case, so they are given
  // it again.
  charts_->setCase(CaseSource());
  if (chartKind_ != 0 && !charts_->setKind(chartKind_)) chartKind_ = 0;
  ShowControlsFor(chartKind_);
  charts_->refresh(true);
  update();
}

void CZavView::ShowPatient() {
  if (!session_->Info().open) return;
  const _PATIENT_INFO& p = session_->Document().Patient();
  if (QWidget* frame = window()) {
    frame->setWindowTitle(Qs(FormatCaseTitle(g_AppTitle, TxS(kMessageSetting, "IDS_PATIENTS_NAMES"),
                                             p.name, TxS(kMessageSetting, "IDS_PATIENTS_ID"),
                                             p.caseId, TxS(kGlobalSetting, "IDS_AGE"), p.age)));
  }
}

void CZavView::OnChartKind(int kind) {
  if (!CurrentCaseFlags().caseOpen || !session_->Info().open) return;
  if (kind == 1 && !session_->Info().hasSpO2) return;
  if (kind == 2 || kind == 3) {
    PrepareChartData();
  }
  // A chart that cannot be prepared leaves the previous one on screen.
  if (!charts_->setKind(kind)) return;
  chartKind_ = kind;
  ShowControlsFor(kind);
  OnWindowChanged(charts_->host().Spo2().Window().ActivePreset());
  charts_->refresh();
  update();
}

void CZavView::OnHelp() {
  const std::string path = HelpFilePath(CLanguage::GetLanguage());
  // Left out of a build or removed: say where it belongs rather than open nothing silently.
  if (!fsutil::FileExists(path)) {
    ShowBox(TxS(kDialogSetting, "IDS_HELP_MISSING") + "\n" + path, MessageIcon::Warning);
    return;
  }
  UrlOpener()(QUrl::fromLocalFile(Qs(path)));
}

}  // namespace vesk
