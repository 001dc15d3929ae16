// The review windows of the main view: the statistics window against `vesk-cli case stats`,
// the patient sheet and its birthday rules, the plan view per model, and the sleep-period
// dialog with its command. With VESK_REVIEW_SHOTS set to a folder, each window is also saved
// there as a picture in English and Chinese.

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QProcess>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTreeWidget>
#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>

#include "UiTestSupport.h"
#include "cases/CaseDocument.h"
#include "cases/CaseLock.h"
#include "cases/Filemanage.h"
#include "cases/PatientData.h"
#include "cases/PlanLines.h"
#include "charts/ChartWidget.h"
#include "common/Globals.h"
#include "dialogs/review/PatientPage.h"
#include "dialogs/review/PatientSheet.h"
#include "dialogs/review/PlanView.h"
#include "dialogs/review/SleepPeriodDialog.h"
#include "dialogs/review/StatisticsDialog.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "settings/ConfigFile.h"
#include "view/CaseSession.h"
#include "view/ReviewCommands.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

QString Fmt1(double v) {
  return QString::asprintf("%.1f", v);
}

// A mean as the record holds it: the JSON carries the shortest text of the float.
double Mean(const QJsonObject& block, const char* quantity) {
  return double(float(block[quantity].toObject()["mean"].toDouble()));
}

QString Percent(const QJsonObject& s, const char* load, const char* count) {
  const int n = s[count].toInt();
  return Fmt1(n == 0 ? 0.0 : double(s[load].toInt()) / n * 100.0);
}

DateParts Day(int y, int m, int d) {
  DateParts p;
  p.year = y, p.month = m, p.day = d;
  return p;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

class ReviewStatsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void reviewCommandsNeedAnOpenCase();
  void statisticsWindowShowsWhatTheCliPrints();
  void statisticsWindowOfAnEmptyPeriod();
  void statisticsWindowTakesUpChangedThresholds();
  void sleepDialogRoundsDownAndCancelDropsTheChoice();
  void sleepCommandChangesTheOpenCaseOnly();
  void planViewLinesFollowTheModel();
  void birthdayRulesOfThePatientPage();
  void noBirthdayMarkerClearsThePicker();
  void patientSheetSavesEveryPageIntoTheFile();
  void patientSheetCancelAndMissingDocumentChangeNothing();
  void patientSheetKeepsAChangeMadeElsewhere();
  void screenshots();

 private:
  CZavView* View() { return ui_->View(); }
  std::string OpenAmbulatory() { return ui_->OpenCase("data/a.awp", "Ann", "17"); }
  std::string OpenMiru() { return ui_->OpenCase("data/m.awp", "Mia", "18", true); }

  std::unique_ptr<WindowFixture> ui_;
};

void ReviewStatsTest::init() {
  ui_ = std::make_unique<WindowFixture>(WithFrame{{1200, 800}});
  review::Today() = [] { return Day(2026, 1, 1); };
}

void ReviewStatsTest::cleanup() {
  ui_.reset();
}

void ReviewStatsTest::reviewCommandsNeedAnOpenCase() {
  for (int id : {cmd::kStatistics, cmd::kPatientData, cmd::kSleepTimes, cmd::kPlanInfo})
    QVERIFY(!ui_->frame->ExecuteCommand(id));
  // Called without a case all the same (as a stale menu might), the plan view says so.
  review::OnPlanInfo(*View());
  QVERIFY(ui_->messages.Saw("EN:IDS_NOCASE_SELECTED"));
  review::OnStatistics(*View());  // no window, no crash
  review::OnSleepTimes(*View());
}

