#include "cases/CaseLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/FileUtil.h"

namespace vesk {

namespace {

// A lock file is written right after it is created; one that reads as garbage for longer than
// this was left half-written by a crash.
constexpr int64_t kBeingWrittenSeconds = 10;
constexpr size_t kMaxLockBytes = 4096;

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\n' || c == '\r') c = ' ';
  return s;
}

std::string ReadSmallFile(const char* path) {
  std::string text;
  std::string why;
  if (!fsutil::ReadFile(path, text, &why, kMaxLockBytes)) return {};
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Field 22 of /proc/<pid>/stat, the start time in clock ticks since boot; 0 when unknown.
uint64_t StartTimeOf(long pid) {
  const std::string stat = ReadSmallFile(("/proc/" + std::to_string(pid) + "/stat").c_str());
  const size_t paren = stat.rfind(')');
  if (paren == std::string::npos) return 0;
  // After ") " come field 3 (state) onwards; the start time is the 20th of them.
  size_t pos = paren + 2;
  for (int field = 3; field < 22 && pos < stat.size(); ++field) {
    pos = stat.find(' ', pos);
    if (pos == std::string::npos) return 0;
    ++pos;
  }
  return std::strtoull(stat.c_str() + pos, nullptr, 10);
}

bool ProcessAlive(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

int64_t Now() {
  return static_cast<int64_t>(std::time(nullptr));
}

CaseLockResult Classify(bool parsed, const LockOwner& owner, int64_t fileAge,
                        const LockPolicy& policy) {
  CaseLockResult r;
  r.owner = owner;
  if (!parsed) {
    r.owner = {};
    if (fileAge < kBeingWrittenSeconds) {
      r.state = LockState::HeldByOther;
    } else {
      r.state = LockState::Stale;
      r.staleReason = "unreadable";
    }
    return r;
  }
  const LockOwner me = CaseLock::Me();
  if (Now() - owner.since > int64_t(policy.maxAgeHours) * 3600) {
    r.state = LockState::Stale;
    r.staleReason = "older than " + std::to_string(policy.maxAgeHours) + " hours";
    return r;
  }
  if (owner.host == me.host) {
    if (!owner.boot.empty() && !me.boot.empty() && owner.boot != me.boot) {
      r.state = LockState::Stale;
      r.staleReason = "host restarted";
      return r;
    }
    const uint64_t started = owner.started ? StartTimeOf(owner.pid) : 0;
    if (!ProcessAlive(owner.pid) || (started != 0 && started != owner.started)) {
      r.state = LockState::Stale;
      r.staleReason = "process ended";
      return r;
    }
  }
  r.state = LockState::HeldByOther;
  return r;
}

CaseLockResult Failure(const std::string& what, int err) {
  CaseLockResult r;
  r.state = LockState::Error;
  r.error = what + ": " + std::strerror(err);
  return r;
}

}  // namespace

CaseLock::~CaseLock() {
  Release();
}

CaseLock::CaseLock(CaseLock&& other) noexcept
    : lockPath_(std::move(other.lockPath_)), dev_(other.dev_), ino_(other.ino_) {
  other.lockPath_.clear();
}

CaseLock& CaseLock::operator=(CaseLock&& other) noexcept {
  if (this != &other) {
    Release();
    lockPath_ = std::move(other.lockPath_);
    dev_ = other.dev_;
    ino_ = other.ino_;
    other.lockPath_.clear();
  }
  return *this;
}

std::string CaseLock::LockPathFor(const std::string& casePath) {
  return casePath + ".lock";
}

LockOwner CaseLock::Me() {
  LockOwner me;
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0) me.host = OneLine(host);
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
    me.user = OneLine(pw->pw_name);
  else if (const char* user = std::getenv("USER"))
    me.user = OneLine(user);
  me.pid = static_cast<long>(::getpid());
  me.since = Now();
  me.boot = OneLine(ReadSmallFile("/proc/sys/kernel/random/boot_id"));
  me.started = StartTimeOf(me.pid);
  return me;
}

std::string CaseLock::Format(const LockOwner& o) {
  return "host=" + OneLine(o.host) + "\nuser=" + OneLine(o.user) +
         "\npid=" + std::to_string(o.pid) + "\ntime=" + std::to_string(o.since) +
         "\nboot=" + OneLine(o.boot) + "\nstarted=" + std::to_string(o.started) + "\n";
}

bool CaseLock::Parse(std::string_view text, LockOwner& owner) {
  LockOwner o;
  bool host = false, pid = false, time = false;
  auto number = [](std::string_view v, long long& out) {
    if (v.empty() || v.size() > 19) return false;
    out = 0;
    for (char c : v) {
      if (c < '0' || c > '9') return false;
      out = out * 10 + (c - '0');
    }
    return true;
  };
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
    long long n = 0;
    if (key == "host") {
      o.host = value;
      host = !value.empty();
    } else if (key == "user") {
      o.user = value;
    } else if (key == "pid") {
      if (!number(value, n) || n <= 0 || n > 0x7fffffff) return false;
      o.pid = static_cast<long>(n);
      pid = true;
    } else if (key == "time") {
      if (!number(value, n)) return false;
      o.since = n;
      time = true;
    } else if (key == "boot") {
      o.boot = value;
    } else if (key == "started") {
      if (!number(value, n)) return false;
      o.started = static_cast<uint64_t>(n);
    }
  }
  if (!host || !pid || !time) return false;
  owner = std::move(o);
  return true;
}

