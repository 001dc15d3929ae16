// vesk-cli recorder detect | download | upload | ports: the recorder transfers without a
// window, through the same core operations the program runs.
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliRecorderPlan.h"
#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "cases/CaseFolders.h"
#include "device/DeviceCaseDocument.h"
#include "device/DownloadTexts.h"
#include "device/ModelTable.h"
#include "device/PatientInfoProgram.h"
#include "device/SerialPorts.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"
#include "settings/SystemSettings.h"

namespace vesk::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kUsage =
    "  recorder detect [LINK] [--json]    find the attached recorder\n"
    "  recorder download [LINK] [--mode N] [--no-patient-program] [--json]\n"
    "                                    store its recordings in the current user's case folders\n"
    "  recorder upload [LINK] --name TEXT [--id TEXT] [PLAN] [--json]\n"
    "                                    programme a measurement plan (see docs/cli.md)\n"
    "  recorder ports [--set 'PATH;PATH'] the serial ports detection tries; --set changes the\n"
    "                                    extra ports of the current user\n"
    "    LINK: --port PATH [--baud N] (only that serial port) | --no-hid | --no-system-ports |\n"
    "          --timeout SECONDS (detection watchdog, default 20) |\n"
    "          --trace FILE (append every frame sent and received, as hex lines)";

// Exit codes besides 0 (done), 1 (failed) and 2 (bad arguments).
constexpr int kExitNotFound = 3;
constexpr int kExitNoData = 4;
constexpr int kExitNotSupported = 5;

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kUsage);
  return 2;
}

// The home folder's configuration and language, as the program would load them.
struct Home {
  Home() : config(language, sink, g_EditionCode) {}
  bool Load() {
    language.ScanLanguageFolder(ProgramPath("\\Language"));
    if (config.Load() != 1) return false;
    language.Load();
    config.system = LoadSystemSettings(config.configPath);
    return true;
  }
  CLanguage language;
  StderrSink sink;
  CConfigFile config;
};

struct LinkArgs {
  DetectOptions detect;
  std::string port;
  int timeoutMs = DeviceLink::kWatchdogMs;
  bool json = false;
  std::string trace;  // empty: the configuration's LINKTRACEFILE, if any
};

bool ParseNumber(const std::string& s, long long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtoll(s.c_str(), &end, 10);
  return end && *end == 0;
}

// Takes the options every subcommand understands out of args; false on a bad value.
bool TakeLinkArgs(std::vector<std::string>& args, LinkArgs& link) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    long long n = 0;
    if (a == "--port" && hasValue) {
      link.port = args[++i];
    } else if (a == "--baud" && hasValue) {
      if (!ParseNumber(args[++i], n) || n < 300 || n > 4000000) return false;
      link.detect.baud = static_cast<int>(n);
    } else if (a == "--timeout" && hasValue) {
      if (!ParseNumber(args[++i], n) || n < 1 || n > 600) return false;
      link.timeoutMs = static_cast<int>(n * 1000);
    } else if (a == "--trace" && hasValue) {
      link.trace = args[++i];
      if (link.trace.empty()) return false;
    } else if (a == "--no-hid") {
      link.detect.probeHid = false;
    } else if (a == "--no-system-ports") {
      link.detect.probeSystemPorts = false;
    } else if (a == "--json") {
      link.json = true;
    } else {
      rest.push_back(a);
    }
  }
  args = std::move(rest);
  return true;
}

struct Session {
  ~Session() {
    if (doc.Trace().WriteFailed())
      std::fprintf(stderr, "vesk-cli: the link trace is incomplete: %s\n",
                   doc.Trace().Error().c_str());
  }
  Home home;
  LanguageErrorTexts texts{home.language};
  CaseState state;
  DeviceCaseDocument doc{state, texts, home.language};
};

