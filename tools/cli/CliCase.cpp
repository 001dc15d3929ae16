// vesk-cli case show | import | list | search: case files and case folders without a window.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliCaseJson.h"
#include "analysis/DayNight.h"
#include "cases/CaseDocument.h"
#include "cases/CaseFolders.h"
#include "cases/Filemanage.h"
#include "platform/FileUtil.h"

namespace vesk::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kUsage =
    "  case show FILE [--samples]        the whole case record as JSON\n"
    "  case import JSON OUT.awp [--force] a version-2 case file from that JSON ('-': stdin)\n"
    "  case list DIR [--json]            the case files of a folder: name, ID, start time\n"
    "  case search DIR (--name TEXT | --id TEXT | --date YYYY-MM-DD) [--json]";

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kUsage);
  return 2;
}

std::string Compact(const Json& j) {
  std::string s = j.dump(-1, ' ', false, Json::error_handler_t::replace);
  return s;
}

bool IsFlat(const Json& j) {
  if (j.is_object()) return false;
  if (!j.is_array()) return true;
  for (const Json& e : j)
    if (e.is_object() || (e.is_array() && !IsFlat(e))) return false;
  return true;
}

// Objects spread over lines, lists of numbers on one line, and each reading (or sample) on a
// line of its own: readable, and still easy to diff.
void Pretty(const Json& j, std::string& out, int indent) {
  const std::string pad(static_cast<size_t>(indent), ' ');
  const std::string inner(static_cast<size_t>(indent + 2), ' ');
  if (j.is_object() && !j.empty()) {
    out += "{\n";
    size_t n = 0;
    for (auto it = j.begin(); it != j.end(); ++it) {
      out += inner + Compact(Json(it.key())) + ": ";
      Pretty(*it, out, indent + 2);
      out += ++n < j.size() ? ",\n" : "\n";
    }
    out += pad + "}";
  } else if (j.is_array() && !j.empty() && (!IsFlat(j) || (j.size() > 8 && j[0].is_array()))) {
    out += "[\n";
    for (size_t i = 0; i < j.size(); ++i) {
      out += inner;
      if (j[i].is_object() && j[i].size() > 12)
        out += Compact(j[i]);
      else
        Pretty(j[i], out, indent + 2);
      out += i + 1 < j.size() ? ",\n" : "\n";
    }
    out += pad + "]";
  } else {
    out += Compact(j);
  }
}

void Print(const Json& j) {
  std::string out;
  Pretty(j, out, 0);
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
}

class NoErrorTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

int Show(const std::vector<std::string>& args) {
  std::string path;
  bool samples = false;
  for (const std::string& a : args) {
    if (a == "--samples")
      samples = true;
    else if (path.empty() && (a.empty() || a[0] != '-'))
      path = a;
    else
      return Usage();
  }
  if (path.empty()) return Usage();
  if (!fsutil::FileExists(path)) return Fail(path + ": no such file");

  _SUB_VERSION version{-1, -1};
  CaseFileResult r = CaseFileResultOf(CFilemanage::GetFileVersion(path, version));
  if (r != CaseFileResult::Ok) return Fail(path + ": " + CaseFileResultText(r));
  std::unique_ptr<CFilemanage> file;
  if (version.nMain == 2)
    file = std::make_unique<CFilemanage_2Ver>();
  else
    file = std::make_unique<CFilemanage_1Ver>();
  int32_t current = 0, total = 0;
  file->SetCaseFilePath(path);
  file->SetProgressInfo(&current, &total);
  r = CaseFileResultOf(file->LoadAllInfo());
  if (r != CaseFileResult::Ok) return Fail(path + ": " + CaseFileResultText(r));

  Json j;
  j["file"] = path;
  j["fileVersion"] = {{"main", version.nMain}, {"sub", version.nSub}};
  const Json body = CaseToJson(file->FileInfo(), samples);
  for (auto it = body.begin(); it != body.end(); ++it) j[it.key()] = *it;

  // What opening the case makes of it: the lists and flags the analysis starts from.
  CaseState state;
  NoErrorTexts texts;
  CaseDocument doc(state, texts);
  doc.SetCasePath(path);
  const int32_t load = doc.LoadCase();
  Json summary = {{"result", load}};
  if (load == ToInt(CaseLoadResult::Ok)) {
    doc.RebuildLists();
    size_t awake = 0, asleep = 0;
    for (const _BP_RECORD& x : doc.AnalysedReadings())
      ++(IsAsleep(x, doc.AsleepStart(), doc.AwakeStart()) ? asleep : awake);
    summary["lists"] = {{"all", doc.AllReadings().size()},
                        {"valid", doc.ValidReadings().size()},
                        {"analysed", doc.AnalysedReadings().size()},
                        {"awake", awake},
                        {"asleep", asleep}};
    summary["flags"] = {{"scheduled", doc.Scheduled()},
                        {"multiDay", doc.MultiDay()},
                        {"spo2Present", state.caseHasSpO2},
                        {"chronological", IsChronological(doc.ValidReadings())}};
    summary["awakeStart"] = doc.AwakeStart();
    summary["asleepStart"] = doc.AsleepStart();
    summary["specialStart"] = doc.SpecialStart();
    summary["specialEnd"] = doc.SpecialEnd();
  }
  j["load"] = std::move(summary);
  Print(j);
  return 0;
}

