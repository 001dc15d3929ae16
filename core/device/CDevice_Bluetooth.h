#pragma once
// Transport over the RFCOMM link of a CBlueTooth object. The radio object owns the socket;
// closing the transport only stops using it.

#include "device/CDevice.h"

namespace vesk {

class CBlueTooth;

class CDevice_Bluetooth : public CDevice {
 public:
  void SetBluetooth(CBlueTooth* radio) { m_radio = radio; }
  CBlueTooth* Bluetooth() const { return m_radio; }

  using CDevice::Open;
  int Open(int index) override;
  int Close() override;
  int RecvData(unsigned char* buffer, unsigned long length) override;
  int SendData(unsigned char* buffer, unsigned long length) override;
  void Purge() override;
  bool IsOpen() const override;

 private:
  int Fd() const;
  CBlueTooth* m_radio = nullptr;
  bool m_open = false;
};

}  // namespace vesk
