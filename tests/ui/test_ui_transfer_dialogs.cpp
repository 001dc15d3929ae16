// The transfer dialogs on their own: plan-dialog rules (name and ID limits, the narrow code
// page warning, the special period, the dial following the lists, PEXA ranges), the choice
// dialogs, the progress window, and the Bluetooth dialog with a fake radio. With
// VESK_SHOT_DIR set, every dialog is also saved as a picture in English and Chinese.

#include <sys/socket.h>
#include <unistd.h>

#include <QtCore/QDir>
#include <QtGui/QKeyEvent>
#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTreeWidget>
#include <thread>

#include "UiTestSupport.h"
#include "common/Globals.h"
#include "device/DeviceTypes.h"
#include "device/DownloadTexts.h"
#include "dialogs/device/BluetoothDialog.h"
#include "dialogs/device/LinkWayDialog.h"
#include "dialogs/device/ModeChoiceDialogs.h"
#include "dialogs/device/PlanDial.h"
#include "dialogs/device/PlanDialogs.h"
#include "dialogs/device/TransferProgressDialog.h"
#include "platform/CodePage.h"
#include "test_ui_transfer_support.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

struct FakeRadio : IBluetoothRadio {
  int radios = 1;
  std::vector<BluetoothDevice> nearby{{"VESK-MIRU", 0x060504030201ull},
                                      {"Phone", 0xAABBCCDDEEFFull}};
  bool pairOk = true;
  std::atomic<int> pairs{0};
  int CountLocalRadios() override { return radios; }
  std::vector<BluetoothDevice> Inquiry(int) override { return nearby; }
  bool Pair(uint64_t, std::u16string_view) override {
    ++pairs;
    return pairOk;
  }
  bool Unpair(uint64_t) override { return true; }
  int OpenRfcomm(uint64_t, int, int) override {
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sv) != 0) return -1;
    ::close(sv[1]);
    return sv[0];
  }
  void CloseSocket(int fd) override { ::close(fd); }
};

// Types each character as a key press with its text (QTest::keyClicks takes Latin-1 only).
void Type(QWidget* w, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w, &press);
  }
}

QString Shots() {
  return qEnvironmentVariable("VESK_SHOT_DIR");
}

void Shoot(QWidget* w, const QString& name) {
  if (Shots().isEmpty()) return;
  QDir().mkpath(Shots());
  SaveShot(w, Shots() + "/" + name + ".png");
}

}  // namespace

class TransferDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void nameAndIdAreCutWhileTypingWithoutSplittingACharacter();
  void nameTheRecorderCannotShowIsWarnedAbout();
  void okChecksNameAndIdAndAsks();
  void specialPeriodRulesAndTheDialFollowTheLists();
  void planDialogStartsFromTheSettingsAndStoresThem();
  void pexaModeSetsRangesAndProposals();
  void taloDialogStartsFromTheRecordersPlan();
  void choiceDialogsOfferWhatTheRecorderHas();
  void progressWindowCancelWaitsForTheWorker();
  void bluetoothDialogListsConnectsAndTellsFaults();
  void screenshotsInBothLanguages();

 private:
  PlanDialogContext Context(int kind, int mode = kModeRecording);
  std::unique_ptr<WindowFixture> ui_;
  _UPLOAD_NEEDED_DATA recorder_;
};

void TransferDialogsTest::init() {
  ui_ = std::make_unique<WindowFixture>();
  g_Config->settings.patientName = "Ann";
  g_Config->settings.patientID = "2603040815";
  recorder_ = {};
  recorder_.awakeIntervals = {15, 30, 60};
  recorder_.asleepIntervals = {30, 60, 120};
  recorder_.plan.awakeHour = 6;
  recorder_.plan.awakeMinute = 30;
  recorder_.plan.awakeInterval = 30;
  recorder_.plan.asleepInterval = 45;  // not in the recorder's list
}

void TransferDialogsTest::cleanup() {
  ui_.reset();
}

PlanDialogContext TransferDialogsTest::Context(int kind, int mode) {
  return PlanDialogContext{
      g_Language, ui_->messages.sink, g_Config->settings, DateParts{2026, 3, 4, 8, 15, 30}, kind,
      mode,       recorder_};
}

