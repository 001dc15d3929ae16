#include "device/sim/SimRecorder.h"

#include "cases/SampleCases.h"
#include "device/LinkMessages.h"
#include "device/ModelTable.h"

namespace vesk::sim {

int32_t SerialProtocolOf(int32_t deviceKind) {
  for (const auto& m : AllModels())
    if (m.deviceKind == deviceKind && m.bus == LinkBus::Serial) return m.protocol;
  return 0;
}

ReadingBlock MakeReadingBlock(const std::vector<_BP_RECORD>& readings) {
  ReadingBlock block;
  block.readings.reserve(readings.size());
  uint8_t wire[kBpRecordWireSize];
  for (const auto& r : readings) {
    EncodeBpRecord56(r, wire);
    block.readings.push_back(DecodeBpRecord56(wire));
  }
  block.head.v[0] = static_cast<int32_t>(block.readings.size());
  return block;
}

uint8_t BlockOfCase(int32_t deviceKind, int32_t dataMode) {
  switch (deviceKind) {
    case kMiru:
      if (dataMode == kModeMonitor) return link::kBlockMonitor;
      if (dataMode == kModeSingleUser) return link::kBlockSingleUser;
      return link::kBlockRecording;
    case kQora:
      if (dataMode >= kModeUser1 && dataMode <= kModeUser3)
        return static_cast<uint8_t>(link::kBlockUser1 + dataMode - kModeUser1);
      return link::kBlockUser1;
    default:
      return link::kBlockRecording;
  }
}

namespace {
SimRecorder Blank(int32_t kind, int32_t protocol) {
  SimRecorder rec;
  rec.deviceKind = kind;
  rec.protocol = protocol ? protocol : SerialProtocolOf(kind);
  rec.modeFlags = ModeFlagsOfKind(kind);
  rec.hasPlan = kind != kQora;
  if (kind == kTaloColor || kind == kTaloBlack)
    rec.intervals = {{5, 10, 15, 20, 30, 45, 60, 90, 120}, {15, 20, 30, 45, 60, 90, 120}};
  // Every block the kind has exists, even when empty.
  switch (kind) {
    case kTaloColor:
      rec.readings[link::kBlockRecording] = {};
      rec.readings[link::kBlockSingleUser] = {};
      break;
    case kMiru:
      rec.readings[link::kBlockRecording] = {};
      rec.readings[link::kBlockMonitor] = {};
      rec.readings[link::kBlockSingleUser] = {};
      rec.spo2 = SpO2Block{};
      break;
    case kQora:
      for (uint8_t b = link::kBlockUser1; b <= link::kBlockUser3; ++b) rec.readings[b] = {};
      break;
    default:
      rec.readings[link::kBlockRecording] = {};
      break;
  }
  return rec;
}

void Mark(ReadingBlock& block, int32_t kind) {
  // Words the host must carry unchanged.
  block.head.v[1] = kind;
  block.head.v[7] = 0x5A5A;
}
}  // namespace

SimRecorder MakeRecorderFromCase(const _FILE_ALL_INFO& info, int32_t deviceKind, int32_t protocol) {
  SimRecorder rec = Blank(deviceKind, protocol);
  if (rec.hasPlan) rec.plan = info.plan;
  rec.deviceByte = static_cast<uint8_t>(info.deviceByte);
  rec.lockByte = static_cast<uint8_t>(info.locked);
  const uint8_t block = BlockOfCase(deviceKind, info.dataMode);
  rec.readings[block] = MakeReadingBlock(info.readings);
  if (deviceKind == kMiru && block == link::kBlockMonitor) {
    SpO2Block spo2;
    spo2.head = info.spo2Head;
    spo2.samples = info.samples;
    spo2.head.v[0] = static_cast<int32_t>(spo2.samples.size());
    rec.spo2 = spo2;
  }
  return rec;
}

SimRecorder MakeSampleRecorder(int32_t deviceKind, int32_t protocol, uint64_t seed,
                               int spo2Samples) {
  SimRecorder rec = Blank(deviceKind, protocol);
  SampleOptions opt;
  opt.seed = seed;
  opt.language = 0;
  switch (deviceKind) {
    case kTaloColor: {
      opt.deviceKind = kTaloColor;
      const auto amb = MakeAmbulatorySample(opt);
      rec.plan = amb.plan;
      rec.readings[link::kBlockRecording] = MakeReadingBlock(amb.readings);
      rec.readings[link::kBlockSingleUser] = MakeReadingBlock(MakeSingleUserSample(opt).readings);
      break;
    }
    case kMiru: {
      opt.deviceKind = kTaloBlack;
      const auto amb = MakeAmbulatorySample(opt);
      rec.plan = amb.plan;
      rec.readings[link::kBlockRecording] = MakeReadingBlock(amb.readings);
      auto miru = MakeMiruSample(opt);
      rec.readings[link::kBlockMonitor] = MakeReadingBlock(miru.readings);
      if (spo2Samples >= 0 && miru.samples.size() > static_cast<size_t>(spo2Samples))
        miru.samples.resize(static_cast<size_t>(spo2Samples));
      SpO2Block spo2;
      spo2.head = miru.spo2Head;
      spo2.samples = std::move(miru.samples);
      spo2.head.v[0] = static_cast<int32_t>(spo2.samples.size());
      rec.spo2 = std::move(spo2);
      rec.readings[link::kBlockSingleUser] = MakeReadingBlock(MakeSingleUserSample(opt).readings);
      break;
    }
    case kQora: {
      const auto users = MakeQoraSamples(opt);
      rec.readings[link::kBlockUser1] = MakeReadingBlock(users[0].readings);
      rec.readings[link::kBlockUser2] = MakeReadingBlock(users[1].readings);
      break;
    }
    default: {
      opt.deviceKind = deviceKind;
      const auto amb = MakeAmbulatorySample(opt);
      rec.plan = amb.plan;
      rec.readings[link::kBlockRecording] = MakeReadingBlock(amb.readings);
      break;
    }
  }
  for (auto& [block, data] : rec.readings)
    if (!data.readings.empty()) Mark(data, deviceKind);
  return rec;
}

}  // namespace vesk::sim
