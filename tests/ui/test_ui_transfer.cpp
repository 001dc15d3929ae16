// Downloads and uploads through the real window against the recorder simulator on a pty:
// every model kind with its modes and users, every plan dialog, cancel at each phase and the
// link faults. Nothing may be stored on a failure and the window stays usable.

#include <QtCore/QElapsedTimer>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QStatusBar>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "UiTestSupport.h"
#include "cases/Filemanage.h"
#include "device/DeviceCaseDocument.h"
#include "device/LinkMessages.h"
#include "dialogs/device/BluetoothDialog.h"
#include "dialogs/device/PexaPlanDialog.h"
#include "dialogs/device/PlanDialogBase.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "test_ui_transfer_support.h"
#include "view/CaseSession.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtWidgets/QTreeWidget>
#include <thread>

using namespace vesk;
using namespace vesk::uitest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> out;
  if (!fs::exists(folder)) return out;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (!e.is_directory()) out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

// "VESK/…01.awp" for a stored path.
std::string Tail(const std::string& path) {
  const fs::path p(path);
  return p.parent_path().filename().string() + "/" + p.filename().string().substr(14);
}

std::string PlanName(const _BP_TRANSPORT_INFO& plan) {
  return std::string(plan.patientName, strnlen(plan.patientName, sizeof plan.patientName));
}
std::string PlanId(const _BP_TRANSPORT_INFO& plan) {
  return std::string(plan.patientId, strnlen(plan.patientId, sizeof plan.patientId));
}

// A radio whose one recorder is the simulator, served over a socket pair.
struct SimRadio : IBluetoothRadio {
  SimRadio(sim::RecorderSimulator& sim, std::atomic<bool>& stop, std::thread& server)
      : sim(sim), stop(stop), server(server) {}
  int CountLocalRadios() override { return 1; }
  std::vector<BluetoothDevice> Inquiry(int) override { return {{"VESK-PEXAC", 0x0A0B0C0D0E0Full}}; }
  bool Pair(uint64_t, std::u16string_view) override { return true; }
  bool Unpair(uint64_t) override {
    ++unpairs;
    return true;
  }
  int OpenRfcomm(uint64_t, int, int) override {
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sv) != 0) return -1;
    const int peer = sv[1];
    server = std::thread([this, peer] {
      sim.Serve(peer, stop);
      ::close(peer);
    });
    return sv[0];
  }
  void CloseSocket(int fd) override { ::close(fd); }
  sim::RecorderSimulator& sim;
  std::atomic<bool>& stop;
  std::thread& server;
  int unpairs = 0;
};

void SelectRow(QDialog* d, int row) {
  d->findChild<QListWidget*>("1039")->setCurrentRow(row);
  Click(d, "1");
}

}  // namespace

class TransferTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void downloadOfEveryKindStoresAndOpensTheCase_data();
  void downloadOfEveryKindStoresAndOpensTheCase();
  void openingACaseKeepsTheRecorderLink();
  void patientProgramFillsTheStoredCase();
  void configuredTraceRecordsBothDirections();
  void uploadThroughEachPlanDialogProgrammesTheRecorder_data();
  void uploadThroughEachPlanDialogProgrammesTheRecorder();
  void qoraTakesNoPlan();
  void cancelAtEachPhaseStoresNothing();
  void linkFaultsTellTheUserAndStoreNothing();
  void caseFileThatCannotBeWrittenIsAnErrorOfTheStore();
  void nothingFoundOffersRetryAndRetriesDetectionOnly();
  void linkWayDialogKeepsTheChoice();
  void bluetoothDownloadGoesOverTheRadioLink();
  void refusedPortIsNamedWithTheUdevHint();

 private:
  CZavView* View() const { return ui_->View(); }
  DeviceCaseDocument& Device() const { return View()->Session().Device(); }
  std::string Data() const { return ui_->home.Path("data"); }

  std::unique_ptr<WindowFixture> ui_;
};

