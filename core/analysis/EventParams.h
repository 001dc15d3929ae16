#pragma once
// The two event parameter sets as the configuration keeps them, and the SpO2 parameter
// dialog's confirm: five values from the user, the rest set to fixed values.

#include <cstdint>

#include "analysis/EventDetector.h"
#include "settings/ConfigTypes.h"

namespace vesk {

class CConfigFile;
class CaseDocument;
struct CaseAnalysis;

EventParams SpO2ParamsFrom(const UserSettings& s);
EventParams PulseRateParamsFrom(const UserSettings& s);

// The five values the parameter dialog shows and returns, in its order.
struct EventDialogValues {
  int32_t spo2LeastChange = 2;  // "SpO2Desaturation"
  int32_t spo2MinTime = 2;      // "SpO2MinTime"
  int32_t spo2Criterion = 88;   // "SpO2CriterialLevel"
  int32_t prLeastChange = 10;   // "PRDesaturation"
  int32_t prMinTime = 10;       // "PRMinTime"
  bool operator==(const EventDialogValues&) const = default;
};

EventDialogValues DialogValuesFrom(const UserSettings& s);

// Stores the five values and resets the other fields of both sets: longest duration 255,
// valid values 20..100 (SpO2) and 20..220 (pulse rate), rate limit 8, no swing merging.
void ApplyDialogValues(UserSettings& s, const EventDialogValues& v);

// The dialog's OK: ApplyDialogValues, both detectors run again over the case's samples, and
// the configuration saved at once. Returns the result of the save (1, or 0 after the
// configuration told its sink).
int ConfirmEventParams(CConfigFile& config, const EventDialogValues& values,
                       const CaseDocument& doc, CaseAnalysis& out);

}  // namespace vesk