// The trace of --trace, else the configured one. A trace that cannot be opened stops the
// command: a support run without its trace would be wasted.
bool StartTrace(Session& s, const LinkArgs& link) {
  const bool ok = link.trace.empty() ? s.doc.StartConfiguredTrace(s.home.config.system)
                                     : s.doc.StartTrace(link.trace);
  if (!ok) std::fprintf(stderr, "vesk-cli: %s\n", s.doc.Trace().Error().c_str());
  return ok;
}

// Detection as the program runs it; with --port only that port is greeted.
DeviceResult Detect(Session& s, LinkArgs& link) {
  DeviceCaseDocument& doc = s.doc;
  const Home& home = s.home;
  if (!link.port.empty()) {
    link.detect.probeHid = false;
    link.detect.probeSystemPorts = false;
    link.detect.extraPorts = {link.port};
  } else {
    link.detect.extraPorts = SplitPortList(home.config.settings.extraSerialPorts);
  }
  const DeviceResult r = doc.DetectRecorder(link.detect, link.timeoutMs);
  if (r != DeviceResult::Ok) {
    const TextKey key = DetectResultKey(r);
    const std::string text = key.Text(home.language);
    std::fprintf(stderr, "vesk-cli: %s (%d)%s%s\n", TransferResultText(r), ToInt(r),
                 text.empty() ? "" : ": ", text.c_str());
  }
  return r;
}

int ExitFor(DeviceResult result) {
  switch (result) {
    case DeviceResult::Ok:
      return 0;
    case DeviceResult::DetectRetry:
      return kExitNotFound;
    case DeviceResult::NoData:
      return kExitNoData;
    case DeviceResult::NotSupported:
      return kExitNotSupported;
    default:
      return 1;
  }
}

int ExitFor(const DownloadOutcome& outcome) {
  switch (outcome.step) {
    case DownloadStep::Transfer:
      return ExitFor(outcome.device);
    case DownloadStep::NoData:
      return kExitNoData;
    case DownloadStep::Store:
      return 1;
    case DownloadStep::Stored:
      break;
  }
  return 0;
}

const char* StepName(DownloadStep step) {
  switch (step) {
    case DownloadStep::Transfer:
      return "transfer";
    case DownloadStep::NoData:
      return "no data";
    case DownloadStep::Store:
      return "store";
    case DownloadStep::Stored:
      break;
  }
  return "stored";
}

Json RecorderJson(const DeviceCaseDocument& doc, const int modes[kDataModeSlots]) {
  Json j;
  const tag_SUPPORT_PROTOCOL& d = doc.Detected();
  j["deviceKind"] = d.nDeviceKind;
  j["model"] = ModelName(d.nDeviceKind);
  j["protocol"] = d.nProtocol;
  const DetectedPort& port = doc.Link().FoundPort();
  j["port"] = port.port;
  j["bus"] = port.bluetooth ? "bluetooth" : port.bus == LinkBus::Hid ? "hid" : "serial";
  Json list = Json::array();
  for (int m = 1; m < kDataModeSlots; ++m)
    if (modes[m]) list.push_back(m);
  j["dataModes"] = list;
  return j;
}

int DetectCommand(std::vector<std::string> args) {
  LinkArgs link;
  if (!TakeLinkArgs(args, link) || !args.empty()) return Usage();
  Session s;
  if (!s.home.Load()) return 1;
  if (!StartTrace(s, link)) return 1;
  const DeviceResult r = Detect(s, link);
  if (r != DeviceResult::Ok) return ExitFor(r);
  int modes[kDataModeSlots];
  const DeviceResult m = s.doc.Link().GetDataModes(modes);
  if (m != DeviceResult::Ok) {
    std::fprintf(stderr, "vesk-cli: %s (%d)\n", TransferResultText(m), ToInt(m));
    return ExitFor(m);
  }
  const Json j = RecorderJson(s.doc, modes);
  if (link.json) {
    std::cout << j.dump(2) << "\n";
  } else {
    std::printf("%s (device kind %d, protocol %d) on %s, data modes %s\n",
                j["model"].get<std::string>().c_str(), s.doc.Detected().nDeviceKind,
                s.doc.Detected().nProtocol, j["port"].get<std::string>().c_str(),
                j["dataModes"].dump().c_str());
  }
  return 0;
}