void TransferDialogsTest::nameAndIdAreCutWhileTypingWithoutSplittingACharacter() {
  PlanDialog dialog(Context(kPexaC));
  QLineEdit* name = dialog.NameEdit();
  name->clear();
  // Sixteen characters of two bytes each: cut to fifteen (30 bytes) as they are typed.
  const QString wide = QString::fromUtf8("张王李赵刘陈杨黄吴周徐孙马朱胡林");
  Type(name, wide);
  QCOMPARE(name->text(), wide.left(15));
  QCOMPARE(name->cursorPosition(), 15);
  // Plain letters take one byte: thirty of them fit, the field takes no more.
  name->clear();
  Type(name, QString(35, 'a'));
  QCOMPARE(name->text(), QString(30, 'a'));
  QLineEdit* id = dialog.IdEdit();
  id->clear();
  Type(id, QString::fromUtf8("一二三四五六七"));
  QCOMPARE(id->text(), QString::fromUtf8("一二三四五"));  // 10 bytes; a sixth would be 12
}

void TransferDialogsTest::nameTheRecorderCannotShowIsWarnedAbout() {
  PlanDialog dialog(Context(kMiru));
  dialog.show();
  QVERIFY(dialog.NameWarning()->isHidden());
  dialog.NameEdit()->setText(QString::fromUtf8("김민준"));  // Hangul: not in GBK
  QVERIFY(!dialog.NameWarning()->isHidden());
  dialog.NameEdit()->setText(QString::fromUtf8("王小明"));
  QVERIFY(dialog.NameWarning()->isHidden());
  dialog.NameEdit()->setText(QString::fromUtf8("Jörg µ"));
  QVERIFY(!dialog.NameWarning()->isHidden());
  // The question before sending says so too.
  ui_->messages.sink.answers = {MessageAnswer::No};
  Click(&dialog, "1");
  QVERIFY(dialog.isVisible());
  QVERIFY(ui_->messages.Saw("EN:IDS_NAME_NARROW"));
}

void TransferDialogsTest::okChecksNameAndIdAndAsks() {
  PlanDialog dialog(Context(kPexaC));
  dialog.show();
  dialog.NameEdit()->setText("   ");
  Click(&dialog, "1");
  QCOMPARE(ui_->messages.sink.messages.back().text, std::string("EN:IDS_MSG_NAME"));
  QVERIFY(dialog.isVisible());
  dialog.NameEdit()->setText("Bo");
  dialog.IdEdit()->setText(" ");
  Click(&dialog, "1");
  QCOMPARE(ui_->messages.sink.messages.back().text, std::string("EN:IDS_MSG_ID"));
  dialog.IdEdit()->setText(" 42 ");
  ui_->messages.sink.answers = {MessageAnswer::No, MessageAnswer::Yes};
  Click(&dialog, "1");
  QCOMPARE(ui_->messages.sink.messages.back().text, std::string("EN:IDS_REPLACE_CONTINUE"));
  QVERIFY(ui_->messages.sink.messages.back().buttons == MessageButtons::YesNo);
  QVERIFY(dialog.isVisible());  // No keeps it open
  Click(&dialog, "1");
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(std::string(dialog.Plan().patientName), std::string("Bo"));
  QCOMPARE(std::string(dialog.Plan().patientId), std::string("42"));
  QCOMPARE(dialog.Plan().minute, 15);
}

void TransferDialogsTest::specialPeriodRulesAndTheDialFollowTheLists() {
  g_Config->settings.specialStart = 0;
  PlanDialog dialog(Context(kMiru));
  auto* start = Child<QComboBox>(&dialog, "1011");
  auto* end = Child<QComboBox>(&dialog, "1012");
  auto* span = Child<QComboBox>(&dialog, "1015");
  PlanDial* dial = dialog.Dial();
  QCOMPARE(start->count(), 49);
  QCOMPARE(Child<QComboBox>(&dialog, "1009")->count(), 48);
  QCOMPARE(Child<QComboBox>(&dialog, "1013")->count(), 10);
  QCOMPARE(Child<QComboBox>(&dialog, "1013")->itemText(0), QString("EN:IDS_NONE"));
  QCOMPARE(Child<QComboBox>(&dialog, "1013")->itemText(9), QString("120EN:IDS_MINS"));
  QCOMPARE(span->count(), 1);  // no special period: only "none"
  QCOMPARE(dial->AwakeStart(), 7 * 60);
  QCOMPARE(dial->AsleepStart(), 22 * 60);
  QVERIFY(!dial->HasSpecial());

  start->setCurrentIndex(25);  // 12:00
  QCOMPARE(span->count(), 1);  // end still "none"
  end->setCurrentIndex(25);
  QCOMPARE(span->count(), 1);  // end equal to start
  end->setCurrentIndex(29);    // 14:00
  QCOMPARE(span->count(), 10);
  span->setCurrentIndex(4);
  QVERIFY(dial->HasSpecial());
  QCOMPARE(dial->SpecialStart(), 12 * 60);
  QCOMPARE(dial->SpecialEnd(), 14 * 60);
  Child<QComboBox>(&dialog, "1009")->setCurrentIndex(13);  // 06:30
  QCOMPARE(dial->AwakeStart(), 6 * 60 + 30);
  Child<QComboBox>(&dialog, "1010")->setCurrentIndex(45);  // 22:30
  QCOMPARE(dial->AsleepStart(), 22 * 60 + 30);
  // "None" as start clears end and interval.
  start->setCurrentIndex(0);
  QCOMPARE(end->currentIndex(), 0);
  QCOMPARE(span->currentIndex(), 0);
  QCOMPARE(span->count(), 1);
  QVERIFY(!dial->HasSpecial());
}

void TransferDialogsTest::planDialogStartsFromTheSettingsAndStoresThem() {
  UserSettings& s = g_Config->settings;
  s.awakeTime = 14;
  s.awakeSpan = 0;
  s.asleepTime = 44;
  s.asleepSpan = 5;
  s.startKey = 1;
  s.displayHandIntercalate = 1;
  PlanDialog dialog(Context(kPexaC));
  QCOMPARE(Child<QComboBox>(&dialog, "1009")->currentText(), QString("07:00"));
  QCOMPARE(Child<QComboBox>(&dialog, "1010")->currentText(), QString("22:00"));
  Child<QComboBox>(&dialog, "1014")->setCurrentIndex(7);
  ui_->messages.sink.answers = {MessageAnswer::Yes};
  Click(&dialog, "1");
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  const _BP_TRANSPORT_INFO& p = dialog.Plan();
  QCOMPARE(p.awakeHour, 7);
  QCOMPARE(p.awakeInterval, -2);  // index 0: no measurements
  QCOMPARE(p.asleepHour, 22);
  QCOMPARE(p.asleepInterval, 60);
  QCOMPARE(p.specialStartHour, -1);
  QCOMPARE(p.specialInterval, 0);
  QCOMPARE(p.startKey, 0);   // start-key list not at its first entry
  QCOMPARE(p.manualSet, 1);  // a PEXAC: manual set on when list 1100 is not at its first entry
  QCOMPARE(s.asleepSpan, 7);
}

void TransferDialogsTest::pexaModeSetsRangesAndProposals() {
  PexaPlanDialog dialog(Context(kPexa));
  QCOMPARE(dialog.Limit(0, 0)->value(), 160);
  QCOMPARE(dialog.MaxPressure()->value(), 280);
  QCOMPARE(Child<QLabel>(&dialog, "range0")->text(), QString("[40-270]"));
  Child<QComboBox>(&dialog, "1139")->setCurrentIndex(2);  // neonate
  QCOMPARE(Child<QLabel>(&dialog, "range0")->text(), QString("[40-135]"));
  QCOMPARE(Child<QLabel>(&dialog, "maxPressureRange")->text(), QString("[70-150]"));
  QCOMPARE(dialog.Limit(1, 3)->value(), 20);
  QCOMPARE(dialog.Limit(1, 0)->maximum(), 135);
  QCOMPARE(dialog.MaxPressure()->value(), 150);
  Child<QComboBox>(&dialog, "1016")->setCurrentIndex(0);  // awake warnings on
  dialog.Limit(0, 0)->setValue(100);
  ui_->messages.sink.answers = {MessageAnswer::Yes};
  Click(&dialog, "1");
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  const _BP_TRANSPORT_INFO& p = dialog.Plan();
  QCOMPARE(p.measureMode, 2);
  QCOMPARE(p.maxPressure, 150);
  QCOMPARE(p.awakeWarn[0], 1);
  QCOMPARE(p.awakeWarn[1], 100);
  QCOMPARE(p.asleepWarn[0], 0);
  QCOMPARE(p.startKey, 1);  // first entry of the start-key list
}

