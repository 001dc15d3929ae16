// vesk-cli lang check: compares every language file of the home folder with the keys the
// program looks up.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Cli.h"
#include "language/LanguageKeys.h"
#include "platform/ProgramDir.h"

namespace vesk::cli {
namespace {

void PrintKeys(const char* what, const std::vector<LanguageKeyRef>& keys) {
  for (const LanguageKeyRef& k : keys) {
    if (k.key.empty())
      std::printf("  %-7s [%s]\n", what, k.section.c_str());
    else
      std::printf("  %-7s [%s] %s\n", what, k.section.c_str(), k.key.c_str());
  }
}

int LangCommand(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0] != "check") {
    std::fprintf(stderr, "usage: vesk-cli [--home DIR] lang check\n");
    return 2;
  }
  const std::string folder = ProgramPath("\\Language");
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->path().extension() == ".lng" && !it->is_directory(ec)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "vesk-cli: no language files (*.lng) in %s\n", folder.c_str());
    return 1;
  }

  bool failed = false;
  for (const auto& file : files) {
    const LanguageFileCheck check = CheckLanguageFile(file.string());
    const std::string name = file.filename().string();
    if (!check.readable) {
      std::printf("%s: unreadable or without any section\n", name.c_str());
      failed = true;
      continue;
    }
    if (check.ok()) {
      std::printf("%s: ok, %zu keys\n", name.c_str(), RequiredLanguageKeyCount());
      continue;
    }
    std::printf("%s: %zu missing, %zu extra, %zu empty\n", name.c_str(), check.missing.size(),
                check.extra.size(), check.empty.size());
    PrintKeys("missing", check.missing);
    PrintKeys("extra", check.extra);
    PrintKeys("empty", check.empty);
    // Extra keys are never looked up and harm nothing; missing or empty ones show as blanks.
    if (!check.missing.empty() || !check.empty.empty()) failed = true;
  }
  return failed ? 1 : 0;
}

const Registrar registrar(
    "lang", LangCommand,
    "  lang check                        keys each language file lacks, adds or leaves "
    "empty (exit 1 when any is missing or empty)");

}  // namespace
}  // namespace vesk::cli
