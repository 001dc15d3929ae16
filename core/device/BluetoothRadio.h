#pragma once
// The local Bluetooth radio as CBlueTooth needs it. BlueZ implements it on Linux; tests put a
// fake radio behind it so the scan, pairing and connect rules run without hardware.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

struct BluetoothDevice {
  std::string name;
  uint64_t address = 0;  // 48 bits, least significant byte first on the air
  bool operator==(const BluetoothDevice&) const = default;
};

class IBluetoothRadio {
 public:
  virtual ~IBluetoothRadio() = default;
  // Usable local radios; 0 when the system has none or no Bluetooth support at all.
  virtual int CountLocalRadios() = 0;
  // Inquiry of lengthUnits × 1.28 s, with the remote names.
  virtual std::vector<BluetoothDevice> Inquiry(int lengthUnits) = 0;
  virtual bool Pair(uint64_t address, std::u16string_view passkey) = 0;
  virtual bool Unpair(uint64_t address) = 0;
  // A connected, non-blocking RFCOMM stream socket, or -1.
  virtual int OpenRfcomm(uint64_t address, int channel, int timeoutMs) = 0;
  virtual void CloseSocket(int fd) = 0;
};

// The system radio through BlueZ.
std::unique_ptr<IBluetoothRadio> MakeBluezRadio();

}  // namespace vesk
