// Locks of a shared case folder, with a second process standing in for the second workstation.
#include "cases/CaseLock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <functional>

#include "platform/FileUtil.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Runs body in a child process and returns its exit code (what body returned).
int InChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The pid of a process that has ended.
long DeadPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return static_cast<long>(pid);
}

void Age(const std::string& path, int seconds) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = std::time(nullptr) - seconds;
  times[0].tv_nsec = times[1].tv_nsec = 0;
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class CaseLockTest : public ::testing::Test {
 protected:
  std::string Case() const { return dir_ / "20240301101500.awp"; }
  std::string LockFile() const { return CaseLock::LockPathFor(Case()); }
  void WriteLock(LockOwner owner) { WriteBytes(LockFile(), CaseLock::Format(owner)); }
  TempDir dir_;
};

TEST_F(CaseLockTest, LockFileNamesWhoHoldsTheCase) {
  CaseLock lock;
  const CaseLockResult r = lock.Acquire(Case());
  ASSERT_EQ(r.state, LockState::Taken) << r.error;
  EXPECT_EQ(lock.LockPath(), Case() + ".lock");
  LockOwner owner;
  ASSERT_TRUE(CaseLock::Parse(ReadBytes(LockFile()), owner));
  const LockOwner me = CaseLock::Me();
  EXPECT_EQ(owner.host, me.host);
  EXPECT_EQ(owner.user, me.user);
  EXPECT_EQ(owner.pid, static_cast<long>(::getpid()));
  EXPECT_LE(std::abs(owner.since - static_cast<int64_t>(std::time(nullptr))), 2);
  lock.Release();
  EXPECT_FALSE(fsutil::FileExists(LockFile()));
}

TEST_F(CaseLockTest, SecondProcessIsToldWhoHasItOpen) {
  CaseLock lock;
  ASSERT_EQ(lock.Acquire(Case()).state, LockState::Taken);
  const long parent = static_cast<long>(::getpid());
  EXPECT_EQ(InChild([&] {
              CaseLock other;
              const CaseLockResult r = other.Acquire(Case());
              if (r.state != LockState::HeldByOther) return 1;
              if (r.owner.pid != parent || r.owner.host != CaseLock::Me().host) return 2;
              return other.Held() ? 3 : 0;
            }),
            0);
  // The refused child did not remove the parent's lock on its way out.
  EXPECT_TRUE(fsutil::FileExists(LockFile()));
}

TEST_F(CaseLockTest, LockOfACrashedProcessIsStaleAndCanBeTakenOver) {
  // The child takes the lock and dies without releasing it.
  ASSERT_EQ(InChild([&] {
              CaseLock lock;
              if (lock.Acquire(Case()).state != LockState::Taken) return 1;
              ::_exit(0);
            }),
            0);
  ASSERT_TRUE(fsutil::FileExists(LockFile()));
  CaseLock lock;
  LockSighting seen;
  const CaseLockResult r = lock.Acquire(Case(), {}, &seen);
  ASSERT_EQ(r.state, LockState::Stale);
  EXPECT_EQ(r.staleReason, "process ended");
  EXPECT_FALSE(lock.Held());
  ASSERT_EQ(lock.TakeOver(Case(), seen).state, LockState::Taken);
  LockOwner owner;
  ASSERT_TRUE(CaseLock::Parse(ReadBytes(LockFile()), owner));
  EXPECT_EQ(owner.pid, static_cast<long>(::getpid()));
}

TEST_F(CaseLockTest, StaleRules) {
  LockOwner other = CaseLock::Me();
  other.host = "ward-3-pc";  // another workstation: its pid means nothing here
  other.pid = DeadPid();
  WriteLock(other);
  EXPECT_EQ(CaseLock::Inspect(Case()).state, LockState::HeldByOther);

  other.since = std::time(nullptr) - 13 * 3600;
  WriteLock(other);
  CaseLockResult r = CaseLock::Inspect(Case());
  EXPECT_EQ(r.state, LockState::Stale);
  EXPECT_EQ(r.staleReason, "older than 12 hours");
  EXPECT_EQ(r.owner.host, "ward-3-pc");
  EXPECT_EQ(CaseLock::Inspect(Case(), LockPolicy{24}).state, LockState::HeldByOther);

  LockOwner rebooted = CaseLock::Me();
  rebooted.boot = "an-earlier-boot";
  WriteLock(rebooted);
  EXPECT_EQ(CaseLock::Inspect(Case()).staleReason, "host restarted");

  // This process, but a lock from before its pid was reused.
  LockOwner reused = CaseLock::Me();
  reused.started += 1;
  WriteLock(reused);
  EXPECT_EQ(CaseLock::Inspect(Case()).staleReason, "process ended");

  WriteBytes(LockFile(), "\x01garbage without keys");
  EXPECT_EQ(CaseLock::Inspect(Case()).state, LockState::HeldByOther);  // maybe being written
  Age(LockFile(), 60);
  r = CaseLock::Inspect(Case());
  EXPECT_EQ(r.state, LockState::Stale);
  EXPECT_EQ(r.staleReason, "unreadable");
  EXPECT_TRUE(r.owner.host.empty());
}

