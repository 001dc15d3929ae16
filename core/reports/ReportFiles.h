#pragma once
// Writing the report data files into the start folder and reading them back. Every file is
// little-endian with 4-byte integers, 2-byte short integers, 8-byte doubles and texts as a
// 4-byte byte count followed by UTF-16LE characters; there is no header. "Report.txt" comes
// first and its page flags say which page files belong to it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reports/ReportData.h"
#include "reports/ReportPageTable.h"

namespace vesk {

const char* ReportFileName(ReportFileId id);

// "Report.txt" and the files of the selected pages, in write order, each once (pages 3 and 4
// share "45.rp"). Pages without a file of their own add nothing.
std::vector<ReportFileId> ReportFilesFor(const std::array<int32_t, kReportHeadPageCount>& pages);

std::string EncodeReportFile(ReportFileId id, const ReportData& data);
// Parses one file into its record of `out`. False (record unspecified) when the bytes end
// early, a count or text length is impossible, a text is an odd number of bytes, or bytes are
// left over; `error` then says where.
bool DecodeReportFile(ReportFileId id, std::string_view bytes, ReportData& out,
                      std::string* error = nullptr);

struct ReportFilesResult {
  bool ok = false;
  std::string failedPath;  // the file that could not be written or read
  std::string detail;
};

// Creates the folder (with its parents), writes every file of ReportFilesFor(main.pages) and
// removes page files of pages not selected, so that the folder never mixes two reports.
// Each file is replaced atomically; any failure fails the whole write.
ReportFilesResult WriteReportFiles(const std::string& folder, const ReportData& data);

// Reads "Report.txt" and then the page files its flags select into `out`.
ReportFilesResult ReadReportFiles(const std::string& folder, ReportData& out);

}  // namespace vesk
