#include "device/LinkFrame.h"

#include <algorithm>

namespace vesk::link {

uint8_t Crc8(std::span<const uint8_t> bytes) {
  uint8_t crc = 0;
  for (uint8_t b : bytes) {
    crc ^= b;
    for (int i = 0; i < 8; ++i)
      crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
  }
  return crc;
}

namespace {
struct Crc16Table {
  uint16_t t[256];
  Crc16Table() {
    for (int i = 0; i < 256; ++i) {
      uint16_t c = static_cast<uint16_t>(i << 8);
      for (int k = 0; k < 8; ++k)
        c = static_cast<uint16_t>((c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1);
      t[i] = c;
    }
  }
};
const Crc16Table kCrc16;
}  // namespace

uint16_t Crc16(std::span<const uint8_t> bytes, uint16_t crc) {
  for (uint8_t b : bytes)
    crc = static_cast<uint16_t>((crc << 8) ^ kCrc16.t[((crc >> 8) ^ b) & 0xFF]);
  return crc;
}

void AppendFrame(std::vector<uint8_t>& out, uint8_t seq, uint8_t cmd,
                 std::span<const uint8_t> payload) {
  const size_t len = std::min(payload.size(), kMaxPayload);
  const size_t at = out.size();
  out.reserve(at + len + kFrameOverhead);
  out.push_back(kSync0);
  out.push_back(kSync1);
  out.push_back(static_cast<uint8_t>(len & 0xFF));
  out.push_back(static_cast<uint8_t>(len >> 8));
  out.push_back(seq);
  out.push_back(cmd);
  out.push_back(Crc8(std::span<const uint8_t>(out.data() + at + 2, 4)));
  out.insert(out.end(), payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(len));
  uint16_t crc = Crc16(std::span<const uint8_t>(out.data() + at + 2, 4));
  crc = Crc16(payload.first(len), crc);
  out.push_back(static_cast<uint8_t>(crc & 0xFF));
  out.push_back(static_cast<uint8_t>(crc >> 8));
}

std::vector<uint8_t> EncodeFrame(uint8_t seq, uint8_t cmd, std::span<const uint8_t> payload) {
  std::vector<uint8_t> out;
  AppendFrame(out, seq, cmd, payload);
  return out;
}

void FrameParser::Feed(const uint8_t* data, size_t size) {
  if (size == 0) return;
  // Compact now and then so a long transfer does not grow the buffer without bound.
  if (start_ > 0 && start_ >= buf_.size() / 2) {
    buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  buf_.insert(buf_.end(), data, data + size);
}

void FrameParser::Drop(size_t n) {
  start_ = std::min(buf_.size(), start_ + n);
}

void FrameParser::Reset() {
  buf_.clear();
  start_ = 0;
  badFrames_ = 0;
  skipped_ = 0;
}

bool FrameParser::Next(Frame& out) {
  for (;;) {
    const uint8_t* p = buf_.data() + start_;
    const size_t avail = buf_.size() - start_;
    // Find the sync pair.
    size_t i = 0;
    while (i + 1 < avail && !(p[i] == kSync0 && p[i + 1] == kSync1)) ++i;
    if (i > 0) {
      // Keep a lone trailing A5: it may be the first half of the next sync pair.
      const size_t drop = (i + 1 == avail && p[i] == kSync0) ? i : std::min(i, avail);
      skipped_ += drop;
      Drop(drop);
      continue;
    }
    if (avail < kHeaderSize) return false;
    const size_t len = p[2] | (size_t(p[3]) << 8);
    if (Crc8(std::span<const uint8_t>(p + 2, 4)) != p[6] || len > kMaxPayload) {
      ++badFrames_;
      ++skipped_;
      Drop(1);
      continue;
    }
    if (avail < kHeaderSize + len + kTrailerSize) return false;
    const uint16_t want =
        static_cast<uint16_t>(p[kHeaderSize + len] | (p[kHeaderSize + len + 1] << 8));
    uint16_t crc = Crc16(std::span<const uint8_t>(p + 2, 4));
    crc = Crc16(std::span<const uint8_t>(p + kHeaderSize, len), crc);
    if (crc != want) {
      ++badFrames_;
      ++skipped_;
      Drop(1);
      continue;
    }
    out.seq = p[4];
    out.cmd = p[5];
    out.payload.assign(p + kHeaderSize, p + kHeaderSize + len);
    Drop(kHeaderSize + len + kTrailerSize);
    return true;
  }
}

}  // namespace vesk::link
