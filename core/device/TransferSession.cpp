#include "device/TransferSession.h"

#include "device/ModelTable.h"

namespace vesk {

DeviceResult TransferSession::ReadPlan(_BP_TRANSPORT_INFO& out) {
  type = kTransportPatientInfo;
  link::BlockInfo info;
  std::vector<uint8_t> bytes;
  const DeviceResult r = link.ReadBlock(link::kBlockPlan, info, bytes, &percent);
  if (r != DeviceResult::Ok) return r;
  if (bytes.size() != link::kPlanSize) return DeviceResult::ProtocolError;
  out = link::DecodePlan(bytes.data());
  return DeviceResult::Ok;
}

DeviceResult TransferSession::ReadReadings(uint8_t block, int transportType, ReadingBlock& out) {
  type = transportType;
  link::BlockInfo info;
  std::vector<uint8_t> bytes;
  const DeviceResult r = link.ReadBlock(block, info, bytes, &percent);
  if (r != DeviceResult::Ok) return r;
  out = {};
  for (int i = 0; i < 8; ++i) out.head.v[i] = info.header[i];
  out.readings.reserve(info.count);
  for (size_t at = 0; at + link::kReadingSize <= bytes.size(); at += link::kReadingSize)
    out.readings.push_back(DecodeBpRecord56(bytes.data() + at));
  // The count word is what the case files rely on; keep it equal to what arrived.
  out.head.v[0] = static_cast<int32_t>(out.readings.size());
  return DeviceResult::Ok;
}

DeviceResult TransferSession::ReadSpO2(SpO2Block& out) {
  type = kTransportSpO2;
  link::BlockInfo info;
  std::vector<uint8_t> bytes;
  const DeviceResult r = link.ReadBlock(link::kBlockSpO2, info, bytes, &percent);
  if (r != DeviceResult::Ok) return r;
  out = {};
  for (int i = 0; i < 8; ++i) out.head.v[i] = info.header[i];
  out.samples.resize(info.count);
  for (size_t i = 0; i < out.samples.size(); ++i)
    out.samples[i] = link::DecodeSample(bytes.data() + i * link::kSampleSize);
  out.head.v[0] = static_cast<int32_t>(out.samples.size());
  return DeviceResult::Ok;
}

DeviceResult TransferSession::ReadIntervals(std::vector<int32_t>& awake,
                                            std::vector<int32_t>& asleep) {
  awake.clear();
  asleep.clear();
  link::BlockInfo info;
  std::vector<uint8_t> bytes;
  const DeviceResult r = link.ReadBlock(link::kBlockIntervals, info, bytes, &percent);
  if (r == DeviceResult::NotSupported || r == DeviceResult::NoData) return DeviceResult::Ok;
  if (r != DeviceResult::Ok) return r;
  // header[0] awake entries, header[1] asleep entries; the values follow in that order.
  const uint32_t nAwake = static_cast<uint32_t>(info.header[0]);
  const uint32_t nAsleep = static_cast<uint32_t>(info.header[1]);
  if (uint64_t(nAwake) + nAsleep != info.count) return DeviceResult::ProtocolError;
  for (uint32_t i = 0; i < info.count; ++i) {
    const int32_t v = link::GetI32(bytes.data() + 4 * i);
    (i < nAwake ? awake : asleep).push_back(v);
  }
  return DeviceResult::Ok;
}

DeviceResult TransferSession::ReadPlanPart() {
  _BP_TRANSPORT_INFO* plan = Plan();
  return plan ? ReadPlan(*plan) : DeviceResult::ProtocolError;
}

DeviceResult TransferSession::ReadMainReadings(uint8_t block, int transportType) {
  ReadingBlock* readings = Readings();
  return readings ? ReadReadings(block, transportType, *readings) : DeviceResult::ProtocolError;
}

_BP_TRANSPORT_INFO* TransferSession::Plan() {
  if (auto* d = std::get_if<TaloColorDownload>(&data.data)) return &d->plan;
  if (auto* d = std::get_if<MiruDownload>(&data.data)) return &d->plan;
  if (auto* d = std::get_if<BasicDownload>(&data.data)) return &d->plan;
  return nullptr;
}

ReadingBlock* TransferSession::Readings() {
  if (auto* d = std::get_if<TaloColorDownload>(&data.data)) return &d->recording;
  if (auto* d = std::get_if<MiruDownload>(&data.data)) return &d->readings;
  if (auto* d = std::get_if<BasicDownload>(&data.data)) return &d->readings;
  return nullptr;
}

void InitDownloadShape(_DOWNLOAD_DATAINFO& data, int deviceKind, int mode) {
  data = {};
  data.nDeviceKind = deviceKind;
  data.nDataMode = mode;
  const RecorderModel* model = ModelOfKind(deviceKind);
  if (!model) return;
  switch (model->shape) {
    case DownloadShape::TaloColor:
      data.data = TaloColorDownload{};
      break;
    case DownloadShape::Miru:
      data.data = MiruDownload{};
      break;
    case DownloadShape::Qora:
      data.data = QoraDownload{};
      break;
    case DownloadShape::Basic:
      data.data = BasicDownload{};
      break;
  }
}

std::vector<uint8_t> BlocksOfMode(int deviceKind, int mode) {
  const RecorderModel* model = ModelOfKind(deviceKind);
  if (!model) return {link::kBlockRecording};
  const ModeBlocks* fallback = nullptr;
  for (const ModeBlocks& b : model->blocks) {
    if (b.mode == mode) return {b.blocks.begin(), b.blocks.end()};
    if (b.mode == 0 && !fallback) fallback = &b;
  }
  if (fallback) return {fallback->blocks.begin(), fallback->blocks.end()};
  return {link::kBlockRecording};
}

}  // namespace vesk
