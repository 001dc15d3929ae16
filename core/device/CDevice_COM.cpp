#include "device/CDevice_COM.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "device/SerialPorts.h"

namespace vesk {

namespace {
speed_t SpeedOf(int baud) {
  switch (baud) {
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 230400:
      return B230400;
    case 460800:
      return B460800;
    case 921600:
      return B921600;
    default:
      return B115200;
  }
}
}  // namespace

CDevice_COM::~CDevice_COM() {
  Close();
}

int CDevice_COM::Open(int index) {
  Close();
  std::string path = m_port;
  if (path.empty()) {
    const auto ports = ListSerialPorts();
    if (index < 0 || static_cast<size_t>(index) >= ports.size()) {
      m_lastError = "no serial port " + std::to_string(index);
      return 0;
    }
    path = ports[static_cast<size_t>(index)].name;
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    m_lastError = path + ": " + std::strerror(errno);
    return 0;
  }
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    m_lastError = path + ": not a serial port";
    ::close(fd);
    return 0;
  }
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSTOPB);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, SpeedOf(m_dcb.BaudRate));
  ::cfsetospeed(&tio, SpeedOf(m_dcb.BaudRate));
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
    m_lastError = path + ": " + std::strerror(errno);
    ::close(fd);
    return 0;
  }
  ::tcflush(fd, TCIOFLUSH);
  m_fd = fd;
  m_lastError.clear();
  return 1;
}

int CDevice_COM::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  return 1;
}

int CDevice_COM::RecvData(unsigned char* buffer, unsigned long length) {
  const int n = fdio::Read(m_fd, buffer, length, m_timeoutMs);
  if (n < 0) m_lastError = "serial link lost";
  return n;
}

int CDevice_COM::SendData(unsigned char* buffer, unsigned long length) {
  // Long enough for the bytes at the slowest speed we use, plus slack.
  const int ms = 1000 + static_cast<int>(length * 10000 / 9600);
  const int n = fdio::Write(m_fd, buffer, length, ms);
  if (n < 0) m_lastError = "serial write failed";
  return n;
}

void CDevice_COM::Purge() {
  if (m_fd < 0) return;
  ::tcflush(m_fd, TCIFLUSH);
  fdio::Drain(m_fd);
}

}  // namespace vesk
