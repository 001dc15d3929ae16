// vesk-cli config show: what the program would load from the home folder, as JSON.
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "Cli.h"
#include "app/AppInfo.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigKeys.h"
#include "settings/SystemSettings.h"

namespace vesk::cli {
namespace {

using nlohmann::ordered_json;

class StderrSink : public IMessageSink {
 public:
  MessageAnswer Show(const Message& m) override {
    std::fprintf(stderr, "vesk-cli: %s\n",
                 m.text.empty() ? "(message without text)" : m.text.c_str());
    ++count;
    return MessageAnswer::Ok;
  }
  int count = 0;
};

ordered_json ReportSetJson(const ReportSettings& r) {
  ordered_json set;
  set["title"] = r.title;
  ordered_json pages = ordered_json::object();
  for (size_t i = 0; i < kReportPageKeys.size(); ++i)
    pages[std::string(kReportPageKeys[i])] = r.pages[i];
  set["pages"] = pages;
  set["spo2Page"] = r.spo2Page;
  set["aasi"] = r.aasi;
  set["smoothIndex"] = r.smoothIndex;
  set["morningSurge"] = r.morningSurge;
  return set;
}

ordered_json ConfigJson(const CConfigFile& c) {
  ordered_json out;
  out["home"] = GetProgramDir();
  out["share"] = GetShareDir();
  out["configFile"] = c.configPath;
  out["language"] = c.languageName;
  out["currentUser"] = c.currentConfigName;
  out["users"] = c.configNames;

  ordered_json settings;
  settings[std::string(kUseDefaultPathKey)] = c.settings.useDefaultPath;
  settings[std::string(kPatientFilePathKey)] = c.settings.patientFilePath;
  for (const ConfigKey& k : UserConfigKeys()) {
    if (k.intField)
      settings[std::string(k.name)] = c.settings.*k.intField;
    else
      settings[std::string(k.name)] = c.settings.*k.textField;
  }
  out["settings"] = settings;

  ordered_json report;
  report["file"] = c.reportFile;
  report["current"] = c.currentReportName;
  report["names"] = c.reportNames;
  report["currentSet"] =
      c.currentReportName.empty() ? ordered_json(nullptr) : ReportSetJson(c.report);
  out["reportSets"] = report;

  ordered_json system;
  system["ISUSEOTHEREXE"] = c.system.useOtherExe;
  system["OTHEREXE"] = c.system.otherExe;
  system["ISUSEOTHEREXEPDF"] = c.system.useOtherExePdf;
  system["OTHEREXEPDF"] = c.system.otherExePdf;
  out["system"] = system;
  return out;
}

int ConfigCommand(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0] != "show") {
    std::fprintf(stderr, "usage: vesk-cli [--home DIR] config show\n");
    return 2;
  }
  CLanguage language;
  StderrSink sink;
  CConfigFile config(language, sink, g_EditionCode);
  if (config.Load() != 1) return 1;
  config.LoadReportSettings();
  config.system = LoadSystemSettings(config.configPath);
  // Strings from the files need not be valid UTF-8; show them rather than fail.
  std::cout << ConfigJson(config).dump(2, ' ', false, ordered_json::error_handler_t::replace)
            << "\n";
  return sink.count == 0 ? 0 : 1;
}

const Registrar registrar(
    "config", ConfigCommand,
    "  config show                       the current user, users, report sets and every "
    "setting, as JSON");

}  // namespace
}  // namespace vesk::cli
