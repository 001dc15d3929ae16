// BlueZ implementation of the radio. Without kernel Bluetooth support every call fails soft:
// no radio, nothing found, no connection.
#include <bluetooth/bluetooth.h>
#include <bluetooth/hci.h>
#include <bluetooth/hci_lib.h>
#include <bluetooth/rfcomm.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "device/BluetoothRadio.h"

namespace vesk {

namespace {

bdaddr_t ToBdaddr(uint64_t address) {
  bdaddr_t b{};
  for (int i = 0; i < 6; ++i) b.b[i] = static_cast<uint8_t>(address >> (8 * i));
  return b;
}

uint64_t FromBdaddr(const bdaddr_t& b) {
  uint64_t a = 0;
  for (int i = 0; i < 6; ++i) a |= uint64_t(b.b[i]) << (8 * i);
  return a;
}

int CountUp(int, int, long arg) {
  ++*reinterpret_cast<int*>(arg);
  return 0;  // keep going
}

class BluezRadio : public IBluetoothRadio {
 public:
  int CountLocalRadios() override {
    if (hci_get_route(nullptr) < 0) return 0;
    int count = 0;
    hci_for_each_dev(HCI_UP, CountUp, reinterpret_cast<long>(&count));
    return count;
  }

  std::vector<BluetoothDevice> Inquiry(int lengthUnits) override {
    std::vector<BluetoothDevice> out;
    const int dev = hci_get_route(nullptr);
    if (dev < 0) return out;
    const int sock = hci_open_dev(dev);
    if (sock < 0) return out;
    inquiry_info* found = nullptr;
    const int n =
        hci_inquiry(dev, lengthUnits < 1 ? 1 : lengthUnits, 64, nullptr, &found, IREQ_CACHE_FLUSH);
    for (int i = 0; i < n; ++i) {
      char name[249] = {};
      if (hci_read_remote_name(sock, &found[i].bdaddr, sizeof name - 1, name, 5000) < 0)
        name[0] = 0;
      out.push_back({name, FromBdaddr(found[i].bdaddr)});
    }
    std::free(found);
    ::close(sock);
    return out;
  }

  bool Pair(uint64_t address, std::u16string_view) override {
    // Legacy PIN requests are answered by the system's pairing agent; here we bring up the
    // ACL link and ask for authentication, which makes the agent pair if needed.
    const int dev = hci_get_route(nullptr);
    if (dev < 0) return false;
    const int dd = hci_open_dev(dev);
    if (dd < 0) return false;
    bdaddr_t ba = ToBdaddr(address);
    uint16_t handle = 0;
    bool ok = hci_create_connection(dd, &ba, htobs(0xcc18), 0, 0, &handle, 25000) >= 0 &&
              hci_authenticate_link(dd, handle, 25000) >= 0;
    ::close(dd);
    return ok;
  }

  bool Unpair(uint64_t address) override {
    const int dev = hci_get_route(nullptr);
    if (dev < 0) return false;
    const int dd = hci_open_dev(dev);
    if (dd < 0) return false;
    bdaddr_t ba = ToBdaddr(address);
    const bool ok = hci_delete_stored_link_key(dd, &ba, 0, 2000) >= 0;
    ::close(dd);
    return ok;
  }

  int OpenRfcomm(uint64_t address, int channel, int timeoutMs) override {
    const int fd =
        ::socket(AF_BLUETOOTH, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, BTPROTO_RFCOMM);
    if (fd < 0) return -1;
    sockaddr_rc addr{};
    addr.rc_family = AF_BLUETOOTH;
    addr.rc_bdaddr = ToBdaddr(address);
    addr.rc_channel = static_cast<uint8_t>(channel);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    if (errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int err = 0;
      socklen_t len = sizeof err;
      if (::poll(&p, 1, timeoutMs) == 1 &&
          ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0)
        return fd;
    }
    ::close(fd);
    return -1;
  }

  void CloseSocket(int fd) override {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::unique_ptr<IBluetoothRadio> MakeBluezRadio() {
  return std::make_unique<BluezRadio>();
}

}  // namespace vesk
