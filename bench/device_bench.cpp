// Throughput of the recorder link: a 48-hour MIRU monitoring download (1 Hz SpO2 and pulse,
// about 170,000 samples) from the simulator over a pty at 115,200 baud. The figure that
// matters is the payload delivered per second against the line's capacity of baud / 10 bytes
// per second; the goal is at least 90 %.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "device/DeviceLink.h"
#include "device/LinkTrace.h"
#include "device/sim/PtyPort.h"
#include "device/sim/RecorderSimulator.h"

namespace {

void BM_Miru48hDownload(benchmark::State& state) {
  using namespace vesk;
  const int baud = static_cast<int>(state.range(0));
  sim::RecorderSimulator simulator(sim::MakeSampleRecorder(kMiru, 0, 1, -1));
  simulator.SetBaud(baud);
  sim::SimulatorRunner runner(simulator);
  if (!runner.Start()) {
    state.SkipWithError("no pty");
    return;
  }
  DeviceLink link;
  link.SetPort(runner.Path(), baud);
  if (!link.CreateLinkObjects(simulator.Snapshot().protocol)) {
    state.SkipWithError("no protocol");
    return;
  }
  size_t payload = 0, samples = 0;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    _DOWNLOAD_DATAINFO data;
    tag_SUPPORT_PROTOCOL info;
    _SUB_VERSION version;
    if (link.Download(kModeMonitor, data, info, version) != DeviceResult::Ok) {
      state.SkipWithError("download failed");
      return;
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    payload += link.Protocol()->LastPayloadBytes();
    samples = std::get<MiruDownload>(data.data).spo2.samples.size();
  }
  const double rate = seconds > 0 ? payload / seconds : 0;
  state.counters["samples"] = static_cast<double>(samples);
  state.counters["payload_Bps"] = rate;
  state.counters["line_Bps"] = baud / 10.0;
  state.counters["efficiency_pct"] = rate * 100.0 / (baud / 10.0);
}

// One pass takes about two minutes of emulated line time; more would only repeat it.
BENCHMARK(BM_Miru48hDownload)->Arg(115200)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// Cost of the support trace: a one-hour MIRU monitoring download (3,600 SpO2 samples) at full
// speed, without an emulated line, with the trace off (0) and on (1, a file in the temporary
// folder). The trace writes and flushes one hex line per frame.
void BM_DownloadTraced(benchmark::State& state) {
  using namespace vesk;
  sim::RecorderSimulator simulator(sim::MakeSampleRecorder(kMiru, 0, 1, 3600));
  sim::SimulatorRunner runner(simulator);
  if (!runner.Start()) {
    state.SkipWithError("no pty");
    return;
  }
  DeviceLink link;
  link.SetPort(runner.Path(), 115200);
  if (!link.CreateLinkObjects(simulator.Snapshot().protocol)) {
    state.SkipWithError("no protocol");
    return;
  }
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("vesk-bench-trace-" + std::to_string(::getpid()) + ".log"))
                               .string();
  LinkTrace trace;
  if (state.range(0)) {
    if (!trace.Open(path)) {
      state.SkipWithError(trace.Error().c_str());
      return;
    }
    link.SetTrace(&trace);
  }
  for (auto _ : state) {
    _DOWNLOAD_DATAINFO data;
    tag_SUPPORT_PROTOCOL info;
    _SUB_VERSION version;
    if (link.Download(kModeMonitor, data, info, version) != DeviceResult::Ok) {
      state.SkipWithError("download failed");
      break;
    }
  }
  link.SetTrace(nullptr);
  trace.Close();
  std::error_code ec;
  const auto bytes = std::filesystem::file_size(path, ec);
  if (state.range(0) && !ec && state.iterations() > 0)
    state.counters["trace_bytes_per_download"] =
        static_cast<double>(bytes) / static_cast<double>(state.iterations());
  std::filesystem::remove(path, ec);
}
BENCHMARK(BM_DownloadTraced)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
