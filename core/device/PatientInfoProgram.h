#pragma once
// The external patient-information program around a download: when the configuration turns it
// on (SYSTEM ISUSEOTHEREXE, program OTHEREXE), it runs before the recorder is contacted and
// leaves CaseInfo.xml in the program folder; after a successful download that file fills the
// patient information of the stored case.

#include <cstdint>
#include <string>

#include "cases/CaseInfoXml.h"
#include "settings/ConfigTypes.h"

namespace vesk {

// Runs the program and returns when it has ended. The window implements it with RunOtherExe
// (main window hidden, path errors reported); tools use ProcessPatientInfoProgram; tests
// substitute their own.
class IPatientInfoProgram {
 public:
  virtual ~IPatientInfoProgram() = default;
  // First argument the case-information file, second argument empty. False when the program
  // could not be run.
  virtual bool Run(const std::string& program, const std::string& caseInfoPath) = 0;
};

// Starts the program directly and waits for it.
class ProcessPatientInfoProgram : public IPatientInfoProgram {
 public:
  bool Run(const std::string& program, const std::string& caseInfoPath) override;
};

// Program folder + "\CaseInfo.xml".
std::string CaseInfoXmlPath();

// Before a download: runs the program when the switch is on. True when it was not wanted or
// ran; false when it was wanted and could not be run (the download may still go on).
bool RunPatientInfoProgram(const SystemSettings& system, IPatientInfoProgram& program);

struct CaseInfoApplied {
  bool wanted = false;     // the switch was on and a case was stored
  CaseInfoXmlResult xml;   // what reading the file gave
  int32_t saveResult = 0;  // the library's result of writing the patient information
  bool ok() const { return !wanted || (xml.loaded && saveResult == 1); }
};

// After a successful download: the stored case's own patient information, overlaid with the
// values of the case-information file, is written back into that case. Nothing is written
// when the switch is off, no case was stored, or the file is missing or not XML. Starting from
// the stored case (not from whatever patient the window shows) keeps another patient's
// details out of the new case.
CaseInfoApplied ApplyCaseInfoToStoredCase(const SystemSettings& system,
                                          const std::string& storedCasePath,
                                          const std::string& caseInfoPath);

}  // namespace vesk
