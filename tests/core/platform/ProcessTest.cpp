#include "platform/Process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(Process, ExitCodesAndArgumentsPassIntact) {
  TempDir dir;
  std::string out = dir / "args.txt";
  std::vector<std::string> args = {
      "-c",         "printf '%s|' \"$@\" > \"$0\"; exit 7", out, "two words", "\"quoted\"", "",
      "back\\slash"};
  ProcessResult r = RunAndWait("/bin/sh", args);
  EXPECT_TRUE(r.started);
  EXPECT_EQ(r.exitCode, 7);
  EXPECT_EQ(ReadBytes(out), "two words|\"quoted\"||back\\slash|");
  EXPECT_EQ(RunAndWait("true", {}).exitCode, 0);  // bare names are searched on PATH
}

TEST(Process, ProgramsThatCannotRunAreNotStarted) {
  TempDir dir;
  EXPECT_FALSE(RunAndWait(dir / "missing", {}).started);
  EXPECT_FALSE(RunAndWait("", {}).started);
  EXPECT_FALSE(RunAndWait(dir.path(), {}).started);
  WriteBytes(dir / "noexec", "#!/bin/sh\nexit 0\n");
  ::chmod((dir / "noexec").c_str(), 0644);
  EXPECT_FALSE(RunAndWait(dir / "noexec", {}).started);
  // A program killed by a signal did start but has no exit code.
  ProcessResult killed = RunAndWait("/bin/sh", {"-c", "kill -9 $$"});
  EXPECT_TRUE(killed.started);
  EXPECT_EQ(killed.exitCode, -1);
}

}  // namespace
}  // namespace vesk