TEST_F(CaseLockTest, ParseRejectsMalformedLocks) {
  LockOwner o;
  EXPECT_TRUE(CaseLock::Parse("host=a\nuser=b\npid=12\ntime=100\n", o));
  EXPECT_EQ(o.pid, 12);
  EXPECT_EQ(o.since, 100);
  EXPECT_FALSE(CaseLock::Parse("", o));
  EXPECT_FALSE(CaseLock::Parse("host=a\npid=12\n", o));
  EXPECT_FALSE(CaseLock::Parse("host=a\npid=-1\ntime=1\n", o));
  EXPECT_FALSE(CaseLock::Parse("host=a\npid=99999999999\ntime=1\n", o));
  EXPECT_FALSE(CaseLock::Parse("host=\npid=1\ntime=1\n", o));
  EXPECT_FALSE(CaseLock::Parse("host=a\npid=1\ntime=1\nno equals sign\n", o));
  // Names with a line break cannot forge further keys.
  LockOwner tricky = CaseLock::Me();
  tricky.user = "eve\npid=1";
  ASSERT_TRUE(CaseLock::Parse(CaseLock::Format(tricky), o));
  EXPECT_EQ(o.pid, tricky.pid);
}

TEST_F(CaseLockTest, OfTwoTakingOverTheSameStaleLockOneWins) {
  LockOwner dead = CaseLock::Me();
  dead.pid = DeadPid();
  dead.started = 0;
  WriteLock(dead);
  LockSighting seen;
  ASSERT_EQ(CaseLock::Inspect(Case(), {}, &seen).state, LockState::Stale);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  pid_t children[2];
  for (pid_t& child : children) {
    child = ::fork();
    if (child == 0) {
      char go;
      ::close(pipeFds[1]);
      if (::read(pipeFds[0], &go, 1) != 1) ::_exit(9);
      CaseLock lock;
      const CaseLockResult r = lock.TakeOver(Case(), seen);
      // Hold the lock until the parent has looked at both results.
      if (r.state == LockState::Taken) ::sleep(1);
      ::_exit(r.state == LockState::Taken ? 0 : r.state == LockState::HeldByOther ? 1 : 2);
    }
  }
  ::close(pipeFds[0]);
  ASSERT_EQ(::write(pipeFds[1], "gg", 2), 2);
  ::close(pipeFds[1]);
  int codes[2];
  for (int i = 0; i < 2; ++i) {
    int status = 0;
    ::waitpid(children[i], &status, 0);
    codes[i] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  EXPECT_EQ(codes[0] + codes[1], 1) << codes[0] << " " << codes[1];
}

TEST_F(CaseLockTest, TakeOverLeavesANewerLockAlone) {
  LockOwner dead = CaseLock::Me();
  dead.pid = DeadPid();
  WriteLock(dead);
  LockSighting seen;
  ASSERT_EQ(CaseLock::Inspect(Case(), {}, &seen).state, LockState::Stale);
  // Meanwhile another workstation took the lock over and holds a new one. (The old file is
  // kept under another name so that the new one cannot get its inode number.)
  ASSERT_EQ(::rename(LockFile().c_str(), (dir_ / "old.lock").c_str()), 0);
  LockOwner fresh = CaseLock::Me();
  fresh.host = "ward-3-pc";
  WriteLock(fresh);
  CaseLock lock;
  const CaseLockResult r = lock.TakeOver(Case(), seen);
  EXPECT_EQ(r.state, LockState::HeldByOther);
  EXPECT_EQ(r.owner.host, "ward-3-pc");
  EXPECT_FALSE(lock.Held());
  LockOwner there;
  ASSERT_TRUE(CaseLock::Parse(ReadBytes(LockFile()), there));
  EXPECT_EQ(there.host, "ward-3-pc");
}

TEST_F(CaseLockTest, ReleaseKeepsALockThatIsNoLongerOurs) {
  CaseLock lock;
  ASSERT_EQ(lock.Acquire(Case()).state, LockState::Taken);
  ASSERT_EQ(::rename(LockFile().c_str(), (dir_ / "ours.lock").c_str()), 0);
  LockOwner other = CaseLock::Me();
  other.host = "ward-3-pc";
  WriteLock(other);
  lock.Release();
  EXPECT_TRUE(fsutil::FileExists(LockFile()));
}

TEST_F(CaseLockTest, UnwritableFolderIsAnErrorNotALock) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0555), 0);
  CaseLock lock;
  const CaseLockResult r = lock.Acquire(Case());
  EXPECT_EQ(r.state, LockState::Error);
  EXPECT_NE(r.error.find(".lock"), std::string::npos);
  ::chmod(dir_.path().c_str(), 0755);
}

