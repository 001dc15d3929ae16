#pragma once
// The case record: one recording of one patient, as the case files hold it and as every part
// of the program reads it. Texts are UTF-8.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace vesk {

// Device kinds (the first word of the recorder's device information).
enum DeviceKind : int32_t {
  kTaloColor = 1,
  kTaloBlack = 2,
  kMiru = 3,
  kPexa = 4,
  kQora = 5,
  kPexaC = 6,
};

struct _SUB_VERSION {
  int32_t nMain = -1;
  int32_t nSub = -1;
  bool operator==(const _SUB_VERSION&) const = default;
};

struct _PATIENT_INFO {
  std::string name;
  std::string caseId;
  std::string address;
  std::string tel;
  std::string nation;
  int32_t sex = 0;
  OleDateTime birthday;  // date part only
  int32_t height = 0;
  int32_t weight = 0;
  int32_t age = 0;
  std::array<std::string, 5> extra;  // five further texts (physicians, medication, diagnosis...)
  std::string doorId;
  std::string inHosId;
  std::string bedId;
  std::string office;
  std::string email;
  bool operator==(const _PATIENT_INFO&) const = default;
};

// The measurement plan: exactly the packed 184-byte record that travels to and from the
// recorders, so it can be copied as bytes.
#pragma pack(push, 1)
struct _BP_TRANSPORT_INFO {
  char patientName[31] = {};  // narrow code page, zero-filled
  char patientId[12] = {};
  uint8_t filler = 0;
  int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int32_t manualSet = 1;
  int32_t startKey = 1;
  int32_t maxPressure = 297;
  int32_t measureMode = 0;  // 0 adult, 1 child, 2 neonate
  int32_t specialStartHour = -1, specialStartMinute = -1;
  int32_t specialEndHour = -1, specialEndMinute = -1;
  int32_t specialInterval = 0;
  int32_t awakeHour = 7, awakeMinute = 0;
  int32_t awakeInterval = 60;  // -2: no measurements
  int32_t asleepHour = 22, asleepMinute = 0;
  int32_t asleepInterval = 30;
  // switch, systolic high, systolic low, diastolic high, diastolic low, MAP high, MAP low
  int32_t awakeWarn[7] = {0, 140, 90, 90, 60, 0, 0};
  int32_t asleepWarn[7] = {0, 120, 80, 80, 50, 0, 0};
};
#pragma pack(pop)
static_assert(sizeof(_BP_TRANSPORT_INFO) == 184);
static_assert(offsetof(_BP_TRANSPORT_INFO, patientId) == 31);
static_assert(offsetof(_BP_TRANSPORT_INFO, filler) == 43);
static_assert(offsetof(_BP_TRANSPORT_INFO, year) == 44);
static_assert(offsetof(_BP_TRANSPORT_INFO, manualSet) == 68);
static_assert(offsetof(_BP_TRANSPORT_INFO, startKey) == 72);
static_assert(offsetof(_BP_TRANSPORT_INFO, maxPressure) == 76);
static_assert(offsetof(_BP_TRANSPORT_INFO, measureMode) == 80);
static_assert(offsetof(_BP_TRANSPORT_INFO, specialStartHour) == 84);
static_assert(offsetof(_BP_TRANSPORT_INFO, specialInterval) == 100);
static_assert(offsetof(_BP_TRANSPORT_INFO, awakeHour) == 104);
static_assert(offsetof(_BP_TRANSPORT_INFO, awakeInterval) == 112);
static_assert(offsetof(_BP_TRANSPORT_INFO, asleepHour) == 116);
static_assert(offsetof(_BP_TRANSPORT_INFO, asleepInterval) == 124);
static_assert(offsetof(_BP_TRANSPORT_INFO, awakeWarn) == 128);
static_assert(offsetof(_BP_TRANSPORT_INFO, asleepWarn) == 156);

