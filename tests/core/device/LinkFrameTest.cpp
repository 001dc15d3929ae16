// The frame codec: round trips, resynchronisation after noise, and refusal of damage.
#include <gtest/gtest.h>

#include "device/LinkFrame.h"
#include "device/LinkMessages.h"

namespace vesk::link {
namespace {

std::vector<Frame> ParseAll(const std::vector<uint8_t>& bytes, size_t step, FrameParser& p) {
  std::vector<Frame> out;
  for (size_t at = 0; at < bytes.size(); at += step) {
    p.Feed(bytes.data() + at, std::min(step, bytes.size() - at));
    Frame f;
    while (p.Next(f)) out.push_back(f);
  }
  return out;
}

TEST(LinkFrame, RoundTripsWhateverTheBytesArriveIn) {
  std::vector<uint8_t> big(kMaxPayload);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  const std::vector<Frame> frames = {{1, kCmdHello, {}},
                                     {2, 0x83, {0xA5, 0x5A, 0xA5}},  // sync bytes in payload
                                     {255, kCmdRead, big}};
  std::vector<uint8_t> stream;
  for (const auto& f : frames) AppendFrame(stream, f.seq, f.cmd, f.payload);
  for (size_t step : {size_t(1), size_t(3), size_t(64), stream.size()}) {
    FrameParser p;
    EXPECT_EQ(ParseAll(stream, step, p), frames) << "step " << step;
    EXPECT_EQ(p.BadFrames(), 0u);
    EXPECT_EQ(p.Buffered(), 0u);
  }
}

TEST(LinkFrame, SkipsNoiseAndDamagedFramesToTheNextGoodOne) {
  const Frame good{9, kCmdBye, {1, 2, 3}};
  std::vector<uint8_t> stream = {0x00, 0xA5, 0xFF, 0xA5};  // noise, a false sync start
  std::vector<uint8_t> bad = EncodeFrame(8, kCmdRead, std::vector<uint8_t>{4, 5, 6});
  bad[8] ^= 1;  // payload damaged: CRC refuses it
  stream.insert(stream.end(), bad.begin(), bad.end());
  std::vector<uint8_t> badHeader = EncodeFrame(7, kCmdRead, std::vector<uint8_t>{7});
  badHeader[3] = 0x7F;  // length damaged: header check refuses it at once
  stream.insert(stream.end(), badHeader.begin(), badHeader.end());
  AppendFrame(stream, good.seq, good.cmd, good.payload);
  FrameParser p;
  EXPECT_EQ(ParseAll(stream, 1, p), std::vector<Frame>{good});
  EXPECT_GE(p.BadFrames(), 2u);
}

TEST(LinkFrame, RefusesLengthsBeyondTheLimitAndWaitsForShortInput) {
  std::vector<uint8_t> f = EncodeFrame(1, 1, std::vector<uint8_t>(10, 0));
  FrameParser p;
  p.Feed(f.data(), f.size() - 1);
  Frame out;
  EXPECT_FALSE(p.Next(out));  // one byte short
  p.Feed(f.data() + f.size() - 1, 1);
  EXPECT_TRUE(p.Next(out));

  // A header claiming more than the limit, with a correct header check.
  std::vector<uint8_t> huge = {kSync0, kSync1, 0x01, 0x10, 1, 1, 0};
  huge[6] = Crc8(std::span<const uint8_t>(huge.data() + 2, 4));
  FrameParser q;
  q.Feed(huge.data(), huge.size());
  EXPECT_FALSE(q.Next(out));
  EXPECT_EQ(q.BadFrames(), 1u);
}

TEST(LinkFrame, KnownCrcValues) {
  const uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc16(text), 0x29B1);  // CRC-16/CCITT-FALSE check value
  EXPECT_EQ(Crc8(text), 0xF4);     // CRC-8 (poly 0x07) check value
}

TEST(LinkMessages, PayloadsRoundTripAndShortOnesAreRefused) {
  Hello h{1, 3, 7, 0x21, 1, 0x000E, {5, 2}, 4096};
  std::vector<uint8_t> b;
  EncodeHello(h, b);
  ASSERT_EQ(b.size(), kHelloSize);
  EXPECT_EQ(DecodeHello(b), h);
  b.pop_back();
  EXPECT_FALSE(DecodeHello(b));

  BlockInfo info{56, 3, {3, 1, 2, 3, 4, 5, 6, -7}};
  b.clear();
  EncodeBlockInfo(info, b);
  ASSERT_EQ(b.size(), kBlockInfoSize);
  EXPECT_EQ(DecodeBlockInfo(b), info);

  _SPO2_SAMPLE s{97, 63, {1, 2}, 172799};
  uint8_t w[kSampleSize];
  EncodeSample(s, w);
  EXPECT_EQ(DecodeSample(w), s);
}

}  // namespace
}  // namespace vesk::link