int Import(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  bool force = false;
  for (const std::string& a : args) {
    if (a == "--force")
      force = true;
    else if (a == "-" || a.empty() || a[0] != '-')
      paths.push_back(a);
    else
      return Usage();
  }
  if (paths.size() != 2) return Usage();
  const std::string& in = paths[0];
  const std::string& out = paths[1];

  std::string text, error;
  if (in == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else if (!fsutil::ReadFile(in, text, &error, size_t(1) << 30)) {
    return Fail(in + ": " + error);
  }
  Json json;
  try {
    json = Json::parse(text);
  } catch (const Json::exception& e) {
    return Fail(in + ": not valid JSON: " + e.what());
  }
  _FILE_ALL_INFO info;
  if (!CaseFromJson(json, info, &error)) {
    std::fprintf(stderr, "vesk-cli: %s: the case was not written:\n%s", in.c_str(), error.c_str());
    return 1;
  }
  if (fsutil::FileExists(out) && !force) return Fail(out + " exists; give --force to replace it");
  if (fsutil::FolderExists(out)) return Fail(out + " is a folder");

  CFilemanage_2Ver file;
  int32_t current = 0, total = 0;
  file.SetProgressInfo(&current, &total);
  file.SetCaseFilePath(out);
  file.SetFileInfo(info);
  const CaseFileResult r = CaseFileResultOf(file.SaveAllInfotoCaseFile());
  if (r != CaseFileResult::Ok) return Fail(out + ": " + CaseFileResultText(r));
  std::printf("%s: %zu readings, %zu SpO2 samples\n", out.c_str(), info.readings.size(),
              info.samples.size());
  return 0;
}

Json RowJson(const CaseListRow& row) {
  Json j = {
      {"file", row.fileName}, {"name", row.name}, {"caseId", row.caseId}, {"start", row.startText}};
  if (row.loadResult != CaseFileResult::Ok) {
    j["loadResult"] = ToInt(row.loadResult);
    j["error"] = CaseFileResultText(row.loadResult);
  }
  return j;
}

int PrintListing(const CaseListing& listing, const std::string& folder, bool json) {
  if (!listing.result.ok()) return Fail(listing.result.detail);
  if (json) {
    Json rows = Json::array();
    for (const CaseListRow& row : listing.rows) rows.push_back(RowJson(row));
    Print({{"folder", folder}, {"truncated", listing.truncated}, {"rows", rows}});
  } else {
    for (const CaseListRow& row : listing.rows) {
      std::printf("%s\t%s\t%s\t%s", row.name.c_str(), row.caseId.c_str(), row.startText.c_str(),
                  row.fileName.c_str());
      if (row.loadResult != CaseFileResult::Ok)
        std::printf("\t(%s)", CaseFileResultText(row.loadResult));
      std::printf("\n");
    }
  }
  if (listing.truncated)
    std::fprintf(stderr, "vesk-cli: only the first %zu case files are listed\n", kMaxListedCases);
  return 0;
}

int List(const std::vector<std::string>& args) {
  std::string folder;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json")
      json = true;
    else if (folder.empty() && (a.empty() || a[0] != '-'))
      folder = a;
    else
      return Usage();
  }
  if (folder.empty()) return Usage();
  return PrintListing(ListCaseFolder(folder), folder, json);
}

int Search(const std::vector<std::string>& args) {
  std::string folder;
  bool json = false, haveSearch = false;
  CaseSearch search;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      json = true;
    } else if ((a == "--name" || a == "--id" || a == "--date") && i + 1 < args.size()) {
      if (haveSearch) return Usage();
      haveSearch = true;
      const std::string& value = args[++i];
      if (a == "--date") {
        search.by = CaseSearchBy::StartDate;
        char tail = 0;
        if (std::sscanf(value.c_str(), "%4d-%2d-%2d%c", &search.year, &search.month, &search.day,
                        &tail) != 3 ||
            !IsValidDate(search.year, search.month, search.day))
          return Fail("--date wants a date YYYY-MM-DD, not \"" + value + "\"");
      } else {
        search.by = a == "--name" ? CaseSearchBy::Name : CaseSearchBy::CaseId;
        search.text = value;
      }
    } else if (folder.empty() && !a.empty() && a[0] != '-') {
      folder = a;
    } else {
      return Usage();
    }
  }
  if (folder.empty() || !haveSearch) return Usage();
  const CaseListing listing = SearchCaseFolder(folder, search);
  if (listing.result.code == CaseOpCode::SearchTextEmpty) return Fail("the search text is empty");
  return PrintListing(listing, folder, json);
}

int Case(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  try {
    if (args[0] == "show") return Show(rest);
    if (args[0] == "import") return Import(rest);
    if (args[0] == "list") return List(rest);
    if (args[0] == "search") return Search(rest);
  } catch (const std::exception& e) {
    return Fail(std::string("unexpected failure: ") + e.what());
  }
  return Usage();
}

const Registrar registrar("case", Case, kUsage);

}  // namespace

}  // namespace vesk::cli