int DownloadCommand(std::vector<std::string> args) {
  LinkArgs link;
  if (!TakeLinkArgs(args, link)) return Usage();
  int mode = 0;
  bool runProgram = true;
  for (size_t i = 0; i < args.size(); ++i) {
    long long n = 0;
    if (args[i] == "--mode" && i + 1 < args.size() && ParseNumber(args[i + 1], n) && n >= 1 &&
        n <= 7) {
      mode = static_cast<int>(n);
      ++i;
    } else if (args[i] == "--no-patient-program") {
      runProgram = false;
    } else {
      return Usage();
    }
  }
  Session s;
  if (!s.home.Load()) return 1;
  if (!StartTrace(s, link)) return 1;
  const SystemSettings& system = s.home.config.system;
  if (runProgram) {
    ProcessPatientInfoProgram program;
    if (!RunPatientInfoProgram(system, program))
      std::fprintf(stderr, "vesk-cli: the patient-information program '%s' could not be run\n",
                   system.otherExe.c_str());
  }
  const DeviceResult r = Detect(s, link);
  if (r != DeviceResult::Ok) return ExitFor(r);

  int modes[kDataModeSlots];
  const DeviceResult m = s.doc.Link().GetDataModes(modes);
  if (m != DeviceResult::Ok) {
    std::fprintf(stderr, "vesk-cli: %s (%d)\n", TransferResultText(m), ToInt(m));
    return ExitFor(m);
  }
  const int kind = s.doc.Detected().nDeviceKind;
  if (mode == 0) mode = DefaultDownloadMode(kind, modes);
  if (mode == 0 || !modes[mode]) {
    std::fprintf(stderr, "vesk-cli: the %s does not offer data mode %d\n", ModelName(kind), mode);
    return 2;
  }
  s.doc.SetDownloadTarget(s.home.config.settings.patientFilePath, s.home.config.currentConfigName);
  s.doc.ChooseDataMode(kind, mode);
  const int d = s.doc.DownloadData(mode);
  const DownloadOutcome& outcome = s.doc.LastDownload();
  const bool stored = outcome.step == DownloadStep::Stored;

  CaseInfoApplied info;
  if (stored) info = ApplyCaseInfoToStoredCase(system, s.doc.StoredCasePath(), CaseInfoXmlPath());
  const std::string message =
      stored ? s.doc.ResultText() : DownloadResultKey(outcome).Text(s.home.language);
  if (link.json) {
    Json j = RecorderJson(s.doc, modes);
    j["mode"] = mode;
    j["result"] = d;
    j["step"] = StepName(outcome.step);
    if (!stored) j["cause"] = DownloadOutcomeText(outcome);
    j["files"] = s.doc.StoredFiles();
    j["current"] = s.doc.StoredCasePath();
    j["text"] = message;
    if (info.wanted) j["caseInfoApplied"] = info.ok();
    std::cout << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    for (const std::string& f : s.doc.StoredFiles()) std::printf("stored %s\n", f.c_str());
    if (!message.empty()) std::printf("%s\n", message.c_str());
  }
  if (!stored)
    std::fprintf(stderr, "vesk-cli: download: %s (%d)\n", DownloadOutcomeText(outcome).c_str(), d);
  if (info.wanted && !info.ok())
    std::fprintf(stderr, "vesk-cli: CaseInfo.xml was not applied: %s\n",
                 info.xml.error.empty() ? "the case could not be written" : info.xml.error.c_str());
  return ExitFor(outcome);
}

