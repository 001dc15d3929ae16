// vesk-cli sample: realistic sample cases, alone or as a demo case tree in a home folder.
#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "cases/CaseFolders.h"
#include "cases/Filemanage.h"
#include "cases/SampleCases.h"
#include "platform/FileUtil.h"
#include "platform/Profile.h"
#include "platform/ProgramDir.h"

namespace vesk::cli {

namespace {

constexpr const char* kUsage =
    "  sample KIND OUT.awp [--seed N] [--start 'YYYY-MM-DD HH:MM'] [--device K]\n"
    "         [--out-of-order N] [--failures PERCENT] [--language en|zh] [--force]\n"
    "         KIND: ambulatory, singleuser, miru, qora1, qora2, qora3, v1 (ambulatory, old "
    "layout)\n"
    "  sample demo [HOME] [--user NAME] [--data DIR]   sample cases in HOME's case folders;\n"
    "         existing files are kept";

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kUsage);
  return 2;
}

bool ParseInt(const std::string& text, long long lo, long long hi, long long& out) {
  if (text.empty()) return false;
  size_t used = 0;
  try {
    out = std::stoll(text, &used, 10);
  } catch (...) {
    return false;
  }
  return used == text.size() && out >= lo && out <= hi;
}

DateParts LastReadingTime(const _FILE_ALL_INFO& f) {
  DateParts last = f.readings.empty() ? DateParts{2024, 1, 1, 0, 0, 0} : DateParts{};
  int64_t best = -1;
  for (const _BP_RECORD& r : f.readings) {
    if (!IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0)) continue;
    const int64_t m = MinuteStamp(r.year, r.month, r.day, r.hour, r.minute);
    if (m > best) best = m, last = {r.year, r.month, r.day, r.hour, r.minute, 0};
  }
  return last;
}

// The stamp a download right after the recording would have given the file.
std::string StampAfter(const _FILE_ALL_INFO& f) {
  DateParts p;
  const OleDateTime t = OleDateTime::FromParts(LastReadingTime(f));
  if (!t.AddSeconds(40 * 60).ToParts(p)) p = LastReadingTime(f);
  return CaseStamp(p);
}

int One(const std::string& kind, const std::vector<std::string>& args) {
  SampleOptions o;
  std::string out;
  bool force = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    long long v = 0;
    const bool hasValue = i + 1 < args.size();
    if (a == "--force") {
      force = true;
    } else if (a == "--seed" && hasValue) {
      if (!ParseInt(args[++i], 0, INT64_MAX, v)) return Fail("--seed wants a number");
      o.seed = static_cast<uint64_t>(v);
    } else if (a == "--device" && hasValue) {
      if (!ParseInt(args[++i], 1, 6, v) || v == kMiru || v == kQora)
        return Fail("--device wants an ambulatory device kind: 1, 2, 4 or 6");
      o.deviceKind = static_cast<int>(v);
    } else if (a == "--out-of-order" && hasValue) {
      if (!ParseInt(args[++i], 0, 2, v)) return Fail("--out-of-order wants 0, 1 or 2");
      o.outOfOrder = static_cast<int>(v);
    } else if (a == "--failures" && hasValue) {
      if (!ParseInt(args[++i], 0, 100, v)) return Fail("--failures wants a percentage 0-100");
      o.failurePercent = static_cast<int>(v);
    } else if (a == "--language" && hasValue) {
      const std::string& l = args[++i];
      if (l != "en" && l != "zh") return Fail("--language wants en or zh");
      o.language = l == "zh" ? 1 : 0;
    } else if (a == "--start" && hasValue) {
      DateParts s;
      char tail = 0;
      if (std::sscanf(args[++i].c_str(), "%4d-%2d-%2d %2d:%2d%c", &s.year, &s.month, &s.day,
                      &s.hour, &s.minute, &tail) != 5 ||
          !IsValidDate(s.year, s.month, s.day, s.hour, s.minute) || s.year < 1900 || s.year > 9000)
        return Fail("--start wants a time 'YYYY-MM-DD HH:MM'");
      o.start = s;
    } else if (out.empty() && !a.empty() && a[0] != '-') {
      out = a;
    } else {
      return Usage();
    }
  }
  if (out.empty()) return Usage();
  _FILE_ALL_INFO info;
  const bool v1 = kind == "v1";
  if (!MakeSampleByName(v1 ? "ambulatory" : kind, o, info))
    return Fail("unknown sample kind '" + kind + "'");
  if (fsutil::FileExists(out) && !force) return Fail(out + " exists; give --force to replace it");
  const CaseFileResult r = WriteSampleCase(out, info, v1 ? 1 : 2);
  if (r != CaseFileResult::Ok) return Fail(out + ": " + CaseFileResultText(r));
  std::printf("%s: %s, %zu readings, %zu SpO2 samples\n", out.c_str(), info.modelName.c_str(),
              info.readings.size(), info.samples.size());
  return 0;
}

