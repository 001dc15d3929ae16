#pragma once
// Serial transport over termios. It opens anything that behaves like a terminal, including the
// pseudo-terminals of the recorder simulator and of serial-over-network adapters.

#include "device/CDevice.h"

namespace vesk {

class CDevice_COM : public CDevice {
 public:
  ~CDevice_COM() override;
  using CDevice::Open;
  int Open(int index) override;
  int Close() override;
  int RecvData(unsigned char* buffer, unsigned long length) override;
  int SendData(unsigned char* buffer, unsigned long length) override;
  void Purge() override;
  bool IsOpen() const override { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

}  // namespace vesk
