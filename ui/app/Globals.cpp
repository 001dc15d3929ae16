#include "app/Globals.h"

#include "app/Texts.h"

namespace vesk {

CLanguage g_Language;
CConfigFile* g_Config = nullptr;

CaseFlags CurrentCaseFlags() {
  if (!g_Config) return {};
  return {g_Config->caseState.caseOpen != 0, g_Config->caseState.caseHasSpO2 != 0};
}

QString Tx(std::string_view section, std::string_view key) {
  return QString::fromStdString(g_Language.GetText(section, key));
}

std::string TxS(std::string_view section, std::string_view key) {
  return g_Language.GetText(section, key);
}

}  // namespace vesk
