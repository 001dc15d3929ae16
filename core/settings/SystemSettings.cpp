#include "settings/SystemSettings.h"

#include "platform/ProgramDir.h"
#include "settings/IniFile.h"

namespace vesk {

namespace {
constexpr const char* kSystemSection = "SYSTEM";
constexpr const char* kStartSection = "START";
}  // namespace

SystemSettings LoadSystemSettings(const std::string& iniPath) {
  SystemSettings s;
  if (iniPath.empty()) return s;
  CIniFile ini(iniPath, false);
  s.useOtherExe = ini.ReadInt(kSystemSection, "ISUSEOTHEREXE", 0);
  s.otherExe = ini.ReadString(kSystemSection, "OTHEREXE", "");
  s.useOtherExePdf = ini.ReadInt(kSystemSection, "ISUSEOTHEREXEPDF", 0);
  s.otherExePdf = ini.ReadString(kSystemSection, "OTHEREXEPDF", "");
  s.linkTraceFile = ini.ReadString(kSystemSection, "LINKTRACEFILE", "");
  return s;
}

bool SaveSystemSettings(const std::string& iniPath, const SystemSettings& s) {
  if (iniPath.empty()) return false;
  CIniFile ini(iniPath, false);
  ini.BeginBatch();
  int ok = ini.WriteInt(kSystemSection, "ISUSEOTHEREXE", s.useOtherExe);
  ok &= ini.WriteString(kSystemSection, "OTHEREXE", s.otherExe);
  ok &= ini.WriteInt(kSystemSection, "ISUSEOTHEREXEPDF", s.useOtherExePdf);
  ok &= ini.WriteString(kSystemSection, "OTHEREXEPDF", s.otherExePdf);
  return ini.CommitBatch() == 1 && ok == 1;
}

std::string CnfStartPath() {
  return ProgramPath("\\Cnf.start");
}

bool WriteCnfStartLanguage(const std::string& language) {
  CIniFile ini(CnfStartPath(), false);
  return ini.WriteString(kStartSection, "Language", language) == 1;
}

std::string ReadCnfStartLanguage() {
  CIniFile ini(CnfStartPath(), false);
  return ini.ReadString(kStartSection, "Language", "English");
}

}  // namespace vesk