int UploadCommand(std::vector<std::string> args) {
  LinkArgs link;
  if (!TakeLinkArgs(args, link)) return Usage();
  Session s;
  if (!s.home.Load()) return 1;
  if (!StartTrace(s, link)) return 1;
  PlanArgs planArgs;
  std::string error;
  if (!ParsePlanArgs(args, planArgs, error)) {
    std::fprintf(stderr, "vesk-cli: %s\n", error.c_str());
    return 2;
  }
  const DeviceResult r = Detect(s, link);
  if (r != DeviceResult::Ok) return ExitFor(r);
  const int kind = s.doc.Detected().nDeviceKind;
  const RecorderModel* model = ModelOfKind(kind);
  if (!model || model->uploadModes.empty()) {
    std::fprintf(stderr, "vesk-cli: a %s takes no measurement plan\n", ModelName(kind));
    return kExitNotSupported;
  }
  _UPLOAD_NEEDED_DATA needed;
  const DeviceResult p = s.doc.ReadRecorderPlan(needed);
  if (p != DeviceResult::Ok) {
    std::fprintf(stderr, "vesk-cli: reading the recorder's plan: %s (%d)\n", TransferResultText(p),
                 ToInt(p));
    return ExitFor(p);
  }
  const int mode = planArgs.monitor ? kModeMonitor : kModeRecording;
  const UploadPlanOptions options =
      ResolvePlanOptions(planArgs, kind, needed, s.home.config.settings, LocalNow());
  const UploadPlanResult plan = BuildUploadPlan(kind, mode, options, needed);
  if (!plan.ok) {
    std::fprintf(stderr, "vesk-cli: %s\n", plan.error.c_str());
    return 2;
  }
  s.doc.SetUploadPlan(plan.plan);
  s.doc.ChooseDataMode(kind, mode);
  const DeviceResult u = DeviceResultOf(s.doc.UploadPlan());
  const std::string message = UploadResultKey(u).Text(s.home.language);
  if (link.json) {
    Json j;
    j["model"] = ModelName(kind);
    j["mode"] = mode;
    j["result"] = ToInt(u);
    j["plan"] = PlanJson(plan.plan);
    j["text"] = message;
    std::cout << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  } else if (!message.empty()) {
    std::printf("%s\n", message.c_str());
  }
  if (u != DeviceResult::Ok)
    std::fprintf(stderr, "vesk-cli: upload: %s (%d)\n", TransferResultText(u), ToInt(u));
  return ExitFor(u);
}

int PortsCommand(std::vector<std::string> args) {
  bool set = false;
  std::string value;
  bool json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--set" && i + 1 < args.size()) {
      set = true;
      value = args[++i];
    } else if (args[i] == "--json") {
      json = true;
    } else {
      return Usage();
    }
  }
  Home home;
  if (!home.Load()) return 1;
  if (set) {
    home.config.settings.extraSerialPorts = value;
    if (home.config.Save() != 1) return 1;
  }
  Json j;
  Json system = Json::array();
  for (const SerialPortInfo& p : ListSerialPorts())
    system.push_back(Json{{"port", p.name}, {"description", p.description}});
  j["system"] = system;
  j["extra"] = SplitPortList(home.config.settings.extraSerialPorts);
  j["user"] = home.config.currentConfigName;
  if (json) {
    std::cout << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    for (const auto& p : j["system"])
      std::printf("system %s %s\n", p["port"].get<std::string>().c_str(),
                  p["description"].get<std::string>().c_str());
    for (const auto& p : j["extra"]) std::printf("extra  %s\n", p.get<std::string>().c_str());
  }
  return 0;
}

int RecorderCommand(const std::vector<std::string>& all) {
  if (all.empty()) return Usage();
  std::vector<std::string> args(all.begin() + 1, all.end());
  if (all[0] == "detect") return DetectCommand(std::move(args));
  if (all[0] == "download") return DownloadCommand(std::move(args));
  if (all[0] == "upload") return UploadCommand(std::move(args));
  if (all[0] == "ports") return PortsCommand(std::move(args));
  return Usage();
}

const Registrar registrar("recorder", RecorderCommand, kUsage);

}  // namespace
}  // namespace vesk::cli
