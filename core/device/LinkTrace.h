#pragma once
// A support trace of the recorder link: every frame sent to a recorder and every frame
// received from one, one line each, with the local time to the millisecond and the direction
// ('>' sent, '<' received), then the frame's bytes as two-digit hex:
//
//   2026-12-06T21:05:59.123 > A5 5A 01 00 01 01 04 01 7D AF
//
// The frame layer writes it, so USB, serial and Bluetooth links are all traced alike.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <span>
#include <string>

#include "settings/ConfigTypes.h"

namespace vesk {

class LinkTrace {
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  LinkTrace();
  ~LinkTrace();
  LinkTrace(const LinkTrace&) = delete;
  LinkTrace& operator=(const LinkTrace&) = delete;

  // Opens the file for appending (creating it). False, with the reason in Error(), when it
  // cannot be opened; the trace is then closed.
  [[nodiscard]] bool Open(const std::string& path);
  void Close();
  bool IsOpen() const;
  const std::string& Path() const { return path_; }
  // Why the last Open failed, or why writing stopped.
  const std::string& Error() const { return error_; }
  // True once a line could not be written (disk full, file gone): the trace is incomplete.
  bool WriteFailed() const { return writeFailed_; }

  // Both may be called from any thread; a closed trace ignores them.
  void Sent(std::span<const uint8_t> frame) { Write('>', frame); }
  void Received(std::span<const uint8_t> frame) { Write('<', frame); }

  // For tests: the time stamped on each line.
  void SetClock(Clock clock) { clock_ = std::move(clock); }

 private:
  void Write(char direction, std::span<const uint8_t> frame);

  mutable std::mutex mutex_;
  std::FILE* file_ = nullptr;
  std::string path_;
  std::string error_;
  bool writeFailed_ = false;
  Clock clock_;
};

// One trace line without its line break.
std::string FormatTraceLine(std::chrono::system_clock::time_point when, char direction,
                            std::span<const uint8_t> frame);

// The trace file the configuration asks for: key "LINKTRACEFILE" of section "SYSTEM". An empty
// value traces nothing. True when there is nothing to trace or the file is open; false with
// the reason in trace.Error() when the configured file cannot be opened.
[[nodiscard]] bool OpenConfiguredTrace(const SystemSettings& system, LinkTrace& trace);

}  // namespace vesk
