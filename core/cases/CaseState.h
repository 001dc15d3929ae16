#pragma once
// The application-wide state of the open case that commands and views depend on. The settings
// object owns one; the case document keeps it up to date while it loads and edits a case.
// Nothing here is stored in a file.

#include <cstdint>

namespace vesk {

struct CaseState {
  int32_t caseOpen = 0;        // 1: a case is shown
  int32_t caseHasSpO2 = 0;     // 1: the open case carries an SpO2 series
  int32_t deviceType = -1;     // model code of the open case's recorder (1-6), -1: none
  int32_t protocolNumber = 0;  // protocol number of the open case (read by the plan view)
  int32_t scheduled = 0;       // 1: ambulatory recording (data mode 1 or 2)
  int32_t periodMode = 0;      // period mode of the case's plan
  // Minutes of the day (hour * 60 + minute) of the open case's awake and asleep periods.
  int32_t awakeStartMinutes = 7 * 60;
  int32_t asleepStartMinutes = 22 * 60;
  // The configuration's thresholds, mmHg; the settings object keeps them current.
  int32_t awakeSysThresh = 135;
  int32_t awakeDiaThresh = 85;
  int32_t asleepSysThresh = 120;
  int32_t asleepDiaThresh = 70;
  bool operator==(const CaseState&) const = default;
};

}  // namespace vesk
