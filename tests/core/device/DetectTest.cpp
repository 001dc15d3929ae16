// Detection over the extra-port list, its result codes and the watchdog.
#include <gtest/gtest.h>

#include <chrono>

#include "SimHarness.h"
#include "device/LinkMessages.h"

namespace vesk {
namespace {

using test::SimHarness;

TEST(Detect, FindsEveryKindOnAnExtraPort) {
  for (int kind = 1; kind <= 6; ++kind) {
    sim::SimRecorder rec = sim::MakeSampleRecorder(kind);
    rec.deviceByte = 0x21;
    rec.lockByte = 1;
    SimHarness h(rec);
    ASSERT_TRUE(h.Start());
    DetectOptions o = h.PtyOnly();
    o.extraPorts.insert(o.extraPorts.begin(), "/nonexistent/ttyX");  // skipped
    tag_SUPPORT_PROTOCOL found;
    ASSERT_EQ(h.link.Detect(o, found), DeviceResult::Ok) << kind;
    EXPECT_EQ(found, (tag_SUPPORT_PROTOCOL{kind, rec.protocol, 0x21, 1}));
    EXPECT_EQ(h.link.FoundPort().port, h.runner.Path());
    EXPECT_EQ(h.link.Progress().state.load(), kStateFinished);
    // The link objects made from the result reach the same recorder.
    ASSERT_TRUE(h.link.CreateLinkObjects(found.nProtocol));
    int modes[kDataModeSlots];
    EXPECT_EQ(h.link.GetDataModes(modes), DeviceResult::Ok);
  }
}

TEST(Detect, ExtraPortSettingSplitsIntoPaths) {
  EXPECT_EQ(SplitPortList(" /dev/pts/3 ; ;/tmp/recorder\n/dev/ttyV0;"),
            (std::vector<std::string>{"/dev/pts/3", "/tmp/recorder", "/dev/ttyV0"}));
  EXPECT_TRUE(SplitPortList("").empty());
  EXPECT_TRUE(SplitPortList(" ; ").empty());
}

TEST(Detect, NothingThereAsksForARetry) {
  DeviceLink link;
  DetectOptions o;
  o.probeHid = false;
  o.probeSystemPorts = false;
  o.extraPorts = {"/nonexistent/ttyA", "/dev/null"};  // missing, and not a serial port
  tag_SUPPORT_PROTOCOL found;
  EXPECT_EQ(link.Detect(o, found), DeviceResult::DetectRetry);
  EXPECT_EQ(link.Progress().state.load(), kStateFailed);
  EXPECT_EQ(found.nDeviceKind, 0);
}

TEST(Detect, RegionAndRemoteErrorsAreReported) {
  for (auto [status, result] : {std::pair{link::kStatusRegion, DeviceResult::RegionError},
                                std::pair{link::kStatusRemote, DeviceResult::RemoteError}}) {
    SimHarness h(sim::MakeSampleRecorder(kPexa));
    ASSERT_TRUE(h.Start());
    sim::SimFaults f;
    f.errorStatus = status;
    f.errorCommand = link::kCmdHello;
    h.sim.SetFaults(f);
    tag_SUPPORT_PROTOCOL found;
    EXPECT_EQ(h.link.Detect(h.PtyOnly(), found), result);
  }
}

TEST(Detect, UnknownKindOrProtocolIsNotOurRecorder) {
  sim::SimRecorder rec = sim::MakeSampleRecorder(kPexa);
  rec.protocol = 7;  // PEXA never speaks the MIRU serial protocol
  SimHarness h(rec);
  ASSERT_TRUE(h.Start());
  tag_SUPPORT_PROTOCOL found;
  EXPECT_EQ(h.link.Detect(h.PtyOnly(), found), DeviceResult::DetectRetry);
}

TEST(Detect, WatchdogStopsAHangingSearchWithRetry) {
  SimHarness h(sim::MakeSampleRecorder(kMiru));
  ASSERT_TRUE(h.Start());
  sim::SimFaults f;
  f.stallRequest = 1;
  f.stallSeconds = 30;
  h.sim.SetFaults(f);
  DetectOptions o = h.PtyOnly();
  o.timing = LinkTiming{60000, 0, 4091};  // the port alone would wait a minute
  tag_SUPPORT_PROTOCOL found;
  EXPECT_EQ(h.link.Detect(o, found, 300), DeviceResult::DetectRetry);
  EXPECT_EQ(h.link.Progress().state.load(), kStateFailed);
}

TEST(Detect, CancelBeforeTheSearchStartsEndsItAtOnce) {
  SimHarness h(sim::MakeSampleRecorder(kMiru));
  ASSERT_TRUE(h.Start());
  h.link.Arm();
  h.link.Cancel();
  tag_SUPPORT_PROTOCOL found;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(h.link.Detect(h.PtyOnly(), found, 5000), DeviceResult::DetectRetry);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(h.sim.RequestsSeen(), 0);
  // Armed again, the same recorder is found.
  h.link.Arm();
  EXPECT_EQ(h.link.Detect(h.PtyOnly(), found, 5000), DeviceResult::Ok);
  EXPECT_EQ(found.nDeviceKind, kMiru);
}

}  // namespace
}  // namespace vesk
