// vesk-cli case lock on the locks a shared case folder holds.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "CliRun.h"
#include "cases/CaseLock.h"
#include "platform/FileUtil.h"
#include "support/TempDir.h"

namespace vesk::test {
namespace {

long DeadPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return static_cast<long>(pid);
}

TEST(CliLock, ShowsAndClearsOnlyStaleLocks) {
  TempDir temp;
  const std::string home = temp / "home";
  const std::string file = temp / "20240301101500.awp";
  const std::string lockFile = CaseLock::LockPathFor(file);

  CliRun r = Cli(home, "case lock '" + file + "' --json");
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(r.out)["state"], "free");

  LockOwner crashed = CaseLock::Me();
  crashed.pid = DeadPid();
  crashed.user = "nurse";
  WriteBytes(lockFile, CaseLock::Format(crashed));
  r = Cli(home, "case lock '" + file + "' --json");
  ASSERT_EQ(r.exitCode, 0);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["state"], "stale");
  EXPECT_EQ(j["reason"], "process ended");
  EXPECT_EQ(j["user"], "nurse");
  EXPECT_EQ(Cli(home, "case lock '" + file + "' --clear-stale").exitCode, 0);
  EXPECT_FALSE(fsutil::FileExists(lockFile));

  LockOwner live = CaseLock::Me();  // this test process, which is running
  WriteBytes(lockFile, CaseLock::Format(live));
  r = Cli(home, "case lock '" + file + "' --clear-stale");
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.out.find("open for editing by"), std::string::npos) << r.out;
  EXPECT_TRUE(fsutil::FileExists(lockFile));

  EXPECT_EQ(Cli(home, "case lock").exitCode, 2);
  EXPECT_EQ(Cli(home, "case lock '" + file + "' --max-age 0").exitCode, 2);
}

}  // namespace
}  // namespace vesk::test
