#include "device/CSelectProtocol.h"

#include <algorithm>

#include "device/CDevice_COM.h"
#include "device/CDevice_HID.h"
#include "device/SerialPorts.h"

namespace vesk {

std::vector<std::string> SplitPortList(std::string_view setting) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at <= setting.size()) {
    size_t end = setting.find_first_of(";\r\n", at);
    if (end == std::string_view::npos) end = setting.size();
    std::string_view part = setting.substr(at, end - at);
    const size_t first = part.find_first_not_of(" \t");
    if (first != std::string_view::npos) {
      part = part.substr(first, part.find_last_not_of(" \t") - first + 1);
      out.emplace_back(part);
    }
    at = end + 1;
  }
  return out;
}

CSelectProtocol::CSelectProtocol() = default;
CSelectProtocol::CSelectProtocol(DetectOptions options) : m_options(std::move(options)) {}
CSelectProtocol::~CSelectProtocol() = default;

bool CSelectProtocol::SetDevice(CDevice* device) {
  m_bound = device;
  return device != nullptr;
}

DeviceResult CSelectProtocol::Probe(CDevice& device, tag_SUPPORT_PROTOCOL& info) {
  if (!device.IsOpen() && device.Open(0) != 1) return DeviceResult::LinkLost;
  device.Purge();
  RecorderLink link(device, m_options.timing, m_cancel, m_trace);
  link::Hello hello;
  DeviceResult r = link.Hello(hello);
  if (r == DeviceResult::Ok) {
    if (FindModel(hello.deviceKind, hello.protocol)) {
      info = {hello.deviceKind, hello.protocol, hello.deviceByte, hello.lockByte};
    } else {
      r = DeviceResult::WrongDevice;  // something answers, but not a recorder we know
    }
    link.Bye();
  }
  device.Close();
  return r;
}

DeviceResult CSelectProtocol::Detect(tag_SUPPORT_PROTOCOL& info) {
  DeviceResult remembered = DeviceResult::DetectRetry;
  auto consider = [&](DeviceResult r) {
    if ((r == DeviceResult::RegionError || r == DeviceResult::RemoteError) &&
        remembered == DeviceResult::DetectRetry)
      remembered = r;
  };

  if (m_bound) {
    const DeviceResult r = Probe(*m_bound, info);
    if (r == DeviceResult::Ok) {
      m_found = {LinkBus::Serial, m_bound->Port(), true};
      return DeviceResult::Ok;
    }
    consider(r);
    return Cancelled() ? DeviceResult::DetectRetry : remembered;
  }

  if (m_options.probeHid) {
    for (const auto& hid : ListHidRecorders()) {
      if (Cancelled()) return DeviceResult::DetectRetry;
      CDevice_HID dev;
      dev.SetPort(hid.path);
      const DeviceResult r = Probe(dev, info);
      if (r == DeviceResult::Ok) {
        m_found = {LinkBus::Hid, hid.path, false};
        return DeviceResult::Ok;
      }
      consider(r);
    }
  }

  std::vector<std::string> ports;
  if (m_options.probeSystemPorts)
    for (const auto& p : ListSerialPorts()) ports.push_back(p.name);
  for (const auto& p : m_options.extraPorts)
    if (!p.empty() && std::find(ports.begin(), ports.end(), p) == ports.end()) ports.push_back(p);

  for (const auto& port : ports) {
    if (Cancelled()) return DeviceResult::DetectRetry;
    CDevice_COM dev;
    dev.SetPort(port);
    dev.SetSettings({m_options.baud});
    const DeviceResult r = Probe(dev, info);
    if (r == DeviceResult::Ok) {
      m_found = {LinkBus::Serial, port, false};
      return DeviceResult::Ok;
    }
    consider(r);
  }
  return Cancelled() ? DeviceResult::DetectRetry : remembered;
}

}  // namespace vesk
