#pragma once
// The recorder commands of the window: download (32812), upload (32801) and the link way
// (32806). Each runs the connection step (link way, Bluetooth), detection behind the progress
// window, then its transfer on a worker thread of the core, and tells the result. Dialogs get
// the configuration and language from here; the work itself is the device document's.

#include <QtCore/QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/CBlueTooth.h"
#include "device/CSelectProtocol.h"
#include "device/DeviceCaseDocument.h"
#include "device/PatientInfoProgram.h"
#include "dialogs/device/TransferProgressDialog.h"
#include "language/Language.h"
#include "platform/MessageSink.h"
#include "settings/ConfigFile.h"

class QWidget;

namespace vesk {

// What the window does around the transfers that tests (and tools) replace.
struct TransferHooks {
  // Adjusts the detection options built from the configuration (tests: only the pty).
  std::function<void(DetectOptions&)> tuneDetection;
  // The detection watchdog.
  int watchdogMs = DeviceLink::kWatchdogMs;
  // The radio object of a Bluetooth transfer (the system radio unless replaced).
  std::function<std::unique_ptr<CBlueTooth>()> makeRadio;
  // Runs the external patient-information program; null: CZavApp::RunOtherExe.
  IPatientInfoProgram* patientProgram = nullptr;
  // The recorder link's timing after detection (tests: short timeouts).
  std::function<void(DeviceLink&)> tuneLink;
  // The clock of the plan dialogs and the proposed patient ID.
  std::function<DateParts()> clock;
};
TransferHooks& Hooks();

// Serial ports of the detection that exist but may not be opened by this user.
std::vector<std::string> DeniedPorts(const DetectOptions& options);

class TransferCommands {
 public:
  TransferCommands(CConfigFile& config, const CLanguage& language, IMessageSink& sink,
                   DeviceCaseDocument& doc, QWidget* parent);
  ~TransferCommands();

  // Shows a stored case (the view's OpenCase); its result, 1 when shown.
  std::function<int(const std::string&)> openCase;
  // Puts a text into the status bar.
  std::function<void(const QString&)> showStatus;

  void Download();
  void Upload();
  // Link-way command: the dialog alone; the choice is kept in the configuration.
  void SetConnect();

  // The last worker run (for the benchmark and the tests).
  const TransferRunStats& LastRun() const { return lastRun_; }

 private:
  enum class Direction { Download, Upload };
  [[nodiscard]] bool ConnectionStep();
  // Detection (with Retry on 11). True when a recorder was found and its link objects made.
  [[nodiscard]] bool DetectStep(Direction direction);
  void CloseBluetooth();
  void DownloadFound();
  void UploadFound();
  [[nodiscard]] int Run(TransferProgressDialog::TextMode mode, const QString& fixedText,
                        const std::function<int()>& work);
  void Tell(const std::string& text, MessageIcon icon = MessageIcon::None);
  std::string Text(const char* section, const char* key) const;

  CConfigFile& config_;
  const CLanguage& language_;
  IMessageSink& sink_;
  DeviceCaseDocument& doc_;
  QWidget* parent_;
  std::unique_ptr<CBlueTooth> radio_;
  int remoteIndex_ = -1;
  int modes_[kDataModeSlots] = {};
  DeviceResult modesResult_ = DeviceResult::Fail;
  TransferRunStats lastRun_;
};

}  // namespace vesk
