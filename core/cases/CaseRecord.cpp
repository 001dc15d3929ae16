#include "cases/CaseRecord.h"

#include <cstring>
#include <type_traits>

namespace vesk {

const char* ModelName(int32_t deviceKind) {
  switch (deviceKind) {
    case kTaloColor:
      return "TALOColor";
    case kTaloBlack:
      return "TALOBlack";
    case kMiru:
      return "MIRU";
    case kPexa:
      return "PEXA";
    case kQora:
      return "QORA";
    case kPexaC:
      return "PEXAC";
    default:
      return "";
  }
}

const char* ErrorCodeKey(int32_t code) {
  switch (code) {
    case 0:
    case 3:
    case 20:
      return "";
    case 2:
      return "IDS_FAILED";
    case 4:
      return "IDS_BATTERY_LOW";
    case 5:
      return "IDS_KEY_STOP";
    case 6:
      return "IDS_LOOSE_CUFF";
    case 7:
    case 14:
      return "IDS_AIR_LEAKAGE";
    case 8:
      return "IDS_AIRPRESSURE_ERROR";
    case 9:
      return "IDS_WEAK_SIGNAL";
    case 10:
      return "IDS_OVER_RANGE";
    case 11:
      return "IDS_EXC_SPORT";
    case 12:
      return "IDS_OVER_PRESSURE";
    case 13:
      return "IDS_SIGNAL_SATURATION";
    case 15:
      return "IDS_SYS_ERROR";
    case 19:
      return "IDS_TIME_OUT";
    default:
      return "IDS_TEST_FAILED";  // 1, 16, 17, 18 and every unknown code
  }
}

int32_t PlanMinutes(int32_t hour, int32_t minute) {
  const int64_t m = int64_t{hour} * 60 + minute;
  return static_cast<int32_t>(std::clamp<int64_t>(m, INT32_MIN, INT32_MAX));
}

bool IsValidReading(const _BP_RECORD& r) {
  const int32_t v[4] = {r.sys, r.dia, r.map, r.pr};
  for (int32_t x : v)
    if (x <= 0 || x >= 400) return false;
  if (!(r.sys > r.map && r.map > r.dia)) return false;
  return IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0);
}

bool IsChronological(const std::vector<_BP_RECORD>& readings) {
  if (readings.empty()) return false;
  for (size_t i = 1; i < readings.size(); ++i) {
    const auto& a = readings[i - 1];
    const auto& b = readings[i];
    if (MinuteStamp(b.year, b.month, b.day, b.hour, b.minute) <
        MinuteStamp(a.year, a.month, a.day, a.hour, a.minute))
      return false;
  }
  return true;
}

namespace {
template <typename T>
void Put(uint8_t* out, size_t at, T v) {
  using U = std::make_unsigned_t<T>;
  U u = static_cast<U>(v);
  for (size_t i = 0; i < sizeof(T); ++i) out[at + i] = static_cast<uint8_t>(u >> (8 * i));
}
template <typename T>
T Get(const uint8_t* in, size_t at) {
  using U = std::make_unsigned_t<T>;
  U u = 0;
  for (size_t i = 0; i < sizeof(T); ++i) u = static_cast<U>(u | (U(in[at + i]) << (8 * i)));
  return static_cast<T>(u);
}
}  // namespace

void EncodeBpRecord56(const _BP_RECORD& r, uint8_t out[kBpRecordWireSize]) {
  std::memset(out, 0, kBpRecordWireSize);
  Put<int32_t>(out, 0, r.index);
  Put<int32_t>(out, 4, r.year);
  Put<int16_t>(out, 8, r.month);
  Put<int16_t>(out, 10, r.day);
  Put<int16_t>(out, 12, r.hour);
  Put<int16_t>(out, 14, r.minute);
  Put<int16_t>(out, 16, r.seconds);
  Put<int32_t>(out, 20, r.sys);
  Put<int16_t>(out, 24, r.dia);
  Put<int16_t>(out, 26, r.map);
  Put<int16_t>(out, 28, r.pr);
  Put<int16_t>(out, 30, r.spo2);
  Put<int16_t>(out, 32, r.secondCode);
  Put<int16_t>(out, 34, r.reserved);
  Put<int16_t>(out, 36, r.errorCode);
  out[38] = r.mark;
  Put<int32_t>(out, 40, r.reserved2[0]);
  Put<int32_t>(out, 44, r.reserved2[1]);
  Put<int32_t>(out, 48, r.included);
}

_BP_RECORD DecodeBpRecord56(const uint8_t in[kBpRecordWireSize]) {
  _BP_RECORD r;
  r.index = Get<int32_t>(in, 0);
  r.year = Get<int32_t>(in, 4);
  r.month = Get<int16_t>(in, 8);
  r.day = Get<int16_t>(in, 10);
  r.hour = Get<int16_t>(in, 12);
  r.minute = Get<int16_t>(in, 14);
  r.seconds = Get<int16_t>(in, 16);
  r.sys = Get<int32_t>(in, 20);
  r.dia = Get<int16_t>(in, 24);
  r.map = Get<int16_t>(in, 26);
  r.pr = Get<int16_t>(in, 28);
  r.spo2 = Get<int16_t>(in, 30);
  r.secondCode = Get<int16_t>(in, 32);
  r.reserved = Get<int16_t>(in, 34);
  r.errorCode = Get<int16_t>(in, 36);
  r.mark = in[38];
  r.reserved2[0] = Get<int32_t>(in, 40);
  r.reserved2[1] = Get<int32_t>(in, 44);
  r.included = Get<int32_t>(in, 48);
  return r;
}

}  // namespace vesk
