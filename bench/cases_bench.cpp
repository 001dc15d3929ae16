// Opening and saving cases: a 48-hour MIRU case opened with Load case (goal: under 20 ms),
// the same file listed (readings only), and edited readings of a 300-reading case saved
// (goal: under 10 ms). Saves run once in the temporary folder (disk, fsync included) and once
// in memory (/dev/shm), which shows the cost of the code alone.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

#include "cases/CaseDocument.h"
#include "cases/Filemanage.h"
#include "cases/SampleCases.h"
#include "platform/FileUtil.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

class NoTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return "failed"; }
};

std::string WriteCase(const std::string& path, const _FILE_ALL_INFO& f) {
  CFilemanage_2Ver lib;
  lib.SetCaseFilePath(path);
  lib.SetFileInfo(f);
  if (CaseFileResultOf(lib.SaveAllInfotoCaseFile()) != CaseFileResult::Ok) std::abort();
  return path;
}

void BM_LoadMiruCase(benchmark::State& state) {
  test::TempDir dir;
  const _FILE_ALL_INFO f = MakeMiruSample(SampleOptions{});
  const std::string path = WriteCase(dir / "miru.awp", f);
  CaseState cs;
  NoTexts texts;
  for (auto _ : state) {
    CaseDocument doc(cs, texts);
    doc.SetCasePath(path);
    if (doc.LoadCase() != 1) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(doc.Spo2Count());
  }
  state.counters["samples"] = static_cast<double>(f.samples.size());
  state.counters["readings"] = static_cast<double>(f.readings.size());
}
BENCHMARK(BM_LoadMiruCase)->Unit(benchmark::kMillisecond);

void BM_ListMiruCase(benchmark::State& state) {
  test::TempDir dir;
  const std::string path = WriteCase(dir / "miru.awp", MakeMiruSample(SampleOptions{}));
  for (auto _ : state) {
    _PATIENT_INFO patient;
    auto lib = CFilemanage::CreateFor(path);
    if (CFilemanage_2Ver::LoadPatientInfo(path, patient) != 1 || lib->LoadBPData() != 1)
      state.SkipWithError("list failed");
    benchmark::DoNotOptimize(lib->FileInfo().readings.size());
  }
}
BENCHMARK(BM_ListMiruCase)->Unit(benchmark::kMicrosecond);

_FILE_ALL_INFO Case300() {
  _FILE_ALL_INFO f = MakeAmbulatorySample(SampleOptions{});
  const _BP_RECORD model = f.readings.front();
  f.readings.clear();
  for (int i = 0; i < 300; ++i) {
    _BP_RECORD r = model;
    r.index = i;
    const int64_t t = MinuteStamp(r.year, r.month, r.day, r.hour, r.minute) + i * 15;
    int y, mo, d;
    CivilFromDays(t / 1440, y, mo, d);
    r.year = y;
    r.month = static_cast<int16_t>(mo);
    r.day = static_cast<int16_t>(d);
    r.hour = static_cast<int16_t>(t % 1440 / 60);
    r.minute = static_cast<int16_t>(t % 60);
    f.readings.push_back(r);
  }
  f.bpHead.count() = 300;
  return f;
}

void SaveEdited(benchmark::State& state, const std::string& folder) {
  const std::string path = WriteCase(folder + "/case300.awp", Case300());
  CaseState cs;
  NoTexts texts;
  CaseDocument doc(cs, texts);
  doc.SetCasePath(path);
  if (doc.LoadCase() != 1) state.SkipWithError("load failed");
  int i = 0;
  for (auto _ : state) {
    doc.AllReadings()[static_cast<size_t>(i++ % 300)].included ^= 1;
    if (doc.SaveEditedCase() != 1) state.SkipWithError("save failed");
  }
}

void BM_SaveEdited300_Disk(benchmark::State& state) {
  test::TempDir dir;
  SaveEdited(state, dir.path());
}
BENCHMARK(BM_SaveEdited300_Disk)->Unit(benchmark::kMillisecond);

void BM_SaveEdited300_Memory(benchmark::State& state) {
  std::string folder = "/dev/shm/vesk-bench-XXXXXX";
  if (access("/dev/shm", W_OK) != 0 || !mkdtemp(folder.data())) {
    state.SkipWithError("no /dev/shm");
    return;
  }
  SaveEdited(state, folder);
  fsutil::RemoveFolderTree(folder);
}
BENCHMARK(BM_SaveEdited300_Memory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk
