#pragma once
// Locks and change checks for cases in a case folder that several workstations share.
//
// Opening a case for editing takes its lock: a file <case>.lock, created with O_EXCL, that
// names the workstation, the user, the process and the time. A second workstation is told who
// holds it and may open the case read-only. A lock left by a program that crashed is stale:
// its process is gone on this host (or the host was restarted since), it is older than the
// policy allows, or it cannot be read at all; a stale lock may be taken over once the user has
// confirmed it.
//
// A save replaces the case file only while it is still the file that was loaded (device,
// inode, size and modification time to the nanosecond), so that of two saves in the same
// second the second is told the file changed under it instead of silently winning.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

struct LockOwner {
  std::string host;  // gethostname()
  std::string user;  // login name
  long pid = 0;
  int64_t since = 0;     // seconds since 1970 when the lock was taken
  std::string boot;      // boot id of the host, so a restart frees the locks of before
  uint64_t started = 0;  // start time of the process since boot, against reused pids
};

struct LockPolicy {
  int maxAgeHours = 12;  // a lock older than this is stale whoever holds it
};

enum class LockState {
  Taken,        // the lock is ours
  HeldByOther,  // a live lock: owner says whose
  Stale,        // a lock left behind: owner and staleReason say why; TakeOver may take it
  Error,        // the lock could not be checked or made: error says why
};

struct CaseLockResult {
  LockState state = LockState::Error;
  LockOwner owner;          // the holder, for HeldByOther and Stale (empty when unreadable)
  std::string staleReason;  // "process ended", "host restarted", "older than N hours",
                            // "unreadable"
  std::string error;
};

// Identifies the lock file a Stale result was about, so that TakeOver removes that file and
// never one a third workstation made in the meantime.
struct LockSighting {
  dev_t dev = 0;
  ino_t ino = 0;
};

class CaseLock {
 public:
  CaseLock() = default;
  ~CaseLock();
  CaseLock(CaseLock&& other) noexcept;
  CaseLock& operator=(CaseLock&& other) noexcept;
  CaseLock(const CaseLock&) = delete;
  CaseLock& operator=(const CaseLock&) = delete;

  static std::string LockPathFor(const std::string& casePath);
  // The owner this process writes into its locks.
  static LockOwner Me();

  // Takes the lock of casePath into *this (releasing what *this held). Stale and HeldByOther
  // leave *this empty; for Stale, sighting receives what TakeOver needs.
  [[nodiscard]] CaseLockResult Acquire(const std::string& casePath, const LockPolicy& policy = {},
                                       LockSighting* sighting = nullptr);
  // Removes the stale lock seen before and takes the lock. Taken when it worked; HeldByOther
  // when someone else took it first or the lock is no longer the one seen.
  [[nodiscard]] CaseLockResult TakeOver(const std::string& casePath, const LockSighting& seen,
                                        const LockPolicy& policy = {});
  // Removes the lock file if it is still ours. Called by the destructor.
  void Release();

  bool Held() const { return !lockPath_.empty(); }
  const std::string& LockPath() const { return lockPath_; }

  // What the lock file of casePath says, without taking it. Taken means "no lock".
  [[nodiscard]] static CaseLockResult Inspect(const std::string& casePath,
                                              const LockPolicy& policy = {},
                                              LockSighting* sighting = nullptr);

  // The text of a lock file and back. Parse returns false on anything malformed.
  static std::string Format(const LockOwner& owner);
  [[nodiscard]] static bool Parse(std::string_view text, LockOwner& owner);

 private:
  std::string lockPath_;
  dev_t dev_ = 0;
  ino_t ino_ = 0;
};

// The identity of a file's content as a save must find it unchanged.
struct FileStamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  int64_t size = 0;
  int64_t mtimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

[[nodiscard]] FileStamp StampFile(const std::string& path);

enum class SaveCheck {
  Saved,           // written; *newStamp is the file now
  ChangedUnderUs,  // the file is not the one loaded: nothing written
  Failed,          // writing failed: error says why; the old file is untouched
};

// Replaces path atomically with bytes if its stamp still equals expected (a file that did not
// exist must still not exist). newStamp, when given, receives the stamp after the write.
[[nodiscard]] SaveCheck ReplaceIfUnchanged(const std::string& path, std::string_view bytes,
                                           const FileStamp& expected, FileStamp* newStamp,
                                           std::string* error);

}  // namespace vesk
