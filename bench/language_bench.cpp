// Loading a delivered language file (goal: well under 1 ms) and looking texts up.

#include <benchmark/benchmark.h>

#include <string>

#include "language/Language.h"
#include "language/LanguageKeys.h"

namespace {

std::string LanguageFile(const char* name) {
  return std::string(VESK_SOURCE_DIR) + "/data/Language/" + name + ".lng";
}

void BM_LoadLanguageFile(benchmark::State& state, const char* name) {
  const std::string path = LanguageFile(name);
  vesk::CLanguage language;
  for (auto _ : state) {
    bool loaded = language.LoadFile(path);
    benchmark::DoNotOptimize(loaded);
    if (!loaded) state.SkipWithError(("cannot load " + path).c_str());
  }
}
BENCHMARK_CAPTURE(BM_LoadLanguageFile, English, "English")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadLanguageFile, Chinese, "Chinese")->Unit(benchmark::kMicrosecond);

void BM_GetTextAllKeys(benchmark::State& state) {
  vesk::CLanguage language;
  if (!language.LoadFile(LanguageFile("English"))) state.SkipWithError("cannot load English");
  for (auto _ : state)
    for (const auto& section : vesk::RequiredLanguageKeys())
      for (std::string_view key : section.keys)
        benchmark::DoNotOptimize(language.GetText(section.name, key).size());
  state.SetItemsProcessed(state.iterations() * vesk::RequiredLanguageKeyCount());
}
BENCHMARK(BM_GetTextAllKeys)->Unit(benchmark::kMicrosecond);

}  // namespace
