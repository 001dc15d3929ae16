#include "device/CDevice.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace vesk {

CDevice::~CDevice() = default;

int CDevice::Open(const std::string& port, const _DCB& settings) {
  m_port = port;
  m_dcb = settings;
  return Open(0);
}

int CDevice::Open(int) {
  return 0;
}

namespace fdio {

int Read(int fd, unsigned char* buffer, size_t length, int timeoutMs) {
  if (fd < 0) return -1;
  if (length == 0) return 0;
  pollfd p{fd, POLLIN, 0};
  int r;
  do {
    r = ::poll(&p, 1, timeoutMs);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return -1;
  if (r == 0) return 0;
  if (!(p.revents & POLLIN)) return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) ? -1 : 0;
  ssize_t n;
  do {
    n = ::read(fd, buffer, length);
  } while (n < 0 && errno == EINTR);
  if (n > 0) return static_cast<int>(n);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
  return -1;  // end of file or EIO: the other side is gone
}

int Write(int fd, const unsigned char* buffer, size_t length, int timeoutMs) {
  if (fd < 0) return -1;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  size_t done = 0;
  while (done < length) {
    ssize_t n = ::write(fd, buffer + done, length - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return -1;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) return -1;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return -1;
  }
  return static_cast<int>(length);
}

void Drain(int fd) {
  unsigned char scratch[512];
  for (int i = 0; i < 256; ++i) {
    if (Read(fd, scratch, sizeof scratch, 0) <= 0) return;
  }
}

}  // namespace fdio
}  // namespace vesk
