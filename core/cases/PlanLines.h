#pragma once
// The lines of the plan view: what the recorder of the open case was programmed with, one
// caption and one value per line. Which lines appear depends on the model code (the first
// two models know only the two periods) and the protocol number.

#include <cstdint>
#include <string>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk {

struct PlanLine {
  const char* labelKey = nullptr;  // section "Dialog Setting"
  // The value is either a text of "Dialog Setting" ("IDS_SWITCH_ON", "IDS_NONE"...) or, when
  // valueKey is null, the literal text.
  const char* valueKey = nullptr;
  std::string value;
};

[[nodiscard]] std::vector<PlanLine> PlanLines(const _BP_TRANSPORT_INFO& plan, int32_t modelCode,
                                              int32_t protocol);

}  // namespace vesk
