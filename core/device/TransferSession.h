#pragma once
// One download or upload in progress: the link, the progress figures and the record being
// filled. The family modules describe what to read with these steps; the session turns the
// received blocks into records, apart from the bytes' journey.

#include <atomic>
#include <cstdint>
#include <vector>

#include "device/DeviceTypes.h"
#include "device/RecorderLink.h"

namespace vesk {

class TransferSession {
 public:
  TransferSession(RecorderLink& link, std::atomic<int>& percent, std::atomic<int>& type,
                  int deviceKind, int mode, _DOWNLOAD_DATAINFO& data)
      : link(link), percent(percent), type(type), kind(deviceKind), mode(mode), data(data) {}

  // Each reads one block, reporting it as transport type `transportType`.
  [[nodiscard]] DeviceResult ReadPlan(_BP_TRANSPORT_INFO& out);
  [[nodiscard]] DeviceResult ReadReadings(uint8_t block, int transportType, ReadingBlock& out);
  [[nodiscard]] DeviceResult ReadSpO2(SpO2Block& out);
  // The measurement intervals the recorder accepts; empty lists when it does not say.
  [[nodiscard]] DeviceResult ReadIntervals(std::vector<int32_t>& awake,
                                           std::vector<int32_t>& asleep);

  // Reads the plan block into the record's plan, and a reading block into its first block.
  [[nodiscard]] DeviceResult ReadPlanPart();
  [[nodiscard]] DeviceResult ReadMainReadings(uint8_t block, int transportType);

  // The parts of the download record of this session's kind (null when the shape has none).
  _BP_TRANSPORT_INFO* Plan();
  ReadingBlock* Readings();  // first reading block of kinds 1, 2, 3, 4, 6

  RecorderLink& link;
  std::atomic<int>& percent;
  std::atomic<int>& type;
  const int kind;
  const int mode;
  _DOWNLOAD_DATAINFO& data;
};

// Sets the download record to the empty shape of a device kind.
void InitDownloadShape(_DOWNLOAD_DATAINFO& data, int deviceKind, int mode);
// Blocks holding the data of a mode, for erasing.
std::vector<uint8_t> BlocksOfMode(int deviceKind, int mode);

}  // namespace vesk
