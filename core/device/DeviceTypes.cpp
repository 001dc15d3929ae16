#include "device/DeviceTypes.h"

namespace vesk {

bool HasNoDownloadData(const _DOWNLOAD_DATAINFO& info) {
  if (auto* d = std::get_if<_DOWNLOAD_TALOCOLOR>(&info.data))
    return d->recording.readings.empty() && d->singleUser.readings.empty();
  if (auto* d = std::get_if<_DOWNLOAD_MIRU>(&info.data))
    return d->readings.readings.empty() && d->spo2.samples.empty();
  if (auto* d = std::get_if<_DOWNLOAD_BASIC>(&info.data)) return d->readings.readings.empty();
  if (auto* d = std::get_if<_DOWNLOAD_QORA>(&info.data)) {
    if (info.nDataMode >= kModeUser1 && info.nDataMode <= kModeUser3)
      return d->users[static_cast<size_t>(info.nDataMode - kModeUser1)].readings.empty();
    for (const auto& u : d->users)
      if (!u.readings.empty()) return false;
    return true;
  }
  return false;
}

}  // namespace vesk