void TransferTest::init() {
  ui_ = std::make_unique<WindowFixture>(WithFrame{});
}

void TransferTest::cleanup() {
  ui_.reset();
  ResetHooks();
}

void TransferTest::downloadOfEveryKindStoresAndOpensTheCase_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("row");  // row of the data-mode or user choice; -1 none
  QTest::addColumn<QStringList>("files");
  QTest::addColumn<QString>("opened");
  QTest::newRow("TALOColor") << int(kTaloColor) << -1
                             << QStringList{"SingleUser/02.awp", "VESK/01.awp"} << "VESK/01.awp";
  QTest::newRow("TALOBlack") << int(kTaloBlack) << -1 << QStringList{"VESK/01.awp"}
                             << "VESK/01.awp";
  QTest::newRow("MIRU recording") << int(kMiru) << 0 << QStringList{"VESK/01.awp"} << "VESK/01.awp";
  QTest::newRow("MIRU monitoring")
      << int(kMiru) << 1 << QStringList{"Monitor/02.awp"} << "Monitor/02.awp";
  QTest::newRow("MIRU single user")
      << int(kMiru) << 2 << QStringList{"SingleUser/03.awp"} << "SingleUser/03.awp";
  QTest::newRow("PEXA") << int(kPexa) << -1 << QStringList{"VESK/01.awp"} << "VESK/01.awp";
  QTest::newRow("PEXAC") << int(kPexaC) << -1 << QStringList{"VESK/01.awp"} << "VESK/01.awp";
  // The sample QORA holds readings of users 1 and 2; user 3 is empty.
  QTest::newRow("QORA user 2") << int(kQora) << 1 << QStringList{"BPM/02.awp"} << "BPM/02.awp";
  QTest::newRow("QORA all users") << int(kQora) << 3 << QStringList{"BPM/01.awp", "BPM/02.awp"}
                                  << "BPM/02.awp";
}

void TransferTest::downloadOfEveryKindStoresAndOpensTheCase() {
  QFETCH(int, kind);
  QFETCH(int, row);
  QFETCH(QStringList, files);
  QFETCH(QString, opened);
  SimRig rig(sim::MakeSampleRecorder(kind), Data());
  ModalScript script;
  if (kind == kMiru) script.On("DataModeDialog", [row](QDialog* d) { SelectRow(d, row); });
  if (kind == kQora)
    script.On("UserChoiceDialog", [row](QDialog* d) {
      auto* combo = d->findChild<QComboBox*>("1195");
      QCOMPARE(combo->count(), 4);  // the three users and all users
      combo->setCurrentIndex(row);
      Click(d, "1");
    });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  QVERIFY(script.Done());

  QStringList stored;
  for (const std::string& f : FilesBelow(Data())) stored << QString::fromStdString(Tail(f));
  QCOMPARE(stored, files);
  QVERIFY(ui_->messages.Saw("EN:IDS_MSG_FINISH"));
  const std::string current = Device().StoredCasePath();
  QCOMPARE(QString::fromStdString(Tail(current)), opened);
  QVERIFY(View()->Session().Info().open);
  QCOMPARE(View()->Session().Info().path, current);
  QCOMPARE(ui_->frame->statusBar()->currentMessage(), QString::fromStdString(current));
  // The file holds what the recorder sent: its model and its readings.
  auto file = CFilemanage::CreateFor(current);
  QCOMPARE(file->LoadAllInfo(), 1);
  QCOMPARE(file->FileInfo().modelCode, kind);
  QVERIFY(!file->FileInfo().readings.empty() || !file->FileInfo().samples.empty());
  QVERIFY(View()->Transfers().LastRun().maxTickGapMs < 1000);
  // With VESK_SHOT_DIR set: the window after the download, the new case in the charts.
  const QString shots = qEnvironmentVariable("VESK_SHOT_DIR");
  if (!shots.isEmpty() && kind == kMiru && row == 1) {
    ui_->frame->resize(1200, 760);
    QApplication::processEvents();
    ui_->frame->grab().save(shots + "/MainWindowAfterDownload.png");
  }
}