void ReviewStatsTest::statisticsWindowShowsWhatTheCliPrints() {
  // Thresholds away from the defaults, so both sides must read the same configuration.
  g_Config->settings.awakeSysThresh = 128;
  g_Config->settings.asleepDiaThresh = 66;
  QCOMPARE(g_Config->Save(), 1);
  const std::string path = OpenAmbulatory();

  QMap<QString, QString> shown;
  OnNextModal([&](QDialog* d) {
    auto* dialog = qobject_cast<StatisticsDialog*>(d);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("EN:IDS_STA_MESSAGE"));
    int captions = 0;
    for (QLabel* l : dialog->findChildren<QLabel*>())
      if (!l->objectName().startsWith("cell_")) {
        QVERIFY2(l->text().startsWith("EN:IDS_"), qPrintable(l->text()));
        ++captions;
      }
    QCOMPARE(captions, 11);
    for (int r = 0; r < kStatRows; ++r)
      for (int c = 0; c < kStatColumns; ++c) {
        const QString name = QString("cell_%1_%2").arg(r).arg(c);
        auto* label = dialog->findChild<QLabel*>(name);
        QVERIFY(label);
        shown[name] = label->text();
      }
    dialog->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kStatistics));
  QCOMPARE(shown.size(), kStatRows * kStatColumns);

  QProcess cli;
  cli.start(VESK_CLI, {"--home", QString::fromStdString(ui_->home.Path("")), "case", "stats",
                       QString::fromStdString(path)});
  QVERIFY(cli.waitForFinished(60000));
  QCOMPARE(cli.exitCode(), 0);
  const QJsonObject out = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
  const QJsonObject s = out["statistics"].toObject();
  const QJsonObject t = out["thresholds"].toObject();
  QCOMPARE(t["awakeSys"].toInt(), 128);

  struct Row {
    const char* block;
    const char* count;
    const char* sysLoad;
    const char* diaLoad;
    QString thresholds;
  };
  const Row rows[3] = {{"awake", "awakeCount", "awakeSysLoadCount", "awakeDiaLoadCount",
                        QString("%1/%2").arg(t["awakeSys"].toInt()).arg(t["awakeDia"].toInt())},
                       {"asleep", "asleepCount", "asleepSysLoadCount", "asleepDiaLoadCount",
                        QString("%1/%2").arg(t["asleepSys"].toInt()).arg(t["asleepDia"].toInt())},
                       {"whole", "analysedCount", "sysLoadCount", "diaLoadCount", QString()}};
  for (int r = 0; r < 3; ++r) {
    const QJsonObject b = s[rows[r].block].toObject();
    const auto cell = [&](int c) { return shown[QString("cell_%1_%2").arg(r).arg(c)]; };
    QCOMPARE(cell(0), QString::number(s[rows[r].count].toInt()));
    QCOMPARE(cell(1), Fmt1(Mean(b, "sys")) + "/" + Fmt1(Mean(b, "dia")));
    QCOMPARE(cell(2), Fmt1(Mean(b, "pr")));
    QCOMPARE(cell(3), Fmt1(Mean(b, "pp")));
    QCOMPARE(cell(4), Percent(s, rows[r].sysLoad, rows[r].count));
    QCOMPARE(cell(5), Percent(s, rows[r].diaLoad, rows[r].count));
    QCOMPARE(cell(6), rows[r].thresholds);
  }
  QVERIFY(s["asleepCount"].toInt() > 0);
  QVERIFY(s["awakeSysLoadCount"].toInt() > 0);
}

void ReviewStatsTest::statisticsWindowOfAnEmptyPeriod() {
  OpenAmbulatory();
  // An asleep period of one minute at 03:17 holds no reading of the sample.
  QCOMPARE(View()->Session().ChangeSleepPeriods(3 * 60 + 17, 3 * 60 + 17, {}), 1);
  QString asleepCount, asleepLoad;
  OnNextModal([&](QDialog* d) {
    asleepCount = d->findChild<QLabel*>("cell_1_0")->text();
    asleepLoad = d->findChild<QLabel*>("cell_1_4")->text();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kStatistics));
  QCOMPARE(asleepCount, QString("0"));
  QCOMPARE(asleepLoad, QString("0.0"));
}

void ReviewStatsTest::statisticsWindowTakesUpChangedThresholds() {
  OpenAmbulatory();
  const int loadsBefore = View()->Session().Analysis().statistics.awakeSysLoadCount;
  const QImage drawnBefore = View()->Charts()->grab().toImage();
  // The standard values changed while the case stays open.
  g_Config->settings.awakeSysThresh = 110;
  QString thresholds;
  OnNextModal([&](QDialog* d) { thresholds = d->findChild<QLabel*>("cell_0_6")->text(); });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kStatistics));
  QCOMPARE(thresholds, QString("110/85"));
  const CaseAnalysis& a = View()->Session().Analysis();
  QVERIFY(a.statistics.awakeSysLoadCount > loadsBefore);
  QCOMPARE(a.thresholds.awakeSys, 110);
  QCOMPARE(View()->Session().State().awakeSysThresh, 110);
  // The trend chart's threshold line moved with them.
  QVERIFY(View()->Charts()->grab().toImage() != drawnBefore);
}

