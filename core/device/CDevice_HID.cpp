#include "device/CDevice_HID.h"

#include <hidapi.h>

#include <algorithm>
#include <mutex>

#include "device/ModelTable.h"

namespace vesk {

namespace {
bool HidReady() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] { ok = hid_init() == 0; });
  return ok;
}

std::string Narrow(const wchar_t* w) {
  std::string s;
  if (!w) return s;
  for (; *w; ++w) s += (*w < 128) ? static_cast<char>(*w) : '?';
  return s;
}
}  // namespace

std::vector<HidRecorderInfo> ListHidRecorders() {
  std::vector<HidRecorderInfo> out;
  if (!HidReady()) return out;
  hid_device_info* list = hid_enumerate(kUsbVendorId, 0);
  for (hid_device_info* d = list; d; d = d->next) {
    if (!IsRecorderUsbId(d->vendor_id, d->product_id) || !d->path) continue;
    out.push_back({d->path, d->vendor_id, d->product_id, Narrow(d->product_string)});
  }
  hid_free_enumeration(list);
  return out;
}

CDevice_HID::~CDevice_HID() {
  Close();
}

int CDevice_HID::Open(int index) {
  Close();
  if (!HidReady()) {
    m_lastError = "USB HID unavailable";
    return 0;
  }
  std::string path = m_port;
  if (path.empty()) {
    const auto found = ListHidRecorders();
    if (index < 0 || static_cast<size_t>(index) >= found.size()) {
      m_lastError = "no USB recorder attached";
      return 0;
    }
    path = found[static_cast<size_t>(index)].path;
  }
  m_dev = hid_open_path(path.c_str());
  if (!m_dev) {
    m_lastError = path + ": cannot open (permissions?)";
    return 0;
  }
  m_pending.clear();
  return 1;
}

int CDevice_HID::Close() {
  if (m_dev) hid_close(m_dev);
  m_dev = nullptr;
  m_pending.clear();
  return 1;
}

int CDevice_HID::RecvData(unsigned char* buffer, unsigned long length) {
  if (!m_dev) return -1;
  if (m_pending.empty()) {
    unsigned char report[kReportSize];
    const int r = hid_read_timeout(m_dev, report, sizeof report, m_timeoutMs);
    if (r < 0) {
      m_lastError = Narrow(hid_error(m_dev));
      return -1;
    }
    if (r == 0) return 0;
    const size_t count = std::min<size_t>(report[0], static_cast<size_t>(r) - 1);
    m_pending.insert(m_pending.end(), report + 1, report + 1 + count);
  }
  const size_t n = std::min<size_t>(length, m_pending.size());
  std::copy_n(m_pending.begin(), n, buffer);
  m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(n));
  return static_cast<int>(n);
}

int CDevice_HID::SendData(unsigned char* buffer, unsigned long length) {
  if (!m_dev) return -1;
  unsigned long done = 0;
  while (done < length) {
    // Report id 0, then the count byte and up to 63 stream bytes.
    unsigned char report[kReportSize + 1] = {};
    const unsigned long n = std::min<unsigned long>(kReportSize - 1, length - done);
    report[1] = static_cast<unsigned char>(n);
    std::copy_n(buffer + done, n, report + 2);
    if (hid_write(m_dev, report, sizeof report) < 0) {
      m_lastError = Narrow(hid_error(m_dev));
      return -1;
    }
    done += n;
  }
  return static_cast<int>(length);
}

void CDevice_HID::Purge() {
  m_pending.clear();
  if (!m_dev) return;
  unsigned char report[kReportSize];
  for (int i = 0; i < 64 && hid_read_timeout(m_dev, report, sizeof report, 0) > 0; ++i) {
  }
}

}  // namespace vesk
