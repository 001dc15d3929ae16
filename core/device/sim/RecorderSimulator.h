#pragma once
// An emulated recorder speaking the recorder link: it answers requests from what a SimRecorder
// holds, keeps plans uploaded to it, and can misbehave on purpose (cut the line, damage or
// drop a reply, stall, answer with an error). It serves any byte stream given as a file
// descriptor (pty master, socket) at an emulated line speed.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "device/LinkFrame.h"
#include "device/sim/SimRecorder.h"

namespace vesk::sim {

struct SimFaults {
  // After this many bytes sent the line is cut: nothing more goes out (-1: never).
  int64_t cutAfterBytes = -1;
  // On a cut, also hang up (close the line) instead of going silent.
  bool hangUpOnCut = false;
  // 1-based number of a reply frame to send damaged (0: none).
  int corruptFrame = 0;
  // 1-based number of a request to leave unanswered (0: none).
  int dropRequest = 0;
  // 1-based number of a request before whose answer the recorder stalls (0: none).
  int stallRequest = 0;
  double stallSeconds = 0;
  // Answer every request (or only requests of errorCommand, when not 0) with this status.
  uint8_t errorStatus = 0;
  uint8_t errorCommand = 0;
};

class RecorderSimulator {
 public:
  explicit RecorderSimulator(SimRecorder recorder);

  void SetFaults(const SimFaults& faults);
  // Emulated line speed; 0 sends as fast as the descriptor takes it.
  void SetBaud(int baud) { baud_ = baud; }
  // Largest payload the recorder sends or accepts.
  void SetMaxPayload(uint16_t max) { maxPayload_ = max; }

  // The answer to one request (no faults applied); changes the recorder state for uploads
  // and erases.
  link::Frame Answer(const link::Frame& request);

  // Serves until stop is set, or until a cut with hang-up. Returns false when the descriptor
  // failed.
  bool Serve(int fd, const std::atomic<bool>& stop);

  SimRecorder Snapshot() const;
  uint64_t BytesSent() const { return bytesSent_.load(); }
  int RequestsSeen() const { return requests_.load(); }

 private:
  std::vector<uint8_t> BlockBytes(uint8_t block);
  bool HasBlock(uint8_t block) const;
  // Writes at the emulated line speed, honouring a cut. False when the line is now cut.
  bool Send(int fd, const std::vector<uint8_t>& bytes, const std::atomic<bool>& stop);

  mutable std::mutex mutex_;
  SimRecorder rec_;
  std::map<uint8_t, std::vector<uint8_t>> cache_;
  SimFaults faults_;
  // Set by the test's thread while the serving thread reads them.
  std::atomic<int> baud_{0};
  std::atomic<uint16_t> maxPayload_{link::kMaxPayload};
  std::atomic<uint64_t> bytesSent_{0};
  std::atomic<int> requests_{0};
  int framesSent_ = 0;
  bool cut_ = false;
  // The last request answered and its reply, resent when the host repeats the request.
  link::Frame lastRequest_;
  std::vector<uint8_t> lastReply_;
  bool haveLast_ = false;
};

}  // namespace vesk::sim
