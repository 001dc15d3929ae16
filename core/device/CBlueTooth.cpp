#include "device/CBlueTooth.h"

#include <cstdio>

namespace vesk {

CBlueTooth::CBlueTooth() : CBlueTooth(MakeBluezRadio()) {}

CBlueTooth::CBlueTooth(std::unique_ptr<IBluetoothRadio> radio) : m_radio(std::move(radio)) {}

CBlueTooth::~CBlueTooth() {
  Disconnect();
}

int CBlueTooth::EnumerateLocalRadios() {
  m_localRadios = m_radio ? m_radio->CountLocalRadios() : 0;
  return m_localRadios;
}

int CBlueTooth::WSAScanNearbyBthDev(int lengthUnits) {
  m_found.clear();
  if (!m_radio || m_localRadios <= 0) return 0;
  m_found = m_radio->Inquiry(lengthUnits);
  return static_cast<int>(m_found.size());
}

int CBlueTooth::RequestAuthenticateDevice(int index, const unsigned short* passkey,
                                          unsigned long passkeyLength, void*, unsigned long*) {
  if (!m_radio || index < 0 || index >= FoundCount()) return 0;
  std::u16string key;
  for (unsigned long i = 0; passkey && i < passkeyLength; ++i)
    key += static_cast<char16_t>(passkey[i]);
  return m_radio->Pair(m_found[static_cast<size_t>(index)].address, key) ? 1 : 0;
}

int CBlueTooth::ConnectToBlueToothServer(uint64_t address) {
  if (!m_radio) return -1;
  Disconnect();
  const int fd = m_radio->OpenRfcomm(address, kRfcommChannel, 10000);
  if (fd < 0) return -1;
  m_socket = fd;
  m_remoteIndex = -1;
  for (size_t i = 0; i < m_found.size(); ++i)
    if (m_found[i].address == address) m_remoteIndex = static_cast<int>(i);
  return 0;
}

void CBlueTooth::Disconnect() {
  const int fd = m_socket.exchange(-1);
  if (fd >= 0 && m_radio) m_radio->CloseSocket(fd);
  m_remoteIndex = -1;
}

void CBlueTooth::DeleteBlueTooth() {
  m_found.clear();
}

int CBlueTooth::RequestAnnulmentDevice(int index) {
  if (!m_radio || index < 0 || index >= FoundCount()) return 0;
  return m_radio->Unpair(m_found[static_cast<size_t>(index)].address) ? 1 : 0;
}

std::string FormatBluetoothAddress(uint64_t address) {
  std::string out;
  for (int i = 5; i >= 0; --i) {
    char part[4];
    std::snprintf(part, sizeof part, "%.2x", static_cast<unsigned>((address >> (8 * i)) & 0xFF));
    if (!out.empty()) out += ':';
    out += part;
  }
  return out;
}

std::u16string RecorderPasskey() {
  std::u16string key;
  for (int i = 0; i < 4; ++i) key += static_cast<char16_t>(u'0');
  return key;
}

bool ConnectRecorder(CBlueTooth& bt, int index) {
  if (index < 0 || bt.LocalRadioCount() <= 0 || bt.FoundCount() <= 0 || index >= bt.FoundCount())
    return false;
  if (bt.GetRemoteInx() == index && bt.IsConnected()) return true;
  const std::u16string key = RecorderPasskey();
  unsigned short raw[4];
  for (size_t i = 0; i < 4; ++i) raw[i] = key[i];
  if (!bt.RequestAuthenticateDevice(index, raw, 4, nullptr, nullptr)) return false;
  return bt.ConnectToBlueToothServer(bt.Found()[static_cast<size_t>(index)].address) == 0;
}

}  // namespace vesk
