#pragma once
// The rules behind the chart controls, free of widgets: the trend length dialog's confirm,
// the SpO2 parameter fields and the pie's bound fields.

#include <array>
#include <optional>
#include <string>

#include "analysis/EventParams.h"
#include "analysis/Extremes.h"
#include "charts/Spo2Window.h"

namespace vesk {

// The length dialog's confirm on a copy of the window: the length (or the whole series) and,
// unless all data is shown, the start in seconds from the first sample. false when the entry
// is invalid (the caller shows IDS_INPUT_RESOLUTION and keeps the dialog open).
bool ApplyLengthEntry(Spo2Window& window, int hours, int minutes, bool allData,
                      int64_t startSeconds);

// The five fields of the SpO2 parameter dialog in the order of EventDialogValues. nullopt
// when one of the first four is empty or not a number; an empty fifth keeps its old value.
std::optional<EventDialogValues> ParseEventFields(const std::array<std::string, 5>& fields,
                                                  const EventDialogValues& previous);

// The bound fields 1013 to 1018 of the pie chart.
enum PieBoundField : int {
  kSysUpperField = 1013,
  kSysLowerField = 1014,
  kDiaUpperField = 1015,
  kDiaLowerField = 1016,
  kPrUpperField = 1017,
  kPrLowerField = 1018,
};
// The ranges after one field changed to `value`: an upper bound below its lower bound is
// raised to it, whichever of the two was edited. Unknown fields change nothing.
RangeLimits ApplyBoundEdit(RangeLimits ranges, int field, int value);

}  // namespace vesk