CaseLockResult CaseLock::Inspect(const std::string& casePath, const LockPolicy& policy,
                                 LockSighting* sighting) {
  const std::string lockPath = LockPathFor(casePath);
  const int fd = ::open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) {
      CaseLockResult none;
      none.state = LockState::Taken;
      return none;
    }
    // A link or a folder in the lock's place is nobody's lock and cannot be ours either.
    if (errno == ELOOP) {
      CaseLockResult r;
      r.state = LockState::HeldByOther;
      return r;
    }
    return Failure("cannot read the lock " + lockPath, errno);
  }
  struct stat st {};
  std::string text;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    char buffer[kMaxLockBytes];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) text.assign(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  if (sighting) *sighting = {st.st_dev, st.st_ino};
  LockOwner owner;
  const bool parsed = S_ISREG(st.st_mode) && Parse(text, owner);
  return Classify(parsed, owner, Now() - static_cast<int64_t>(st.st_mtim.tv_sec), policy);
}

CaseLockResult CaseLock::Acquire(const std::string& casePath, const LockPolicy& policy,
                                 LockSighting* sighting) {
  Release();
  const std::string lockPath = LockPathFor(casePath);
  // A lock that vanishes between our failed create and our look at it is tried again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    const int fd = ::open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      const std::string text = Format(Me());
      struct stat st {};
      const bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size()) &&
                      ::fsync(fd) == 0 && ::fstat(fd, &st) == 0;
      const int err = errno;
      ::close(fd);
      if (!ok) {
        ::unlink(lockPath.c_str());
        return Failure("cannot write the lock " + lockPath, err);
      }
      lockPath_ = lockPath;
      dev_ = st.st_dev;
      ino_ = st.st_ino;
      CaseLockResult r;
      r.state = LockState::Taken;
      r.owner = Me();
      return r;
    }
    if (errno != EEXIST) return Failure("cannot create the lock " + lockPath, errno);
    CaseLockResult seen = Inspect(casePath, policy, sighting);
    if (seen.state != LockState::Taken) return seen;
  }
  CaseLockResult busy;
  busy.state = LockState::HeldByOther;
  return busy;
}

CaseLockResult CaseLock::TakeOver(const std::string& casePath, const LockSighting& seen,
                                  const LockPolicy& policy) {
  Release();
  const std::string lockPath = LockPathFor(casePath);
  // Moving the lock aside first makes sure that of two workstations taking over the same
  // stale lock only one removes it, and that the file removed is the one that was judged.
  const std::string aside = fsutil::TempName(lockPath);
  if (::rename(lockPath.c_str(), aside.c_str()) != 0) {
    if (errno == ENOENT) return Acquire(casePath, policy);
    return Failure("cannot remove the lock " + lockPath, errno);
  }
  struct stat st {};
  if (::lstat(aside.c_str(), &st) != 0 || st.st_dev != seen.dev || st.st_ino != seen.ino) {
    // Someone made a new lock after ours was judged stale: it is theirs, put it back.
    if (::link(aside.c_str(), lockPath.c_str()) != 0 && errno != EEXIST) {
      const int err = errno;
      ::rename(aside.c_str(), lockPath.c_str());
      return Failure("cannot restore the lock " + lockPath, err);
    }
    ::unlink(aside.c_str());
    CaseLockResult r = Inspect(casePath, policy);
    if (r.state == LockState::Taken || r.state == LockState::Stale)
      r.state = LockState::HeldByOther;
    return r;
  }
  // The judged file is removed only once the new lock exists: freed at once, its inode number
  // could come back for the new lock and pass a second taker's check above.
  CaseLockResult taken = Acquire(casePath, policy);
  ::unlink(aside.c_str());
  return taken;
}

void CaseLock::Release() {
  if (lockPath_.empty()) return;
  struct stat st {};
  // After a take-over by another workstation the file there is theirs.
  if (::lstat(lockPath_.c_str(), &st) == 0 && st.st_dev == dev_ && st.st_ino == ino_)
    ::unlink(lockPath_.c_str());
  lockPath_.clear();
}

FileStamp StampFile(const std::string& path) {
  FileStamp s;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = static_cast<int64_t>(st.st_size);
  s.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return s;
}

SaveCheck ReplaceIfUnchanged(const std::string& path, std::string_view bytes,
                             const FileStamp& expected, FileStamp* newStamp, std::string* error) {
  // Two savers that passed the check together would both replace the file; holding the old
  // file's lock from the check to the rename lets the second see the first one's file.
  int fd = -1;
  if (expected.exists) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
      if (errno == ENOENT) return SaveCheck::ChangedUnderUs;
      if (error) *error = std::string("open: ") + std::strerror(errno);
      return SaveCheck::Failed;
    }
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  const bool unchanged = StampFile(path) == expected;
  SaveCheck result = SaveCheck::ChangedUnderUs;
  if (unchanged) {
    result = fsutil::WriteFileAtomic(path, bytes, error) ? SaveCheck::Saved : SaveCheck::Failed;
    if (result == SaveCheck::Saved && newStamp) *newStamp = StampFile(path);
  }
  if (fd >= 0) ::close(fd);
  return result;
}

}  // namespace vesk
