#include "settings/SystemSettings.h"

#include "platform/CodePage.h"
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
  s.codePage = ini.ReadString(kSystemSection, "CODEPAGE", "GBK");
  if (s.codePage.empty()) s.codePage = "GBK";
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
  ok &= ini.WriteString(kSystemSection, "CODEPAGE", s.codePage);
  return ini.CommitBatch() == 1 && ok == 1;
}

bool ApplyCodePage(const SystemSettings& values) {
  return codepage::SetAnsiCodePage(values.codePage);
}

PrintSetup ReadPrintSetup() {
  CIniFile ini(CnfStartPath(), false);
  PrintSetup p;
  p.paperSize = ini.ReadInt(kStartSection, "PaperSize", 10);
  p.orientation = ini.ReadInt(kStartSection, "Orientation", 1);
  p.deviceName = ini.ReadString(kStartSection, "DeviceName", "");
  return p;
}

bool WritePrintSetup(const PrintSetup& p) {
  try {
    CIniFile ini(CnfStartPath(), false);
    ini.BeginBatch();
    int ok = ini.WriteInt(kStartSection, "PaperSize", p.paperSize);
    ok &= ini.WriteInt(kStartSection, "Orientation", p.orientation);
    ok &= ini.WriteString(kStartSection, "DeviceName", p.deviceName);
    return ini.CommitBatch() == 1 && ok == 1;
  } catch (const std::exception&) {
    return false;
  }
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
