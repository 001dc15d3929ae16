#pragma once
// The figures a transfer shares with whoever watches it: written by the protocol on the worker
// thread, read by the progress window's timer, and the cancel request going the other way.
//
// The cancel request is cleared only by Arm, on the thread that starts the worker and before
// it starts. A worker that cleared it itself would lose a Cancel pressed between the start of
// the thread and its first step.

#include <atomic>

namespace vesk {

struct TransferProgress {
  std::atomic<int> percent{0};
  std::atomic<int> state{0};  // TransferState
  std::atomic<int> type{0};   // enum_TransportType
  std::atomic<bool> cancel{false};

  // Before a transfer is started: fresh figures and no cancel request.
  void Arm() {
    Reset();
    cancel = false;
  }
  // As a transfer begins (on its own thread): fresh figures; a cancel request made already
  // stays and stops the transfer before its first packet.
  void Reset() {
    percent = 0;
    state = 0;
    type = 0;
  }
};

}  // namespace vesk
