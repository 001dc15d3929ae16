// Scan, pairing and connect rules of the Bluetooth link against a fake radio, and a transfer
// over the radio's socket.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "SimHarness.h"
#include "device/CBlueTooth.h"
#include "device/CDevice_Bluetooth.h"

namespace vesk {
namespace {

struct FakeRadio : IBluetoothRadio {
  int radios = 1;
  std::vector<BluetoothDevice> nearby{{"VESK-MIRU", 0x060504030201ull},
                                      {"Phone", 0xAABBCCDDEEFFull}};
  bool pairOk = true;
  int pairs = 0, unpairs = 0, opens = 0;
  uint64_t lastUnpaired = 0;
  std::u16string lastKey;
  int peer = -1;  // the far end of the last socket, for a simulator

  int CountLocalRadios() override { return radios; }
  std::vector<BluetoothDevice> Inquiry(int) override { return nearby; }
  bool Pair(uint64_t, std::u16string_view key) override {
    ++pairs;
    lastKey = key;
    return pairOk;
  }
  bool Unpair(uint64_t a) override {
    ++unpairs;
    lastUnpaired = a;
    return true;
  }
  int OpenRfcomm(uint64_t, int, int) override {
    ++opens;
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sv) != 0) return -1;
    if (peer >= 0) ::close(peer);
    peer = sv[1];
    return sv[0];
  }
  void CloseSocket(int fd) override { ::close(fd); }
  ~FakeRadio() override {
    if (peer >= 0) ::close(peer);
  }
};

TEST(Bluetooth, AddressTextIsMostSignificantByteFirst) {
  EXPECT_EQ(FormatBluetoothAddress(0x060504030201ull), "06:05:04:03:02:01");
  EXPECT_EQ(FormatBluetoothAddress(0x00000000000Aull), "00:00:00:00:00:0a");
  EXPECT_EQ(RecorderPasskey().size(), 4u);
}

TEST(Bluetooth, NoRadioFindsNothingAndConnectsNothing) {
  auto radio = std::make_unique<FakeRadio>();
  radio->radios = 0;
  FakeRadio* fake = radio.get();
  CBlueTooth bt(std::move(radio));
  EXPECT_EQ(bt.EnumerateLocalRadios(), 0);
  EXPECT_EQ(bt.WSAScanNearbyBthDev(1), 0);
  EXPECT_FALSE(ConnectRecorder(bt, 0));
  EXPECT_EQ(fake->pairs, 0);
}

TEST(Bluetooth, ConnectChecksTheIndexPairsOnceAndConnects) {
  auto radio = std::make_unique<FakeRadio>();
  FakeRadio* fake = radio.get();
  CBlueTooth bt(std::move(radio));
  ASSERT_EQ(bt.EnumerateLocalRadios(), 1);
  ASSERT_EQ(bt.WSAScanNearbyBthDev(1), 2);
  EXPECT_FALSE(ConnectRecorder(bt, -1));
  EXPECT_FALSE(ConnectRecorder(bt, 2));
  EXPECT_EQ(fake->pairs, 0);

  ASSERT_TRUE(ConnectRecorder(bt, 0));
  EXPECT_EQ(fake->pairs, 1);
  EXPECT_EQ(fake->lastKey, RecorderPasskey());
  EXPECT_TRUE(bt.IsConnected());
  EXPECT_EQ(bt.GetRemoteInx(), 0);

  // Already connected with the socket open: no second pairing, no new socket.
  ASSERT_TRUE(ConnectRecorder(bt, 0));
  EXPECT_EQ(fake->pairs, 1);
  EXPECT_EQ(fake->opens, 1);

  // Another device: pairs and reconnects.
  ASSERT_TRUE(ConnectRecorder(bt, 1));
  EXPECT_EQ(fake->pairs, 2);
  EXPECT_EQ(bt.GetRemoteInx(), 1);

  EXPECT_EQ(bt.RequestAnnulmentDevice(1), 1);
  EXPECT_EQ(fake->lastUnpaired, 0xAABBCCDDEEFFull);
  EXPECT_EQ(bt.RequestAnnulmentDevice(5), 0);
  bt.Disconnect();
  EXPECT_FALSE(bt.IsConnected());
  EXPECT_EQ(bt.GetRemoteInx(), -1);
  bt.DeleteBlueTooth();
  EXPECT_EQ(bt.FoundCount(), 0);
}

TEST(Bluetooth, FailedPairingDoesNotConnect) {
  auto radio = std::make_unique<FakeRadio>();
  radio->pairOk = false;
  FakeRadio* fake = radio.get();
  CBlueTooth bt(std::move(radio));
  bt.EnumerateLocalRadios();
  bt.WSAScanNearbyBthDev(1);
  EXPECT_FALSE(ConnectRecorder(bt, 0));
  EXPECT_EQ(fake->opens, 0);
  EXPECT_FALSE(bt.IsConnected());
}

TEST(Bluetooth, DetectsAndDownloadsOverTheRadioLink) {
  auto radio = std::make_unique<FakeRadio>();
  FakeRadio* fake = radio.get();
  CBlueTooth bt(std::move(radio));
  bt.EnumerateLocalRadios();
  bt.WSAScanNearbyBthDev(1);
  ASSERT_TRUE(ConnectRecorder(bt, 0));

  sim::RecorderSimulator sim(sim::MakeSampleRecorder(kTaloColor));
  std::atomic<bool> stop{false};
  std::thread server([&] { sim.Serve(fake->peer, stop); });

  DeviceLink link;
  link.UseBluetooth(&bt);
  link.SetLinkTiming(test::QuickTiming());
  DetectOptions o;
  o.probeHid = false;
  o.probeSystemPorts = false;
  o.extraPorts = {"/nonexistent/never-probed"};
  tag_SUPPORT_PROTOCOL found;
  ASSERT_EQ(link.Detect(o, found), DeviceResult::Ok);
  EXPECT_TRUE(link.FoundPort().bluetooth);
  ASSERT_TRUE(link.CreateLinkObjects(found.nProtocol));
  _DOWNLOAD_DATAINFO data;
  _SUB_VERSION version;
  ASSERT_EQ(link.Download(1, data, found, version), DeviceResult::Ok);
  EXPECT_EQ(std::get<TaloColorDownload>(data.data).recording.readings,
            sim.Snapshot().readings.at(link::kBlockRecording).readings);
  // The transfer closes only its own use of the link; the radio keeps the socket.
  EXPECT_TRUE(bt.IsConnected());

  // With the link gone, detection over Bluetooth reports nothing found.
  bt.Disconnect();
  EXPECT_EQ(link.Detect(o, found), DeviceResult::DetectRetry);
  stop = true;
  server.join();
}

}  // namespace
}  // namespace vesk
