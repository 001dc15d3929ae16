#pragma once
// The case-information file that an external patient-information program leaves in the
// program folder: its values fill the patient record of a newly downloaded case.
//
// Layout: a root element holding one element whose children carry the values as text; the
// names of those two outer elements do not matter. Children are matched by exact name, in
// order, a repeated one overwriting the earlier value; unknown ones are ignored.

#include <string>
#include <string_view>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk {

struct CaseInfoXmlResult {
  bool loaded = false;  // false: the file was missing or not XML; the record is unchanged
  int fieldsSet = 0;
  // Values that were present but unusable and therefore left the field unchanged.
  std::vector<std::string> warnings;
  std::string error;  // why the file was not loaded
};

// Reads the file (at most 1 MiB) and applies it to the record.
CaseInfoXmlResult ApplyCaseInfoXml(const std::string& path, _PATIENT_INFO& patient);
// The same on the file's bytes.
CaseInfoXmlResult ApplyCaseInfoXmlText(std::string_view bytes, _PATIENT_INFO& patient);

// Decimal number from the leading digits (after blanks and one sign); 0 without digits.
// Saturates at the 32-bit limits instead of wrapping.
int32_t LeadingInt(std::string_view text);

// "YYYY-MM-DD": year from the first four characters, month from characters 6-7, day from
// the last two; time 00:00:00. Invalid when the text is shorter than that or the fields do
// not form a date.
OleDateTime ParseCaseInfoBirthday(std::string_view text);

}  // namespace vesk
