#include "device/RecorderLink.h"

#include <algorithm>
#include <chrono>

namespace vesk {

namespace {
using Clock = std::chrono::steady_clock;

DeviceResult ResultOfStatus(uint8_t status) {
  switch (status) {
    case link::kStatusOk:
      return DeviceResult::Ok;
    case link::kStatusRegion:
      return DeviceResult::RegionError;
    case link::kStatusRemote:
      return DeviceResult::RemoteError;
    case link::kStatusNotSupported:
      return DeviceResult::NotSupported;
    case link::kStatusNoData:
      return DeviceResult::NoData;
    default:
      return DeviceResult::ProtocolError;
  }
}

// A block larger than this is a damaged header, not a recording.
constexpr uint64_t kMaxBlockBytes = 64u << 20;
}  // namespace

RecorderLink::RecorderLink(CDevice& device, const LinkTiming& timing,
                           const std::atomic<bool>* cancel, LinkTrace* trace)
    : dev_(device), timing_(timing), cancel_(cancel), trace_(trace) {}

int RecorderLink::BytesPerSecond() const {
  const int baud = dev_.Settings().BaudRate;
  return std::max(96, baud / 10);
}

DeviceResult RecorderLink::WaitReply(uint8_t seq, uint8_t cmd, int timeoutMs, link::Frame& out) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  unsigned char buf[4096];
  for (;;) {
    while (parser_.Next(out)) {
      // The frame as it came: the codec is exact, so encoding it again gives its bytes.
      if (trace_) trace_->Received(link::EncodeFrame(out.seq, out.cmd, out.payload));
      if (out.seq == seq && out.cmd == (cmd | link::kResponseBit)) return DeviceResult::Ok;
      // A late answer to an earlier attempt: ignore it.
    }
    if (Cancelled()) return DeviceResult::Cancelled;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return DeviceResult::NoReply;
    // Short slices so a cancel request is seen quickly even while a long reply arrives.
    dev_.SetTimeout(static_cast<int>(std::min<long long>(left, 50)));
    const int n = dev_.RecvData(buf, sizeof buf);
    if (n < 0) return DeviceResult::LinkLost;
    parser_.Feed(buf, static_cast<size_t>(n));
  }
}

DeviceResult RecorderLink::Transact(uint8_t cmd, std::span<const uint8_t> payload,
                                    std::vector<uint8_t>& reply, size_t expectBytes) {
  const uint8_t seq = ++seq_;
  std::vector<uint8_t> frame = link::EncodeFrame(seq, cmd, payload);
  const int lineMs = static_cast<int>((frame.size() + expectBytes + link::kFrameOverhead + 1) *
                                      1000 / BytesPerSecond());
  const size_t badBefore = parser_.BadFrames();
  for (int attempt = 0; attempt <= timing_.retries; ++attempt) {
    if (Cancelled()) return DeviceResult::Cancelled;
    if (dev_.SendData(frame.data(), frame.size()) < 0) return DeviceResult::LinkLost;
    if (trace_) trace_->Sent(frame);
    link::Frame got;
    const DeviceResult r = WaitReply(seq, cmd, timing_.replyTimeoutMs + lineMs, got);
    if (r == DeviceResult::Ok) {
      if (got.payload.empty()) return DeviceResult::ProtocolError;
      reply.assign(got.payload.begin() + 1, got.payload.end());
      return ResultOfStatus(got.payload[0]);
    }
    if (r != DeviceResult::NoReply) return r;
    // Start the next attempt on a clean line.
    dev_.Purge();
    parser_.Reset();
  }
  return parser_.BadFrames() > badBefore ? DeviceResult::ProtocolError : DeviceResult::NoReply;
}

DeviceResult RecorderLink::Hello(link::Hello& out) {
  const uint8_t req[1] = {link::kLinkVersion};
  std::vector<uint8_t> reply;
  const DeviceResult r = Transact(link::kCmdHello, req, reply, link::kHelloSize + 1);
  if (r != DeviceResult::Ok) return r;
  auto h = link::DecodeHello(reply);
  if (!h || h->linkVersion < 1) return DeviceResult::ProtocolError;
  out = *h;
  recorderMaxPayload_ = std::max<uint16_t>(64, h->maxPayload);
  return DeviceResult::Ok;
}

DeviceResult RecorderLink::GetBlockInfo(uint8_t block, link::BlockInfo& out) {
  const uint8_t req[1] = {block};
  std::vector<uint8_t> reply;
  const DeviceResult r = Transact(link::kCmdBlockInfo, req, reply, link::kBlockInfoSize + 1);
  if (r != DeviceResult::Ok) return r;
  auto b = link::DecodeBlockInfo(reply);
  if (!b || b->recordSize != link::RecordSizeOf(block) ||
      uint64_t(b->count) * b->recordSize > kMaxBlockBytes)
    return DeviceResult::ProtocolError;
  out = *b;
  return DeviceResult::Ok;
}

DeviceResult RecorderLink::ReadBlock(uint8_t block, link::BlockInfo& info,
                                     std::vector<uint8_t>& data, std::atomic<int>* percent) {
  data.clear();
  if (percent) *percent = 0;
  DeviceResult r = GetBlockInfo(block, info);
  if (r != DeviceResult::Ok) return r;
  const uint32_t total = info.count * info.recordSize;
  data.reserve(total);
  // Status byte and offset come before the data in every READ reply.
  const uint32_t chunk =
      static_cast<uint32_t>(std::max(1, std::min<int>(timing_.maxChunk, recorderMaxPayload_ - 5)));
  while (data.size() < total) {
    const uint32_t offset = static_cast<uint32_t>(data.size());
    const uint16_t len = static_cast<uint16_t>(std::min<uint32_t>(chunk, total - offset));
    std::vector<uint8_t> req{block};
    link::PutU32(req, offset);
    link::PutU16(req, len);
    std::vector<uint8_t> reply;
    r = Transact(link::kCmdRead, req, reply, len + 5u);
    if (r != DeviceResult::Ok) return r;
    if (reply.size() != 4u + len || link::GetU32(reply.data()) != offset)
      return DeviceResult::ProtocolError;
    data.insert(data.end(), reply.begin() + 4, reply.end());
    payloadBytes_ += len;
    if (percent) *percent = static_cast<int>(uint64_t(data.size()) * 100 / total);
  }
  if (percent) *percent = 100;
  return DeviceResult::Ok;
}

DeviceResult RecorderLink::WritePlan(uint8_t mode, const _BP_TRANSPORT_INFO& plan) {
  std::vector<uint8_t> req(1 + link::kPlanSize);
  req[0] = mode;
  link::EncodePlan(plan, req.data() + 1);
  std::vector<uint8_t> reply;
  return Transact(link::kCmdWritePlan, req, reply, 1);
}

DeviceResult RecorderLink::Erase(uint8_t block) {
  const uint8_t req[1] = {block};
  std::vector<uint8_t> reply;
  return Transact(link::kCmdErase, req, reply, 1);
}

void RecorderLink::Bye() {
  std::vector<uint8_t> reply;
  const LinkTiming saved = timing_;
  timing_.retries = 0;
  timing_.replyTimeoutMs = std::min(timing_.replyTimeoutMs, 200);
  static_cast<void>(Transact(link::kCmdBye, {}, reply, 1));
  timing_ = saved;
}

}  // namespace vesk
