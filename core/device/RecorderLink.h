#pragma once
// The host side of the recorder link above the frames: one request, one reply, with bounded
// retries, a purge of the line between attempts, cancellation between packets and chunked
// reading of large blocks. Every wait is bounded; nothing here blocks for good.

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "device/CDevice.h"
#include "device/LinkFrame.h"
#include "device/LinkMessages.h"
#include "device/LinkTrace.h"

namespace vesk {

struct LinkTiming {
  // Silence allowed after a request beyond the time its reply needs on the line.
  int replyTimeoutMs = 1000;
  // Further attempts after the first when a reply is missing or damaged.
  int retries = 2;
  // Largest READ the host asks for; the recorder's own limit from HELLO also applies.
  int maxChunk = 4091;
};

class RecorderLink {
 public:
  // A trace, when given, gets every frame sent and every frame received.
  RecorderLink(CDevice& device, const LinkTiming& timing, const std::atomic<bool>* cancel,
               LinkTrace* trace = nullptr);

  // Sends one request and waits for its reply. Returns a DeviceResult: 1 with the reply's
  // payload after the status byte in `reply`; the recorder's error status mapped to 3, 4, 14,
  // 13 or 7; 6 when no reply came; 5 when the link went away; 2000 when cancelled.
  // expectBytes is the size of the expected reply, to allow for its time on the line.
  [[nodiscard]] DeviceResult Transact(uint8_t cmd, std::span<const uint8_t> payload,
                                      std::vector<uint8_t>& reply, size_t expectBytes = 0);

  [[nodiscard]] DeviceResult Hello(link::Hello& out);
  [[nodiscard]] DeviceResult GetBlockInfo(uint8_t block, link::BlockInfo& out);
  // Reads a whole block; *percent (when given) follows the bytes read, 0 to 100.
  [[nodiscard]] DeviceResult ReadBlock(uint8_t block, link::BlockInfo& info,
                                       std::vector<uint8_t>& data, std::atomic<int>* percent);
  [[nodiscard]] DeviceResult WritePlan(uint8_t mode, const _BP_TRANSPORT_INFO& plan);
  [[nodiscard]] DeviceResult Erase(uint8_t block);
  // Tells the recorder the session ends; the answer does not matter.
  void Bye();

  // Data bytes received by READ requests so far (without framing).
  size_t PayloadBytes() const { return payloadBytes_; }
  bool Cancelled() const { return cancel_ && cancel_->load(); }

 private:
  DeviceResult WaitReply(uint8_t seq, uint8_t cmd, int timeoutMs, link::Frame& out);
  int BytesPerSecond() const;

  CDevice& dev_;
  LinkTiming timing_;
  const std::atomic<bool>* cancel_;
  LinkTrace* trace_;
  link::FrameParser parser_;
  uint8_t seq_ = 0;
  uint16_t recorderMaxPayload_ = 256;
  size_t payloadBytes_ = 0;
};

}  // namespace vesk
