// Transports without hardware: they fail soft and never wait beyond their timeout.
#include <gtest/gtest.h>

#include <cstring>

#include "device/CBlueTooth.h"
#include "device/CDevice_Bluetooth.h"
#include "device/CDevice_COM.h"
#include "device/CDevice_HID.h"
#include "device/ModelTable.h"
#include "device/sim/PtyPort.h"

namespace vesk {
namespace {

TEST(Transport, SerialRefusesWhatIsNotATerminalAndReadsWithTimeout) {
  CDevice_COM com;
  EXPECT_EQ(com.Open("/dev/null", _DCB{}), 0);
  EXPECT_FALSE(com.LastError().empty());
  EXPECT_EQ(com.Open("/nonexistent/tty", _DCB{}), 0);
  unsigned char b[4];
  EXPECT_EQ(com.RecvData(b, sizeof b), -1);  // not open

  sim::PtyPort pty;
  ASSERT_TRUE(pty.Open());
  ASSERT_EQ(com.Open(pty.SlavePath(), _DCB{9600}), 1);
  com.SetTimeout(10);
  EXPECT_EQ(com.RecvData(b, sizeof b), 0);  // silence is a timeout, not an error
  unsigned char all[256];
  for (int i = 0; i < 256; ++i) all[i] = static_cast<unsigned char>(i);
  EXPECT_EQ(com.SendData(all, sizeof all), 256);
  unsigned char got[256];
  size_t n = 0;
  while (n < sizeof got) {
    const int r = fdio::Read(pty.MasterFd(), got + n, sizeof got - n, 1000);
    ASSERT_GT(r, 0);
    n += static_cast<size_t>(r);
  }
  EXPECT_EQ(std::memcmp(all, got, 256), 0);  // raw: every byte value passes
  pty.Close();
  com.SetTimeout(200);
  EXPECT_EQ(com.RecvData(b, sizeof b), -1);  // the other side hung up
}

TEST(Transport, NoUsbRecorderNoBluetoothRadio) {
  CDevice_HID hid;
  if (ListHidRecorders().empty()) {
    EXPECT_EQ(hid.Open(0), 0);
  }
  EXPECT_EQ(hid.Open(-1), 0);
  CDevice_Bluetooth bt;
  EXPECT_EQ(bt.Open(0), 0);  // no radio object bound
  unsigned char b[1];
  EXPECT_EQ(bt.RecvData(b, 1), -1);
  CBlueTooth system;  // containers without Bluetooth sockets have no radio
  EXPECT_GE(system.EnumerateLocalRadios(), 0);
}

TEST(Transport, ModelTableIsConsistent) {
  for (const auto& m : AllModels()) {
    EXPECT_STREQ(m.name, ModelName(m.deviceKind));
    EXPECT_NE(CreateProtocol(m.protocol), nullptr);
    EXPECT_TRUE(CreateProtocol(m.protocol)->SpeaksKind(m.deviceKind)) << m.protocol;
    EXPECT_EQ(m.bus == LinkBus::Hid, m.protocol <= 5);
    if (m.bus == LinkBus::Hid) {
      EXPECT_TRUE(IsRecorderUsbId(m.usbVendor, m.usbProduct));
    }
  }
  EXPECT_EQ(CreateProtocol(11), nullptr);
  EXPECT_EQ(CreateTransport(0), nullptr);
  int modes[kDataModeSlots];
  ModeFlagsToArray(ModeFlagsOfKind(kQora), modes);
  EXPECT_EQ(std::vector<int>(modes, modes + 9), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 0}));
}

}  // namespace
}  // namespace vesk
