#include "device/sim/PtyPort.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace vesk::sim {

PtyPort::~PtyPort() {
  Close();
}

bool PtyPort::Open() {
  Close();
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) return false;
  char name[128];
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
      ::ptsname_r(master_, name, sizeof name) != 0) {
    Close();
    return false;
  }
  path_ = name;
  slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slaveKeep_ < 0) {
    Close();
    return false;
  }
  // Raw both ways, so every byte value passes untouched.
  termios tio{};
  if (::tcgetattr(slaveKeep_, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(slaveKeep_, TCSANOW, &tio);
  }
  return true;
}

void PtyPort::Close() {
  if (slaveKeep_ >= 0) ::close(slaveKeep_);
  if (master_ >= 0) ::close(master_);
  slaveKeep_ = master_ = -1;
  path_.clear();
}

bool SimulatorRunner::Start() {
  if (!pty_.Open()) return false;
  stop_ = false;
  thread_ = std::thread([this] {
    sim_.Serve(pty_.MasterFd(), stop_);
    // A hang-up: close the line so the host sees it go.
    if (!stop_.load()) pty_.Close();
  });
  return true;
}

void SimulatorRunner::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  pty_.Close();
}

}  // namespace vesk::sim
