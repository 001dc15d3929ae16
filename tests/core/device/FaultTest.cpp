// A recorder or line that misbehaves: every fault ends the transfer with a defined result,
// leaves nothing half-downloaded and closes the link.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SimHarness.h"
#include "device/LinkMessages.h"

namespace vesk {
namespace {

using test::SimHarness;

int ModeOf(int kind) {
  return kind == kQora ? kModeAllUsers : kind == kMiru ? kModeMonitor : 1;
}

DeviceResult DownloadWith(SimHarness& h, int mode, _DOWNLOAD_DATAINFO& data) {
  tag_SUPPORT_PROTOCOL info;
  _SUB_VERSION version;
  return h.link.Download(mode, data, info, version);
}

// Bytes a clean download of the kind sends, to place cuts inside it.
uint64_t CleanDownloadBytes(int kind) {
  SimHarness h(sim::MakeSampleRecorder(kind));
  if (!h.Start()) return 0;
  _DOWNLOAD_DATAINFO data;
  if (DownloadWith(h, ModeOf(kind), data) != DeviceResult::Ok) return 0;
  return h.sim.BytesSent();
}

class FaultEveryKind : public ::testing::TestWithParam<int> {};

TEST_P(FaultEveryKind, LineDroppingAnywhereEndsAsLinkLost) {
  const int kind = GetParam();
  const uint64_t total = CleanDownloadBytes(kind);
  ASSERT_GT(total, 100u);
  // In the greeting, early, in the middle, inside the last data reply (the farewell after it
  // no longer matters).
  for (uint64_t cut : {uint64_t(5), uint64_t(30), total / 3, total / 2, total - 15}) {
    SimHarness h(sim::MakeSampleRecorder(kind));
    ASSERT_TRUE(h.Start());
    sim::SimFaults f;
    f.cutAfterBytes = static_cast<int64_t>(cut);
    f.hangUpOnCut = true;
    h.sim.SetFaults(f);
    _DOWNLOAD_DATAINFO data;
    EXPECT_EQ(DownloadWith(h, ModeOf(kind), data), DeviceResult::LinkLost) << "cut at " << cut;
    EXPECT_EQ(h.link.Progress().state.load(), kStateFailed);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(data.data));
    EXPECT_FALSE(h.link.Transport()->IsOpen());
  }
}

TEST_P(FaultEveryKind, DamagedOrMissingRepliesAreRetried) {
  const int kind = GetParam();
  for (int which = 1; which <= 4; ++which) {
    SimHarness h(sim::MakeSampleRecorder(kind));
    ASSERT_TRUE(h.Start());
    sim::SimFaults f;
    if (which % 2)
      f.corruptFrame = which;
    else
      f.dropRequest = which;
    h.sim.SetFaults(f);
    _DOWNLOAD_DATAINFO data;
    ASSERT_EQ(DownloadWith(h, ModeOf(kind), data), DeviceResult::Ok) << which;
    const auto rec = h.sim.Snapshot();
    EXPECT_FALSE(HasNoDownloadData(data) && kind != kQora);
  }
}

TEST_P(FaultEveryKind, RecorderOfAnotherKindIsRefused) {
  const int kind = GetParam();
  // A recorder of the next kind answering the protocol object made for this kind.
  sim::SimRecorder rec = sim::MakeSampleRecorder(kind % 6 + 1);
  rec.protocol = sim::SerialProtocolOf(kind);
  if (kind == kTaloColor) rec = sim::MakeSampleRecorder(kMiru, 6);  // TALO speaks 1 and 2
  SimHarness h(rec);
  ASSERT_TRUE(h.Start());
  _DOWNLOAD_DATAINFO data;
  EXPECT_EQ(DownloadWith(h, ModeOf(kind), data), DeviceResult::WrongDevice);
  EXPECT_EQ(h.link.Progress().state.load(), kStateFailed);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FaultEveryKind, ::testing::Range(1, 7));

TEST(Fault, SilentCutAndEndlessStallEndAsNoReply) {
  {
    SimHarness h(sim::MakeSampleRecorder(kPexa));
    ASSERT_TRUE(h.Start());
    sim::SimFaults f;
    f.cutAfterBytes = 400;  // silent: the line stays, the recorder is gone
    h.sim.SetFaults(f);
    _DOWNLOAD_DATAINFO data;
    EXPECT_EQ(DownloadWith(h, 1, data), DeviceResult::NoReply);
  }
  {
    SimHarness h(sim::MakeSampleRecorder(kTaloBlack));
    ASSERT_TRUE(h.Start());
    sim::SimFaults f;
    f.stallRequest = 3;
    f.stallSeconds = 30;  // longer than every retry together
    h.sim.SetFaults(f);
    _DOWNLOAD_DATAINFO data;
    EXPECT_EQ(DownloadWith(h, 1, data), DeviceResult::NoReply);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(data.data));
  }
}

