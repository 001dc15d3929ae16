// Temporary files that a crashed writer left behind are cleared the next time the folder is
// written, but never one that a live writer may still rename.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "platform/FileUtil.h"
#include "support/TempDir.h"

namespace vesk::fsutil {
namespace {

using test::TempDir;
using test::WriteBytes;

long DeadPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return static_cast<long>(pid);
}

std::string Temp(const TempDir& dir, const std::string& base, long pid, int ageSeconds) {
  char name[128];
  std::snprintf(name, sizeof name, "%s.%ld.%08x.tmp", base.c_str(), pid, 0xabcdef12u);
  const std::string path = dir / name;
  WriteBytes(path, "half written");
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = std::time(nullptr) - ageSeconds;
  times[0].tv_nsec = times[1].tv_nsec = 0;
  EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  return path;
}

TEST(StaleTemps, NamesOfTempName) {
  long pid = 0;
  const std::string name = TempName("/x/MreConfig.ini");
  const std::string base = name.substr(name.rfind('/') + 1);
  ASSERT_TRUE(ParseTempName(base, &pid));
  EXPECT_EQ(pid, static_cast<long>(::getpid()));
  EXPECT_TRUE(ParseTempName("a.awp.12.0000beef.tmp", &pid));
  EXPECT_EQ(pid, 12);
  EXPECT_FALSE(ParseTempName("a.awp.tmp", &pid));
  EXPECT_FALSE(ParseTempName("a.awp.12.beef.tmp", &pid));      // hex part too short
  EXPECT_FALSE(ParseTempName("a.awp.12.0000BEEF.tmp", &pid));  // TempName writes lower case
  EXPECT_FALSE(ParseTempName("a.awp.x2.0000beef.tmp", &pid));
  EXPECT_FALSE(ParseTempName(".12.0000beef.tmp", &pid));  // no file it belongs to
  EXPECT_FALSE(ParseTempName("report.tmp12345", &pid));
}

TEST(StaleTemps, RemovesWhatACrashLeftAndKeepsLiveWriters) {
  TempDir dir;
  const long dead = DeadPid();
  const long alive = 1;  // init runs as long as the machine
  const std::string deadOld = Temp(dir, "a.awp", dead, 120);
  const std::string deadFresh = Temp(dir, "b.awp", dead, 0);
  const std::string liveRecent = Temp(dir, "c.awp", alive, 30 * 60);
  const std::string liveAbandoned = Temp(dir, "d.awp", alive, 2 * 3600);
  const std::string mine = Temp(dir, "e.awp", ::getpid(), 2 * 3600);
  const std::string other = dir / "f.awp";
  WriteBytes(other, "a case");
  EXPECT_EQ(RemoveStaleTemporaries(dir.path(), true), 2u);
  EXPECT_FALSE(FileExists(deadOld));
  EXPECT_TRUE(FileExists(deadFresh));  // perhaps a writer on another workstation
  EXPECT_TRUE(FileExists(liveRecent));
  EXPECT_FALSE(FileExists(liveAbandoned));
  EXPECT_TRUE(FileExists(mine));  // this process may be writing it right now
  EXPECT_TRUE(FileExists(other));
}

TEST(StaleTemps, WritingAFolderClearsItOncePerMinute) {
  TempDir dir;
  const std::string left = Temp(dir, "MreConfig.ini", DeadPid(), 300);
  ASSERT_TRUE(WriteFileAtomic(dir / "MreConfig.ini", "[x]\r\n"));
  EXPECT_FALSE(FileExists(left));
  const std::string again = Temp(dir, "MreConfig.ini", DeadPid(), 300);
  ASSERT_TRUE(WriteFileAtomic(dir / "MreConfig.ini", "[y]\r\n"));
  EXPECT_TRUE(FileExists(again));  // searched a moment ago
  const auto later = std::chrono::system_clock::now() + std::chrono::minutes(2);
  EXPECT_EQ(RemoveStaleTemporaries(dir.path(), later, false), 1u);
  EXPECT_EQ(RemoveStaleTemporaries(dir.path() + "/missing", true), 0u);
}

}  // namespace
}  // namespace vesk::fsutil