inline bool operator==(const _BP_TRANSPORT_INFO& a, const _BP_TRANSPORT_INFO& b) {
  return std::equal(reinterpret_cast<const char*>(&a), reinterpret_cast<const char*>(&a) + 184,
                    reinterpret_cast<const char*>(&b));
}

struct _BP_DATA_HEAD {
  int32_t v[8] = {};  // v[0]: number of readings; the rest carried unchanged
  int32_t& count() { return v[0]; }
  int32_t count() const { return v[0]; }
  bool operator==(const _BP_DATA_HEAD&) const = default;
};

struct _SPO2_DATA_HEAD {
  // count, start year, month, day, hour, minute, second, one value carried unchanged
  int32_t v[8] = {};
  int32_t& count() { return v[0]; }
  int32_t count() const { return v[0]; }
  bool operator==(const _SPO2_DATA_HEAD&) const = default;
};

struct _BP_RECORD {
  int32_t index = 0;  // 0-based; shown as index + 1
  int32_t year = 0;
  int16_t month = 0, day = 0, hour = 0, minute = 0, seconds = 0;
  int32_t sys = 0;
  int16_t dia = 0, map = 0, pr = 0, spo2 = 0;
  int16_t secondCode = 0;
  int16_t reserved = 0;
  int16_t errorCode = 0;
  uint8_t mark = 0;  // 0 none, 1 "+", 2 "++"
  int32_t reserved2[2] = {};
  int32_t included = 1;
  std::string comment;
  bool operator==(const _BP_RECORD&) const = default;
};

struct _SPO2_SAMPLE {
  uint8_t spo2 = 0;
  uint8_t pr = 0;
  uint8_t unused[2] = {};
  int32_t offset = 0;  // seconds from the SpO2 start time
  bool operator==(const _SPO2_SAMPLE&) const = default;
};
static_assert(sizeof(_SPO2_SAMPLE) == 8);

struct _FILE_ALL_INFO {
  int32_t modelCode = 0;
  std::string modelName;
  int32_t dataMode = 0;
  _SUB_VERSION version[4];
  int32_t locked = 0;
  int32_t deviceByte = 0;
  int32_t protocol = 0;
  _PATIENT_INFO patient;
  _BP_TRANSPORT_INFO plan;
  _BP_DATA_HEAD bpHead;
  std::vector<_BP_RECORD> readings;
  _SPO2_DATA_HEAD spo2Head;
  std::vector<_SPO2_SAMPLE> samples;
  // tail carried unchanged
  int32_t tailInt1 = 0;
  int32_t tailInt2 = 0;
  std::string tailText1;
  std::string tailText2;
  int32_t tailInt3 = 0;
  bool operator==(const _FILE_ALL_INFO&) const = default;
};

// The model names the case header stores for each device kind; empty for unknown kinds.
const char* ModelName(int32_t deviceKind);

// The language key ("Global Setting") of a measurement error code's text; empty for codes
// that have no text.
const char* ErrorCodeKey(int32_t errorCode);

// hour * 60 + minute of a plan time. A case file may hold any int32 in either field, so the sum
// is formed in 64 bits and kept inside the int32 range instead of wrapping.
int32_t PlanMinutes(int32_t hour, int32_t minute);

// A reading is valid when SYS, DIA, MAP and PR are each above 0 and below 400,
// SYS > MAP > DIA, and its date and time (seconds as 0) exist.
bool IsValidReading(const _BP_RECORD& r);

// Readings are in order when none is earlier, to the minute, than the one before it. An empty
// list is not in order; one reading is.
bool IsChronological(const std::vector<_BP_RECORD>& readings);

// 56-byte reading block of the recorder link and the report files: the fixed fields with
// natural 4-byte alignment, little-endian, the last 4 bytes zero (the comment does not travel).
constexpr size_t kBpRecordWireSize = 56;
void EncodeBpRecord56(const _BP_RECORD& r, uint8_t out[kBpRecordWireSize]);
_BP_RECORD DecodeBpRecord56(const uint8_t in[kBpRecordWireSize]);

}  // namespace vesk
