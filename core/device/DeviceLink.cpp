#include "device/DeviceLink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "device/CDevice_Bluetooth.h"
#include "device/CDevice_COM.h"
#include "device/CDevice_HID.h"
#include "device/ModelTable.h"

namespace vesk {

DeviceLink::DeviceLink() = default;
DeviceLink::~DeviceLink() {
  // The protocol holds a pointer to the transport: let it go first.
  m_protocol.reset();
}

void DeviceLink::UseBluetooth(CBlueTooth* radio) {
  m_radio = radio;
  if (radio) {
    auto bt = std::make_unique<CDevice_Bluetooth>();
    bt->SetBluetooth(radio);
    m_bluetooth = std::move(bt);
  } else {
    m_bluetooth.reset();
  }
  if (m_protocol) m_protocol->SetDevice(Transport(), m_radio != nullptr);
}

CDevice* DeviceLink::Transport() const {
  return m_radio ? m_bluetooth.get() : m_cable.get();
}

DeviceResult DeviceLink::Detect(const DetectOptions& options, tag_SUPPORT_PROTOCOL& found,
                                int watchdogMs) {
  m_progress.Reset();
  m_progress.state = kStateRunning;
  found = {};
  CSelectProtocol select(options);
  select.SetCancelFlag(&m_progress.cancel);
  select.SetTrace(m_trace);
  if (m_radio) select.SetDevice(m_bluetooth.get());

  // The watchdog asks detection to stop instead of killing its thread, so ports are closed.
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    if (!done.wait_for(lock, std::chrono::milliseconds(watchdogMs), [&] { return finished; }))
      m_progress.cancel = true;
  });
  DeviceResult r = select.Detect(found);
  {
    std::lock_guard lock(mutex);
    finished = true;
  }
  done.notify_all();
  watchdog.join();

  if (m_progress.cancel) r = DeviceResult::DetectRetry;
  if (r == DeviceResult::Ok) m_found = select.Found();
  m_progress.percent = 100;
  m_progress.state = (r == DeviceResult::Ok) ? kStateFinished : kStateFailed;
  return r;
}

bool DeviceLink::CreateLinkObjects(int protocol) {
  auto proto = CreateProtocol(protocol);
  if (!proto) return false;
  m_protocol = std::move(proto);
  if (!m_radio) {
    // A recorder answers on the bus it was found on, whatever its protocol number suggests.
    const ModelInfo* model = FindModelByProtocol(protocol);
    const bool hid =
        m_found.port.empty() ? (model && model->bus == LinkBus::Hid) : m_found.bus == LinkBus::Hid;
    if (hid)
      m_cable = std::make_unique<CDevice_HID>();
    else
      m_cable = std::make_unique<CDevice_COM>();
    m_cable->SetPort(m_found.port);
    m_cable->SetSettings({m_baud});
  }
  m_protocol->SetDevice(Transport(), m_radio != nullptr);
  m_protocol->SetLinkTiming(m_timing);
  m_protocol->SetTrace(m_trace);
  return true;
}

void DeviceLink::SetPort(const std::string& port, int baud) {
  m_baud = baud;
  m_found = {LinkBus::Serial, port, false};
  if (m_cable) {
    m_cable->SetPort(port);
    m_cable->SetSettings({baud});
  }
}

void DeviceLink::SetLinkTiming(const LinkTiming& timing) {
  m_timing = timing;
  if (m_protocol) m_protocol->SetLinkTiming(timing);
}

void DeviceLink::SetTrace(LinkTrace* trace) {
  m_trace = trace;
  if (m_protocol) m_protocol->SetTrace(trace);
}

void DeviceLink::Prepare() {
  m_progress.Reset();
  m_protocol->SetProgressInfo(&m_progress.percent, &m_progress.state, &m_progress.type);
  m_protocol->SetCancelFlag(&m_progress.cancel);
}

DeviceResult DeviceLink::GetDataModes(int modes[kDataModeSlots]) {
  for (int i = 0; i < kDataModeSlots; ++i) modes[i] = 0;
  if (!m_protocol) return DeviceResult::Fail;
  Prepare();
  return DeviceResultOf(m_protocol->GetDownLoadDataMode(modes));
}

DeviceResult DeviceLink::Download(int mode, _DOWNLOAD_DATAINFO& data, tag_SUPPORT_PROTOCOL& info,
                                  _SUB_VERSION& version) {
  data = {};
  if (!m_protocol) return DeviceResult::Fail;
  Prepare();
  const DeviceResult r = DeviceResultOf(m_protocol->PC_Download(static_cast<enum_DataMode>(mode)));
  if (r != DeviceResult::Ok) return r;
  info = {0, 0, 0xFF, 0xFF};
  m_protocol->GetCurDeviceInfo(info);
  m_protocol->GetDownLoadData(&data);
  m_protocol->GetProtocolVersion(version);
  return r;
}

DeviceResult DeviceLink::ReadPlan(_UPLOAD_NEEDED_DATA& needed) {
  if (!m_protocol) return DeviceResult::Fail;
  Prepare();
  return DeviceResultOf(m_protocol->PC_DownloadBPInfoTimeInterval(needed));
}

DeviceResult DeviceLink::Upload(const _BP_TRANSPORT_INFO& plan, int mode) {
  if (!m_protocol) return DeviceResult::Fail;
  Prepare();
  m_protocol->SetUpLoadData(plan);
  return DeviceResultOf(m_protocol->PC_Upload(static_cast<enum_DataMode>(mode)));
}

DeviceResult DeviceLink::Erase(int mode) {
  if (!m_protocol) return DeviceResult::Fail;
  Prepare();
  return DeviceResultOf(m_protocol->PC_Delete(static_cast<enum_DataMode>(mode)));
}

}  // namespace vesk