void ReviewStatsTest::sleepDialogRoundsDownAndCancelDropsTheChoice() {
  SleepPeriodDialog dialog(7 * 60 + 15, 22 * 60 + 59, g_Language);
  QCOMPARE(dialog.windowTitle(), QString("EN:IDS_SLEEP_PERIOD"));
  QCOMPARE(dialog.AwakeList()->count(), 48);
  QCOMPARE(dialog.AwakeList()->currentText(), QString("07:00"));
  QCOMPARE(dialog.AsleepList()->currentText(), QString("22:30"));
  QCOMPARE(dialog.AwakeStart(), 420);  // OK untouched gives 07:00
  QCOMPARE(dialog.AsleepStart(), 1350);
  dialog.AwakeList()->setCurrentIndex(13);
  QCOMPARE(dialog.AwakeStart(), 390);
  QCOMPARE(dialog.findChild<QPushButton*>("1")->text(), QString("EN:IDS_MAKE_SURE"));

  // A start the lists cannot hold selects the first entry rather than nothing.
  SleepPeriodDialog odd(-5, 1440, g_Language);
  QCOMPARE(odd.AwakeList()->currentIndex(), 0);
  QCOMPARE(odd.AsleepStart(), 0);
}

void ReviewStatsTest::sleepCommandChangesTheOpenCaseOnly() {
  const std::string path = OpenAmbulatory();
  CaseSession& session = View()->Session();
  const int asleepBefore = session.Analysis().statistics.asleepCount;
  const int fileAwake = session.Document().AwakeStart();
  QVERIFY(fileAwake != 570);

  // Cancel keeps everything.
  OnNextModal([](QDialog* d) {
    d->findChild<QComboBox*>("AwakeList")->setCurrentIndex(2);
    d->findChild<QPushButton*>("2")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kSleepTimes));
  QCOMPARE(session.Document().AwakeStart(), fileAwake);

  const QImage drawnBefore = View()->Charts()->grab().toImage();
  // Asleep 20:00 to 09:30: more asleep readings, plan and case state follow.
  OnNextModal([](QDialog* d) {
    d->findChild<QComboBox*>("AwakeList")->setCurrentIndex(19);
    d->findChild<QComboBox*>("AsleepList")->setCurrentIndex(40);
    d->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kSleepTimes));
  QCOMPARE(session.Document().AwakeStart(), 9 * 60 + 30);
  QCOMPARE(session.Document().AsleepStart(), 20 * 60);
  QCOMPARE(session.Document().Plan().awakeHour, 9);
  QCOMPARE(session.Document().Plan().awakeMinute, 30);
  QCOMPARE(session.Info().awakeStart, 570);
  QCOMPARE(g_Config->caseState.asleepStartMinutes, 1200);
  QVERIFY(session.Analysis().statistics.asleepCount > asleepBefore);
  QCOMPARE(session.Analysis().quality.asleepCount, session.Analysis().statistics.asleepCount);
  // The trend chart draws its threshold steps at the new boundaries.
  QVERIFY(View()->Charts()->grab().toImage() != drawnBefore);

  // A start between two half hours, confirmed untouched, becomes the half hour before it.
  QCOMPARE(session.ChangeSleepPeriods(7 * 60 + 15, 22 * 60 + 45, View()->CurrentAnalysisView()), 1);
  OnNextModal([](QDialog* d) { d->findChild<QPushButton*>("1")->click(); });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kSleepTimes));
  QCOMPARE(session.Document().AwakeStart(), 7 * 60);
  QCOMPARE(session.Document().AsleepStart(), 22 * 60 + 30);
  QCOMPARE(session.Document().Plan().awakeMinute, 0);

  // The file keeps its own periods: opening the case again shows them.
  QCOMPARE(View()->OpenCase(path), 1);
  QCOMPARE(View()->Session().Document().AwakeStart(), fileAwake);
  QCOMPARE(View()->Session().Analysis().statistics.asleepCount, asleepBefore);
}

