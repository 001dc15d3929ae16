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

// Program folder + "\Cnf.start".
std::string CnfStartPath();
// Writes "Language" of section "START" of Cnf.start (created when missing): at start-up and
// after every change of the language. False when it could not be written.
bool WriteCnfStartLanguage(const std::string& language);
// "Language" of "START", default "English".
std::string ReadCnfStartLanguage();

}  // namespace vesk
