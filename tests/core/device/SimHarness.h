#pragma once
// A recorder simulator on a pty with a DeviceLink aimed at it, for the end-to-end tests.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "device/DeviceLink.h"
#include "device/DownloadOutcome.h"
#include "device/sim/PtyPort.h"
#include "device/sim/RecorderSimulator.h"

namespace vesk {

// Failure messages name the code rather than dumping its bytes.
inline void PrintTo(DeviceResult r, std::ostream* os) {
  *os << "DeviceResult " << ToInt(r);
}
inline void PrintTo(CaseFileResult r, std::ostream* os) {
  *os << "CaseFileResult " << ToInt(r);
}
inline void PrintTo(const DownloadOutcome& o, std::ostream* os) {
  *os << "{step " << static_cast<int>(o.step) << ", device " << ToInt(o.device) << ", case file "
      << ToInt(o.caseFile) << "}";
}

}  // namespace vesk

namespace vesk::test {

// Short timeouts: the simulator answers at once unless a fault says otherwise.
inline LinkTiming QuickTiming() {
  return LinkTiming{200, 1, 4091};
}

struct SimHarness {
  explicit SimHarness(sim::SimRecorder rec, int baud = 0)
      : sim(std::move(rec)), runner(sim), baud(baud) {
    sim.SetBaud(baud);
  }
  // Starts the simulator and creates the link objects of its protocol number.
  ::testing::AssertionResult Start() {
    if (!runner.Start()) return ::testing::AssertionFailure() << "no pty";
    link.SetPort(runner.Path(), baud > 0 ? baud : 115200);
    link.SetLinkTiming(QuickTiming());
    if (!link.CreateLinkObjects(sim.Snapshot().protocol))
      return ::testing::AssertionFailure() << "no protocol";
    return ::testing::AssertionSuccess();
  }
  DetectOptions PtyOnly() const {
    DetectOptions o;
    o.probeHid = false;
    o.probeSystemPorts = false;
    o.extraPorts = {runner.Path()};
    o.timing = QuickTiming();
    return o;
  }

  sim::RecorderSimulator sim;
  sim::SimulatorRunner runner;
  DeviceLink link;
  int baud;
};

}  // namespace vesk::test
