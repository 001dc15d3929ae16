#include "device/LinkTrace.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace vesk {

LinkTrace::LinkTrace() : clock_([] { return std::chrono::system_clock::now(); }) {}

LinkTrace::~LinkTrace() {
  Close();
}

bool LinkTrace::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
  path_ = path;
  writeFailed_ = false;
  error_.clear();
  if (path.empty()) {
    error_ = "no trace file named";
    return false;
  }
  file_ = std::fopen(path.c_str(), "a");
  if (!file_) {
    error_ = "cannot open the trace file " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void LinkTrace::Close() {
  std::lock_guard lock(mutex_);
  if (file_ && std::fclose(file_) != 0 && !writeFailed_) {
    writeFailed_ = true;
    error_ = "writing the trace file " + path_ + ": " + std::strerror(errno);
  }
  file_ = nullptr;
}

bool LinkTrace::IsOpen() const {
  std::lock_guard lock(mutex_);
  return file_ != nullptr;
}

void LinkTrace::Write(char direction, std::span<const uint8_t> frame) {
  std::lock_guard lock(mutex_);
  if (!file_) return;
  const std::string line = FormatTraceLine(clock_(), direction, frame) + "\n";
  // Flushed per line: a trace is read after something went wrong, often after a crash.
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
    if (!writeFailed_) error_ = "writing the trace file " + path_ + ": " + std::strerror(errno);
    writeFailed_ = true;
  }
}

std::string FormatTraceLine(std::chrono::system_clock::time_point when, char direction,
                            std::span<const uint8_t> frame) {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(when.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  long milli = static_cast<long>(ms % 1000);
  if (milli < 0) {
    milli += 1000;
    --seconds;
  }
  std::tm tm{};
  localtime_r(&seconds, &tm);
  char head[48];
  std::snprintf(head, sizeof head, "%04d-%02d-%02dT%02d:%02d:%02d.%03ld %c", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, milli, direction);
  static const char kHex[] = "0123456789ABCDEF";
  std::string line(head);
  line.reserve(line.size() + frame.size() * 3);
  for (uint8_t b : frame) {
    line += ' ';
    line += kHex[b >> 4];
    line += kHex[b & 15];
  }
  return line;
}

bool OpenConfiguredTrace(const SystemSettings& system, LinkTrace& trace) {
  if (system.linkTraceFile.empty()) return true;
  return trace.Open(system.linkTraceFile);
}

}  // namespace vesk
