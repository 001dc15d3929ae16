#pragma once
// The rules that turn the choices of the plan dialogs into a measurement plan, as plain
// functions: the dialogs call them and the tests check them without a window.

#include <cstdint>
#include <string>
#include <string_view>

#include "cases/CaseRecord.h"
#include "platform/DateTime.h"

namespace vesk::plan {

// Interval list: index 0 "none" (-2), then 5, 10, 15, 20, 30, 45, 60, 90, 120 minutes.
constexpr int kIntervalCount = 10;
constexpr int kIntervalMinutes[kIntervalCount] = {-2, 5, 10, 15, 20, 30, 45, 60, 90, 120};
// -2 for index 0, the table value for 1-9, -1 above 9 (and for no selection, below 0).
int IntervalFromIndex(int index);
// The list index of a minute value; values not in the list map back to 0.
int IndexFromInterval(int minutes);

struct HourMinute {
  int hour = 0;
  int minute = 0;
  bool operator==(const HourMinute&) const = default;
};
constexpr int kTimeSlots = 48;  // 00:00 to 23:30
// Period-time lists: index i is i × 30 minutes after midnight.
HourMinute TimeFromIndex(int index);
int IndexFromTime(int hour, int minute);
// Special start and end lists have "none" first: index i ≥ 1 is (i − 1) × 30 minutes.
HourMinute SpecialTimeFromIndex(int index);
// 0 ("none") for an unset time (-1 or 255 in a field).
int SpecialIndexFromTime(int hour, int minute);

// Awake and asleep starts and intervals from the list indexes.
void ApplyPeriods(int awakeTime, int awakeSpan, int asleepTime, int asleepSpan,
                  _BP_TRANSPORT_INFO& plan);
// With any of the three at index 0 the special period is off: four -1 fields, interval 0.
void ApplySpecialPeriod(int start, int end, int span, _BP_TRANSPORT_INFO& plan);
// The special interval list offers only "none" when the end is "none" or equals the start.
bool SpecialIntervalSelectable(int start, int end);

// The dialog families that set the start-key and manual-set flags differently.
enum class PlanFamily {
  Talo,        // keeps the recorder's flags
  Miru,        // start key from the list, manual set 0
  MiruSimple,  // monitoring plan: name, ID and clock only; flags keep their defaults
  PexaC,       // start key from the list, manual set 1 when the list is NOT at its first entry
  Pexa,        // 1 at the first entry, else 0xFF, for both
};
void ApplyFlags(PlanFamily family, int startKeyIndex, int manualSetIndex, _BP_TRANSPORT_INFO& plan);

// PEXA measurement modes: spin ranges and the values proposed when a mode is chosen.
struct Range {
  int low = 0;
  int high = 0;
  bool operator==(const Range&) const = default;
};
struct PexaModeLimits {
  Range sys, dia, map, maxPressure;
  int sysHigh, sysLow, diaHigh, diaLow, mapHigh, mapLow;
  int maxPressureValue;
};
// Mode 0 adult (also any unknown mode), 1 child, 2 neonate.
PexaModeLimits PexaLimitsForMode(int mode);

struct WarningGroup {
  bool on = false;
  int sysHigh = 0, sysLow = 0, diaHigh = 0, diaLow = 0, mapHigh = 0, mapLow = 0;
};
// Maximum pressure, measurement mode and both warning groups of a PEXA plan.
void ApplyPexaSettings(int measureMode, int maxPressure, const WarningGroup& awake,
                       const WarningGroup& asleep, _BP_TRANSPORT_INFO& plan);

// Name and ID limits, in narrow bytes.
constexpr size_t kNameBytes = 30;
constexpr size_t kIdBytes = 11;
// While typing: a name of more than 14 characters (an ID of more than 5) whose byte count (1
// per character below 255, else 2) exceeds the limit is cut to its longest leading part that
// fits; a field never holds more than 30 (11) characters.
std::string LimitTypedName(std::string_view utf8);
std::string LimitTypedId(std::string_view utf8);
// Leading and trailing blanks (spaces, tabs, line breaks) removed.
std::string TrimBlanks(std::string_view utf8);
// Stores the text in the narrow code page, at most 30 (11) bytes, never half a character, the
// rest of the field zero-filled.
void SetPlanName(_BP_TRANSPORT_INFO& plan, std::string_view utf8);
void SetPlanId(_BP_TRANSPORT_INFO& plan, std::string_view utf8);

// The ten-digit PatientID proposed before an upload: yy mm dd hh mm of the local time.
std::string PatientIdStamp(const DateParts& now);

// The plan date and time fields from a clock reading.
void SetPlanClock(_BP_TRANSPORT_INFO& plan, const DateParts& now);

// A recorder whose plan has every start time at 0:00 gets 07:00 and 22:00 proposed.
void FixAllZeroStartTimes(_BP_TRANSPORT_INFO& plan);

}  // namespace vesk::plan
