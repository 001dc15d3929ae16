// Costs that a shared case folder adds: the search for a crashed writer's temporaries (once a
// minute per folder, on the first write) and taking and releasing a case lock.
#include <benchmark/benchmark.h>

#include <string>

#include "cases/CaseLock.h"
#include "platform/FileUtil.h"
#include "support/TempDir.h"

namespace {

using vesk::test::TempDir;
using vesk::test::WriteBytes;

// A case folder of state.range(0) case files, none of them temporary.
void BM_StaleTemporarySearch(benchmark::State& state) {
  TempDir dir;
  for (int i = 0; i < state.range(0); ++i)
    WriteBytes(dir / ("2024030110" + std::to_string(100000 + i) + "01.awp"), "x");
  for (auto _ : state)
    benchmark::DoNotOptimize(vesk::fsutil::RemoveStaleTemporaries(dir.path(), true));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StaleTemporarySearch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_CaseLockTakeAndRelease(benchmark::State& state) {
  TempDir dir;
  const std::string casePath = dir / "20240301101500.awp";
  vesk::CaseLock lock;
  for (auto _ : state) {
    const vesk::CaseLockResult r = lock.Acquire(casePath);
    if (r.state != vesk::LockState::Taken) state.SkipWithError(r.error.c_str());
    lock.Release();
  }
}
BENCHMARK(BM_CaseLockTakeAndRelease)->Unit(benchmark::kMicrosecond);

}  // namespace