void TransferTest::openingACaseKeepsTheRecorderLink() {
  SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  QVERIFY(View()->Session().Info().open);
  DeviceCaseDocument* before = &Device();
  CDevice* transport = Device().Link().Transport();
  QVERIFY(transport != nullptr);
  // Another case opened from the browser: same document, same link objects.
  const std::string other = ui_->home.WriteCase("cases/other.awp", "Other", "77");
  QCOMPARE(View()->OpenCase(other), 1);
  QCOMPARE(&Device(), before);
  QCOMPARE(Device().Link().Transport(), transport);
  QCOMPARE(Device().Detected().nDeviceKind, int(kPexaC));
  QCOMPARE(View()->Session().Info().name, std::string("Other"));
}

void TransferTest::patientProgramFillsTheStoredCase() {
  SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
  struct Program : IPatientInfoProgram {
    explicit Program(SimRig& rig) : rig(rig) {}
    bool Run(const std::string& program, const std::string& caseInfoPath) override {
      requestsWhenRun = rig.sim.RequestsSeen();
      ran = program;
      std::ofstream(caseInfoPath) << "<?xml version=\"1.0\"?><Info><Patient><CaseID>H-77</CaseID>"
                                     "<Age>61</Age></Patient></Info>";
      return true;
    }
    SimRig& rig;
    std::string ran;
    int requestsWhenRun = -1;
  } program(rig);
  g_Config->system.useOtherExe = 1;
  g_Config->system.otherExe = "patient-info";
  Hooks().patientProgram = &program;
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  QCOMPARE(program.ran, std::string("patient-info"));
  QCOMPARE(program.requestsWhenRun, 0);  // before the recorder is contacted
  QVERIFY(View()->Session().Info().open);
  QCOMPARE(View()->Session().Info().caseId, std::string("H-77"));
  QCOMPARE(View()->Session().Info().age, 61);
}

void TransferTest::configuredTraceRecordsBothDirections() {
  SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
  // A trace that cannot be written is said, and the download still happens.
  g_Config->system.linkTraceFile = ui_->home.Path("no-such-folder/trace.txt");
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  QVERIFY(ui_->messages.Saw("LINKTRACEFILE: "));
  QVERIFY(ui_->messages.Saw("EN:IDS_MSG_FINISH"));

  const std::string trace = ui_->home.Path("trace.txt");
  g_Config->system.linkTraceFile = trace;
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  std::ifstream in(trace);
  int sent = 0, received = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.find(" > ") != std::string::npos) ++sent;
    if (line.find(" < ") != std::string::npos) ++received;
  }
  QVERIFY(sent > 0);
  QVERIFY(received > 0);
}

void TransferTest::uploadThroughEachPlanDialogProgrammesTheRecorder_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("miruRow");
  QTest::addColumn<QString>("dialog");
  QTest::newRow("TALOBlack") << int(kTaloBlack) << -1 << "TaloPlanDialog";
  QTest::newRow("TALOColor") << int(kTaloColor) << -1 << "TaloPlanDialog";
  QTest::newRow("MIRU recording") << int(kMiru) << 0 << "PlanDialog";
  QTest::newRow("MIRU monitoring") << int(kMiru) << 1 << "SimplePlanDialog";
  QTest::newRow("PEXA") << int(kPexa) << -1 << "PexaPlanDialog";
  QTest::newRow("PEXAC") << int(kPexaC) << -1 << "PlanDialog";
}

