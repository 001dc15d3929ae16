// A 48-hour MIRU monitoring download (1 Hz SpO2 and pulse, about 170,000 samples) through the
// window's own path: the download command with its progress window and timers, the core's
// worker thread, the simulator on a pty at 115,200 baud. Two figures matter: the payload
// delivered per second against the line's capacity of baud / 10 bytes per second (goal at
// least 90 %), and how regularly the window's thread gets to run meanwhile (goal: no gap of
// 50 ms or more between the ticks of a 10 ms probe timer).
#include <benchmark/benchmark.h>

#include <QtCore/QElapsedTimer>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <memory>

#include "cases/CaseState.h"
#include "device/DeviceCaseDocument.h"
#include "device/sim/PtyPort.h"
#include "device/sim/RecorderSimulator.h"
#include "platform/MessageSink.h"
#include "platform/ProgramDir.h"
#include "view/TransferCommands.h"

namespace {

using namespace vesk;

class NoErrorTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

void BM_Miru48hDownloadThroughTheWindow(benchmark::State& state) {
  const int baud = static_cast<int>(state.range(0));
  QTemporaryDir home;
  SetProgramDir(home.path().toStdString());
  sim::RecorderSimulator simulator(sim::MakeSampleRecorder(kMiru, 0, 1, -1));
  simulator.SetBaud(baud);
  sim::SimulatorRunner runner(simulator);
  if (!runner.Start()) {
    state.SkipWithError("no pty");
    return;
  }
  CLanguage language;
  NullMessageSink sink;
  CConfigFile config(language, sink, 2);
  config.settings.showSelectDevice = 0;
  config.settings.useBluetooth = 0;
  config.settings.extraSerialPorts = runner.Path();
  config.settings.patientFilePath = home.path().toStdString() + "/data";
  CaseState caseState;
  NoErrorTexts texts;
  DeviceCaseDocument doc(caseState, texts, language);
  Hooks().tuneDetection = [](DetectOptions& o) {
    o.probeHid = false;
    o.probeSystemPorts = false;
  };
  TransferCommands commands(config, language, sink, doc, nullptr);

  // Answers the data-mode choice with monitoring (SpO2 included), as a user would.
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d || d->objectName() != "DataModeDialog") return;
    d->findChild<QListWidget*>("1039")->setCurrentRow(1);
    d->findChild<QPushButton*>("1")->click();
  });
  answer.start();
  // The probe: how long the window's thread went without running a 10 ms timer.
  QElapsedTimer clock;
  qint64 last = 0, maxGap = 0;
  bool probing = false;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    if (probing) maxGap = std::max(maxGap, now - last);
    last = now;
    probing = true;
  });

  double seconds = 0;
  size_t payload = 0;
  for (auto _ : state) {
    clock.start();
    probing = false;
    probe.start();
    commands.Download();
    probe.stop();
    if (doc.StoredFiles().empty()) {
      state.SkipWithError("download failed");
      return;
    }
    seconds += commands.LastRun().elapsedMs / 1000.0;
    payload += doc.Link().Protocol()->LastPayloadBytes();
  }
  const double rate = seconds > 0 ? payload / seconds : 0;
  state.counters["payload_Bps"] = rate;
  state.counters["line_Bps"] = baud / 10.0;
  state.counters["efficiency_pct"] = rate * 100.0 / (baud / 10.0);
  state.counters["probe_max_gap_ms"] = double(maxGap);
  state.counters["tick50_max_gap_ms"] = double(commands.LastRun().maxTickGapMs);
  Hooks() = TransferHooks{};
}

// One pass takes about two minutes of emulated line time; more would only repeat it.
BENCHMARK(BM_Miru48hDownloadThroughTheWindow)
    ->Arg(115200)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
