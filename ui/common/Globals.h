#pragma once
// The two process-wide objects of the program. Only the application layer owns them; the main
// window and the main view read them and hand them on by reference, to the dialogs as to core
// code.

#include "language/Language.h"
#include "settings/ConfigFile.h"

namespace vesk {

extern CLanguage g_Language;
// Created by CZavApp::InitInstance, deleted by CZavApp::ExitInstance.
extern CConfigFile* g_Config;

// The state of the opened case that the enabling rules read.
struct CaseFlags {
  bool caseOpen = false;
  bool hasSpO2 = false;
};
CaseFlags CurrentCaseFlags();

}  // namespace vesk
