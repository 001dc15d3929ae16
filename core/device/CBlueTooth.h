#pragma once
// The radio and remote-device object of a Bluetooth transfer: local radios, the devices found
// by a scan, pairing and the RFCOMM link to one recorder. One transfer owns it; the link's
// socket is what CDevice_Bluetooth reads and writes.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/BluetoothRadio.h"

namespace vesk {

class CBlueTooth {
 public:
  CBlueTooth();  // the system radio
  explicit CBlueTooth(std::unique_ptr<IBluetoothRadio> radio);
  ~CBlueTooth();
  CBlueTooth(const CBlueTooth&) = delete;
  CBlueTooth& operator=(const CBlueTooth&) = delete;

  // Number of usable local radios; 0 means none.
  int EnumerateLocalRadios();
  // Scans (lengthUnits × 1.28 s) and keeps the devices found; returns how many.
  int WSAScanNearbyBthDev(int lengthUnits);
  // Index in the found list of the device the link is up to; -1 when none.
  int GetRemoteInx() const { return m_remoteIndex; }
  // Pairs with the index-th found device; non-zero on success. owner and reserved are unused.
  int RequestAuthenticateDevice(int index, const unsigned short* passkey,
                                unsigned long passkeyLength, void* owner, unsigned long* reserved);
  // 0 when the link to that address is up.
  int ConnectToBlueToothServer(uint64_t address);
  void Disconnect();
  void DeleteBlueTooth();
  // Removes the pairing of the index-th found device; non-zero on success.
  int RequestAnnulmentDevice(int index);
  bool IsConnected() const { return m_socket.load() >= 0; }

  int Socket() const { return m_socket.load(); }
  int LocalRadioCount() const { return m_localRadios; }
  int FoundCount() const { return static_cast<int>(m_found.size()); }
  const std::vector<BluetoothDevice>& Found() const { return m_found; }

  static constexpr int kRfcommChannel = 1;

 private:
  std::unique_ptr<IBluetoothRadio> m_radio;
  std::atomic<int> m_socket{-1};
  int m_localRadios = 0;
  int m_remoteIndex = -1;
  std::vector<BluetoothDevice> m_found;
};

// Address text as the device list shows it: most significant byte first, lower-case hex,
// joined by ':'.
std::string FormatBluetoothAddress(uint64_t address);
// The fixed four-digit passkey our recorders expect, as UTF-16.
std::u16string RecorderPasskey();
// The connect step of the Bluetooth dialog: refuses a negative index, no radio, nothing found
// or an index past the list; succeeds at once when that index is already connected; otherwise
// pairs with the passkey and connects. True when the link is up.
bool ConnectRecorder(CBlueTooth& bt, int index);

}  // namespace vesk
