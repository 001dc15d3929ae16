#pragma once
// The case-file (.awp) layout: a profile (INI) text file, UTF-8, CR LF line ends. Sections in
// this order: [CASE FILE], [DEVICE], [PATIENT DATA], [PLAN], [BP DATA], then in version 2
// [TAIL] and [SPO2 DATA], and finally [END]. The SpO2 series comes last so that listing can
// stop reading before it. docs/case-file-format.md describes every key.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cases/CaseRecord.h"
#include "cases/Filemanage.h"

namespace vesk::awp {

// No case file comes near this; anything larger is refused before it is read.
constexpr size_t kMaxFileBytes = size_t(64) << 20;
constexpr size_t kSamplesPerLine = 64;
constexpr int32_t kCurrentSubVersion = 0;
constexpr std::string_view kFormatName = "VESK case";
constexpr std::string_view kNoBirthday = "-1--1--1";
constexpr std::string_view kSamplesSection = "SPO2 DATA";
// Bytes read before the SpO2 series starts, for loads that do not need it: the exact header
// line our writer puts before the series.
constexpr std::string_view kSamplesMarker = "\n[SPO2 DATA]";

// The value of "PATIENT DATA"/"Birthday": year-month-day without leading zeros ("1956-3-7"),
// or "-1--1--1" when the birthday is not a valid date.
std::string FormatBirthday(const OleDateTime& birthday);
// Reads "Y-M-D" (leading zeros allowed); "-1--1--1" (any letter case) and anything that is not
// a real date give a null date and false.
bool ParseBirthday(std::string_view text, OleDateTime& out);

// Parses a whole file (withSamples) or the part before the SpO2 series. expectVersion 0
// accepts both versions; 1 or 2 refuses the other with CaseFileResult::BadVersion. Parts a version
// does not hold are left at their defaults. Returns 1 or a library error code; `out` may be
// partly filled on error.
[[nodiscard]] CaseFileResult Parse(std::string_view bytes, bool withSamples, int32_t expectVersion,
                                   _FILE_ALL_INFO& out, int32_t* versionOut = nullptr);
// Reads only [CASE FILE]: 1 with the version, or an error code.
[[nodiscard]] CaseFileResult ParseVersion(std::string_view bytes, _SUB_VERSION& version);

// The whole file of the given version (1 or 2).
std::string Serialize(const _FILE_ALL_INFO& info, int32_t version);
std::string SerializePatient(const _PATIENT_INFO& patient);
std::string SerializeBpData(const _BP_DATA_HEAD& head, const std::vector<_BP_RECORD>& readings);

// Replaces the section (its header line up to the next header line) by the text; the rest of
// the file stays byte for byte. Returns 1 or CaseFileResult::Missing.
[[nodiscard]] CaseFileResult ReplaceSection(std::string& bytes, std::string_view name,
                                            std::string_view text);

}  // namespace vesk::awp
