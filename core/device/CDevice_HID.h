#pragma once
// USB HID transport over hidapi (hidraw). Our recorders move the link's byte stream in 64-byte
// reports: the first byte of a report counts the stream bytes that follow (1-63).

#include <deque>
#include <string>
#include <vector>

#include "device/CDevice.h"

struct hid_device_;

namespace vesk {

struct HidRecorderInfo {
  std::string path;
  uint16_t vendor = 0;
  uint16_t product = 0;
  std::string product_name;
};
// The attached HID devices with a recorder's vendor and product id.
std::vector<HidRecorderInfo> ListHidRecorders();

class CDevice_HID : public CDevice {
 public:
  static constexpr size_t kReportSize = 64;
  ~CDevice_HID() override;
  using CDevice::Open;
  // Opens the remembered path, or the index-th attached recorder.
  int Open(int index) override;
  int Close() override;
  int RecvData(unsigned char* buffer, unsigned long length) override;
  int SendData(unsigned char* buffer, unsigned long length) override;
  void Purge() override;
  bool IsOpen() const override { return m_dev != nullptr; }

 private:
  hid_device_* m_dev = nullptr;
  std::deque<unsigned char> m_pending;
};

}  // namespace vesk
