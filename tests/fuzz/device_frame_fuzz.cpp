// The host's frame parser and payload decoders on arbitrary bytes: no crash, no hang, and every
// frame it hands out re-encodes to bytes that parse back to the same frame. The recorder side
// answers whatever frames come out, so its request checks are exercised too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "device/LinkFrame.h"
#include "device/LinkMessages.h"
#include "device/sim/RecorderSimulator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vesk;
  static sim::RecorderSimulator recorder([] {
    sim::SimRecorder r;
    r.deviceKind = kMiru;
    r.modeFlags = 0x0E;
    r.readings[link::kBlockRecording] = {};
    r.readings[link::kBlockRecording].readings.resize(3);
    r.spo2 = SpO2Block{};
    r.spo2->samples.resize(5);
    return r;
  }());

  link::FrameParser parser;
  // Feed in uneven pieces, as a serial line delivers them.
  size_t at = 0, piece = 1;
  while (at < size) {
    const size_t n = piece < size - at ? piece : size - at;
    parser.Feed(data + at, n);
    at += n;
    piece = piece * 3 % 17 + 1;
    link::Frame f;
    while (parser.Next(f)) {
      if (f.payload.size() > link::kMaxPayload) std::abort();
      const auto again = link::EncodeFrame(f.seq, f.cmd, f.payload);
      link::FrameParser check;
      check.Feed(again.data(), again.size());
      link::Frame g;
      if (!check.Next(g) || !(g == f)) std::abort();
      link::DecodeHello(f.payload);
      link::DecodeBlockInfo(f.payload);
      const link::Frame reply = recorder.Answer(f);
      if (reply.payload.empty() || reply.seq != f.seq) std::abort();
    }
  }
  return 0;
}
