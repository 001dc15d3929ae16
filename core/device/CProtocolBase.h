#pragma once
// A recorder protocol object: it drives a transport through a download, an upload or an erase,
// writes the three progress figures while it works and honours a cancel request between
// packets. One subclass per recorder family says which blocks make up its data.

#include <atomic>
#include <memory>

#include "device/CDevice.h"
#include "device/DeviceTypes.h"
#include "device/RecorderLink.h"

namespace vesk {

class TransferSession;

class CProtocolBase {
 public:
  CProtocolBase();
  virtual ~CProtocolBase();
  CProtocolBase(const CProtocolBase&) = delete;
  CProtocolBase& operator=(const CProtocolBase&) = delete;

  // The operations in the order the program knows them. Their int results are DeviceResult
  // codes (DeviceResultOf).
  [[nodiscard]] virtual int PC_Download(enum_DataMode mode);
  [[nodiscard]] virtual int PC_Delete(enum_DataMode mode);
  [[nodiscard]] virtual int PC_Upload(enum_DataMode mode);
  // Asks the recorder which data modes it offers: nine flags indexed by enum_DataMode.
  [[nodiscard]] virtual int GetDownLoadDataMode(int modes[kDataModeSlots]);
  virtual void SetDevice(CDevice* device, bool bluetooth);
  virtual int SetProgressInfo(std::atomic<int>* percent, std::atomic<int>* state,
                              std::atomic<int>* type);
  // Reads the plan the recorder holds and the intervals it accepts.
  [[nodiscard]] virtual int PC_DownloadBPInfoTimeInterval(_UPLOAD_NEEDED_DATA& needed);
  virtual bool SetUpLoadData(_BP_TRANSPORT_INFO plan);
  // Always 1.
  virtual int GetCurDeviceInfo(tag_SUPPORT_PROTOCOL& info);
  virtual int GetProtocolVersion(_SUB_VERSION& version);

  // The data of the last successful download, in the shape of its device kind.
  void GetDownLoadData(_DOWNLOAD_DATAINFO* out) const;
  // The flag a transfer checks before every packet; cancelling ends it with 2000.
  void SetCancelFlag(const std::atomic<bool>* cancel) { m_cancel = cancel; }
  void SetLinkTiming(const LinkTiming& timing) { m_timing = timing; }
  // Every frame of later transfers goes into this trace too (null: none).
  void SetTrace(LinkTrace* trace) { m_trace = trace; }
  // Data bytes the last transfer received (without framing), for throughput figures.
  size_t LastPayloadBytes() const { return m_lastPayloadBytes; }
  // The device kinds this family speaks.
  virtual bool SpeaksKind(int32_t deviceKind) const = 0;

 protected:
  virtual bool ClearAllData();
  // The steps of a transfer, in the library's int form like the operations above.
  virtual int UploadBPInfo();
  virtual int DownloadBPInfo();
  virtual int DownloadSpO2Data();
  virtual int DownloadBPData();

  // Opens the transport, greets the recorder, checks its kind, runs step and closes the link
  // again whatever happened. The state ends at 3 (or 2 on failure) when reportState is set.
  template <typename Step>
  DeviceResult RunTransfer(int firstType, bool reportState, Step&& step);

  // Valid while a transfer runs.
  TransferSession& Session() { return *m_session; }
  RecorderLink& Link() { return *m_link; }
  int CurrentMode() const { return m_mode; }
  const _BP_TRANSPORT_INFO& UploadPlan() const { return m_uploadPlan; }
  uint16_t OfferedModes() const { return m_modeFlags; }

 private:
  DeviceResult OpenLink();
  void CloseLink(bool sayBye);

  CDevice* m_device = nullptr;
  bool m_bluetooth = false;
  std::atomic<int> m_ownPercent{0}, m_ownState{0}, m_ownType{0};
  std::atomic<int>* m_percent = &m_ownPercent;
  std::atomic<int>* m_state = &m_ownState;
  std::atomic<int>* m_type = &m_ownType;
  const std::atomic<bool>* m_cancel = nullptr;
  LinkTiming m_timing;
  LinkTrace* m_trace = nullptr;

  tag_SUPPORT_PROTOCOL m_info;
  _SUB_VERSION m_version;
  uint16_t m_modeFlags = 0;
  int m_mode = 0;
  _BP_TRANSPORT_INFO m_uploadPlan;
  _DOWNLOAD_DATAINFO m_data;
  size_t m_lastPayloadBytes = 0;

  std::unique_ptr<RecorderLink> m_link;
  std::unique_ptr<TransferSession> m_session;
};

}  // namespace vesk
