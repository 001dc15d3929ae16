#pragma once
// The opened case as the main view sees it: the program's case document with its reading
// lists and the analysis records of the opening pipeline. Kept behind this small interface so
// the view depends on the case and analysis code in one place only.

#include <cstdint>
#include <memory>
#include <string>

#include "analysis/CaseAnalysis.h"

namespace vesk {

class CaseDocument;
class DeviceCaseDocument;
class CLanguage;
struct CaseState;

struct OpenedCaseInfo {
  bool open = false;
  bool hasSpO2 = false;
  int32_t deviceType = -1;
  int32_t protocol = 0;
  int32_t scheduled = 0;
  int32_t awakeStart = 7 * 60;
  int32_t asleepStart = 22 * 60;
  bool multiDay = false;
  std::string path;
  std::string name;
  std::string caseId;
  int32_t age = 0;
  int32_t readingCount = 0;
  int32_t analysedCount = 0;
};

class CaseSession {
 public:
  explicit CaseSession(const CLanguage& language);
  ~CaseSession();
  CaseSession(const CaseSession&) = delete;
  CaseSession& operator=(const CaseSession&) = delete;

  // Loads the case and runs the opening analysis (reading lists, day/night split,
  // statistics, distribution and range shares with the starting bounds, correlation, and the
  // SpO2 and pulse events). Returns the load result: 1, 4 locked, 13 no data, or the
  // library's code; on failure the previously opened case stays open.
  int32_t Open(const std::string& path, const Thresholds& thresholds,
               const EventParams& spo2Params = {}, const EventParams& prParams = {});
  void Close();
  // The analysis again for the chosen period and bounds (after a click on the trend chart, a
  // period or bound change). Does nothing without an opened case.
  void Reanalyse(const AnalysisView& view);
  // New awake and asleep starts for the open case only (the file keeps its own), then the
  // analysis again. Returns 0 and changes nothing without a case or for a minute outside
  // 0..1439.
  int ChangeSleepPeriods(int awakeStart, int asleepStart, const AnalysisView& view);
  // Other thresholds for the open case, then the analysis again. False when nothing changed
  // (no case, or the same thresholds).
  bool ChangeThresholds(const Thresholds& thresholds, const AnalysisView& view);

  const OpenedCaseInfo& Info() const { return info_; }
  CaseDocument& Document();
  // The same document with its device half: the recorder link, kept across case opens.
  DeviceCaseDocument& Device();
  CaseAnalysis& Analysis();
  // The state the charts read the thresholds and periods from.
  const CaseState& State() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  OpenedCaseInfo info_;
};

}  // namespace vesk
