#include "device/sim/RecorderSimulator.h"

#include <chrono>
#include <thread>

#include "device/CDevice.h"
#include "device/LinkMessages.h"

namespace vesk::sim {

namespace {
using Clock = std::chrono::steady_clock;

link::Frame Reply(const link::Frame& req, uint8_t status) {
  link::Frame f;
  f.seq = req.seq;
  f.cmd = static_cast<uint8_t>(req.cmd | link::kResponseBit);
  f.payload.push_back(status);
  return f;
}

// Sleeps until `until`, waking early when asked to stop.
void SleepUntil(Clock::time_point until, const std::atomic<bool>& stop) {
  while (!stop.load()) {
    const auto now = Clock::now();
    if (now >= until) return;
    std::this_thread::sleep_for(
        std::min<Clock::duration>(until - now, std::chrono::milliseconds(20)));
  }
}
}  // namespace

RecorderSimulator::RecorderSimulator(SimRecorder recorder) : rec_(std::move(recorder)) {}

void RecorderSimulator::SetFaults(const SimFaults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
}

SimRecorder RecorderSimulator::Snapshot() const {
  std::lock_guard lock(mutex_);
  return rec_;
}

bool RecorderSimulator::HasBlock(uint8_t block) const {
  switch (block) {
    case link::kBlockPlan:
      return rec_.hasPlan;
    case link::kBlockSpO2:
      return rec_.spo2.has_value();
    case link::kBlockIntervals:
      return rec_.intervals.has_value();
    default:
      return rec_.readings.count(block) > 0;
  }
}

std::vector<uint8_t> RecorderSimulator::BlockBytes(uint8_t block) {
  auto it = cache_.find(block);
  if (it != cache_.end()) return it->second;
  std::vector<uint8_t> out;
  if (block == link::kBlockPlan) {
    out.resize(link::kPlanSize);
    link::EncodePlan(rec_.plan, out.data());
  } else if (block == link::kBlockSpO2) {
    out.resize(rec_.spo2->samples.size() * link::kSampleSize);
    for (size_t i = 0; i < rec_.spo2->samples.size(); ++i)
      link::EncodeSample(rec_.spo2->samples[i], out.data() + i * link::kSampleSize);
  } else if (block == link::kBlockIntervals) {
    for (int32_t v : rec_.intervals->first) link::PutI32(out, v);
    for (int32_t v : rec_.intervals->second) link::PutI32(out, v);
  } else {
    const auto& readings = rec_.readings[block].readings;
    out.resize(readings.size() * link::kReadingSize);
    for (size_t i = 0; i < readings.size(); ++i)
      EncodeBpRecord56(readings[i], out.data() + i * link::kReadingSize);
  }
  cache_[block] = out;
  return out;
}

link::Frame RecorderSimulator::Answer(const link::Frame& req) {
  std::lock_guard lock(mutex_);
  const auto& p = req.payload;
  switch (req.cmd) {
    case link::kCmdHello: {
      link::Frame f = Reply(req, link::kStatusOk);
      link::Hello h;
      h.deviceKind = static_cast<uint8_t>(rec_.deviceKind);
      h.protocol = static_cast<uint8_t>(rec_.protocol);
      h.deviceByte = rec_.deviceByte;
      h.lockByte = rec_.lockByte;
      h.modeFlags = rec_.modeFlags;
      h.version = rec_.version;
      h.maxPayload = maxPayload_;
      link::EncodeHello(h, f.payload);
      return f;
    }
    case link::kCmdBlockInfo: {
      if (p.size() != 1) return Reply(req, link::kStatusBadRequest);
      const uint8_t block = p[0];
      if (!HasBlock(block)) return Reply(req, link::kStatusNotSupported);
      link::BlockInfo info;
      info.recordSize = link::RecordSizeOf(block);
      if (block == link::kBlockPlan) {
        info.count = 1;
      } else if (block == link::kBlockSpO2) {
        info.count = static_cast<uint32_t>(rec_.spo2->samples.size());
        for (int i = 1; i < 8; ++i) info.header[i] = rec_.spo2->head.v[i];
      } else if (block == link::kBlockIntervals) {
        info.header[0] = static_cast<int32_t>(rec_.intervals->first.size());
        info.header[1] = static_cast<int32_t>(rec_.intervals->second.size());
        info.count = static_cast<uint32_t>(info.header[0] + info.header[1]);
      } else {
        const auto& b = rec_.readings[block];
        info.count = static_cast<uint32_t>(b.readings.size());
        for (int i = 1; i < 8; ++i) info.header[i] = b.head.v[i];
      }
      if (block != link::kBlockIntervals) info.header[0] = static_cast<int32_t>(info.count);
      link::Frame f = Reply(req, link::kStatusOk);
      link::EncodeBlockInfo(info, f.payload);
      return f;
    }
    case link::kCmdRead: {
      if (p.size() != 7) return Reply(req, link::kStatusBadRequest);
      const uint8_t block = p[0];
      const uint32_t offset = link::GetU32(p.data() + 1);
      const uint16_t len = link::GetU16(p.data() + 5);
      if (!HasBlock(block)) return Reply(req, link::kStatusNotSupported);
      const std::vector<uint8_t> bytes = BlockBytes(block);
      if (uint64_t(offset) + len > bytes.size() || len + 5u > maxPayload_)
        return Reply(req, link::kStatusRange);
      link::Frame f = Reply(req, link::kStatusOk);
      link::PutU32(f.payload, offset);
      f.payload.insert(f.payload.end(), bytes.begin() + offset, bytes.begin() + offset + len);
      return f;
    }
    case link::kCmdWritePlan: {
      if (p.size() != 1 + link::kPlanSize) return Reply(req, link::kStatusBadRequest);
      if (!rec_.hasPlan) return Reply(req, link::kStatusNotSupported);
      const uint8_t mode = p[0];
      if (mode < 1 || mode >= kDataModeSlots || !(rec_.modeFlags & (1u << mode)))
        return Reply(req, link::kStatusNotSupported);
      rec_.plan = link::DecodePlan(p.data() + 1);
      std::copy(p.begin() + 1, p.end(), rec_.uploadedBytes.begin());
      rec_.uploadedMode = mode;
      ++rec_.uploads;
      cache_.erase(link::kBlockPlan);
      return Reply(req, link::kStatusOk);
    }
    case link::kCmdErase: {
      if (p.size() != 1) return Reply(req, link::kStatusBadRequest);
      const uint8_t block = p[0];
      if (!HasBlock(block) || block == link::kBlockPlan || block == link::kBlockIntervals)
        return Reply(req, link::kStatusNotSupported);
      if (block == link::kBlockSpO2)
        rec_.spo2 = SpO2Block{};
      else
        rec_.readings[block] = {};
      rec_.erased.push_back(block);
      cache_.erase(block);
      return Reply(req, link::kStatusOk);
    }
    case link::kCmdBye:
      return Reply(req, link::kStatusOk);
    default:
      return Reply(req, link::kStatusBadRequest);
  }
}

bool RecorderSimulator::Send(int fd, const std::vector<uint8_t>& bytes,
                             const std::atomic<bool>& stop) {
  int64_t limit = -1;
  {
    std::lock_guard lock(mutex_);
    limit = faults_.cutAfterBytes;
  }
  size_t count = bytes.size();
  if (limit >= 0 && int64_t(bytesSent_.load() + count) > limit) {
    count = static_cast<size_t>(std::max<int64_t>(0, limit - int64_t(bytesSent_.load())));
    cut_ = true;
  }
  // Paced in small slices: each slice leaves when the line would have finished sending it.
  const size_t slice = baud_ > 0 ? 64 : count;
  const double bytesPerSecond = baud_ > 0 ? baud_ / 10.0 : 0;
  const auto start = Clock::now();
  size_t done = 0;
  while (done < count && !stop.load()) {
    const size_t n = std::min(slice, count - done);
    if (bytesPerSecond > 0)
      SleepUntil(start + std::chrono::duration_cast<Clock::duration>(
                             std::chrono::duration<double>((done + n) / bytesPerSecond)),
                 stop);
    // A host that stopped reading must not hold the recorder up for long.
    if (fdio::Write(fd, bytes.data() + done, n, 1000) < 0) return !cut_;
    done += n;
    bytesSent_ += n;
  }
  return !cut_;
}

bool RecorderSimulator::Serve(int fd, const std::atomic<bool>& stop) {
  link::FrameParser parser;
  unsigned char buf[4096];
  while (!stop.load()) {
    const int n = fdio::Read(fd, buf, sizeof buf, 50);
    if (n < 0) return false;
    if (cut_) continue;  // a cut line hears nothing
    parser.Feed(buf, static_cast<size_t>(n));
    link::Frame req;
    while (!cut_ && parser.Next(req)) {
      const int index = ++requests_;
      SimFaults faults;
      {
        std::lock_guard lock(mutex_);
        faults = faults_;
      }
      if (baud_ > 0) {
        // The request itself took its time on the line.
        const double secs = (req.payload.size() + link::kFrameOverhead) * 10.0 / baud_;
        SleepUntil(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(secs)),
                   stop);
      }
      if (faults.dropRequest == index) continue;
      if (faults.stallRequest == index && faults.stallSeconds > 0)
        SleepUntil(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(faults.stallSeconds)),
                   stop);
      std::vector<uint8_t> out;
      const bool repeat = haveLast_ && req == lastRequest_;
      if (repeat) {
        out = lastReply_;
      } else {
        link::Frame reply;
        if (faults.errorStatus != 0 &&
            (faults.errorCommand == 0 || faults.errorCommand == req.cmd)) {
          reply.seq = req.seq;
          reply.cmd = static_cast<uint8_t>(req.cmd | link::kResponseBit);
          reply.payload.push_back(faults.errorStatus);
        } else {
          reply = Answer(req);
        }
        out = link::EncodeFrame(reply.seq, reply.cmd, reply.payload);
        lastRequest_ = req;
        lastReply_ = out;
        haveLast_ = true;
      }
      if (++framesSent_ == faults.corruptFrame && out.size() > link::kHeaderSize)
        out[out.size() - 3] ^= 0x55;  // last payload byte (or HCRC for an empty payload)
      if (!Send(fd, out, stop)) {
        if (faults.hangUpOnCut) return true;
      }
    }
  }
  return true;
}

}  // namespace vesk::sim
