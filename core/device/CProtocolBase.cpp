#include "device/CProtocolBase.h"

#include "device/ModelTable.h"
#include "device/TransferSession.h"

namespace vesk {

CProtocolBase::CProtocolBase() = default;
// The transport may already be gone; a transfer never outlives its call anyway.
CProtocolBase::~CProtocolBase() = default;

void CProtocolBase::SetDevice(CDevice* device, bool bluetooth) {
  m_device = device;
  m_bluetooth = bluetooth;
}

int CProtocolBase::SetProgressInfo(std::atomic<int>* percent, std::atomic<int>* state,
                                   std::atomic<int>* type) {
  m_percent = percent ? percent : &m_ownPercent;
  m_state = state ? state : &m_ownState;
  m_type = type ? type : &m_ownType;
  return 1;
}

bool CProtocolBase::SetUpLoadData(_BP_TRANSPORT_INFO plan) {
  m_uploadPlan = plan;
  return true;
}

int CProtocolBase::GetCurDeviceInfo(tag_SUPPORT_PROTOCOL& info) {
  info = m_info;
  return 1;
}

int CProtocolBase::GetProtocolVersion(_SUB_VERSION& version) {
  version = m_version;
  return 1;
}

void CProtocolBase::GetDownLoadData(_DOWNLOAD_DATAINFO* out) const {
  if (out) *out = m_data;
}

bool CProtocolBase::ClearAllData() {
  m_data = {};
  return true;
}

int CProtocolBase::UploadBPInfo() {
  return ToInt(Link().WritePlan(static_cast<uint8_t>(m_mode), m_uploadPlan));
}
int CProtocolBase::DownloadBPInfo() {
  return ToInt(DeviceResult::Ok);
}
int CProtocolBase::DownloadSpO2Data() {
  return ToInt(DeviceResult::Ok);
}
int CProtocolBase::DownloadBPData() {
  return ToInt(DeviceResult::Ok);
}

DeviceResult CProtocolBase::OpenLink() {
  if (!m_device) return DeviceResult::LinkLost;
  if (!m_device->IsOpen() && m_device->Open(0) != 1) return DeviceResult::LinkLost;
  m_device->Purge();
  m_link = std::make_unique<RecorderLink>(*m_device, m_timing, m_cancel, m_trace);
  link::Hello hello;
  const DeviceResult r = m_link->Hello(hello);
  if (r != DeviceResult::Ok) return r;
  if (!SpeaksKind(hello.deviceKind)) return DeviceResult::WrongDevice;
  m_info = {hello.deviceKind, hello.protocol, hello.deviceByte, hello.lockByte};
  m_version = hello.version;
  // A recorder cannot offer modes its kind does not have.
  m_modeFlags = hello.modeFlags & ModeFlagsOfKind(hello.deviceKind);
  return DeviceResult::Ok;
}

void CProtocolBase::CloseLink(bool sayBye) {
  if (m_link) {
    m_lastPayloadBytes = m_link->PayloadBytes();
    if (sayBye) m_link->Bye();
  }
  m_session.reset();
  m_link.reset();
  if (m_device) m_device->Close();
}

template <typename Step>
DeviceResult CProtocolBase::RunTransfer(int firstType, bool reportState, Step&& step) {
  if (reportState) {
    *m_state = kStateRunning;
    *m_percent = 0;
  }
  *m_type = firstType;
  DeviceResult r = OpenLink();
  if (r == DeviceResult::Ok) {
    m_session = std::make_unique<TransferSession>(*m_link, *m_percent, *m_type, m_info.nDeviceKind,
                                                  m_mode, m_data);
    r = step();
  }
  if (m_link && m_link->Cancelled()) r = DeviceResult::Cancelled;
  // A lost or cancelled link gets no farewell; the recorder times out on its own.
  CloseLink(r == DeviceResult::Ok || r == DeviceResult::NotSupported || r == DeviceResult::NoData);
  if (reportState) {
    if (r == DeviceResult::Ok) *m_percent = 100;
    *m_state = (r == DeviceResult::Ok) ? kStateFinished : kStateFailed;
  }
  return r;
}

int CProtocolBase::GetDownLoadDataMode(int modes[kDataModeSlots]) {
  for (int i = 0; i < kDataModeSlots; ++i) modes[i] = 0;
  const DeviceResult r = RunTransfer(kTransportNothing, false, [] { return DeviceResult::Ok; });
  if (r == DeviceResult::Ok) ModeFlagsToArray(m_modeFlags, modes);
  return ToInt(r);
}

int CProtocolBase::PC_Download(enum_DataMode mode) {
  m_mode = mode;
  ClearAllData();
  return ToInt(RunTransfer(kTransportPatientInfo, true, [&] {
    if (mode <= 0 || mode >= kDataModeSlots || !(m_modeFlags & (1u << mode)))
      return DeviceResult::NotSupported;
    InitDownloadShape(m_data, m_info.nDeviceKind, mode);
    DeviceResult r = DeviceResultOf(DownloadBPInfo());
    if (r == DeviceResult::Ok) r = DeviceResultOf(DownloadBPData());
    if (r == DeviceResult::Ok) r = DeviceResultOf(DownloadSpO2Data());
    if (r != DeviceResult::Ok) ClearAllData();
    return r;
  }));
}

int CProtocolBase::PC_Delete(enum_DataMode mode) {
  m_mode = mode;
  return ToInt(RunTransfer(kTransportDeleting, true, [&] {
    if (mode <= 0 || mode >= kDataModeSlots || !(m_modeFlags & (1u << mode)))
      return DeviceResult::NotSupported;
    for (uint8_t block : BlocksOfMode(m_info.nDeviceKind, mode)) {
      const DeviceResult r = Link().Erase(block);
      if (r != DeviceResult::Ok) return r;
    }
    return DeviceResult::Ok;
  }));
}

int CProtocolBase::PC_Upload(enum_DataMode mode) {
  m_mode = mode;
  return ToInt(RunTransfer(kTransportUploading, true, [&] {
    *m_percent = 10;
    return DeviceResultOf(UploadBPInfo());
  }));
}

int CProtocolBase::PC_DownloadBPInfoTimeInterval(_UPLOAD_NEEDED_DATA& needed) {
  return ToInt(RunTransfer(kTransportPatientInfo, false, [&] {
    _BP_TRANSPORT_INFO plan;
    DeviceResult r = Session().ReadPlan(plan);
    if (r != DeviceResult::Ok) return r;
    r = Session().ReadIntervals(needed.awakeIntervals, needed.asleepIntervals);
    if (r == DeviceResult::Ok) needed.plan = plan;
    return r;
  }));
}

}  // namespace vesk