void ReviewStatsTest::planViewLinesFollowTheModel() {
  // The plan view's lines as "label=value".
  const auto shownLines = [this] {
    QStringList labels;
    OnNextModal([&](QDialog* d) {
      auto* list = d->findChild<QTreeWidget*>("PlanList");
      for (int i = 0; i < list->topLevelItemCount(); ++i)
        labels << list->topLevelItem(i)->text(0) + "=" + list->topLevelItem(i)->text(1);
    });
    if (!ui_->frame->ExecuteCommand(cmd::kPlanInfo)) labels << "(the command refused)";
    return labels;
  };
  OpenAmbulatory();  // a TALOBlack recording
  QStringList labels = shownLines();
  QCOMPARE(labels.size(), 4);
  QVERIFY(labels[0].startsWith("EN:IDS_NOSLEEP_TIME="));
  QCOMPARE(labels.filter("IDS_START_KEY").size(), 0);

  // The MIRU plan has the start key, the special period, the warnings and the pressure.
  OpenMiru();
  const CaseDocument& doc = View()->Session().Document();
  labels = shownLines();
  QCOMPARE(size_t(labels.size()),
           PlanLines(doc.Plan(), doc.ModelCode(), doc.FileInfo().protocol).size());
  QVERIFY(labels[0].startsWith("EN:IDS_START_KEY=EN:IDS_"));
  QVERIFY(labels.last().startsWith("EN:IDS_MAXPRESSVALUE="));
  QCOMPARE(labels.last(), "EN:IDS_MAXPRESSVALUE=" + QString::number(doc.Plan().maxPressure));
}

void ReviewStatsTest::birthdayRulesOfThePatientPage() {
  _PATIENT_INFO info;
  info.birthday = OleDateTime::FromParts(1980, 5, 6);
  info.age = 45;
  PatientPage page(info, BirthdayMarker::Entered, Day(2026, 1, 1), g_Language);
  auto* date = page.findChild<QDateEdit*>("Birthday");
  auto* box = page.findChild<QCheckBox*>("HasBirthday");
  QCOMPARE(date->date(), QDate(1980, 5, 6));
  QCOMPARE(page.Age(), 45);  // shown as stored until the birthday changes

  date->setDate(QDate(2025, 12, 31));  // born on the last day of last year: 1 on New Year
  QCOMPARE(page.Age(), 1);
  date->setDate(QDate(1826, 6, 1));  // 200 years ago: held at 150
  QCOMPARE(date->date(), QDate(1876, 1, 1));
  QCOMPARE(page.Age(), 150);
  date->setDate(QDate(2026, 3, 1));  // not born yet: today
  QCOMPARE(date->date(), QDate(2026, 1, 1));
  QCOMPARE(page.Age(), 0);
  date->setDate(QDate(2000, 2, 29));
  box->setChecked(false);
  QCOMPARE(page.Age(), 0);
  QVERIFY(!page.Birthday());
  QVERIFY(!date->isEnabled());
  box->setChecked(true);
  QCOMPARE(page.Age(), 26);

  _PATIENT_INFO stored;
  page.Store(stored);
  DateParts b;
  QVERIFY(stored.birthday.ToParts(b));
  QCOMPARE(b.year, 2000);
  QCOMPARE(stored.age, 26);
}

void ReviewStatsTest::noBirthdayMarkerClearsThePicker() {
  const std::string path = OpenAmbulatory();
  _PATIENT_INFO p = View()->Session().Document().Patient();
  p.birthday = OleDateTime::FromParts(1970, 1, 2);
  QCOMPARE(SaveCasePatient(path, p), CaseFileResult::Ok);
  // The file says "no birthday" although its record keeps a date.
  std::string text = ReadFile(path);
  const size_t at = text.find("\nBirthday=");
  QVERIFY(at != std::string::npos);
  const size_t end = text.find('\r', at + 1);
  text.replace(at + 10, end - at - 10, "-1--1--1");
  WriteFile(path, text);
  _PATIENT_INFO reread;
  QCOMPARE(LoadCasePatient(path, reread), CaseFileResult::Ok);
  QVERIFY(reread.birthday.IsValid());

  bool checked = true, enabled = true;
  OnNextModal([&](QDialog* d) {
    checked = d->findChild<QCheckBox*>("HasBirthday")->isChecked();
    enabled = d->findChild<QDateEdit*>("Birthday")->isEnabled();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPatientData));
  QVERIFY(!checked);
  QVERIFY(!enabled);
}

