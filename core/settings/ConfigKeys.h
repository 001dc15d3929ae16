#pragma once
// The keys of a user's section "Config <name>" of MreConfig.ini, in the order they are read,
// with their defaults. Load, Save, the factory reset and "vesk-cli config show" all walk this
// one table, so a key added here is read, written and shown everywhere.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "settings/ConfigTypes.h"

namespace vesk {

struct ConfigKey {
  std::string_view name;                           // the INI key
  int32_t UserSettings::*intField = nullptr;       // set for integer keys
  std::string UserSettings::*textField = nullptr;  // set for text keys
  int32_t loadDefault = 0;  // when the key is missing from the file (text keys: empty)
  int32_t factory = 0;      // what a new user starts with, unless kept
  bool kept = false;        // a new user takes over the value of the previous user
  bool savedLast = false;   // written after all the others (the range keys)
};

// Every key but "Use Default Path" and "Patient File Path", which are read and written by
// their own rules, in the order of reading.
std::span<const ConfigKey> UserConfigKeys();

inline constexpr std::string_view kUseDefaultPathKey = "Use Default Path";
inline constexpr std::string_view kPatientFilePathKey = "Patient File Path";

// All fields at their defaults on load; the case folder empty (it depends on the program
// folder).
UserSettings DefaultUserSettings();
// Every field that is not kept takes its factory value; the case folder is left alone.
void ApplyFactoryValues(UserSettings& settings);

// The report set keys.
inline constexpr std::array<std::string_view, kReportPageCount> kReportPageKeys{
    "Demographics Page",
    "Statistics Page",
    "BP Summary Page",
    "Colorized Graph Page",
    "Bar Graph Page",
    "BP Histogram Page",
    "BP Pie Page",
    "BP Correlation Page",
    "Frequency Histogram Page",
    "PR/MAP/PP Histogram Page",
    "Data Page",
    "Hourly Summary Page"};
inline constexpr std::array<int32_t, kReportPageCount> kDefaultReportPages{1, 0, 0, 0, 1, 1,
                                                                           1, 0, 0, 0, 1, 0};
inline constexpr int kHourlySummaryPage = 11;
inline constexpr std::string_view kDefaultReportTitle = "Blood Pressure Report";

// The pages a new set starts with: no title, the default pages, no SpO2 page, no indices.
ReportSettings DefaultReportSettings();

}  // namespace vesk