void TransferTest::uploadThroughEachPlanDialogProgrammesTheRecorder() {
  QFETCH(int, kind);
  QFETCH(int, miruRow);
  QFETCH(QString, dialog);
  SimRig rig(sim::MakeSampleRecorder(kind), Data());
  ui_->messages.sink.answers = {MessageAnswer::Yes};  // "replace and continue?"
  _BP_TRANSPORT_INFO shown;
  ModalScript script;
  if (kind == kMiru) script.On("DataModeDialog", [miruRow](QDialog* d) { SelectRow(d, miruRow); });
  script.On(dialog, [&](QDialog* d) {
    // The proposed ID is the clock's stamp.
    QCOMPARE(static_cast<PlanDialogBase*>(d)->IdEdit()->text(), QString("2603040815"));
    static_cast<PlanDialogBase*>(d)->NameEdit()->setText("  Ann Smith ");
    if (auto* awake = d->findChild<QComboBox*>("1009")) awake->setCurrentIndex(16);  // 08:00
    if (auto* span = d->findChild<QComboBox*>("1013")) span->setCurrentIndex(1);
    if (auto* start = d->findChild<QComboBox*>("1011")) {
      start->setCurrentIndex(25);                             // 12:00
      d->findChild<QComboBox*>("1012")->setCurrentIndex(27);  // 13:00
      d->findChild<QComboBox*>("1015")->setCurrentIndex(3);   // 15 min
    }
    if (auto* mode = d->findChild<QComboBox*>("1139")) mode->setCurrentIndex(1);  // child
    Click(d, "1");
    shown = static_cast<PlanDialogBase*>(d)->Plan();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kUpload));
  QVERIFY2(script.Done(), qPrintable(script.seen.join(",")));
  QVERIFY(ui_->messages.Saw("EN:IDS_REPLACE_CONTINUE"));
  QVERIFY(ui_->messages.Saw("EN:IDS_UPLOAD_FINISH"));

  const sim::SimRecorder held = rig.sim.Snapshot();
  QCOMPARE(held.uploads, 1);
  QCOMPARE(int(held.uploadedMode), miruRow == 1 ? int(kModeMonitor) : int(kModeRecording));
  uint8_t expected[link::kPlanSize];
  link::EncodePlan(shown, expected);
  QVERIFY(std::memcmp(expected, held.uploadedBytes.data(), link::kPlanSize) == 0);
  QCOMPARE(PlanName(held.plan), std::string("Ann Smith"));
  QCOMPARE(PlanId(held.plan), std::string("2603040815"));
  QCOMPARE(held.plan.year, 2026);
  QCOMPARE(held.plan.hour, 8);
  if (dialog == "PlanDialog" || dialog == "PexaPlanDialog") {
    QCOMPARE(held.plan.awakeHour, 8);
    QCOMPARE(held.plan.awakeInterval, 5);
    QCOMPARE(held.plan.specialStartHour, 12);
    QCOMPARE(held.plan.specialEndHour, 13);
    QCOMPARE(held.plan.specialInterval, 15);
  }
  if (dialog == "PexaPlanDialog") {
    QCOMPARE(held.plan.measureMode, 1);
    QCOMPARE(held.plan.maxPressure, 243);
  }
  if (dialog == "TaloPlanDialog") QCOMPARE(held.plan.awakeHour, 8);
  // The choices pre-select the next dialog.
  QCOMPARE(g_Config->settings.patientName, std::string("Ann Smith"));
  if (dialog == "PlanDialog") QCOMPARE(g_Config->settings.awakeTime, 16);
}

void TransferTest::qoraTakesNoPlan() {
  SimRig rig(sim::MakeSampleRecorder(kQora), Data());
  ModalScript script;
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kUpload));
  QCOMPARE(rig.sim.Snapshot().uploads, 0);
  QVERIFY(ui_->messages.sink.messages.empty());
  QVERIFY(!script.seen.contains("PlanDialog"));
}

