#pragma once
// The figures a transfer shares with whoever watches it: written by the protocol on the worker
// thread, read by the progress window's timer, and the cancel request going the other way.

#include <atomic>

namespace vesk {

struct TransferProgress {
  std::atomic<int> percent{0};
  std::atomic<int> state{0};  // TransferState
  std::atomic<int> type{0};   // enum_TransportType
  std::atomic<bool> cancel{false};

  void Reset() {
    percent = 0;
    state = 0;
    type = 0;
    cancel = false;
  }
};

}  // namespace vesk
