#pragma once
// The device half of an open document: the protocol object and the transport of the attached
// recorder, the progress figures of the running transfer and its cancel request. Detection,
// download, plan reading and upload go through here, headless, for the window and the
// command-line tool alike.

#include <memory>

#include "device/CBlueTooth.h"
#include "device/CDevice.h"
#include "device/CProtocolBase.h"
#include "device/CSelectProtocol.h"
#include "device/DeviceTypes.h"
#include "device/LinkTrace.h"
#include "device/TransferProgress.h"

namespace vesk {

class DeviceLink {
 public:
  DeviceLink();
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  static constexpr int kWatchdogMs = 20000;

  // Uses the Bluetooth link of this radio object (connected by the caller) for detection and
  // transfers; null goes back to cables.
  void UseBluetooth(CBlueTooth* radio);
  bool UsesBluetooth() const { return m_radio != nullptr; }

  // Finds the recorder. Progress: state 1 while running, then 3 (found) or 2. A watchdog stops
  // the search after watchdogMs; the result is then 11 so the user may retry.
  [[nodiscard]] DeviceResult Detect(const DetectOptions& options, tag_SUPPORT_PROTOCOL& found,
                                    int watchdogMs = kWatchdogMs);
  const DetectedPort& FoundPort() const { return m_found; }

  // Replaces the protocol and transport objects for a protocol number (1-10), aimed at the
  // port detection found. False for an unknown number (nothing changes then).
  [[nodiscard]] bool CreateLinkObjects(int protocol);
  // Aims an existing link at a port explicitly (tools, tests).
  void SetPort(const std::string& port, int baud);
  void SetLinkTiming(const LinkTiming& timing);
  // Every frame of later detections and transfers goes into this trace too (null: none). The
  // trace must outlive its use here.
  void SetTrace(LinkTrace* trace);
  LinkTrace* Trace() const { return m_trace; }

  // Transfers; each resets the progress figures first.
  [[nodiscard]] DeviceResult GetDataModes(int modes[kDataModeSlots]);
  // On 1: the data, the device information (its words 2 and 3 go into the case header) and the
  // protocol version. Any other result leaves `data` empty.
  [[nodiscard]] DeviceResult Download(int mode, _DOWNLOAD_DATAINFO& data,
                                      tag_SUPPORT_PROTOCOL& info, _SUB_VERSION& version);
  [[nodiscard]] DeviceResult ReadPlan(_UPLOAD_NEEDED_DATA& needed);
  [[nodiscard]] DeviceResult Upload(const _BP_TRANSPORT_INFO& plan, int mode);
  [[nodiscard]] DeviceResult Erase(int mode);

  // Clears an old cancel request. Call it on the thread that starts the transfer (or
  // detection), before it starts: the transfer itself never clears the request.
  void Arm() { m_progress.Arm(); }
  // Asks the running transfer (or detection) to stop; it ends within a second with 2000 (11 for
  // detection), state 2, link closed, nothing kept. Asked before the transfer began, it stops
  // the transfer before its first packet.
  void Cancel() { m_progress.cancel = true; }
  TransferProgress& Progress() { return m_progress; }

  CProtocolBase* Protocol() const { return m_protocol.get(); }
  CDevice* Transport() const;

 private:
  void Prepare();

  TransferProgress m_progress;
  std::unique_ptr<CProtocolBase> m_protocol;
  std::unique_ptr<CDevice> m_cable;
  std::unique_ptr<CDevice> m_bluetooth;
  CBlueTooth* m_radio = nullptr;
  DetectedPort m_found;
  int m_baud = 115200;
  LinkTiming m_timing;
  LinkTrace* m_trace = nullptr;
};

}  // namespace vesk