void TransferTest::cancelAtEachPhaseStoresNothing() {
  // The link-way dialog.
  {
    SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
    g_Config->settings.showSelectDevice = 1;
    ModalScript script;
    script.On("LinkWayDialog", [](QDialog* d) { Click(d, "2"); });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
    QVERIFY(script.Done());
    QCOMPARE(rig.sim.RequestsSeen(), 0);
    QCOMPARE(g_Config->settings.showSelectDevice, 1);
  }
  // The Bluetooth dialog: the radio goes, the cable recorder is never asked.
  {
    SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
    g_Config->settings.useBluetooth = 1;
    sim::RecorderSimulator remote(sim::MakeSampleRecorder(kPexaC));
    std::atomic<bool> stop{false};
    std::thread server;
    int made = 0;
    Hooks().makeRadio = [&] {
      ++made;
      return std::make_unique<CBlueTooth>(std::make_unique<SimRadio>(remote, stop, server));
    };
    ModalScript script;
    script.On(
        "BluetoothDialog", [](QDialog* d) { Click(d, "2"); },
        [](QDialog* d) { return !static_cast<BluetoothDialog*>(d)->Busy(); });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
    QVERIFY(script.Done());
    QCOMPARE(made, 1);
    QVERIFY(!server.joinable());  // never connected
    QCOMPARE(rig.sim.RequestsSeen(), 0);
    QVERIFY(!Device().Link().UsesBluetooth());
    QCOMPARE(int(ui_->messages.sink.messages.size()), 0);
    g_Config->settings.useBluetooth = 0;
    Hooks().makeRadio = nullptr;
  }
  // Detection, while the recorder does not answer yet.
  {
    SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
    sim::SimFaults f;
    f.stallRequest = 1;
    f.stallSeconds = 3;
    rig.sim.SetFaults(f);
    Hooks().tuneDetection = [](DetectOptions& o) {
      o.probeHid = false;
      o.probeSystemPorts = false;
      o.timing = LinkTiming{5000, 0, 4091};
    };
    ModalScript script;
    script.On("TransferProgressDialog", [](QDialog* d) { Click(d, "2"); });
    QElapsedTimer t;
    t.start();
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
    QVERIFY(t.elapsed() < 2500);  // cancel did not wait for the watchdog
    QVERIFY(ui_->messages.sink.messages.empty());
  }
  // The data-mode choice.
  {
    SimRig rig(sim::MakeSampleRecorder(kMiru), Data());
    ModalScript script;
    script.On("DataModeDialog", [](QDialog* d) { Click(d, "2"); });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
    QVERIFY(script.Done());
    QVERIFY(ui_->messages.sink.messages.empty());
  }
  // The transfer itself, on a slow line so it is surely running.
  {
    SimRig rig(sim::MakeSampleRecorder(kMiru, 0, 1, 20000), Data(), 115200);
    ModalScript script;
    script.On("DataModeDialog", [](QDialog* d) { SelectRow(d, 1); });
    script.On(
        "TransferProgressDialog", [](QDialog* d) { Click(d, "2"); },
        [](QDialog* d) { return d->windowTitle() != "EN:IDS_FINDDEVICE"; });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
    QVERIFY(script.Done());
    QCOMPARE(int(ui_->messages.sink.messages.size()), 0);
  }
  // The plan dialog.
  {
    SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
    ModalScript script;
    script.On("PlanDialog", [](QDialog* d) { Click(d, "2"); });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kUpload));
    QVERIFY(script.Done());
    QCOMPARE(rig.sim.Snapshot().uploads, 0);
  }
  QVERIFY(FilesBelow(Data()).empty());
  QVERIFY(!View()->Session().Info().open);
}

