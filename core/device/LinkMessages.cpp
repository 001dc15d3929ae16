#include "device/LinkMessages.h"

#include <bit>
#include <cstring>

namespace vesk::link {

static_assert(std::endian::native == std::endian::little,
              "the plan travels as its packed little-endian image");

uint16_t RecordSizeOf(uint8_t block) {
  switch (block) {
    case kBlockPlan:
      return kPlanSize;
    case kBlockRecording:
    case kBlockSingleUser:
    case kBlockMonitor:
    case kBlockUser1:
    case kBlockUser2:
    case kBlockUser3:
      return kReadingSize;
    case kBlockSpO2:
      return kSampleSize;
    case kBlockIntervals:
      return kIntervalSize;
    default:
      return 0;
  }
}

const char* StatusName(uint8_t status) {
  switch (status) {
    case kStatusOk:
      return "ok";
    case kStatusRegion:
      return "region";
    case kStatusRemote:
      return "remote";
    case kStatusNotSupported:
      return "not-supported";
    case kStatusBadRequest:
      return "bad-request";
    case kStatusNoData:
      return "no-data";
    case kStatusRange:
      return "range";
    case kStatusBusy:
      return "busy";
    default:
      return "unknown";
  }
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
uint16_t GetU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t GetU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void EncodeHello(const Hello& h, std::vector<uint8_t>& out) {
  out.push_back(h.linkVersion);
  out.push_back(h.deviceKind);
  out.push_back(h.protocol);
  out.push_back(h.deviceByte);
  out.push_back(h.lockByte);
  PutU16(out, h.modeFlags);
  PutI32(out, h.version.nMain);
  PutI32(out, h.version.nSub);
  PutU16(out, h.maxPayload);
}

std::optional<Hello> DecodeHello(std::span<const uint8_t> in) {
  if (in.size() < kHelloSize) return std::nullopt;
  Hello h;
  const uint8_t* p = in.data();
  h.linkVersion = p[0];
  h.deviceKind = p[1];
  h.protocol = p[2];
  h.deviceByte = p[3];
  h.lockByte = p[4];
  h.modeFlags = GetU16(p + 5);
  h.version.nMain = GetI32(p + 7);
  h.version.nSub = GetI32(p + 11);
  h.maxPayload = GetU16(p + 15);
  return h;
}

void EncodeBlockInfo(const BlockInfo& b, std::vector<uint8_t>& out) {
  PutU16(out, b.recordSize);
  PutU32(out, b.count);
  for (int32_t v : b.header) PutI32(out, v);
}

std::optional<BlockInfo> DecodeBlockInfo(std::span<const uint8_t> in) {
  if (in.size() < kBlockInfoSize) return std::nullopt;
  BlockInfo b;
  b.recordSize = GetU16(in.data());
  b.count = GetU32(in.data() + 2);
  for (int i = 0; i < 8; ++i) b.header[i] = GetI32(in.data() + 6 + 4 * i);
  return b;
}

void EncodePlan(const _BP_TRANSPORT_INFO& plan, uint8_t out[kPlanSize]) {
  std::memcpy(out, &plan, kPlanSize);
}

_BP_TRANSPORT_INFO DecodePlan(const uint8_t in[kPlanSize]) {
  _BP_TRANSPORT_INFO plan;
  std::memcpy(&plan, in, kPlanSize);
  return plan;
}

void EncodeSample(const _SPO2_SAMPLE& s, uint8_t out[kSampleSize]) {
  out[0] = s.spo2;
  out[1] = s.pr;
  out[2] = s.unused[0];
  out[3] = s.unused[1];
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(uint32_t(s.offset) >> (8 * i));
}

_SPO2_SAMPLE DecodeSample(const uint8_t in[kSampleSize]) {
  _SPO2_SAMPLE s;
  s.spo2 = in[0];
  s.pr = in[1];
  s.unused[0] = in[2];
  s.unused[1] = in[3];
  s.offset = GetI32(in + 4);
  return s;
}

}  // namespace vesk::link
