// Clean-up of the temporary files that WriteFileAtomic leaves behind when its process dies
// between creating the temporary and renaming it.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/FileUtil.h"

namespace vesk::fsutil {

namespace {

constexpr auto kAbandoned = std::chrono::hours(1);
constexpr auto kDeadWriterGrace = std::chrono::minutes(1);
constexpr auto kRescan = std::chrono::minutes(1);

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

bool AllHex(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

bool ProcessAlive(long pid) {
  if (pid <= 0) return false;
  // EPERM: it exists but belongs to someone else.
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::chrono::system_clock::time_point ModifiedAt(const struct stat& st) {
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(
          std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
}

}  // namespace

bool ParseTempName(std::string_view name, long* pid) {
  constexpr std::string_view kTail = ".tmp";
  if (name.size() <= kTail.size() || name.substr(name.size() - kTail.size()) != kTail) return false;
  name.remove_suffix(kTail.size());
  const size_t hexDot = name.rfind('.');
  if (hexDot == std::string_view::npos || name.size() - hexDot - 1 != 8) return false;
  if (!AllHex(name.substr(hexDot + 1))) return false;
  name = name.substr(0, hexDot);
  const size_t pidDot = name.rfind('.');
  if (pidDot == std::string_view::npos || pidDot == 0) return false;
  const std::string_view digits = name.substr(pidDot + 1);
  if (!AllDigits(digits) || digits.size() > 9) return false;
  if (pid) *pid = std::stol(std::string(digits));
  return true;
}

size_t RemoveStaleTemporaries(const std::string& folder, bool force) {
  return RemoveStaleTemporaries(folder, std::chrono::system_clock::now(), force);
}

size_t RemoveStaleTemporaries(const std::string& folder, std::chrono::system_clock::time_point now,
                              bool force) {
  static std::mutex mutex;
  static std::map<std::string, std::chrono::system_clock::time_point> lastScan;
  {
    std::lock_guard lock(mutex);
    auto& last = lastScan[folder];
    if (!force && last.time_since_epoch().count() != 0 && now - last < kRescan && now >= last)
      return 0;
    last = now;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  const int fd = ::dirfd(dir);
  const long self = static_cast<long>(::getpid());
  size_t removed = 0;
  while (struct dirent* e = ::readdir(dir)) {
    long pid = 0;
    if (!ParseTempName(e->d_name, &pid) || pid == self) continue;
    struct stat st {};
    if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    const auto age = now - ModifiedAt(st);
    const bool stale = age > kAbandoned || (age > kDeadWriterGrace && !ProcessAlive(pid));
    if (stale && ::unlinkat(fd, e->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace vesk::fsutil