void TransferTest::linkFaultsTellTheUserAndStoreNothing() {
  // Each fault is armed once the recorder has been found (at the data-mode choice), so it
  // hits the transfer itself.
  enum Fault { Disappear, Stall, ErrorAnswer, Damaged };
  for (int fault : {Disappear, Stall, ErrorAnswer, Damaged}) {
    ui_->messages.sink.messages.clear();
    fs::remove_all(Data());
    SimRig rig(sim::MakeSampleRecorder(kMiru), Data());
    ModalScript script;
    script.On("DataModeDialog", [&](QDialog* d) {
      sim::SimFaults f;
      const int next = rig.sim.RequestsSeen() + 1;
      if (fault == Disappear) {
        f.cutAfterBytes = int64_t(rig.sim.BytesSent()) + 2000;
        f.hangUpOnCut = true;
      } else if (fault == Stall) {
        f.stallRequest = next + 2;
        f.stallSeconds = 2;
      } else if (fault == ErrorAnswer) {
        f.errorStatus = link::kStatusRemote;
        f.errorCommand = link::kCmdRead;
      } else {
        f.corruptFrame = next + 2;
      }
      rig.sim.SetFaults(f);
      SelectRow(d, 1);
    });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
    QVERIFY(script.Done());
    if (fault == Damaged) {
      // A damaged reply is asked for again: the download goes through.
      QVERIFY(ui_->messages.Saw("EN:IDS_MSG_FINISH"));
      QCOMPARE(FilesBelow(Data()).size(), size_t(1));
      continue;
    }
    QCOMPARE(int(ui_->messages.sink.messages.size()), 1);
    QCOMPARE(ui_->messages.sink.messages.front().text, std::string("EN:IDS_MSG_ERROR"));
    QVERIFY(FilesBelow(Data()).empty());
    QVERIFY(!View()->Session().Info().open);
  }
  // The window is still usable: a clean recorder downloads.
  ui_->messages.sink.messages.clear();
  fs::remove_all(Data());
  SimRig clean(sim::MakeSampleRecorder(kPexaC), Data());
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  QVERIFY(ui_->messages.Saw("EN:IDS_MSG_FINISH"));
  QVERIFY(View()->Session().Info().open);
}

void TransferTest::caseFileThatCannotBeWrittenIsAnErrorOfTheStore() {
  SimRig rig(sim::MakeSampleRecorder(kTaloColor), Data());
  // A plain file where the single-user folder belongs: the ambulatory file is stored, the
  // single-user one cannot be.
  const std::string blocker = Data() + "/" + g_Config->currentConfigName + "/SingleUser";
  fs::create_directories(fs::path(blocker).parent_path());
  std::ofstream(blocker) << "in the way";
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));

  const DownloadOutcome& outcome = Device().LastDownload();
  QCOMPARE(int(outcome.step), int(DownloadStep::Store));
  QCOMPARE(int(outcome.caseFile), int(CaseFileResult::WriteFailed));
  QCOMPARE(int(ui_->messages.sink.messages.size()), 1);
  QCOMPARE(ui_->messages.sink.messages.front().text, std::string("EN:IDS_MSG_ERROR"));
  QCOMPARE(Device().StoredFiles().size(), size_t(1));
  QCOMPARE(QString::fromStdString(Tail(Device().StoredFiles().front())), QString("VESK/01.awp"));
  // A partly stored download is not offered for opening.
  QVERIFY(!View()->Session().Info().open);
}

void TransferTest::nothingFoundOffersRetryAndRetriesDetectionOnly() {
  SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
  g_Config->settings.extraSerialPorts = ui_->home.Path("no-such-port");
  g_Config->settings.showSelectDevice = 1;
  ui_->messages.sink.answers = {MessageAnswer::Retry, MessageAnswer::Cancel};
  ModalScript script;
  script.On("LinkWayDialog", [](QDialog* d) { Click(d, "1"); });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  QCOMPARE(int(ui_->messages.sink.messages.size()), 2);
  for (const Message& m : ui_->messages.sink.messages) {
    QCOMPARE(m.text, std::string("EN:IDS_DEVICE"));
    QVERIFY(m.buttons == MessageButtons::RetryCancel);
  }
  QCOMPARE(script.seen.count("LinkWayDialog"), 1);
  QCOMPARE(script.seen.count("TransferProgressDialog"), 2);
}