struct DemoFile {
  CaseSlot slot;
  _FILE_ALL_INFO info;
  int version;
};

int Demo(const std::vector<std::string>& args) {
  std::string home, user, data;
  bool userGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--user" && i + 1 < args.size()) {
      user = args[++i];
      userGiven = true;
    } else if (a == "--data" && i + 1 < args.size()) {
      data = args[++i];
    } else if (home.empty() && !a.empty() && a[0] != '-') {
      home = a;
    } else {
      return Usage();
    }
  }
  if (home.empty()) home = GetProgramDir();
  // The user and case folder the program would use: the current configuration of the home.
  profile::ProfileFile config(JoinPath(home, "MreConfig.ini"));
  if (!userGiven) user = config.GetString("Previous Config", "Current Config", "family");
  if (data.empty()) {
    const std::string section = "Config " + user;
    if (config.GetInt(section, "Use Default Path", 1) != 0)
      data = JoinPath(home, "data");
    else
      data = config.GetString(section, "Patient File Path", JoinPath(home, "data"));
  }
  const CaseFolderTree tree(data, user);
  CaseOpResult check = tree.EnsureAll();
  if (!check.ok()) return Fail(check.detail);

  std::vector<DemoFile> files;
  SampleOptions o;
  o.seed = 11;
  o.language = 0;
  o.start = {2024, 3, 30, 9, 12, 0};  // runs over the spring clock change in Europe
  files.push_back({{CaseFolder::Vesk, 1}, MakeAmbulatorySample(o), 2});
  o.seed = 12;
  o.language = 1;
  o.deviceKind = kPexa;
  o.outOfOrder = 1;
  o.start = {2024, 10, 26, 10, 3, 0};  // and over the autumn one
  files.push_back({{CaseFolder::Vesk, 1}, MakeAmbulatorySample(o), 2});
  o = SampleOptions{};
  o.seed = 13;
  o.deviceKind = kTaloColor;
  o.start = {2023, 11, 14, 8, 40, 0};
  files.push_back({{CaseFolder::Vesk, 1}, MakeAmbulatorySample(o), 1});
  o = SampleOptions{};
  o.seed = 14;
  o.start = {2024, 5, 6, 18, 30, 0};
  files.push_back({{CaseFolder::Monitor, 2}, MakeMiruSample(o), 2});
  o.seed = 15;
  o.start = {2024, 6, 1, 7, 0, 0};
  files.push_back({{CaseFolder::SingleUser, 2}, MakeSingleUserSample(o), 2});
  o.seed = 16;
  auto qora = MakeQoraSamples(o);
  // One download of all users shares one stamp: take it from the longest recording.
  const std::string qoraStamp = StampAfter(qora[0]);
  for (int u = 0; u < 3; ++u) files.push_back({{CaseFolder::Bpm, u + 1}, qora[size_t(u)], 2});

  int failures = 0;
  for (DemoFile& f : files) {
    const std::string stamp = f.slot.folder == CaseFolder::Bpm ? qoraStamp : StampAfter(f.info);
    const std::string path = tree.FilePath(f.slot, stamp);
    if (fsutil::FileExists(path)) {
      std::printf("kept    %s\n", path.c_str());
      continue;
    }
    const CaseFileResult r = WriteSampleCase(path, f.info, f.version);
    if (r != CaseFileResult::Ok) {
      std::fprintf(stderr, "vesk-cli: %s: %s\n", path.c_str(), CaseFileResultText(r));
      ++failures;
      continue;
    }
    std::printf("created %s\n", path.c_str());
  }
  return failures ? 1 : 0;
}

int Sample(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  try {
    if (args[0] == "demo") return Demo(rest);
    return One(args[0], rest);
  } catch (const std::exception& e) {
    return Fail(std::string("unexpected failure: ") + e.what());
  }
}

const Registrar registrar("sample", Sample, kUsage);

}  // namespace

}  // namespace vesk::cli