void TransferDialogsTest::taloDialogStartsFromTheRecordersPlan() {
  TaloPlanDialog black(Context(kTaloBlack));
  QCOMPARE(Child<QComboBox>(&black, "1009")->currentText(), QString("06:30"));
  auto* awake = Child<QComboBox>(&black, "1013");
  QCOMPARE(awake->count(), 3);
  QCOMPARE(awake->currentText(), QString("30EN:IDS_MINS"));
  QCOMPARE(Child<QComboBox>(&black, "1014")->currentIndex(), 0);  // 45 is not offered
  QVERIFY(!black.WarningGroup()->isHidden());
  QCOMPARE(Child<QSpinBox>(&black, "1002")->value(), 140);
  TaloPlanDialog color(Context(kTaloColor));
  QVERIFY(color.WarningGroup()->isHidden());
  awake = Child<QComboBox>(&color, "1013");
  awake->setCurrentIndex(2);
  ui_->messages.sink.answers = {MessageAnswer::Yes};
  Click(&color, "1");
  QCOMPARE(color.result(), int(QDialog::Accepted));
  QCOMPARE(color.Plan().awakeInterval, 60);
  QCOMPARE(color.Plan().asleepInterval, 30);
  QCOMPARE(color.Plan().awakeHour, 6);
  QCOMPARE(g_Config->settings.taloAwakeSpan, 2);
}

void TransferDialogsTest::choiceDialogsOfferWhatTheRecorderHas() {
  int modes[kDataModeSlots] = {0, 1, 0, 1, 0, 0, 0, 0, 0};
  DataModeDialog mode(g_Language, ui_->messages.sink, DownloadModeChoices(kMiru, modes));
  auto* list = Child<QListWidget>(&mode, "1039");
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->item(1)->text(), QString("EN:IDS_USERALONE"));
  QCOMPARE(list->currentRow(), 0);
  list->clearSelection();
  Click(&mode, "1");
  QCOMPARE(ui_->messages.sink.messages.back().text, std::string("EN:IDS_PLEASE_CHOOSE"));
  list->setCurrentRow(1);
  Click(&mode, "1");
  QCOMPARE(mode.ChosenMode(), int(kModeSingleUser));

  int users[kDataModeSlots] = {0, 0, 0, 0, 1, 1, 1, 1, 0};
  UserChoiceDialog user(g_Language, DownloadModeChoices(kQora, users));
  auto* combo = Child<QComboBox>(&user, "1195");
  QCOMPARE(combo->count(), 4);
  QCOMPARE(combo->itemText(3), QString("EN:IDS_ALLUSER"));
  combo->setCurrentIndex(3);
  Click(&user, "1");
  QCOMPARE(user.ChosenMode(), int(kModeAllUsers));
}

void TransferDialogsTest::progressWindowCancelWaitsForTheWorker() {
  TransferProgress progress;
  std::atomic<bool> armed{false};
  std::atomic<bool> sawCancel{false};
  ModalScript script;
  script.On("TransferProgressDialog", [](QDialog* d) { Click(d, "2"); });
  TransferRunStats stats;
  const int r = RunBehindProgress(
      nullptr, g_Language, progress, TransferProgressDialog::TextMode::TransportType, {},
      [&] {
        progress.Arm();
        armed = true;
      },
      [&] { progress.cancel = true; },
      [&] {
        progress.state = kStateRunning;
        progress.type = kTransportSpO2;
        while (!progress.cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        // The window is still up while the worker winds down.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sawCancel = true;
        progress.state = kStateFailed;
        return ToInt(DeviceResult::Cancelled);
      },
      &stats);
  QCOMPARE(r, int(DeviceResult::Cancelled));
  QVERIFY(armed.load());
  QVERIFY(sawCancel.load());
  QVERIFY(stats.cancelled);
  QVERIFY(stats.ticks > 2);

  // A cancel request left from before is cleared by arming, not by the worker.
  progress.cancel = true;
  TransportTypeText(0, g_Language);
  const int again = RunBehindProgress(
      nullptr, g_Language, progress, TransferProgressDialog::TextMode::Fixed, "x",
      [&] { progress.Arm(); }, [&] { progress.cancel = true; },
      [&] { return progress.cancel.load() ? 0 : 1; });
  QCOMPARE(again, 1);
}

void TransferDialogsTest::bluetoothDialogListsConnectsAndTellsFaults() {
  // No radio at all: a clear message, an empty list.
  {
    auto fake = std::make_unique<FakeRadio>();
    fake->radios = 0;
    CBlueTooth radio(std::move(fake));
    BluetoothDialog dialog(g_Language, ui_->messages.sink, radio);
    dialog.show();
    QTRY_VERIFY(ui_->messages.Saw("EN:IDS_NO_BTH_RADIO"));
    QTRY_VERIFY(!dialog.Busy());
    QCOMPARE(dialog.List()->topLevelItemCount(), 0);
  }
  // Two recorders found; pairing fails once, then the connection comes up.
  auto owned = std::make_unique<FakeRadio>();
  FakeRadio* fake = owned.get();
  fake->pairOk = false;
  CBlueTooth radio(std::move(owned));
  BluetoothDialog dialog(g_Language, ui_->messages.sink, radio);
  dialog.show();
  QTRY_COMPARE(dialog.List()->topLevelItemCount(), 2);
  QTRY_VERIFY(!dialog.Busy());
  QCOMPARE(dialog.List()->topLevelItem(0)->text(0), QString("1"));
  QCOMPARE(dialog.List()->topLevelItem(0)->text(1), QString("VESK-MIRU"));
  QCOMPARE(dialog.List()->topLevelItem(0)->text(2), QString("06:05:04:03:02:01"));
  auto* connectButton = Child<QPushButton>(&dialog, "1004");
  QVERIFY(!connectButton->isEnabled());
  dialog.List()->setCurrentItem(dialog.List()->topLevelItem(0));
  QVERIFY(connectButton->isEnabled());
  connectButton->click();
  QTRY_VERIFY(ui_->messages.Saw("EN:IDS_BTH_CLOSED"));
  QTRY_COMPARE(dialog.List()->topLevelItemCount(), 2);  // scanned again
  QTRY_VERIFY(!dialog.Busy());
  fake->pairOk = true;
  dialog.List()->setCurrentItem(dialog.List()->topLevelItem(0));
  connectButton->click();
  QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.ChosenIndex(), 0);
  QVERIFY(radio.IsConnected());
}

