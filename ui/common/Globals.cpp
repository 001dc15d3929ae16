#include "common/Globals.h"

namespace vesk {

CLanguage g_Language;
CConfigFile* g_Config = nullptr;

CaseFlags CurrentCaseFlags() {
  if (!g_Config) return {};
  return {g_Config->caseState.caseOpen != 0, g_Config->caseState.caseHasSpO2 != 0};
}

}  // namespace vesk
