#pragma once
// The field table of the case file and the archives that walk it: the keys of the key=value
// sections and the numbers of a reading line, in file order, read and written from one list so
// that a field is added, moved or renamed in one place only. The layout of the whole file (the
// section order, counted and numbered lines, the SpO2 series) is AwpFormat.cpp's.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cases/AwpText.h"
#include "cases/CaseFileResult.h"
#include "cases/CaseRecord.h"

namespace vesk::awp {

inline constexpr std::string_view kEol = "\r\n";

// "[name]", "key=number", "key=n1,n2,..." and "key=escaped text" lines, CR LF ended. raw: the
// text is a narrow code-page field (every byte >= 0x80 escaped).
void Header(std::string& out, std::string_view name);
void LineInt(std::string& out, std::string_view key, int64_t v);
void LineInts(std::string& out, std::string_view key, const int32_t* v, size_t n);
void LineText(std::string& out, std::string_view key, std::string_view text, bool raw = false);

// Sections of the table, header line included.
void WriteDevice(std::string& out, const _FILE_ALL_INFO& f, int32_t version);
void WritePatient(std::string& out, const _PATIENT_INFO& p);
void WritePlan(std::string& out, const _BP_TRANSPORT_INFO& p);
void WriteTail(std::string& out, const _FILE_ALL_INFO& f);
// What follows "R<n>=": the numbers of the reading, each with its comma, then the comment.
void WriteReading(std::string& out, const _BP_RECORD& r);

// s may be null (the section is absent): the first key asked for then fails as missing. Each
// returns the first failure, with the fields read up to it filled in.
[[nodiscard]] CaseFileResult ReadDevice(const Section* s, int32_t version, _FILE_ALL_INFO& f);
[[nodiscard]] CaseFileResult ReadPatient(const Section* s, _PATIENT_INFO& p);
[[nodiscard]] CaseFileResult ReadPlan(const Section* s, _BP_TRANSPORT_INFO& p);
[[nodiscard]] CaseFileResult ReadTail(const Section* s, _FILE_ALL_INFO& f);
// The "Head" numbers and the count under countKey that open the reading and sample sections.
[[nodiscard]] CaseFileResult ReadCountedHead(const Section* s, std::string_view countKey,
                                             int32_t (&head)[8], int32_t& count);
// False when a number is missing, out of its field's range, or the comment does not unescape.
[[nodiscard]] bool ParseReading(std::string_view line, _BP_RECORD& r);

}  // namespace vesk::awp
