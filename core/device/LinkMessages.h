#pragma once
// The commands, statuses and data blocks of the recorder link, and the byte layout of every
// payload. Host and simulator both build and read payloads only through these functions.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk::link {

constexpr uint8_t kLinkVersion = 1;

enum Command : uint8_t {
  kCmdHello = 0x01,
  kCmdBlockInfo = 0x02,
  kCmdRead = 0x03,
  kCmdWritePlan = 0x04,
  kCmdErase = 0x05,
  kCmdBye = 0x06,
};

enum Status : uint8_t {
  kStatusOk = 0,
  kStatusRegion = 1,
  kStatusRemote = 2,
  kStatusNotSupported = 3,
  kStatusBadRequest = 4,
  kStatusNoData = 5,
  kStatusRange = 6,
  kStatusBusy = 7,
};

enum Block : uint8_t {
  kBlockPlan = 0x01,
  kBlockRecording = 0x02,
  kBlockSpO2 = 0x03,
  kBlockSingleUser = 0x04,
  kBlockMonitor = 0x05,
  kBlockUser1 = 0x06,
  kBlockUser2 = 0x07,
  kBlockUser3 = 0x08,
  kBlockIntervals = 0x09,
};

constexpr uint16_t kPlanSize = 184;
constexpr uint16_t kReadingSize = 56;
constexpr uint16_t kSampleSize = 8;
constexpr uint16_t kIntervalSize = 4;

// Size of one record of a block; 0 for unknown blocks.
uint16_t RecordSizeOf(uint8_t block);
const char* StatusName(uint8_t status);

struct Hello {
  uint8_t linkVersion = kLinkVersion;
  uint8_t deviceKind = 0;
  uint8_t protocol = 0;
  uint8_t deviceByte = 0;
  uint8_t lockByte = 0;
  uint16_t modeFlags = 0;  // bit m set: data mode m offered
  _SUB_VERSION version;
  uint16_t maxPayload = 0;
  bool operator==(const Hello&) const = default;
};
constexpr size_t kHelloSize = 17;

struct BlockInfo {
  uint16_t recordSize = 0;
  uint32_t count = 0;
  int32_t header[8] = {};
  bool operator==(const BlockInfo&) const = default;
};
constexpr size_t kBlockInfoSize = 38;

// Little-endian helpers for payloads.
void PutU16(std::vector<uint8_t>& out, uint16_t v);
void PutU32(std::vector<uint8_t>& out, uint32_t v);
inline void PutI32(std::vector<uint8_t>& out, int32_t v) {
  PutU32(out, static_cast<uint32_t>(v));
}
uint16_t GetU16(const uint8_t* p);
uint32_t GetU32(const uint8_t* p);
inline int32_t GetI32(const uint8_t* p) {
  return static_cast<int32_t>(GetU32(p));
}

void EncodeHello(const Hello& h, std::vector<uint8_t>& out);
std::optional<Hello> DecodeHello(std::span<const uint8_t> in);
void EncodeBlockInfo(const BlockInfo& b, std::vector<uint8_t>& out);
std::optional<BlockInfo> DecodeBlockInfo(std::span<const uint8_t> in);

void EncodePlan(const _BP_TRANSPORT_INFO& plan, uint8_t out[kPlanSize]);
_BP_TRANSPORT_INFO DecodePlan(const uint8_t in[kPlanSize]);
void EncodeSample(const _SPO2_SAMPLE& s, uint8_t out[kSampleSize]);
_SPO2_SAMPLE DecodeSample(const uint8_t in[kSampleSize]);

}  // namespace vesk::link
