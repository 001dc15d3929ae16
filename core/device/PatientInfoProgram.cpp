#include "device/PatientInfoProgram.h"

#include "cases/Filemanage.h"
#include "platform/Process.h"
#include "platform/ProgramDir.h"

namespace vesk {

bool ProcessPatientInfoProgram::Run(const std::string& program, const std::string& caseInfoPath) {
  return RunAndWait(program, {caseInfoPath, ""}).started;
}

std::string CaseInfoXmlPath() {
  return ProgramPath("\\CaseInfo.xml");
}

bool RunPatientInfoProgram(const SystemSettings& system, IPatientInfoProgram& program) {
  if (system.useOtherExe == 0) return true;
  return program.Run(system.otherExe, CaseInfoXmlPath());
}

CaseInfoApplied ApplyCaseInfoToStoredCase(const SystemSettings& system,
                                          const std::string& storedCasePath,
                                          const std::string& caseInfoPath) {
  CaseInfoApplied out;
  if (system.useOtherExe == 0 || storedCasePath.empty()) return out;
  out.wanted = true;
  _PATIENT_INFO patient;
  out.saveResult = LoadPatientInfoOfFile(storedCasePath, patient);
  if (CaseFileResultOf(out.saveResult) != CaseFileResult::Ok) return out;
  out.xml = ApplyCaseInfoXml(caseInfoPath, patient);
  out.saveResult = 0;
  if (!out.xml.loaded) return out;
  out.saveResult = SavePatientInfoOfFile(storedCasePath, patient);
  return out;
}

}  // namespace vesk
