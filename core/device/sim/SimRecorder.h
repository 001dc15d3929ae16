#pragma once
// What an emulated recorder holds: its identity, the plan it was programmed with, its data
// blocks, and what a host did to it (the plan uploaded, the blocks erased).

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cases/CaseRecord.h"
#include "device/DeviceTypes.h"

namespace vesk::sim {

struct SimRecorder {
  int32_t deviceKind = kMiru;
  int32_t protocol = 7;
  uint8_t deviceByte = 0;
  uint8_t lockByte = 0;
  uint16_t modeFlags = 0;
  _SUB_VERSION version{5, 2};
  // A home monitor keeps no plan.
  bool hasPlan = true;
  _BP_TRANSPORT_INFO plan;
  // Present only on recorders that name the intervals they accept (the TALO family).
  std::optional<std::pair<std::vector<int32_t>, std::vector<int32_t>>> intervals;
  std::map<uint8_t, ReadingBlock> readings;  // by link block id
  std::optional<SpO2Block> spo2;

  // Left by hosts.
  int uploads = 0;
  uint8_t uploadedMode = 0;
  std::array<uint8_t, 184> uploadedBytes{};
  std::vector<uint8_t> erased;
};

// The serial protocol number of a device kind (TALO 6, MIRU 7, PEXA 8, PEXAC 9, QORA 10).
int32_t SerialProtocolOf(int32_t deviceKind);

// A recorder of the kind with small built-in data: every block it has holds readings (QORA:
// users 1 and 2, user 3 empty); a MIRU's SpO2 series is cut to spo2Samples samples (-1 keeps
// the full 48 hours). protocol 0 picks the serial protocol of the kind.
SimRecorder MakeSampleRecorder(int32_t deviceKind, int32_t protocol = 0, uint64_t seed = 1,
                               int spo2Samples = 600);

// A recorder holding one case: its readings go to the block the case's kind and data mode
// came from (a MIRU mode-2 case also brings its SpO2 series), its plan becomes the plan.
SimRecorder MakeRecorderFromCase(const _FILE_ALL_INFO& info, int32_t deviceKind,
                                 int32_t protocol = 0);

// The block a case's readings came from.
uint8_t BlockOfCase(int32_t deviceKind, int32_t dataMode);

// Readings as the link carries them (the comment does not travel), with a matching head.
ReadingBlock MakeReadingBlock(const std::vector<_BP_RECORD>& readings);

}  // namespace vesk::sim