void ReviewStatsTest::patientSheetSavesEveryPageIntoTheFile() {
  const std::string path = OpenAmbulatory();
  const std::string longName(40, 'x');  // longer than the page takes, already in the file
  _PATIENT_INFO p = View()->Session().Document().Patient();
  p.extra[2] = longName;
  QCOMPARE(SaveCasePatient(path, p), CaseFileResult::Ok);

  QStringList tabs;
  OnNextModal([&](QDialog* d) {
    auto* sheet = qobject_cast<PatientSheet*>(d);
    QVERIFY(sheet);
    QCOMPARE(sheet->windowTitle(), QString("EN:IDS_SET_PAT_CONFIGURATION"));
    for (int i = 0; i < sheet->Pages()->count(); ++i) tabs << sheet->Pages()->tabText(i);
    // Every caption comes from the language file: a key looked up in the wrong section
    // would leave its field unlabelled.
    const QList<QLabel*> captions = sheet->findChildren<QLabel*>();
    QCOMPARE(captions.size(), 18);
    for (QLabel* l : captions) QVERIFY2(l->text().startsWith("EN:IDS_"), qPrintable(l->text()));
    sheet->findChild<QLineEdit*>("Name")->setText("Bea Lindqvist");
    sheet->findChild<QLineEdit*>("Email")->setText("bea@example.org");
    sheet->findChild<QComboBox*>("Sex")->setCurrentIndex(1);
    sheet->findChild<QCheckBox*>("HasBirthday")->setChecked(false);
    auto* attending = sheet->findChild<QLineEdit*>("AttendingPhysician");
    QCOMPARE(attending->text(), QString::fromStdString(longName));
    auto* assistant = sheet->findChild<QLineEdit*>("AssistantPhysician");
    assistant->setText(QString(45, 'y'));  // clipped to the page's 30
    sheet->findChild<QPlainTextEdit*>("Medication")->setPlainText("Amlodipine 5 mg\nmorning");
    sheet->findChild<QPlainTextEdit*>("Diagnosis")->setPlainText("Nocturnal hypertension");
    sheet->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPatientData));
  QCOMPARE(tabs, (QStringList{"EN:IDS_PATIENT_INFOR", "EN:IDS_DOCTOR_INFOR", "EN:IDS_MEDICINE_INFO",
                              "EN:IDS_DIAGLOSE_INFOR"}));

  _PATIENT_INFO saved;
  QCOMPARE(LoadCasePatient(path, saved), CaseFileResult::Ok);
  QCOMPARE(saved.name, std::string("Bea Lindqvist"));
  QCOMPARE(saved.email, std::string("bea@example.org"));
  QCOMPARE(saved.sex, 1);
  QCOMPARE(saved.age, 0);
  QCOMPARE(saved.extra[2], longName);
  QCOMPARE(saved.extra[3], std::string(30, 'y'));
  QCOMPARE(saved.extra[0], std::string("Amlodipine 5 mg\nmorning"));
  QCOMPARE(saved.extra[1], std::string("Nocturnal hypertension"));
  QCOMPARE(saved.caseId, std::string("17"));
  QVERIFY(ReadBirthdayMarker(path) == BirthdayMarker::NotEntered);
  // Each changed field is in the file's edit history, with its old and new value.
  std::vector<EditEntry> history;
  QCOMPARE(CFilemanage::LoadEditHistory(path, history), ToInt(CaseFileResult::Ok));
  const auto named = std::find_if(history.begin(), history.end(),
                                  [](const EditEntry& e) { return e.newValue == "Bea Lindqvist"; });
  QVERIFY(named != history.end());
  QVERIFY(named->oldValue != named->newValue);
  // The open case and the title show the stored record.
  QCOMPARE(View()->Session().Document().Patient().name, std::string("Bea Lindqvist"));
  QVERIFY(ui_->frame->windowTitle().contains("Bea Lindqvist"));
}

