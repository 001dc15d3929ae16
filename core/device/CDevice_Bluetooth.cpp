#include "device/CDevice_Bluetooth.h"

#include "device/CBlueTooth.h"

namespace vesk {

int CDevice_Bluetooth::Fd() const {
  return (m_open && m_radio) ? m_radio->Socket() : -1;
}

int CDevice_Bluetooth::Open(int) {
  m_open = m_radio && m_radio->IsConnected();
  if (!m_open) m_lastError = "Bluetooth link is not connected";
  return m_open ? 1 : 0;
}

int CDevice_Bluetooth::Close() {
  m_open = false;
  return 1;
}

bool CDevice_Bluetooth::IsOpen() const {
  return Fd() >= 0;
}

int CDevice_Bluetooth::RecvData(unsigned char* buffer, unsigned long length) {
  const int n = fdio::Read(Fd(), buffer, length, m_timeoutMs);
  if (n < 0) m_lastError = "Bluetooth link lost";
  return n;
}

int CDevice_Bluetooth::SendData(unsigned char* buffer, unsigned long length) {
  const int n = fdio::Write(Fd(), buffer, length, 2000 + static_cast<int>(length));
  if (n < 0) m_lastError = "Bluetooth write failed";
  return n;
}

void CDevice_Bluetooth::Purge() {
  if (Fd() >= 0) fdio::Drain(Fd());
}

}  // namespace vesk
