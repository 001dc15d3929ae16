// Throughput of the recorder link: a 48-hour MIRU monitoring download (1 Hz SpO2 and pulse,
// about 170,000 samples) from the simulator over a pty at 115,200 baud. The figure that
// matters is the payload delivered per second against the line's capacity of baud / 10 bytes
// per second; the goal is at least 90 %.
#include <benchmark/benchmark.h>

#include <chrono>

#include "device/DeviceLink.h"
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
  link.CreateLinkObjects(simulator.Snapshot().protocol);
  size_t payload = 0, samples = 0;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    _DOWNLOAD_DATAINFO data;
    tag_SUPPORT_PROTOCOL info;
    _SUB_VERSION version;
    if (link.Download(kModeMonitor, data, info, version) != kResultOk) {
      state.SkipWithError("download failed");
      return;
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    payload += link.Protocol()->LastPayloadBytes();
    samples = std::get<_DOWNLOAD_MIRU>(data.data).spo2.samples.size();
  }
  const double rate = seconds > 0 ? payload / seconds : 0;
  state.counters["samples"] = static_cast<double>(samples);
  state.counters["payload_Bps"] = rate;
  state.counters["line_Bps"] = baud / 10.0;
  state.counters["efficiency_pct"] = rate * 100.0 / (baud / 10.0);
}

// One pass takes about two minutes of emulated line time; more would only repeat it.
BENCHMARK(BM_Miru48hDownload)->Arg(115200)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