void TransferDialogsTest::screenshotsInBothLanguages() {
  if (Shots().isEmpty()) QSKIP("VESK_SHOT_DIR not set");
  for (const char* language : {"English", "Chinese"}) {
    g_Language.LoadFile(ShippedLanguageFile(language));
    const QString suffix = QString("_") + language;
    {
      LinkWayDialog d(g_Language, false, true);
      Shoot(&d, "LinkWayDialog" + suffix);
    }
    {
      CBlueTooth radio(std::make_unique<FakeRadio>());
      BluetoothDialog d(g_Language, ui_->messages.sink, radio);
      d.show();
      QTRY_COMPARE(d.List()->topLevelItemCount(), 2);
      QTRY_VERIFY(!d.Busy());
      Shoot(&d, "BluetoothDialog" + suffix);
    }
    {
      int modes[kDataModeSlots] = {0, 1, 1, 1, 0, 0, 0, 0, 0};
      DataModeDialog d(g_Language, ui_->messages.sink, DownloadModeChoices(kMiru, modes));
      Shoot(&d, "DataModeDialog" + suffix);
      int users[kDataModeSlots] = {0, 0, 0, 0, 1, 1, 1, 1, 0};
      UserChoiceDialog u(g_Language, DownloadModeChoices(kQora, users));
      Shoot(&u, "UserChoiceDialog" + suffix);
    }
    {
      TransferProgress progress;
      progress.state = kStateRunning;
      progress.type = kTransportSpO2;
      progress.percent = 42;
      TransferProgressDialog d(g_Language, progress,
                               TransferProgressDialog::TextMode::TransportType, {});
      d.Tick();
      Shoot(&d, "TransferProgressDialog" + suffix);
    }
    g_Config->settings.specialStart = 25;
    g_Config->settings.specialEnd = 29;
    g_Config->settings.specialSpan = 3;
    g_Config->settings.patientName = "王小明";
    {
      SimplePlanDialog d(Context(kMiru, kModeMonitor));
      Shoot(&d, "SimplePlanDialog" + suffix);
    }
    {
      PlanDialog d(Context(kMiru));
      Shoot(&d, "PlanDialog" + suffix);
    }
    {
      PexaPlanDialog d(Context(kPexa));
      Shoot(&d, "PexaPlanDialog" + suffix);
    }
    {
      TaloPlanDialog d(Context(kTaloBlack));
      Shoot(&d, "TaloPlanDialog" + suffix);
      TaloPlanDialog c(Context(kTaloColor));
      Shoot(&c, "TaloPlanDialog_TALOColor" + suffix);
    }
    g_Config->settings.patientName = "김민준";
    {
      PlanDialog d(Context(kPexaC));
      Shoot(&d, "PlanDialog_NarrowWarning" + suffix);
    }
  }
}

QTEST_MAIN(TransferDialogsTest)
#include "test_ui_transfer_dialogs.moc"
