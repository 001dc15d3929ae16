#pragma once
// The measurement-plan options of "vesk-cli recorder upload" and the plan as JSON.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "device/UploadPlanBuilder.h"
#include "settings/ConfigTypes.h"

namespace vesk::cli {

struct PlanArgs {
  std::string name;
  std::optional<std::string> id;
  std::optional<DateParts> clock;
  bool monitor = false;  // MIRU: programme monitoring (mode 2)
  // List indexes; unset ones come from the recorder (TALO times) or the user's settings.
  std::optional<int> awakeTime, awakeSpan, asleepTime, asleepSpan;
  std::optional<int> specialStart, specialEnd, specialSpan;
  std::optional<int> startKey, manualSet;
  // Minutes as given, for the TALO lists.
  std::optional<int> awakeMinutes, asleepMinutes;
  int measureMode = 0;
  std::optional<int> maxPressure;
  std::optional<plan::WarningGroup> awakeWarn, asleepWarn;
  bool awakeWarnProposed = false, asleepWarnProposed = false;  // "on" without limits
};

// False with a message for an unknown option or a bad value.
bool ParsePlanArgs(const std::vector<std::string>& args, PlanArgs& out, std::string& error);

// The builder's options: what was given, the rest from the recorder's plan (TALO) or from the
// settings the plan dialogs start from.
UploadPlanOptions ResolvePlanOptions(const PlanArgs& args, int deviceKind,
                                     const _UPLOAD_NEEDED_DATA& recorder,
                                     const UserSettings& settings, const DateParts& now);

nlohmann::ordered_json PlanJson(const _BP_TRANSPORT_INFO& plan);

}  // namespace vesk::cli
