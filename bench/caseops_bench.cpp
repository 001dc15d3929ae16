// Case folder operations at the sizes users reach: a folder of 2000 case files (the most the
// browser lists at once) listed warm; searching it; generating the samples.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "cases/CaseFolders.h"
#include "cases/SampleCases.h"
#include "platform/FileUtil.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// One folder for all runs: 2000 ambulatory cases of about 70-100 readings each, a few of
// them version-1 files, and one MIRU case whose SpO2 series listing must not read.
class Folder {
 public:
  Folder() {
    path_ = dir_ / "VESK";
    fsutil::CreateFolders(path_);
    std::string bytes[8];
    for (int k = 0; k < 8; ++k) {
      SampleOptions o;
      o.seed = static_cast<uint64_t>(k + 1);
      const std::string p = dir_ / ("seed" + std::to_string(k) + ".awp");
      if (WriteSampleCase(p, MakeAmbulatorySample(o), k == 7 ? 1 : 2) != CaseFileResult::Ok)
        std::abort();
      fsutil::ReadFile(p, bytes[k]);
    }
    for (int i = 0; i < 1999; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "2024%010d01.awp", i);
      fsutil::WriteFileAtomic(path_ + "/" + name, bytes[i % 8]);
    }
    if (WriteSampleCase(path_ + "/zz_miru02.awp", MakeMiruSample({}), 2) != CaseFileResult::Ok)
      std::abort();
  }
  const std::string& path() const { return path_; }

 private:
  test::TempDir dir_;
  std::string path_;
};

const Folder& TheFolder() {
  static Folder folder;
  return folder;
}

void BM_List2000Cases(benchmark::State& state) {
  const Folder& folder = TheFolder();
  ListCaseFolder(folder.path());  // warm the file cache
  for (auto _ : state) {
    CaseListing listing = ListCaseFolder(folder.path());
    if (listing.rows.size() != 2000) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(listing);
  }
}
BENCHMARK(BM_List2000Cases)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SearchByDate2000Cases(benchmark::State& state) {
  const Folder& folder = TheFolder();
  const CaseSearch search{CaseSearchBy::StartDate, "", 2024, 3, 30};
  for (auto _ : state) benchmark::DoNotOptimize(SearchCaseFolder(folder.path(), search));
}
BENCHMARK(BM_SearchByDate2000Cases)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MakeMiruSample(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeMiruSample({}));
}
BENCHMARK(BM_MakeMiruSample)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk
