#include "device/DeviceTypes.h"

namespace vesk {

bool HasNoDownloadData(const _DOWNLOAD_DATAINFO& info) {
  if (auto* d = std::get_if<TaloColorDownload>(&info.data))
    return d->recording.readings.empty() && d->singleUser.readings.empty();
  if (auto* d = std::get_if<MiruDownload>(&info.data))
    return d->readings.readings.empty() && d->spo2.samples.empty();
  if (auto* d = std::get_if<BasicDownload>(&info.data)) return d->readings.readings.empty();
  if (auto* d = std::get_if<QoraDownload>(&info.data)) {
    if (info.nDataMode >= kModeUser1 && info.nDataMode <= kModeUser3)
      return d->users[static_cast<size_t>(info.nDataMode - kModeUser1)].readings.empty();
    for (const auto& u : d->users)
      if (!u.readings.empty()) return false;
    return true;
  }
  return false;
}

}  // namespace vesk
