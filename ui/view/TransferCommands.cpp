#include "view/TransferCommands.h"

#include <unistd.h>

#include <QtWidgets/QWidget>
#include <cerrno>
#include <cstdio>

#include "device/DownloadTexts.h"
#include "device/PlanRules.h"
#include "device/SerialPorts.h"
#include "dialogs/device/BluetoothDialog.h"
#include "dialogs/device/LinkWayDialog.h"
#include "dialogs/device/ModeChoiceDialogs.h"
#include "dialogs/device/PlanDialogs.h"

namespace vesk {

TransferHooks& Hooks() {
  static TransferHooks hooks;
  return hooks;
}

std::vector<std::string> DeniedPorts(const DetectOptions& options) {
  std::vector<std::string> ports;
  if (options.probeSystemPorts)
    for (const auto& p : ListSerialPorts()) ports.push_back(p.name);
  for (const auto& p : options.extraPorts) ports.push_back(p);
  std::vector<std::string> denied;
  for (const auto& p : ports) {
    if (p.empty() || ::access(p.c_str(), F_OK) != 0) continue;
    if (::access(p.c_str(), R_OK | W_OK) != 0 && errno == EACCES) denied.push_back(p);
  }
  return denied;
}

TransferCommands::TransferCommands(CConfigFile& config, const CLanguage& language,
                                   IMessageSink& sink, DeviceCaseDocument& doc, QWidget* parent)
    : config_(config), language_(language), sink_(sink), doc_(doc), parent_(parent) {}

TransferCommands::~TransferCommands() {
  CloseBluetooth();
}

std::string TransferCommands::Text(const char* section, const char* key) const {
  return language_.GetText(section, key);
}

void TransferCommands::Tell(const std::string& text, MessageIcon icon) {
  sink_.Show({text, {}, icon, MessageButtons::Ok});
}

int TransferCommands::Run(TransferProgressDialog::TextMode mode, const QString& fixedText,
                          const std::function<int()>& work) {
  DeviceLink& link = doc_.Link();
  return RunBehindProgress(
      parent_, language_, link.Progress(), mode, fixedText, [&link] { link.Arm(); },
      [&link] { link.Cancel(); }, work, &lastRun_);
}

void TransferCommands::SetConnect() {
  UserSettings& s = config_.settings;
  LinkWayDialog dialog(language_, s.useBluetooth != 0, s.showSelectDevice != 0, parent_);
  if (dialog.exec() != QDialog::Accepted) return;
  s.useBluetooth = dialog.UseBluetooth() ? 1 : 0;
  s.showSelectDevice = dialog.ShowAgain() ? 1 : 0;
}

bool TransferCommands::ConnectionStep() {
  UserSettings& s = config_.settings;
  if (s.showSelectDevice != 0) {
    LinkWayDialog dialog(language_, s.useBluetooth != 0, true, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    s.useBluetooth = dialog.UseBluetooth() ? 1 : 0;
    s.showSelectDevice = dialog.ShowAgain() ? 1 : 0;
  }
  if (s.useBluetooth == 0) {
    doc_.Link().UseBluetooth(nullptr);
    return true;
  }
  CloseBluetooth();
  radio_ = Hooks().makeRadio ? Hooks().makeRadio() : std::make_unique<CBlueTooth>();
  BluetoothDialog dialog(language_, sink_, *radio_, parent_);
  if (dialog.exec() != QDialog::Accepted) {
    radio_.reset();
    return false;
  }
  remoteIndex_ = dialog.ChosenIndex();
  doc_.Link().UseBluetooth(radio_.get());
  return true;
}

void TransferCommands::CloseBluetooth() {
  if (!radio_) return;
  doc_.Link().UseBluetooth(nullptr);
  if (remoteIndex_ >= 0) radio_->RequestAnnulmentDevice(remoteIndex_);
  radio_->Disconnect();
  radio_.reset();
  remoteIndex_ = -1;
}

bool TransferCommands::DetectStep(Direction direction) {
  // The support trace follows the setting at every contact, so switching it on needs no
  // restart; a trace that cannot be written is said, and the transfer goes on without it.
  if (!doc_.StartConfiguredTrace(config_.system))
    Tell("LINKTRACEFILE: " + doc_.Trace().Error(), MessageIcon::Warning);
  DetectOptions options;
  options.extraPorts = SplitPortList(config_.settings.extraSerialPorts);
  if (Hooks().tuneDetection) Hooks().tuneDetection(options);
  const int watchdogMs = Hooks().watchdogMs;
  for (;;) {
    for (int& m : modes_) m = 0;
    modesResult_ = DeviceResult::Fail;
    const QString title = QString::fromStdString(Text("Global Setting", "IDS_FINDDEVICE"));
    const DeviceResult r = DeviceResultOf(Run(TransferProgressDialog::TextMode::Fixed, title, [&] {
      const DeviceResult found = doc_.DetectRecorder(options, watchdogMs);
      if (found != DeviceResult::Ok) return ToInt(found);
      if (Hooks().tuneLink) Hooks().tuneLink(doc_.Link());
      // The download asks the recorder for its data modes while the window still searches.
      if (direction == Direction::Download) modesResult_ = doc_.Link().GetDataModes(modes_);
      return ToInt(found);
    }));
    if (lastRun_.cancelled) return false;  // the user stopped the search: nothing to say
    if (r == DeviceResult::Ok) return true;
    std::string text = DetectResultKey(r).Text(language_);
    if (DetectOffersRetry(r)) {
      const std::vector<std::string> denied = DeniedPorts(options);
      if (!denied.empty()) {
        // The recorder may well be there: tell what stands in the way.
        std::string ports;
        for (const auto& p : denied) ports += (ports.empty() ? "" : ", ") + p;
        text += "\n\n" + Text("Dialog Setting", "IDS_PORT_DENIED") + "\n" + ports;
      }
      const MessageAnswer a =
          sink_.Show({text, {}, MessageIcon::Warning, MessageButtons::RetryCancel});
      if (a == MessageAnswer::Retry) continue;
      return false;
    }
    Tell(text, MessageIcon::Error);
    return false;
  }
}

void TransferCommands::Download() {
  const SystemSettings& system = config_.system;
  if (system.useOtherExe) {
    ProcessPatientInfoProgram direct;
    IPatientInfoProgram& program = Hooks().patientProgram
                                       ? *Hooks().patientProgram
                                       : static_cast<IPatientInfoProgram&>(direct);
    if (!RunPatientInfoProgram(system, program))
      std::fprintf(stderr, "the patient-information program could not be run\r\n");
  }
  doc_.Progress().state = kStateIdle;
  if (ConnectionStep() && DetectStep(Direction::Download)) DownloadFound();
  CloseBluetooth();
}

void TransferCommands::DownloadFound() {
  if (modesResult_ != DeviceResult::Ok) {
    Tell(DownloadResultKey(modesResult_).Text(language_), MessageIcon::Error);
    return;
  }
  const int kind = doc_.Detected().nDeviceKind;
  int mode = DefaultDownloadMode(kind, modes_);
  const std::vector<ModeChoice> choices = DownloadModeChoices(kind, modes_);
  if (kind == kMiru) {
    DataModeDialog dialog(language_, sink_, choices, parent_);
    if (dialog.exec() != QDialog::Accepted) return;
    mode = dialog.ChosenMode();
  } else if (kind == kQora) {
    UserChoiceDialog dialog(language_, choices, parent_);
    if (dialog.exec() != QDialog::Accepted) return;
    mode = dialog.ChosenMode();
  }
  if (mode == 0) {
    Tell(DownloadResultKey(DeviceResult::NoData).Text(language_), MessageIcon::Information);
    return;
  }
  doc_.SetDownloadTarget(config_.settings.patientFilePath, config_.currentConfigName);
  doc_.ChooseDataMode(kind, mode);
  std::fprintf(stderr, "m_nTransportType = %d\r\n", doc_.Progress().type.load());
  const int r = Run(TransferProgressDialog::TextMode::TransportType, {},
                    [this, mode] { return doc_.DownloadData(mode); });
  DownloadOutcome outcome = doc_.LastDownload();
  // A worker that ended with an exception left the outcome half made: a failed transfer.
  if (outcome.Code() != r) outcome = {DownloadStep::Transfer, DeviceResult::Fail};
  const bool stopped =
      outcome.step == DownloadStep::Transfer && outcome.device == DeviceResult::Cancelled;
  if (lastRun_.cancelled && stopped) return;  // stopped by the user: no message
  if (outcome.step != DownloadStep::Stored) {
    if (outcome.step == DownloadStep::Store)
      std::fprintf(stderr, "%s\r\n", DownloadOutcomeText(outcome).c_str());
    const TextKey key = DownloadResultKey(outcome);
    if (!key.empty()) Tell(key.Text(language_), MessageIcon::Error);
    return;
  }
  const std::string stored = doc_.StoredCasePath();
  const CaseInfoApplied info = ApplyCaseInfoToStoredCase(config_.system, stored, CaseInfoXmlPath());
  if (info.wanted && !info.ok())
    std::fprintf(stderr, "CaseInfo.xml was not applied: %s\r\n", info.xml.error.c_str());
  Tell(doc_.ResultText(), MessageIcon::Information);
  if (stored.empty()) return;
  if (showStatus) showStatus(QString::fromStdString(stored));
  if (openCase) openCase(stored);
}

void TransferCommands::Upload() {
  if (ConnectionStep() && DetectStep(Direction::Upload)) UploadFound();
  CloseBluetooth();
}

void TransferCommands::UploadFound() {
  const int kind = doc_.Detected().nDeviceKind;
  if (kind == kQora || kind < kTaloColor || kind > kPexaC) return;  // takes no plan
  const DateParts now = Hooks().clock ? Hooks().clock() : LocalNow();
  config_.settings.patientID = plan::PatientIdStamp(now);

  _UPLOAD_NEEDED_DATA needed;
  const DeviceResult p = DeviceResultOf(Run(TransferProgressDialog::TextMode::TransportType, {},
                                            [&] { return ToInt(doc_.ReadRecorderPlan(needed)); }));
  if (lastRun_.cancelled && p == DeviceResult::Cancelled) return;
  if (p != DeviceResult::Ok) {
    const TextKey key = UploadResultKey(p);
    if (!key.empty()) Tell(key.Text(language_), MessageIcon::Error);
    return;
  }

  int mode = kModeRecording;
  if (kind == kMiru) {
    DataModeDialog choose(language_, sink_, UploadModeChoices(kind), parent_);
    if (choose.exec() != QDialog::Accepted) return;
    mode = choose.ChosenMode();
  }
  PlanDialogContext context{language_, sink_, config_.settings, now, kind, mode, needed};
  std::unique_ptr<PlanDialogBase> dialog = MakePlanDialog(context, parent_);
  if (!dialog || dialog->exec() != QDialog::Accepted) return;
  if (config_.Save() != 1) std::fprintf(stderr, "the configuration could not be saved\r\n");

  doc_.SetUploadPlan(dialog->Plan());
  doc_.ChooseDataMode(kind, mode);
  doc_.Progress().type = kTransportNothing;
  std::fprintf(stderr, "m_nTransportType = %d\r\n", doc_.Progress().type.load());
  const DeviceResult u = DeviceResultOf(Run(TransferProgressDialog::TextMode::TransportType, {},
                                            [this] { return doc_.UploadPlan(); }));
  if (lastRun_.cancelled && u == DeviceResult::Cancelled) return;
  const TextKey key = UploadResultKey(u);
  if (!key.empty())
    Tell(key.Text(language_),
         u == DeviceResult::Ok ? MessageIcon::Information : MessageIcon::Error);
}

}  // namespace vesk
