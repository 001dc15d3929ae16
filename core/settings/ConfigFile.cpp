#include "settings/ConfigFile.h"

#include <algorithm>

#include "platform/ProgramDir.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"
#include "settings/SystemSettings.h"

namespace vesk {

namespace {

constexpr const char* kCurrentConfigKey = "Current Config";
constexpr const char* kLanguageKey = "Language";
constexpr const char* kCountKey = "Count";
constexpr const char* kGlobalSection = "Global Setting";

std::string TrimBlanks(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::string DefaultCaseFolder() {
  return ProgramPath("\\data");
}

// A list stored as keys "1".."Count" (or "RP1".."RPcount"). A damaged count can be anything;
// no more entries are read than the section has keys, so a huge count cannot stall start-up.
int32_t BoundedCount(CIniFile& ini, std::string_view section, std::string_view countKey) {
  const int32_t count = ini.ReadInt(section, countKey, 0);
  if (count <= 0) return 0;
  return static_cast<int32_t>(std::min<size_t>(size_t(count), ini.KeyNames(section).size()));
}

}  // namespace

std::string DefaultLanguageName(int editionCode) {
  return editionCode == 1 ? "Chinese" : "English";
}

std::string UserSectionName(const std::string& userName) {
  return "Config " + userName;
}

std::string ReportFilePath(const std::string& userName) {
  std::string name = userName;
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  return ProgramPath("\\Report_" + name + ".ini");
}

CConfigFile::CConfigFile(CLanguage& language, IMessageSink& sink, int editionCode)
    : settings(DefaultUserSettings()),
      report(DefaultReportSettings()),
      language_(language),
      sink_(sink),
      editionCode_(editionCode) {
  programDir = GetProgramDir();
  settings.patientFilePath = DefaultCaseFolder();
  SyncCaseThresholds();
}

CConfigFile::~CConfigFile() = default;

std::string& CConfigFile::EnsureConfigPath() {
  if (configPath.empty()) configPath = ProgramPath("\\MreConfig.ini");
  return configPath;
}

void CConfigFile::ShowFault(const char* key) {
  Message m;
  m.text = language_.GetText(kGlobalSection, key);
  m.icon = MessageIcon::Error;
  sink_.Show(m);
}

void CConfigFile::ShowFixed(const char* text) {
  Message m;
  m.text = text;
  m.icon = MessageIcon::Error;
  sink_.Show(m);
}

int CConfigFile::Load() {
  reportNames.clear();
  configNames.clear();
  try {
    programDir = GetProgramDir();
    CIniFile ini(EnsureConfigPath(), false);

    languageName =
        ini.ReadString(kPreviousConfigSection, kLanguageKey, DefaultLanguageName(editionCode_));
    language_.SetLanguage(languageName);

    currentConfigName = ini.ReadString(kPreviousConfigSection, kCurrentConfigKey, kDefaultUserName);
    const std::string section = UserSectionName(currentConfigName);

    settings.useDefaultPath = ini.ReadInt(section, kUseDefaultPathKey, 1);
    if (settings.useDefaultPath == 1)
      settings.patientFilePath = DefaultCaseFolder();
    else
      settings.patientFilePath = ini.ReadString(section, kPatientFilePathKey, DefaultCaseFolder());

    for (const ConfigKey& k : UserConfigKeys()) {
      if (k.intField)
        settings.*k.intField = ini.ReadInt(section, k.name, k.loadDefault);
      else
        settings.*k.textField = ini.ReadString(section, k.name, "");
    }

    const int32_t count = BoundedCount(ini, kConfigNameListSection, kCountKey);
    for (int32_t i = 1; i <= count; ++i)
      configNames.push_back(ini.ReadString(kConfigNameListSection, std::to_string(i), ""));
  } catch (...) {
    SyncCaseThresholds();
    ShowFault("IDS_HOLD_FAULT");
    return 0;
  }
  SyncCaseThresholds();
  return 1;
}

void CConfigFile::SyncCaseThresholds() {
  caseState.awakeSysThresh = settings.awakeSysThresh;
  caseState.awakeDiaThresh = settings.awakeDiaThresh;
  caseState.asleepSysThresh = settings.asleepSysThresh;
  caseState.asleepDiaThresh = settings.asleepDiaThresh;
}

int CConfigFile::Save() {
  try {
    programDir = GetProgramDir();
    CIniFile ini(EnsureConfigPath(), false);
    // Everything below reaches the disk in one atomic replacement of the file, or not at all.
    ini.BeginBatch();
    int ok = ini.WriteString(kPreviousConfigSection, kCurrentConfigKey, currentConfigName);

    const std::string section = UserSectionName(currentConfigName);
    ok &= ini.WriteString(section, kPatientFilePathKey, settings.patientFilePath);
    ok &= ini.WriteInt(section, kUseDefaultPathKey, settings.useDefaultPath);
    auto write = [&](const ConfigKey& k) {
      if (k.intField)
        ok &= ini.WriteInt(section, k.name, settings.*k.intField);
      else
        ok &= ini.WriteString(section, k.name, settings.*k.textField);
    };
    for (const ConfigKey& k : UserConfigKeys())
      if (!k.savedLast) write(k);
    for (const ConfigKey& k : UserConfigKeys())
      if (k.savedLast) write(k);

    // The language the report program was last told of is the one in force.
    languageName = ReadCnfStartLanguage();
    ok &= ini.WriteString(kPreviousConfigSection, kLanguageKey, languageName);

    const int32_t count = static_cast<int32_t>(configNames.size());
    ok &= ini.WriteInt(kConfigNameListSection, kCountKey, count);
    for (int32_t i = count; i >= 1; --i)
      ok &= ini.WriteString(kConfigNameListSection, std::to_string(i), configNames[size_t(i - 1)]);

    if (!ini.CommitBatch() || !ok) {
      ShowFault("IDS_SAVE_FAULT");
      return 0;
    }
  } catch (...) {
    ShowFault("IDS_SAVE_FAULT");
    return 0;
  }
  return 1;
}

void CConfigFile::ResetToDefaults() {
  ApplyFactoryValues(settings);
  settings.patientFilePath = DefaultCaseFolder();
  settings.useDefaultPath = 1;
  report = DefaultReportSettings();
  SyncCaseThresholds();
}

int CConfigFile::SelectConfig(const std::string& typed) {
  const std::string name = TrimBlanks(typed);
  if (name.empty()) return -1;
  const bool listed = std::find(configNames.begin(), configNames.end(), name) != configNames.end();
  if (name == currentConfigName) {
    // The default user of a fresh file is current without being listed; once chosen it
    // belongs in the list like every other user.
    if (!listed) configNames.push_back(name);
    return 1;
  }
  if (listed) {
    try {
      CIniFile ini(EnsureConfigPath(), false);
      ini.WriteString(kPreviousConfigSection, kCurrentConfigKey, name);
    } catch (...) {
      ShowFault("IDS_HOLD_FAULT");
    }
    Load();
    return 1;
  }
  configNames.push_back(name);
  currentConfigName = name;
  reportNames.clear();
  // The previous user's current set means nothing in the new user's report file.
  currentReportName.clear();
  ResetToDefaults();
  reportFile = ReportFilePath(name);
  return 0;
}

int CConfigFile::DeleteConfigSection(const std::string& name) {
  const auto rit = std::find(configNames.rbegin(), configNames.rend(), name);
  if (rit == configNames.rend()) return 0;
  try {
    const size_t pos = size_t(std::distance(configNames.begin(), rit.base()) - 1);
    configNames.erase(configNames.begin() + std::ptrdiff_t(pos));

    CIniFile ini(EnsureConfigPath(), false);
    ini.BeginBatch();
    if (configNames.empty()) {
      ini.DeleteSection(kConfigNameListSection);
      ini.DeleteSection(UserSectionName(name));
      ini.DeleteKey(kPreviousConfigSection, kCurrentConfigKey);
      currentConfigName.clear();
      reportFile.clear();
    } else {
      const size_t count = configNames.size();
      for (size_t i = pos; i < count; ++i)
        ini.WriteString(kConfigNameListSection, std::to_string(i + 1), configNames[i]);
      ini.WriteInt(kConfigNameListSection, kCountKey, int32_t(count));
      ini.DeleteSection(UserSectionName(name));
      ini.DeleteKey(kConfigNameListSection, std::to_string(count + 1));
      // Written again by the next Save.
      ini.DeleteKey(kPreviousConfigSection, kCurrentConfigKey);
    }
    if (!ini.CommitBatch()) {
      ShowFixed("Error in DeleteConfigSection!");
      return 0;
    }
  } catch (...) {
    ShowFixed("Error in DeleteConfigSection!");
    return 0;
  }
  return 1;
}

}  // namespace vesk
