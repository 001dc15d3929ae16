#pragma once
// Detection: finds which recorder is attached and where. It greets, in this order, the USB HID
// recorders with our ids, the serial ports the system lists and the extra serial ports the
// configuration names (virtual ports, network adapters, the recorder simulator's pty); with a
// Bluetooth transport bound, only that transport.

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "device/CDevice.h"
#include "device/DeviceTypes.h"
#include "device/ModelTable.h"
#include "device/RecorderLink.h"

namespace vesk {

struct DetectOptions {
  // Extra serial ports, probed after the system's own (duplicates are probed once).
  std::vector<std::string> extraPorts;
  bool probeHid = true;
  bool probeSystemPorts = true;
  int baud = 115200;
  // A silent port must not hold detection up for long.
  LinkTiming timing{300, 1, 4091};
};

// The extra-port setting ("ExtraSerialPorts" in the configuration): device paths separated by
// ';' (or line breaks), blanks around them ignored, empty entries dropped.
std::vector<std::string> SplitPortList(std::string_view setting);

// Where the recorder answered.
struct DetectedPort {
  LinkBus bus = LinkBus::Serial;
  std::string port;  // device path; empty for the bound Bluetooth transport
  bool bluetooth = false;
};

class CSelectProtocol {
 public:
  CSelectProtocol();
  explicit CSelectProtocol(DetectOptions options);
  virtual ~CSelectProtocol();

  // Binds the Bluetooth transport; detection then probes it alone.
  bool SetDevice(CDevice* device);
  void SetCancelFlag(const std::atomic<bool>* cancel) { m_cancel = cancel; }
  // Every frame of the greetings goes into this trace too (null: none).
  void SetTrace(LinkTrace* trace) { m_trace = trace; }
  // 1 found (record filled); 3 or 4 when a recorder answered with a region or remote error and
  // no other recorder was found; 11 when nothing answered or detection was cancelled. The int
  // is a DeviceResult (Detect gives it typed).
  [[nodiscard]] int OnTestProtocol(tag_SUPPORT_PROTOCOL& info) { return ToInt(Detect(info)); }
  [[nodiscard]] DeviceResult Detect(tag_SUPPORT_PROTOCOL& info);
  const DetectedPort& Found() const { return m_found; }

 private:
  DeviceResult Probe(CDevice& device, tag_SUPPORT_PROTOCOL& info);
  bool Cancelled() const { return m_cancel && m_cancel->load(); }

  DetectOptions m_options;
  CDevice* m_bound = nullptr;
  const std::atomic<bool>* m_cancel = nullptr;
  LinkTrace* m_trace = nullptr;
  DetectedPort m_found;
};

}  // namespace vesk
