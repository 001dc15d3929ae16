#pragma once
// The records and result codes that cross between the program and the recorder link: what
// detection reports, which data modes a recorder offers, what a download returns and what an
// upload needs. Everything here is a plain value type.

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk {

// Result codes of detection, download and upload. 1 is success; the others name the step
// that failed so the caller can pick its message. The case-file library's codes use some of
// the same numbers for other causes; being scoped, a device code cannot be compared with one
// of them by mistake.
enum class DeviceResult : int32_t {
  Fail = 0,
  Ok = 1,
  RegionError = 3,    // the recorder belongs to another market region
  RemoteError = 4,    // the recorder reported an internal fault
  LinkLost = 5,       // the port could not be opened, or went away mid-transfer
  NoReply = 6,        // no valid reply after every retry
  ProtocolError = 7,  // a reply that makes no sense (bad length, bad record, bad status)
  WrongDevice = 8,    // the recorder is not of the kind this protocol object speaks
  DetectRetry = 11,   // nothing found (or detection stopped): the user may retry
  NoData = 13,
  NotSupported = 14,
  Cancelled = 2000,  // cancelled by the user or stopped by a watchdog
};

// The code as the int interfaces carry it: the protocol classes' operations, detection's
// OnTestProtocol and the case document's transfers.
constexpr int32_t ToInt(DeviceResult r) {
  return static_cast<int32_t>(r);
}
// A code that came through one of those int interfaces from the device layer.
constexpr DeviceResult DeviceResultOf(int32_t code) {
  return static_cast<DeviceResult>(code);
}
// 0, which is failure in every result set: for int interfaces that carry codes of several
// sets, such as a worker that ended with an exception.
inline constexpr int32_t kResultFail = 0;

// Progress states written by a transfer.
enum TransferState : int {
  kStateIdle = 0,
  kStateRunning = 1,
  kStateFailed = 2,
  kStateFinished = 3,
  kStateFinishedPause = 4,
};

// What the detection found. Words 2 and 3 are the two device bytes the case header keeps.
struct tag_SUPPORT_PROTOCOL {
  int32_t nDeviceKind = 0;
  int32_t nProtocol = 0;
  int32_t nDeviceByte = 0xFF;  // word 2: the case header's device byte
  int32_t nLockByte = 0xFF;    // word 3: the case header's locked flag
  bool operator==(const tag_SUPPORT_PROTOCOL&) const = default;
};

enum enum_DataMode : int {
  kModeNone = 0,
  kModeRecording = 1,   // blood-pressure recording; MIRU's first choice
  kModeMonitor = 2,     // MIRU patient monitoring (SpO2 series)
  kModeSingleUser = 3,  // MIRU single-user readings
  kModeUser1 = 4,       // QORA users
  kModeUser2 = 5,
  kModeUser3 = 6,
  kModeAllUsers = 7,
};
constexpr int kDataModeSlots = 9;  // GetDownLoadDataMode fills flags 0..8; 0 carries no mode

enum enum_TransportType : int {
  kTransportNothing = 0,
  kTransportPatientInfo = 1,
  kTransportBpTrend = 2,
  kTransportSpO2 = 3,
  kTransportSingleUser = 4,
  kTransportDeleting = 5,
  kTransportUser1 = 6,
  kTransportUser2 = 7,
  kTransportUser3 = 8,
  kTransportUploading = 9,
};

// Windows-style serial settings; only the speed matters to our recorders (8N1, no flow
// control).
struct _DCB {
  int32_t BaudRate = 115200;
  bool operator==(const _DCB&) const = default;
};

// The plan a recorder holds, with the measurement intervals it accepts (minutes).
struct _UPLOAD_NEEDED_DATA {
  _BP_TRANSPORT_INFO plan;
  std::vector<int32_t> awakeIntervals;
  std::vector<int32_t> asleepIntervals;
};

struct ReadingBlock {
  _BP_DATA_HEAD head;  // head.v[0] == readings.size()
  std::vector<_BP_RECORD> readings;
  bool operator==(const ReadingBlock&) const = default;
};

struct SpO2Block {
  _SPO2_DATA_HEAD head;  // count, start year, month, day, hour, minute, second, carried value
  std::vector<_SPO2_SAMPLE> samples;
  bool operator==(const SpO2Block&) const = default;
};

// The four shapes a download takes, one per recorder family.
struct TaloColorDownload {  // device kind 1
  ReadingBlock recording;
  _BP_TRANSPORT_INFO plan;
  ReadingBlock singleUser;
};
struct MiruDownload {  // device kind 3
  ReadingBlock readings;
  _BP_TRANSPORT_INFO plan;
  SpO2Block spo2;
};
struct BasicDownload {  // device kinds 2, 4, 6
  ReadingBlock readings;
  _BP_TRANSPORT_INFO plan;
};
struct QoraDownload {  // device kind 5: users 1, 2, 3
  std::array<ReadingBlock, 3> users;
};

struct _DOWNLOAD_DATAINFO {
  int32_t nDeviceKind = 0;
  int32_t nDataMode = 0;
  std::variant<std::monostate, TaloColorDownload, MiruDownload, BasicDownload, QoraDownload> data;
};

// True when a download in this mode brought nothing worth storing: both reading blocks of a
// TALOColor empty; a MIRU without readings and without SpO2 samples; kinds 2, 4, 6 without
// readings; a QORA user (modes 4-6) without readings, or all three users empty (mode 7).
// Unknown shapes count as data (nothing to check).
bool HasNoDownloadData(const _DOWNLOAD_DATAINFO& info);

}  // namespace vesk