TEST_F(CaseLockTest, SecondSaveInTheSameSecondIsToldTheFileChanged) {
  WriteBytes(Case(), "loaded by both");
  const FileStamp loaded = StampFile(Case());
  ASSERT_TRUE(loaded.exists);
  // Another workstation saves first.
  ASSERT_EQ(InChild([&] {
              std::string error;
              return ReplaceIfUnchanged(Case(), "theirs", loaded, nullptr, &error) ==
                             SaveCheck::Saved
                         ? 0
                         : 1;
            }),
            0);
  std::string error;
  EXPECT_EQ(ReplaceIfUnchanged(Case(), "ours", loaded, nullptr, &error), SaveCheck::ChangedUnderUs);
  EXPECT_EQ(ReadBytes(Case()), "theirs");
  // Saving again from what is there now works, and the stamp follows each save.
  FileStamp now = StampFile(Case()), after;
  EXPECT_EQ(ReplaceIfUnchanged(Case(), "ours", now, &after, &error), SaveCheck::Saved) << error;
  EXPECT_EQ(after, StampFile(Case()));
  EXPECT_EQ(ReplaceIfUnchanged(Case(), "again", after, &after, &error), SaveCheck::Saved);
  EXPECT_EQ(ReadBytes(Case()), "again");
  // A file that was not there when loaded must still not be there.
  const std::string fresh = dir_ / "new.awp";
  const FileStamp none = StampFile(fresh);
  WriteBytes(fresh, "someone else's");
  EXPECT_EQ(ReplaceIfUnchanged(fresh, "mine", none, nullptr, &error), SaveCheck::ChangedUnderUs);
}

TEST_F(CaseLockTest, InPlaceRewriteOfTheSameSizeIsNoticed) {
  WriteBytes(Case(), "AAAA");
  const FileStamp loaded = StampFile(Case());
  {
    // Same inode, same size, same second: only the nanoseconds tell.
    const int fd = ::open(Case().c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "BBBB", 4), 4);
    struct timespec times[2] = {{0, UTIME_OMIT}, {loaded.mtimeNs / 1000000000, 0}};
    times[1].tv_nsec = (loaded.mtimeNs % 1000000000) + 1;
    if (times[1].tv_nsec >= 1000000000) times[1].tv_nsec -= 2;
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
  }
  std::string error;
  EXPECT_EQ(ReplaceIfUnchanged(Case(), "ours", loaded, nullptr, &error), SaveCheck::ChangedUnderUs);
}

TEST_F(CaseLockTest, ConcurrentSavesOfTheSameLoadNeverBothWin) {
  WriteBytes(Case(), "loaded");
  const FileStamp loaded = StampFile(Case());
  for (int round = 0; round < 5; ++round) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
      children[i] = ::fork();
      if (children[i] == 0) {
        char go;
        ::close(pipeFds[1]);
        if (::read(pipeFds[0], &go, 1) != 1) ::_exit(9);
        std::string error;
        const SaveCheck c =
            ReplaceIfUnchanged(Case(), i == 0 ? "first" : "second", loaded, nullptr, &error);
        ::_exit(c == SaveCheck::Saved ? 0 : c == SaveCheck::ChangedUnderUs ? 1 : 2);
      }
    }
    ::close(pipeFds[0]);
    ASSERT_EQ(::write(pipeFds[1], "gg", 2), 2);
    ::close(pipeFds[1]);
    int saved = 0;
    for (pid_t child : children) {
      int status = 0;
      ::waitpid(child, &status, 0);
      ASSERT_TRUE(WIFEXITED(status));
      ASSERT_LE(WEXITSTATUS(status), 1);
      saved += WEXITSTATUS(status) == 0;
    }
    // The first round replaces the loaded file; later rounds find it replaced already.
    EXPECT_EQ(saved, round == 0 ? 1 : 0);
  }
}

}  // namespace
}  // namespace vesk
