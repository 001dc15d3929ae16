// The link trace for support: every frame both ways, one parsable line each, and a trace file
// that cannot be opened is an error the caller sees.
#include "device/LinkTrace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>

#include "SimHarness.h"
#include "device/LinkFrame.h"
#include "settings/SystemSettings.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::SimHarness;
using test::TempDir;

struct TraceLine {
  char direction = 0;
  std::vector<uint8_t> bytes;
};

// Parses one line strictly: time stamp, direction, then nothing but two-digit hex bytes.
bool ParseLine(const std::string& line, TraceLine& out) {
  static const std::regex shape(
      R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\.\d{3} ([<>])((?: [0-9A-F]{2})+)$)");
  std::smatch m;
  if (!std::regex_match(line, m, shape)) return false;
  out.direction = m[1].str()[0];
  out.bytes.clear();
  std::istringstream hex(m[2].str());
  std::string byte;
  while (hex >> byte) out.bytes.push_back(static_cast<uint8_t>(std::stoi(byte, nullptr, 16)));
  return true;
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Runs the body with the local time zone set to UTC, then restores the previous one.
template <typename F>
void InUtc(F&& body) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "UTC", 1);
  tzset();
  body();
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(LinkTrace, LineHasLocalTimeToTheMillisecondDirectionAndHex) {
  InUtc([] {
    // 2026-12-06 21:05:59.123 UTC
    const auto when =
        std::chrono::system_clock::time_point(std::chrono::milliseconds(1796591159123LL));
    const uint8_t frame[] = {0x02, 0x41, 0x00, 0xFF, 0xA5};
    EXPECT_EQ(FormatTraceLine(when, '>', frame), "2026-12-06T21:05:59.123 > 02 41 00 FF A5");
    // Milliseconds are never rounded up into the next second.
    const auto late =
        std::chrono::system_clock::time_point(std::chrono::microseconds(1796591159999999LL));
    EXPECT_EQ(FormatTraceLine(late, '<', frame).substr(0, 25), "2026-12-06T21:05:59.999 <");
  });
}

TEST(LinkTrace, SimulatedDownloadIsTracedBothWaysFrameByFrame) {
  TempDir dir;
  const std::string path = dir / "link.trace";
  LinkTrace trace;
  ASSERT_TRUE(trace.Open(path)) << trace.Error();

  SimHarness h(sim::MakeSampleRecorder(kMiru, 0, 3, 120));
  h.link.SetTrace(&trace);  // before the link objects exist: they pick it up
  ASSERT_TRUE(h.Start());
  _DOWNLOAD_DATAINFO data;
  tag_SUPPORT_PROTOCOL info;
  _SUB_VERSION version;
  ASSERT_EQ(h.link.Download(kModeMonitor, data, info, version), DeviceResult::Ok);
  trace.Close();
  EXPECT_FALSE(trace.WriteFailed());

  const std::vector<std::string> lines = Lines(path);
  ASSERT_GT(lines.size(), 6u);
  size_t sent = 0, received = 0;
  link::FrameParser parser;
  for (const std::string& line : lines) {
    TraceLine t;
    ASSERT_TRUE(ParseLine(line, t)) << line;
    (t.direction == '>' ? sent : received)++;
    // Each line is exactly one whole, valid frame.
    parser.Feed(t.bytes.data(), t.bytes.size());
    link::Frame f;
    ASSERT_TRUE(parser.Next(f)) << line;
    EXPECT_EQ(parser.Buffered(), 0u) << line;
    EXPECT_EQ((f.cmd & link::kResponseBit) != 0, t.direction == '<') << line;
  }
  EXPECT_EQ(parser.BadFrames(), 0u);
  // Every request got its reply, the farewell included.
  EXPECT_EQ(sent, received);
  // The transfer begins with its greeting, byte for byte (the line the documentation shows).
  TraceLine first;
  ASSERT_TRUE(ParseLine(lines.front(), first));
  EXPECT_EQ(first.direction, '>');
  EXPECT_EQ(first.bytes,
            (std::vector<uint8_t>{0xA5, 0x5A, 0x01, 0x00, 0x01, 0x01, 0x04, 0x01, 0x7D, 0xAF}));
}

TEST(LinkTrace, DetectionIsTracedAndAnotherRunAppends) {
  TempDir dir;
  const std::string path = dir / "link.trace";
  SimHarness h(sim::MakeSampleRecorder(kQora));
  ASSERT_TRUE(h.Start());
  for (int run = 0; run < 2; ++run) {
    LinkTrace trace;
    ASSERT_TRUE(trace.Open(path));
    h.link.SetTrace(&trace);
    tag_SUPPORT_PROTOCOL found;
    ASSERT_EQ(h.link.Detect(h.PtyOnly(), found, 5000), DeviceResult::Ok);
    h.link.SetTrace(nullptr);
  }
  const std::vector<std::string> lines = Lines(path);
  // Greeting and farewell, each with its reply, per run.
  ASSERT_EQ(lines.size(), 8u);
  for (const std::string& line : lines) {
    TraceLine t;
    EXPECT_TRUE(ParseLine(line, t)) << line;
  }
}

TEST(LinkTrace, FileThatCannotBeOpenedIsAClearError) {
  TempDir dir;
  LinkTrace trace;
  const std::string missing = dir / "no/such/folder/link.trace";
  EXPECT_FALSE(trace.Open(missing));
  EXPECT_FALSE(trace.IsOpen());
  EXPECT_NE(trace.Error().find(missing), std::string::npos) << trace.Error();
  EXPECT_FALSE(trace.Open(dir.path()));  // a folder
  EXPECT_FALSE(trace.Open(""));
  EXPECT_FALSE(trace.Error().empty());
  // A closed trace takes frames without complaint: it simply has nowhere to write.
  const uint8_t b[] = {1};
  trace.Sent(b);
  EXPECT_FALSE(trace.WriteFailed());
}

TEST(LinkTrace, WriteFailureIsReportedNotDropped) {
  LinkTrace trace;
  if (!trace.Open("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const uint8_t b[] = {1, 2, 3};
  trace.Sent(b);
  EXPECT_TRUE(trace.WriteFailed());
  EXPECT_NE(trace.Error().find("/dev/full"), std::string::npos);
}

TEST(LinkTrace, ConfigurationKeyNamesTheFile) {
  TempDir dir;
  const std::string ini = dir / "MreConfig.ini";
  test::WriteBytes(ini, "[SYSTEM]\r\nLINKTRACEFILE=" + (dir / "t.log") + "\r\n");
  const SystemSettings system = LoadSystemSettings(ini);
  EXPECT_EQ(system.linkTraceFile, dir / "t.log");
  LinkTrace trace;
  ASSERT_TRUE(OpenConfiguredTrace(system, trace)) << trace.Error();
  EXPECT_TRUE(trace.IsOpen());
  EXPECT_EQ(trace.Path(), dir / "t.log");

  LinkTrace none;
  EXPECT_TRUE(OpenConfiguredTrace(SystemSettings{}, none));
  EXPECT_FALSE(none.IsOpen());

  SystemSettings bad;
  bad.linkTraceFile = dir / "missing/t.log";
  LinkTrace failing;
  EXPECT_FALSE(OpenConfiguredTrace(bad, failing));
  EXPECT_FALSE(failing.Error().empty());
}

}  // namespace
}  // namespace vesk
