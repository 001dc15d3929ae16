#pragma once
// The transport seam: a protocol talks to a recorder only through these few operations and
// never learns whether the bytes travel over USB HID, a serial port, Bluetooth or a pty.

#include <string>

#include "device/DeviceTypes.h"

namespace vesk {

class CDevice {
 public:
  virtual ~CDevice();
  // Remembers the port and its settings, then opens it as Open(0) does.
  [[nodiscard]] virtual int Open(const std::string& port, const _DCB& settings);
  // Opens the remembered port, or else the index-th port of this bus. 1 on success, 0 if not.
  [[nodiscard]] virtual int Open(int index);
  virtual int Close() = 0;
  // Waits at most the read timeout for the first byte, then returns what has arrived (up to
  // length). 0 on timeout, -1 when the link is gone.
  virtual int RecvData(unsigned char* buffer, unsigned long length) = 0;
  // Writes everything; returns length, or -1 when the link is gone or stays blocked.
  virtual int SendData(unsigned char* buffer, unsigned long length) = 0;

  // Drops whatever the line still holds, so a retry starts clean.
  virtual void Purge() {}
  virtual bool IsOpen() const = 0;

  void SetPort(const std::string& port) { m_port = port; }
  const std::string& Port() const { return m_port; }
  void SetSettings(const _DCB& dcb) { m_dcb = dcb; }
  const _DCB& Settings() const { return m_dcb; }
  // Read timeout in milliseconds; never unbounded.
  void SetTimeout(int ms) { m_timeoutMs = ms < 1 ? 1 : ms; }
  int Timeout() const { return m_timeoutMs; }
  // Why the last Open or transfer failed, for traces.
  const std::string& LastError() const { return m_lastError; }

 protected:
  std::string m_port;
  _DCB m_dcb;
  int m_timeoutMs = 100;
  std::string m_lastError;
};

namespace fdio {
// Read with a timeout on a non-blocking descriptor: bytes read, 0 on timeout, -1 when the
// other end has gone.
int Read(int fd, unsigned char* buffer, size_t length, int timeoutMs);
// Write everything within timeoutMs: length, or -1.
int Write(int fd, const unsigned char* buffer, size_t length, int timeoutMs);
// Reads and discards what is readable right now.
void Drain(int fd);
}  // namespace fdio

}  // namespace vesk
