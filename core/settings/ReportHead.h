#pragma once
// The head of the report data: which pages the report has, the SpO2 page variant, the index
// flags, the title and the recording-length flag, made from the current report set and a few
// facts of the opened case.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "language/Language.h"
#include "platform/DateTime.h"
#include "settings/ConfigFile.h"

namespace vesk {

inline constexpr int kReportHeadPageCount = 13;  // the twelve set pages and the SpO2 page
inline constexpr int kSpo2ReportPage = 12;

struct ReportHead {
  std::array<int32_t, kReportHeadPageCount> pages{};
  int32_t spo2Variant = -1;  // "Spo2 Page" of the set when the page is on, else -1
  int32_t aasi = 0, smoothIndex = 0, morningSurge = 0;
  std::string title;
  // 0 for a recording of one to 72 whole hours (one day-and-night layout), else 1.
  int32_t recordingLength = 1;
  bool operator==(const ReportHead&) const = default;
};

struct ReportCaseFacts {
  bool hasSpO2 = false;  // the case carries SpO2 samples
  size_t readingCount = 0;
  OleDateTime firstReading, lastReading;
};

// Whole hours from first to last (rounded down after adding a fraction of a second, so that
// times stored a hair below a full hour still count it); negative for a reversed pair.
int64_t WholeHoursBetween(const OleDateTime& first, const OleDateTime& last);
// 0 only when there is more than one reading and the whole hours are 1 to 72.
int32_t RecordingLengthFlag(size_t readingCount, const OleDateTime& first, const OleDateTime& last);

// The title falls back to "IDS_TITLE_RPT" of section "Title" when no set is current.
ReportHead MakeReportHead(const CConfigFile& config, const CLanguage& language,
                          const ReportCaseFacts& facts);

}  // namespace vesk
