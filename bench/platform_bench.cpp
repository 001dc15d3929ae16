// Speed of the profile layer: reading a language-sized file and writing a configuration.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/Profile.h"
#include "support/TempDir.h"

namespace {

using vesk::profile::ProfileDocument;
using vesk::profile::ProfileFile;

// Eight sections, 350 keys, texts of typical length, CR LF endings.
std::string LanguageSizedFile() {
  std::string text = "\xEF\xBB\xBF; language file\r\n";
  for (int s = 0; s < 8; ++s) {
    text += "[Section " + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 350 / 8 + (s < 350 % 8 ? 1 : 0); ++k)
      text += "IDS_KEY_" + std::to_string(s) + "_" + std::to_string(k) +
              "=Systolic pressure above the awake threshold (%d mmHg)\r\n";
  }
  return text;
}

// Parse, then every section and key looked up as a language table load does.
void BM_LoadLanguageSizedFile(benchmark::State& state) {
  const std::string bytes = LanguageSizedFile();
  for (auto _ : state) {
    ProfileDocument doc = ProfileDocument::Parse(bytes);
    size_t total = 0;
    for (const auto& section : doc.Sections())
      for (const auto& key : doc.Keys(section)) total += doc.Get(section, key)->size();
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadLanguageSizedFile)->Unit(benchmark::kMicrosecond);

// Twenty user sections of 60 keys each written in one batch, the way the settings are saved
// at exit: includes the fsyncs of the atomic replace.
void BM_BatchWriteTwentyUsers(benchmark::State& state) {
  vesk::test::TempDir dir;
  const std::string path = dir / "MreConfig.ini";
  int round = 0;
  for (auto _ : state) {
    ProfileFile file(path);
    file.BeginBatch();
    for (int u = 0; u < 20; ++u)
      for (int k = 0; k < 60; ++k)
        file.Set("user" + std::to_string(u), "Key" + std::to_string(k), std::to_string(k + round));
    benchmark::DoNotOptimize(file.CommitBatch());
    ++round;
  }
}
BENCHMARK(BM_BatchWriteTwentyUsers)->Unit(benchmark::kMillisecond);

// Reading many values of an unchanged file must not re-parse it.
void BM_RepeatedReadsOfUnchangedFile(benchmark::State& state) {
  vesk::test::TempDir dir;
  const std::string path = dir / "Cnf.ini";
  ProfileFile writer(path);
  writer.BeginBatch();
  for (int k = 0; k < 200; ++k) writer.Set("Global", "Key" + std::to_string(k), "12");
  writer.CommitBatch();
  ProfileFile file(path);
  int k = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(file.GetInt("Global", "Key" + std::to_string(k++ % 200), 0));
}
BENCHMARK(BM_RepeatedReadsOfUnchangedFile);

}  // namespace
