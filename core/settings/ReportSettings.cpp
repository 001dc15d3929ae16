// The report configuration sets of the current user, kept in Report_<user>.ini:
//   [INFO]   currentReportName, count, RP1 .. RP<count> (set names in list order)
//   [<set>]  Title, the twelve page keys, Spo2 Page (only when chosen), AASI, Smooth Index,
//            Morning Surge
#include <algorithm>

#include "settings/ConfigFile.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"

namespace vesk {

namespace {

constexpr const char* kInfoSection = "INFO";
constexpr const char* kCurrentReportKey = "currentReportName";
constexpr const char* kCountKey = "count";
constexpr const char* kTitleKey = "Title";
constexpr const char* kSpo2PageKey = "Spo2 Page";
constexpr const char* kAasiKey = "AASI";
constexpr const char* kSmoothKey = "Smooth Index";
constexpr const char* kSurgeKey = "Morning Surge";

std::string RpKey(size_t i) {
  return "RP" + std::to_string(i);
}

ReportSettings ReadSet(CIniFile& ini, const std::string& name, int32_t hourlyDefault) {
  ReportSettings r;
  r.title = ini.ReadString(name, kTitleKey, kDefaultReportTitle);
  for (int i = 0; i < kReportPageCount; ++i) {
    const int32_t def = i == kHourlySummaryPage ? hourlyDefault : kDefaultReportPages[size_t(i)];
    r.pages[size_t(i)] = ini.ReadInt(name, kReportPageKeys[size_t(i)], def);
  }
  r.spo2Page = ini.ReadInt(name, kSpo2PageKey, -1);
  r.aasi = ini.ReadInt(name, kAasiKey, 0);
  r.smoothIndex = ini.ReadInt(name, kSmoothKey, 0);
  r.morningSurge = ini.ReadInt(name, kSurgeKey, 0);
  return r;
}

// Inside the caller's batch. An unchosen SpO2 page removes the key: leaving an old value
// behind would bring the page back at the next load.
int WriteSet(CIniFile& ini, const std::string& name, const ReportSettings& r) {
  int ok = ini.WriteString(name, kTitleKey, r.title);
  for (int i = 0; i < kReportPageCount; ++i)
    ok &= ini.WriteInt(name, kReportPageKeys[size_t(i)], r.pages[size_t(i)]);
  if (r.Spo2PagePresent())
    ok &= ini.WriteInt(name, kSpo2PageKey, r.spo2Page);
  else
    ini.DeleteKey(name, kSpo2PageKey);
  ok &= ini.WriteInt(name, kAasiKey, r.aasi);
  ok &= ini.WriteInt(name, kSmoothKey, r.smoothIndex);
  ok &= ini.WriteInt(name, kSurgeKey, r.morningSurge);
  return ok;
}

std::vector<std::string> ReadNames(CIniFile& ini) {
  std::vector<std::string> names;
  const int32_t count = ini.ReadInt(kInfoSection, kCountKey, 0);
  if (count <= 0) return names;
  // A damaged count is no reason to read millions of missing keys.
  const size_t n = std::min<size_t>(size_t(count), ini.KeyNames(kInfoSection).size());
  for (size_t i = 1; i <= n; ++i) names.push_back(ini.ReadString(kInfoSection, RpKey(i), ""));
  return names;
}

}  // namespace

ReportSettings CConfigFile::ReadReportSet(const std::string& name, int32_t hourlyDefault) const {
  try {
    CIniFile ini(reportFile, false);
    return ReadSet(ini, name, hourlyDefault);
  } catch (...) {
    // No report file yet (no user chosen): what a missing set reads as.
    ReportSettings r = DefaultReportSettings();
    r.title = kDefaultReportTitle;
    r.pages[kHourlySummaryPage] = hourlyDefault;
    return r;
  }
}

bool CConfigFile::WriteReportSet(const std::string& name, const ReportSettings& set) {
  try {
    CIniFile ini(reportFile, false);
    ini.BeginBatch();
    const int ok = WriteSet(ini, name, set);
    return ini.CommitBatch() == 1 && ok == 1;
  } catch (...) {
    return false;
  }
}

int CConfigFile::LoadReportSettings() {
  try {
    reportFile = ReportFilePath(currentConfigName);
    CIniFile ini(reportFile, false);
    currentReportName = ini.ReadString(kInfoSection, kCurrentReportKey, "");
    // The list is read even without a current set: otherwise the next save would write an
    // empty list over the sets the user has.
    reportNames = ReadNames(ini);
    if (currentReportName.empty()) return 0;
    report = ReadSet(ini, currentReportName, 0);
  } catch (...) {
    return 0;
  }
  return 1;
}

int CConfigFile::SaveReportSettings() {
  try {
    CIniFile ini(reportFile, false);
    ini.BeginBatch();
    int ok = ini.WriteString(kInfoSection, kCurrentReportKey, currentReportName);
    if (!currentReportName.empty()) ok &= WriteSet(ini, currentReportName, report);
    ok &= ini.WriteInt(kInfoSection, kCountKey, int32_t(reportNames.size()));
    for (size_t i = reportNames.size(); i >= 1; --i)
      ok &= ini.WriteString(kInfoSection, RpKey(i), reportNames[i - 1]);
    return ini.CommitBatch() == 1 && ok == 1 ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int CConfigFile::LoadReportSection(const std::string& name) {
  try {
    CIniFile ini(reportFile, false);
    report = ReadSet(ini, name, 1);
  } catch (...) {
    ShowFixed("Error in LoadReportSection!");
    return 0;
  }
  return 1;
}

int CConfigFile::SaveReportSection(const std::string& name) {
  return WriteReportSet(name, report) ? 1 : 0;
}

int CConfigFile::AddReportSection(const std::string& name) {
  if (name.empty()) return 0;
  if (std::find(reportNames.begin(), reportNames.end(), name) != reportNames.end()) return 1;
  try {
    reportNames.push_back(name);
    const size_t n = reportNames.size();
    CIniFile ini(reportFile, false);
    ini.BeginBatch();
    int ok = ini.WriteString(kInfoSection, RpKey(n), name);
    ok &= ini.WriteInt(kInfoSection, kCountKey, int32_t(n));
    if (ini.CommitBatch() != 1 || ok != 1) {
      ShowFixed("Error in AddReportSection!");
      return 0;
    }
  } catch (...) {
    ShowFixed("Error in AddReportSection!");
    return 0;
  }
  return 1;
}

int CConfigFile::DeleteReportSection(const std::string& name) {
  const auto rit = std::find(reportNames.rbegin(), reportNames.rend(), name);
  if (rit == reportNames.rend()) return 0;
  try {
    const size_t pos = size_t(std::distance(reportNames.begin(), rit.base()) - 1);
    reportNames.erase(reportNames.begin() + std::ptrdiff_t(pos));
    const size_t count = reportNames.size();

    CIniFile ini(reportFile, false);
    ini.BeginBatch();
    if (count == 0) {
      ini.WriteString(kInfoSection, kCurrentReportKey, "");
      // Memory follows the file, or the exit save would write the deleted set back.
      currentReportName.clear();
    }
    for (size_t i = pos; i < count; ++i)
      ini.WriteString(kInfoSection, RpKey(i + 1), reportNames[i]);
    ini.WriteInt(kInfoSection, kCountKey, int32_t(count));
    ini.DeleteSection(name);
    ini.DeleteKey(kInfoSection, RpKey(count + 1));
    if (ini.CommitBatch() != 1) {
      ShowFixed("Error in DeleteReportSection!");
      return 0;
    }
  } catch (...) {
    ShowFixed("Error in DeleteReportSection!");
    return 0;
  }
  return 1;
}

int CConfigFile::SetCurReportSettings(const std::string& name) {
  try {
    CIniFile ini(reportFile, false);
    if (ini.WriteString(kInfoSection, kCurrentReportKey, name) != 1) {
      ShowFixed("Error in SetCurReportSettings!");
      return 0;
    }
    // Memory follows the choice: the report command uses it, and the exit save writes it.
    currentReportName = name;
    if (!name.empty()) report = ReadSet(ini, name, 0);
  } catch (...) {
    ShowFixed("Error in SetCurReportSettings!");
    return 0;
  }
  return 1;
}

}  // namespace vesk
