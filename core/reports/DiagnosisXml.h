#pragma once
// The diagnosis summary a report leaves beside the program after the PDF went to the program
// chosen for PDFs: where the PDF is, the conclusion, the test period, the patient and the key
// blood-pressure results, as XML in the narrow code page.

#include <string>

#include "reports/ReportData.h"

namespace vesk {

// Program folder + "\DIAGNOSEINFO.xml".
std::string DiagnosisXmlPath();

// The whole document as UTF-8 text, its declaration naming the narrow code page ("GBK" unless
// configured otherwise). Texts are escaped, so the
// document is well-formed whatever a name or comment holds.
std::string FormatDiagnosisXml(const ReportData& data, const std::string& pdfPath);

// Converts the document to the narrow code page, every character it cannot hold written as a
// character reference, and replaces the file atomically. False when
// it could not be written (the old file then stays).
bool WriteDiagnosisXml(const std::string& xmlPath, const ReportData& data,
                       const std::string& pdfPath);

}  // namespace vesk
