// vesk-cli case chart: pictures of every chart kind written headless, and the refusals that
// leave no file behind. Built without the charts library, vesk-cli has no such command and
// these tests are skipped.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace {

using vesk::test::ReadBytes;
using vesk::test::TempDir;

struct ChartRun {
  int code = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

ChartRun Cli(const TempDir& dir, const std::string& args) {
  const std::string out = dir / "stdout.txt", err = dir / "stderr.txt";
  const std::string cmd = Quote(VESK_CLI) + " --home " + Quote(dir / "home") + " " + args + " >" +
                          Quote(out) + " 2>" + Quote(err);
  ChartRun r;
  const int status = std::system(cmd.c_str());
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = ReadBytes(out);
  r.err = ReadBytes(err);
  return r;
}

// Width and height from a PNG's header; 0x0 when the bytes are no PNG.
std::pair<uint32_t, uint32_t> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
      bytes.compare(12, 4, "IHDR") != 0)
    return {0, 0};
  auto be = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {be(16), be(20)};
}

class CliChart : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "home");
    if (Cli(dir_, "help").out.find("case chart") == std::string::npos)
      GTEST_SKIP() << "vesk-cli was built without the charts";
  }
  std::string Sample(const char* kind) {
    const std::string path = dir_ / (std::string(kind) + ".awp");
    EXPECT_EQ(Cli(dir_, std::string("sample ") + kind + " " + Quote(path) + " --seed 4").code, 0);
    return path;
  }
  TempDir dir_;
};

TEST_F(CliChart, EveryKindOfAnSpO2CaseIsAPictureOfTheAskedSize) {
  const std::string miru = Sample("miru");
  for (int kind = 0; kind <= 4; ++kind) {
    SCOPED_TRACE(kind);
    const std::string out = dir_ / ("k" + std::to_string(kind) + ".png");
    const ChartRun r = Cli(dir_, "case chart " + Quote(miru) + " --kind " + std::to_string(kind) +
                                     " --size 640x400 " + Quote(out));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(PngSize(ReadBytes(out)), std::make_pair(640u, 400u));
  }
  // Same case, same options: the same picture, byte for byte.
  const std::string again = dir_ / "again.png";
  ASSERT_EQ(
      Cli(dir_, "case chart " + Quote(miru) + " --kind 0 --size 640x400 " + Quote(again)).code, 0);
  EXPECT_EQ(ReadBytes(again), ReadBytes(dir_ / "k0.png"));
}

TEST_F(CliChart, ModeAndPeriodChangeThePicture) {
  const std::string day = Sample("ambulatory");
  auto draw = [&](const std::string& options, const std::string& name) {
    const std::string out = dir_ / name;
    const ChartRun r =
        Cli(dir_, "case chart " + Quote(day) + " " + options + " --size 500x300 " + Quote(out));
    EXPECT_EQ(r.code, 0) << r.err;
    return ReadBytes(out);
  };
  EXPECT_NE(draw("--kind 0", "curves.png"), draw("--kind 0 --mode 1", "bars.png"));
  EXPECT_NE(draw("--kind 2 --period awake", "awake.png"),
            draw("--kind 2 --period asleep", "asleep.png"));
}

TEST_F(CliChart, RefusalsWriteNothing) {
  const std::string day = Sample("ambulatory");
  const std::string out = dir_ / "never.png";
  struct Case {
    std::string args;
    int code;
    const char* says;
  } const cases[] = {
      {Quote(day) + " --kind 1 --size 100x100 " + Quote(out), 1, "no SpO2 samples"},
      {Quote(day) + " --kind 5 --size 100x100 " + Quote(out), 1, "--kind"},
      {Quote(day) + " --kind 0 --size 0x100 " + Quote(out), 1, "--size"},
      {Quote(day) + " --kind 0 --size 100 " + Quote(out), 1, "--size"},
      {Quote(day) + " --kind 0 --mode 4 --size 100x100 " + Quote(out), 1, "--mode"},
      {Quote(day) + " --kind 2 --period noon --size 100x100 " + Quote(out), 1, "--period"},
      {Quote(day) + " --kind 0 " + Quote(out), 2, "usage"},   // no size
      {Quote(day) + " --kind 0 --size 100x100", 2, "usage"},  // no output file
      {Quote(dir_ / "missing.awp") + " --kind 0 --size 100x100 " + Quote(out), 1,
       "could not be opened"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const ChartRun r = Cli(dir_, "case chart " + c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  // A folder that does not exist is told, not passed off as success.
  const ChartRun r = Cli(dir_, "case chart " + Quote(day) + " --kind 0 --size 100x100 " +
                                   Quote(dir_ / "no/such/dir/x.png"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("could not be written"), std::string::npos) << r.err;
}

}  // namespace
