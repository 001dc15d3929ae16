#pragma once
// A measurement plan from choices given as values instead of dialog controls: the command-line
// upload uses it, and it applies the same rules as the plan dialogs of each recorder family
// (list indexes, special period, start-key and manual-set flags, PEXA limits).

#include <optional>
#include <string>

#include "cases/CaseRecord.h"
#include "device/DeviceTypes.h"
#include "device/PlanRules.h"
#include "platform/DateTime.h"

namespace vesk {

struct UploadPlanOptions {
  std::string name;  // UTF-8; blanks around it are dropped; must not be empty
  std::string id;
  DateParts clock;  // the recorder's new clock
  // List indexes as the plan dialogs use them (see PlanRules.h).
  int awakeTime = 14, awakeSpan = 1, asleepTime = 44, asleepSpan = 5;
  int specialStart = 0, specialEnd = 0, specialSpan = 0;
  int startKey = 0;   // 0 "on", 1 "off"
  int manualSet = 0;  // list index of the manual-set list
  // TALO recorders: intervals in minutes, chosen from the lists the recorder accepts; nullopt
  // keeps the recorder's current interval (or its first one when that is not in the list).
  std::optional<int> taloAwakeInterval, taloAsleepInterval;
  // PEXA: measurement mode, maximum pressure (nullopt: the mode's proposal) and warning
  // groups (nullopt: off with the mode's proposed limits).
  int measureMode = 0;
  std::optional<int> maxPressure;
  std::optional<plan::WarningGroup> awakeWarn, asleepWarn;
};

struct UploadPlanResult {
  bool ok = false;
  std::string error;  // English, for the command line; empty when ok
  _BP_TRANSPORT_INFO plan;
};

// The plan for a recorder of the kind, programmed in the mode (MIRU: 1 recording, 2
// monitoring; others 1). `recorder` is what ReadRecorderPlan gave: the TALO plan starts from it.
// A QORA takes no plan.
UploadPlanResult BuildUploadPlan(int deviceKind, int mode, const UploadPlanOptions& options,
                                 const _UPLOAD_NEEDED_DATA& recorder);

}  // namespace vesk
