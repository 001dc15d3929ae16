#pragma once
// Section "SYSTEM" of MreConfig.ini (the external patient-information and PDF programs) and
// the key "Language" of Cnf.start, the hand-over file of the report program.

#include <string>

#include "settings/ConfigTypes.h"

namespace vesk {

// Reads section "SYSTEM" of the given INI file; missing keys give 0 and empty texts.
SystemSettings LoadSystemSettings(const std::string& iniPath);
// Writes the four keys in one replacement of the file. False when it could not be written.
bool SaveSystemSettings(const std::string& iniPath, const SystemSettings& values);

// Makes the configured narrow code page the one every conversion uses. An unknown name keeps
// the previous one and returns false.
[[nodiscard]] bool ApplyCodePage(const SystemSettings& values);

// The printer settings the report program reads from section "START" of Cnf.start.
struct PrintSetup {
  int32_t paperSize = 10;   // the printer driver's paper number
  int32_t orientation = 1;  // 1 portrait, 2 landscape
  std::string deviceName;   // empty: the default printer
  bool operator==(const PrintSetup&) const = default;
};
PrintSetup ReadPrintSetup();
// Writes the three keys in one replacement of Cnf.start. False when it could not be written.
[[nodiscard]] bool WritePrintSetup(const PrintSetup& values);

// Program folder + "\Cnf.start".
std::string CnfStartPath();
// Writes "Language" of section "START" of Cnf.start (created when missing): at start-up and
// after every change of the language. False when it could not be written.
bool WriteCnfStartLanguage(const std::string& language);
// "Language" of "START", default "English".
std::string ReadCnfStartLanguage();

}  // namespace vesk