TEST(Fault, ShortStallIsRiddenOutByARetry) {
  SimHarness h(sim::MakeSampleRecorder(kPexaC));
  ASSERT_TRUE(h.Start());
  sim::SimFaults f;
  f.stallRequest = 2;
  f.stallSeconds = 0.3;  // beyond one reply timeout, within two
  h.sim.SetFaults(f);
  _DOWNLOAD_DATAINFO data;
  EXPECT_EQ(DownloadWith(h, 1, data), DeviceResult::Ok);
}

TEST(Fault, RecorderErrorsMapToTheirResults) {
  const std::pair<uint8_t, DeviceResult> cases[] = {
      {link::kStatusRegion, DeviceResult::RegionError},
      {link::kStatusRemote, DeviceResult::RemoteError},
      {link::kStatusNotSupported, DeviceResult::NotSupported},
      {link::kStatusBusy, DeviceResult::ProtocolError}};
  for (auto [status, result] : cases) {
    SimHarness h(sim::MakeSampleRecorder(kMiru));
    ASSERT_TRUE(h.Start());
    sim::SimFaults f;
    f.errorStatus = status;
    f.errorCommand = link::kCmdRead;
    h.sim.SetFaults(f);
    _DOWNLOAD_DATAINFO data;
    EXPECT_EQ(DownloadWith(h, kModeRecording, data), result) << int(status);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(data.data));
  }
}

TEST(Fault, PortThatCannotBeOpenedIsLinkLost) {
  DeviceLink link;
  link.SetPort("/nonexistent/tty-recorder", 115200);
  ASSERT_TRUE(link.CreateLinkObjects(7));
  _DOWNLOAD_DATAINFO data;
  tag_SUPPORT_PROTOCOL info;
  _SUB_VERSION version;
  EXPECT_EQ(link.Download(1, data, info, version), DeviceResult::LinkLost);
  EXPECT_FALSE(link.CreateLinkObjects(11));
  EXPECT_FALSE(link.CreateLinkObjects(0));
}

TEST(Fault, CancelStopsAtTheNextPacketAndKeepsNothing) {
  // A slow line so the transfer is surely still running when the cancel comes.
  SimHarness h(sim::MakeSampleRecorder(kMiru, 0, 1, 20000), 115200);
  ASSERT_TRUE(h.Start());
  // Watched from this thread while the worker writes it.
  std::atomic<int> result{-1};
  _DOWNLOAD_DATAINFO data;
  std::thread worker([&] { result = ToInt(DownloadWith(h, kModeMonitor, data)); });
  while (h.link.Progress().type.load() != kTransportSpO2 && result == -1) std::this_thread::yield();
  h.link.Cancel();
  worker.join();
  EXPECT_EQ(DeviceResultOf(result), DeviceResult::Cancelled);
  EXPECT_EQ(h.link.Progress().state.load(), kStateFailed);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(data.data));
  EXPECT_FALSE(h.link.Transport()->IsOpen());

  // The recorder is still fine for the next attempt, once the link is armed again.
  h.sim.SetBaud(0);
  EXPECT_EQ(DownloadWith(h, kModeMonitor, data), DeviceResult::Cancelled);
  h.link.Arm();
  EXPECT_EQ(DownloadWith(h, kModeMonitor, data), DeviceResult::Ok);
}

}  // namespace
}  // namespace vesk
