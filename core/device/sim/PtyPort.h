#pragma once
// A pseudo-terminal for the recorder simulator: the simulator serves the master side, the host
// opens the slave path like any serial port. The simulator keeps a slave descriptor of its own
// so a host closing and reopening the port does not hang the line up.

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "device/sim/RecorderSimulator.h"

namespace vesk::sim {

class PtyPort {
 public:
  PtyPort() = default;
  ~PtyPort();
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  bool Open();
  void Close();
  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return path_; }

 private:
  int master_ = -1;
  int slaveKeep_ = -1;
  std::string path_;
};

// Runs a simulator on its own thread over a fresh pty.
class SimulatorRunner {
 public:
  explicit SimulatorRunner(RecorderSimulator& sim) : sim_(sim) {}
  ~SimulatorRunner() { Stop(); }
  bool Start();
  void Stop();
  const std::string& Path() const { return pty_.SlavePath(); }

 private:
  RecorderSimulator& sim_;
  PtyPort pty_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vesk::sim
