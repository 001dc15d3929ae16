#pragma once
// How a download ended, by the step it ended in. The download's int result is a device code
// when the transfer failed and a case-file code when a file could not be written, and the two
// sets share numbers (5 is a lost link and also "not a case file"): whoever chooses a message
// reads this instead of the int.

#include <cstdint>

#include "cases/CaseFileResult.h"
#include "device/DeviceTypes.h"

namespace vesk {

enum class DownloadStep {
  Transfer,  // the transfer failed or was cancelled (device says why); nothing was stored
  NoData,    // the recorder holds nothing in the chosen mode
  Store,     // a case file could not be written (caseFile says why); files before it stay
  Stored,    // every recording was stored
};

struct DownloadOutcome {
  DownloadStep step = DownloadStep::Transfer;
  DeviceResult device = DeviceResult::Fail;      // Ok once the transfer has succeeded
  CaseFileResult caseFile = CaseFileResult::Ok;  // the first write that failed

  // The int the download answers with: the transfer's code, 13, the case file's code or 1.
  constexpr int32_t Code() const {
    switch (step) {
      case DownloadStep::Transfer:
        return ToInt(device);
      case DownloadStep::NoData:
        return ToInt(DeviceResult::NoData);
      case DownloadStep::Store:
        return ToInt(caseFile);
      case DownloadStep::Stored:
        break;
    }
    return ToInt(CaseFileResult::Ok);
  }
  bool operator==(const DownloadOutcome&) const = default;
};

}  // namespace vesk
