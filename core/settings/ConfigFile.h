#pragma once
// The configuration object: every setting of MreConfig.ini for the current user, the list of
// users, the current user's report configuration and the state of the opened case. The
// program keeps one, loads it at start-up and writes it back at exit; everything in between
// reads and changes the public fields directly.
//
// File layout of MreConfig.ini:
//   [Previous Config]   Language, Current Config
//   [Config Name List]  Count, 1 .. Count (user names in list order)
//   [Config <user>]     the keys of ConfigKeys.h, one section per user
//   [SYSTEM]            the external programs (SystemSettings.h)
// Report sets live in "Report_<user>.ini" beside it (ReportSettings.cpp).

#include <string>
#include <vector>

#include "cases/CaseState.h"
#include "language/Language.h"
#include "platform/MessageSink.h"
#include "settings/ConfigTypes.h"

namespace vesk {

inline constexpr const char* kPreviousConfigSection = "Previous Config";
inline constexpr const char* kConfigNameListSection = "Config Name List";
inline constexpr const char* kDefaultUserName = "family";

// "Chinese" for edition 1, "English" for every other edition.
std::string DefaultLanguageName(int editionCode);
// The name of a user's settings section: "Config " + name.
std::string UserSectionName(const std::string& userName);
// Program folder + "\Report_<user>.ini". Path separators in the name become '_' so that a
// user name can never point outside the program folder.
std::string ReportFilePath(const std::string& userName);

class CConfigFile {
 public:
  // The edition code chooses the default language (see DefaultLanguageName).
  CConfigFile(CLanguage& language, IMessageSink& sink, int editionCode = 2);
  virtual ~CConfigFile();
  CConfigFile(const CConfigFile&) = delete;
  CConfigFile& operator=(const CConfigFile&) = delete;

  // Reads MreConfig.ini (created empty when missing) and hands the stored language name to
  // the language tables. 1 on success; 0 after a failure, which the sink was told of
  // ("IDS_HOLD_FAULT"); the values read before it stay.
  virtual int Load();
  // Writes the current user's section, the user list and the language name in one atomic
  // replacement of MreConfig.ini; other users' sections stay as the file holds them.
  // 1 on success; 0 after telling the sink ("IDS_SAVE_FAULT"), the old file untouched.
  virtual int Save();
  // The factory values for the current user (fields marked kept stay), the default case
  // folder, an empty report title and the default page choice.
  virtual void ResetToDefaults();
  // Makes a user current: 1 for a user of the list (reloaded from the file), 0 for a new one
  // (factory values; its section is written by the next Save), -1 when the name is empty.
  // Blanks around the name are dropped.
  virtual int SelectConfig(const std::string& name);

  // Report sets of the current user (Report_<user>.ini). The operations write at once.
  // Loads one set into `report` (an absent set reads with the one-set defaults). 1, or 0
  // after "Error in LoadReportSection!".
  virtual int LoadReportSection(const std::string& name);
  // Writes `report` as the named set. 1, or 0 when the file could not be written.
  [[nodiscard]] virtual int SaveReportSection(const std::string& name);
  // Removes a set from the list, keeping the "RP<n>" keys consecutive: 1, or 0 when the name
  // is not a set (or after "Error in DeleteReportSection!").
  [[nodiscard]] virtual int DeleteReportSection(const std::string& name);
  // Appends a set name to the list (a name already listed is left as it is): 1, or 0 for an
  // empty name or after "Error in AddReportSection!".
  [[nodiscard]] virtual int AddReportSection(const std::string& name);
  // Removes a user from MreConfig.ini: 1, or 0 when the name is not a user (or after
  // "Error in DeleteConfigSection!").
  [[nodiscard]] virtual int DeleteConfigSection(const std::string& name);
  // Loads the list of sets and the current set of the current user: 1 when a current set
  // exists, 0 otherwise (title and flags then stay as they were).
  virtual int LoadReportSettings();
  // Writes the current set and the list. 1, or 0 when the file could not be written.
  [[nodiscard]] virtual int SaveReportSettings();
  // Makes the named set current, in the file and in memory: 1, or 0 after
  // "Error in SetCurReportSettings!".
  [[nodiscard]] virtual int SetCurReportSettings(const std::string& name);

  // One set read from the current user's report file without touching `report`;
  // hourlyDefault is the value "Hourly Summary Page" takes when missing.
  ReportSettings ReadReportSet(const std::string& name, int32_t hourlyDefault) const;
  // Writes the given values as the named set (the set editor uses this for a set that is not
  // the current one). False when the file could not be written.
  [[nodiscard]] bool WriteReportSet(const std::string& name, const ReportSettings& set);

  CLanguage& language() { return language_; }
  IMessageSink& sink() { return sink_; }
  int editionCode() const { return editionCode_; }

  // Files.
  std::string programDir;    // refreshed by every Load and Save
  std::string configPath;    // MreConfig.ini, computed at the first Load or Save
  std::string languageName;  // "Language" of "Previous Config" as last loaded

  // Users.
  std::string currentConfigName = kDefaultUserName;
  std::vector<std::string> configNames;
  UserSettings settings;  // the current user's section

  // Report configuration of the current user.
  std::string reportFile;
  std::string currentReportName;
  ReportSettings report;
  std::vector<std::string> reportNames;

  // The opened case's state; its copy of the four thresholds follows `settings` after every
  // Load, SelectConfig and ResetToDefaults. Code that changes the thresholds otherwise (the
  // standard-values page) calls SyncCaseThresholds.
  CaseState caseState;
  void SyncCaseThresholds();
  SystemSettings system;
  std::array<Rgb, 5> colours = kColourTable;

 private:
  void ShowFault(const char* key);
  void ShowFixed(const char* text);
  std::string& EnsureConfigPath();

  CLanguage& language_;
  IMessageSink& sink_;
  int editionCode_;
};

}  // namespace vesk
