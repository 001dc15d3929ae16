#pragma once
// Frames of the recorder link (docs/recorder-link-protocol.md): bytes in, frames out, nothing
// else. Host and recorder simulator share this codec; it never touches a port or a clock.
//
//   A5 5A | LEN lo hi | SEQ | CMD | HCRC | payload (LEN bytes) | CRC lo hi
//
// HCRC is a CRC-8 over LEN, SEQ and CMD so that a damaged length is refused at once instead of
// making the reader wait for bytes that never come; CRC is a CRC-16/CCITT-FALSE over
// everything from LEN to the end of the payload.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vesk::link {

constexpr uint8_t kSync0 = 0xA5;
constexpr uint8_t kSync1 = 0x5A;
constexpr size_t kHeaderSize = 7;
constexpr size_t kTrailerSize = 2;
constexpr size_t kFrameOverhead = kHeaderSize + kTrailerSize;
constexpr size_t kMaxPayload = 4096;
constexpr uint8_t kResponseBit = 0x80;

struct Frame {
  uint8_t seq = 0;
  uint8_t cmd = 0;
  std::vector<uint8_t> payload;
  bool operator==(const Frame&) const = default;
};

uint8_t Crc8(std::span<const uint8_t> bytes);
uint16_t Crc16(std::span<const uint8_t> bytes, uint16_t crc = 0xFFFF);

// The payload must not exceed kMaxPayload; longer payloads are cut (callers never send them).
std::vector<uint8_t> EncodeFrame(uint8_t seq, uint8_t cmd, std::span<const uint8_t> payload);
void AppendFrame(std::vector<uint8_t>& out, uint8_t seq, uint8_t cmd,
                 std::span<const uint8_t> payload);

// Collects bytes as they arrive and hands out whole, checked frames. Garbage between frames,
// damaged headers and frames with a bad CRC are skipped byte by byte, so the next good frame
// is always found.
class FrameParser {
 public:
  void Feed(const uint8_t* data, size_t size);
  // True and a frame when one is complete; false when more bytes are needed.
  bool Next(Frame& out);
  void Reset();

  size_t Buffered() const { return buf_.size() - start_; }
  // Frames refused because of a bad header or CRC since the last Reset.
  size_t BadFrames() const { return badFrames_; }
  // Bytes thrown away while looking for a frame start.
  size_t SkippedBytes() const { return skipped_; }

 private:
  void Drop(size_t n);
  std::vector<uint8_t> buf_;
  size_t start_ = 0;
  size_t badFrames_ = 0;
  size_t skipped_ = 0;
};

}  // namespace vesk::link