void TransferTest::linkWayDialogKeepsTheChoice() {
  g_Config->settings.useBluetooth = 0;
  g_Config->settings.showSelectDevice = 1;
  {
    ModalScript script;
    script.On("LinkWayDialog", [](QDialog* d) {
      QVERIFY(d->findChild<QRadioButton*>("1105")->isChecked());
      QVERIFY(!d->findChild<QCheckBox*>("1107")->isChecked());
      d->findChild<QCheckBox*>("1107")->setChecked(true);
      d->findChild<QRadioButton*>("1106")->setChecked(true);
      Click(d, "2");
    });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kSetConnect));
    QVERIFY(script.Done());
  }
  QCOMPARE(g_Config->settings.useBluetooth, 0);  // Cancel stores nothing
  QCOMPARE(g_Config->settings.showSelectDevice, 1);
  {
    ModalScript script;
    script.On("LinkWayDialog", [](QDialog* d) {
      d->findChild<QCheckBox*>("1107")->setChecked(true);
      d->findChild<QRadioButton*>("1106")->setChecked(true);
      Click(d, "1");
    });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kSetConnect));
  }
  QCOMPARE(g_Config->settings.useBluetooth, 1);
  QCOMPARE(g_Config->settings.showSelectDevice, 0);
}

void TransferTest::bluetoothDownloadGoesOverTheRadioLink() {
  sim::RecorderSimulator simulator(sim::MakeSampleRecorder(kPexaC));
  std::atomic<bool> stop{false};
  std::thread server;
  SimRig unused(sim::MakeSampleRecorder(kPexaC), Data());
  g_Config->settings.extraSerialPorts.clear();
  g_Config->settings.useBluetooth = 1;
  Hooks().makeRadio = [&] {
    return std::make_unique<CBlueTooth>(std::make_unique<SimRadio>(simulator, stop, server));
  };
  ModalScript script;
  script.On(
      "BluetoothDialog",
      [](QDialog* d) {
        auto* bt = static_cast<BluetoothDialog*>(d);
        QCOMPARE(bt->List()->topLevelItem(0)->text(2), QString("0a:0b:0c:0d:0e:0f"));
        bt->List()->setCurrentItem(bt->List()->topLevelItem(0));
        Click(d, "1004");
      },
      [](QDialog* d) {
        auto* bt = static_cast<BluetoothDialog*>(d);
        return !bt->Busy() && bt->List()->topLevelItemCount() > 0;
      });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  stop = true;
  if (server.joinable()) server.join();
  QVERIFY(script.Done());
  QVERIFY(ui_->messages.Saw("EN:IDS_MSG_FINISH"));
  QCOMPARE(FilesBelow(Data()).size(), size_t(1));
  QCOMPARE(unused.sim.RequestsSeen(), 0);  // the cable recorder was never asked
  // The link is closed after the transfer: the document is back on cables.
  QVERIFY(!Device().Link().UsesBluetooth());
}

void TransferTest::refusedPortIsNamedWithTheUdevHint() {
  if (::geteuid() == 0) QSKIP("root may open any port");
  const std::string port = ui_->home.Path("ttyRefused");
  { std::ofstream(port) << ""; }
  ::chmod(port.c_str(), 0);
  SimRig rig(sim::MakeSampleRecorder(kPexaC), Data());
  g_Config->settings.extraSerialPorts = port;
  ui_->messages.sink.answers = {MessageAnswer::Cancel};
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kDownload));
  QCOMPARE(int(ui_->messages.sink.messages.size()), 1);
  const std::string& text = ui_->messages.sink.messages.front().text;
  QVERIFY(text.find("EN:IDS_DEVICE") == 0);
  QVERIFY(text.find("EN:IDS_PORT_DENIED") != std::string::npos);
  QVERIFY(text.find(port) != std::string::npos);
}

QTEST_MAIN(TransferTest)
#include "test_ui_transfer.moc"