void ReviewStatsTest::patientSheetCancelAndMissingDocumentChangeNothing() {
  const std::string path = OpenAmbulatory();
  const std::string before = ReadFile(path);
  OnNextModal([](QDialog* d) {
    d->findChild<QLineEdit*>("Name")->setText("Nobody");
    d->findChild<QPushButton*>("2")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPatientData));
  QCOMPARE(ReadFile(path), before);

  // A case file gone while the sheet was open: a clear message, and no file made up.
  const QString file = QString::fromStdString(path);
  OnNextModal([&](QDialog* d) {
    d->findChild<QLineEdit*>("Name")->setText("Lost");
    QVERIFY(QFile::remove(file));
    d->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPatientData));
  QVERIFY(ui_->messages.Saw("EN:IDS_PATIENT_SAVE_ERROR"));
  QVERIFY(!QFile::exists(file));
  QVERIFY(View()->Session().Document().Patient().name != "Lost");
  WriteFile(path, before);

  review::OnPatientData(*View(), nullptr);
  QVERIFY(ui_->messages.Saw("EN:IDS_DOC_ERROR"));
  QCOMPARE(ReadFile(path), before);

  // Edited on another workstation: the sheet is for viewing only and saves nothing.
  LockOwner other;
  other.host = "other-workstation";
  other.user = "nurse2";
  other.pid = 4242;
  other.since = static_cast<int64_t>(time(nullptr));
  WriteFile(CaseLock::LockPathFor(path), CaseLock::Format(other));
  OnNextModal([](QDialog* d) {
    d->findChild<QLineEdit*>("Name")->setText("Not saved");
    QVERIFY(!d->findChild<QPushButton*>("1")->isEnabled());
    d->accept();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPatientData));
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_LOCKED"));
  QCOMPARE(ReadFile(path), before);
}

void ReviewStatsTest::patientSheetKeepsAChangeMadeElsewhere() {
  const std::string path = OpenAmbulatory();
  // A program that takes no lock writes the patient data meanwhile.
  auto nameElsewhere = [&](const std::string& name) {
    _PATIENT_INFO p;
    QCOMPARE(LoadCasePatient(path, p), CaseFileResult::Ok);
    p.name = name;
    QCOMPARE(SaveCasePatient(path, p), CaseFileResult::Ok);
  };
  auto storedName = [&] {
    _PATIENT_INFO p;
    if (LoadCasePatient(path, p) != CaseFileResult::Ok) qFatal("case unreadable");
    return p.name;
  };
  OnNextModal([&](QDialog* d) {
    d->findChild<QLineEdit*>("Name")->setText("Mine");
    nameElsewhere("Theirs");
    d->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPatientData));
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_CHANGED\n" + path));
  QCOMPARE(storedName(), std::string("Theirs"));
  QCOMPARE(View()->Session().Document().Patient().name, std::string("Theirs"));

  // Changed before the sheet opens: the sheet starts from the file and saves.
  nameElsewhere("Theirs again");
  OnNextModal([&](QDialog* d) {
    QCOMPARE(d->findChild<QLineEdit*>("Name")->text(), QString("Theirs again"));
    d->findChild<QLineEdit*>("Name")->setText("Mine");
    d->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPatientData));
  QCOMPARE(storedName(), std::string("Mine"));
  QCOMPARE(View()->Session().Document().Patient().name, std::string("Mine"));
}

void ReviewStatsTest::screenshots() {
  const QString folder = qEnvironmentVariable("VESK_REVIEW_SHOTS");
  if (folder.isEmpty()) QSKIP("VESK_REVIEW_SHOTS names no folder");
  QDir().mkpath(folder);
  OpenMiru();
  const CaseDocument& doc = View()->Session().Document();
  const CaseFigures& figures = View()->Session().Analysis().Figures();
  for (const char* name : {"English", "Chinese"}) {
    CLanguage language;
    QVERIFY(language.LoadFile(ShippedLanguageFile(name)));
    const QString suffix = QString("_%1.png").arg(name);
    const auto save = [&](QDialog& d, const char* what) {
      QVERIFY(SaveShot(&d, folder + "/" + what + suffix));
    };
    StatisticsDialog stats(FormatStatisticsTable(figures.statistics, figures.thresholds), language);
    save(stats, "statistics");
    PatientSheet sheet(doc.Patient(), BirthdayMarker::Entered, Day(2026, 12, 6), language);
    save(sheet, "patient_sheet");
    sheet.Pages()->setCurrentIndex(1);
    save(sheet, "patient_sheet_physician");
    sheet.Pages()->setCurrentIndex(2);
    save(sheet, "patient_sheet_medication");
    PlanView plan(PlanLines(doc.Plan(), doc.ModelCode(), doc.FileInfo().protocol), language);
    save(plan, "plan_view");
    SleepPeriodDialog sleep(doc.AwakeStart(), doc.AsleepStart(), language);
    save(sleep, "sleep_periods");
    // The first two models know only the two periods.
    PlanView talo(PlanLines(doc.Plan(), kTaloBlack, 1), language);
    save(talo, "plan_view_talo");
  }
}

QTEST_MAIN(ReviewStatsTest)
#include "test_ui_review_stats.moc"
