#include "charts/ChartRules.h"

#include <algorithm>
#include <charconv>

namespace vesk {

bool ApplyLengthEntry(Spo2Window& window, int hours, int minutes, bool allData,
                      int64_t startSeconds) {
  Spo2Window next = window;
  if (!next.SetManualLength(hours, minutes, allData)) return false;
  if (!allData && !next.SetStart(startSeconds)) return false;
  window = next;
  return true;
}

namespace {
bool ParseInt(const std::string& text, int32_t& out) {
  size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return false;
  size_t e = text.find_last_not_of(" \t") + 1;
  const char* first = text.data() + b;
  const char* last = text.data() + e;
  const auto r = std::from_chars(first, last, out);
  return r.ec == std::errc{} && r.ptr == last;
}
}  // namespace

std::optional<EventDialogValues> ParseEventFields(const std::array<std::string, 5>& fields,
                                                  const EventDialogValues& previous) {
  int32_t v[5] = {previous.spo2LeastChange, previous.spo2MinTime, previous.spo2Criterion,
                  previous.prLeastChange, previous.prMinTime};
  for (size_t i = 0; i < 5; ++i) {
    const bool blank = fields[i].find_first_not_of(" \t") == std::string::npos;
    if (blank && i == 4) continue;
    if (!ParseInt(fields[i], v[i]) || v[i] < 0) return std::nullopt;
  }
  return EventDialogValues{v[0], v[1], v[2], v[3], v[4]};
}

RangeLimits ApplyBoundEdit(RangeLimits r, int field, int value) {
  switch (field) {
    case kSysUpperField:
      r.sysHigh = value;
      break;
    case kSysLowerField:
      r.sysLow = value;
      break;
    case kDiaUpperField:
      r.diaHigh = value;
      break;
    case kDiaLowerField:
      r.diaLow = value;
      break;
    case kPrUpperField:
      r.prHigh = value;
      break;
    case kPrLowerField:
      r.prLow = value;
      break;
    default:
      return r;
  }
  r.sysHigh = std::max(r.sysHigh, r.sysLow);
  r.diaHigh = std::max(r.diaHigh, r.diaLow);
  r.prHigh = std::max(r.prHigh, r.prLow);
  return r;
}

}  // namespace vesk
