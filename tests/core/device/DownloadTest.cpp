// Downloads of every device kind and data mode through the simulator over a pty, compared
// field by field with what the simulator holds.
#include <gtest/gtest.h>

#include "SimHarness.h"
#include "device/LinkMessages.h"
#include "device/ModelTable.h"

namespace vesk {
namespace {

using test::SimHarness;

struct Case {
  int kind;
  int protocol;
  int mode;
};

std::string Name(const ::testing::TestParamInfo<Case>& info) {
  return std::string(ModelName(info.param.kind)) + "_p" + std::to_string(info.param.protocol) +
         "_m" + std::to_string(info.param.mode);
}

void ExpectBlock(const ReadingBlock& got, const sim::SimRecorder& rec, uint8_t block) {
  const auto& want = rec.readings.at(block);
  EXPECT_EQ(got.head, want.head) << "block " << int(block);
  ASSERT_EQ(got.readings.size(), want.readings.size()) << "block " << int(block);
  for (size_t i = 0; i < got.readings.size(); ++i)
    ASSERT_EQ(got.readings[i], want.readings[i]) << "block " << int(block) << " reading " << i;
}

class DownloadEveryKind : public ::testing::TestWithParam<Case> {};

TEST_P(DownloadEveryKind, DeliversWhatTheRecorderHolds) {
  const Case c = GetParam();
  SimHarness h(sim::MakeSampleRecorder(c.kind, c.protocol, 7, 900));
  ASSERT_TRUE(h.Start());
  const sim::SimRecorder rec = h.sim.Snapshot();

  int modes[kDataModeSlots];
  ASSERT_EQ(h.link.GetDataModes(modes), DeviceResult::Ok);
  EXPECT_EQ(modes[c.mode], 1);
  EXPECT_EQ(modes[0], 0);

  _DOWNLOAD_DATAINFO data;
  tag_SUPPORT_PROTOCOL info;
  _SUB_VERSION version;
  ASSERT_EQ(h.link.Download(c.mode, data, info, version), DeviceResult::Ok);
  EXPECT_EQ(h.link.Progress().state.load(), kStateFinished);
  EXPECT_EQ(h.link.Progress().percent.load(), 100);
  EXPECT_EQ(info, (tag_SUPPORT_PROTOCOL{c.kind, c.protocol, 0, 0}));
  EXPECT_EQ(version, rec.version);
  EXPECT_EQ(data.nDeviceKind, c.kind);
  EXPECT_EQ(data.nDataMode, c.mode);
  // The built-in QORA has nothing for user 3.
  EXPECT_EQ(HasNoDownloadData(data), c.kind == kQora && c.mode == kModeUser3);

  switch (c.kind) {
    case kTaloColor: {
      const auto& d = std::get<TaloColorDownload>(data.data);
      EXPECT_EQ(d.plan, rec.plan);
      ExpectBlock(d.recording, rec, link::kBlockRecording);
      ExpectBlock(d.singleUser, rec, link::kBlockSingleUser);
      break;
    }
    case kMiru: {
      const auto& d = std::get<MiruDownload>(data.data);
      EXPECT_EQ(d.plan, rec.plan);
      const uint8_t block = c.mode == 2   ? link::kBlockMonitor
                            : c.mode == 3 ? link::kBlockSingleUser
                                          : link::kBlockRecording;
      ExpectBlock(d.readings, rec, block);
      if (c.mode == 2) {
        EXPECT_EQ(d.spo2, *rec.spo2);
        EXPECT_EQ(d.spo2.samples.size(), 900u);
      } else {
        EXPECT_TRUE(d.spo2.samples.empty());
      }
      break;
    }
    case kQora: {
      const auto& d = std::get<QoraDownload>(data.data);
      for (int u = 0; u < 3; ++u) {
        if (c.mode == 7 || c.mode == 4 + u)
          ExpectBlock(d.users[u], rec, static_cast<uint8_t>(link::kBlockUser1 + u));
        else
          EXPECT_TRUE(d.users[u].readings.empty());
      }
      break;
    }
    default: {
      const auto& d = std::get<BasicDownload>(data.data);
      EXPECT_EQ(d.plan, rec.plan);
      ExpectBlock(d.readings, rec, link::kBlockRecording);
    }
  }
}

std::vector<Case> AllCases() {
  std::vector<Case> out;
  for (const auto& m : AllModels())
    for (int mode = 1; mode < kDataModeSlots; ++mode)
      if (m.modeFlags & (1u << mode)) out.push_back({m.deviceKind, m.protocol, mode});
  return out;
}

INSTANTIATE_TEST_SUITE_P(AllModelsAllModes, DownloadEveryKind, ::testing::ValuesIn(AllCases()),
                         Name);

TEST(Download, ModeTheRecorderDoesNotOfferIsNotSupported) {
  SimHarness h(sim::MakeSampleRecorder(kPexa));
  ASSERT_TRUE(h.Start());
  _DOWNLOAD_DATAINFO data;
  tag_SUPPORT_PROTOCOL info;
  _SUB_VERSION version;
  EXPECT_EQ(h.link.Download(kModeMonitor, data, info, version), DeviceResult::NotSupported);
  EXPECT_EQ(h.link.Progress().state.load(), kStateFailed);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(data.data));
}

TEST(Download, EmptyRecorderArrivesEmptyAndCountsAsNoData) {
  for (int kind = 1; kind <= 6; ++kind) {
    sim::SimRecorder rec = sim::MakeSampleRecorder(kind);
    for (auto& [block, b] : rec.readings) b = {};
    if (rec.spo2) rec.spo2 = SpO2Block{};
    SimHarness h(rec);
    ASSERT_TRUE(h.Start());
    const int mode = kind == kQora ? kModeAllUsers : kind == kMiru ? kModeMonitor : 1;
    _DOWNLOAD_DATAINFO data;
    tag_SUPPORT_PROTOCOL info;
    _SUB_VERSION version;
    ASSERT_EQ(h.link.Download(mode, data, info, version), DeviceResult::Ok) << kind;
    EXPECT_TRUE(HasNoDownloadData(data)) << kind;
  }
}

TEST(Download, NoDataRuleLooksOnlyAtTheChosenQoraUser) {
  _DOWNLOAD_DATAINFO d;
  d.nDeviceKind = kQora;
  d.nDataMode = kModeUser1;
  QoraDownload q;
  q.users[1].readings.resize(1);
  d.data = q;
  EXPECT_TRUE(HasNoDownloadData(d));
  d.nDataMode = kModeUser2;
  EXPECT_FALSE(HasNoDownloadData(d));
  d.nDataMode = kModeAllUsers;
  EXPECT_FALSE(HasNoDownloadData(d));

  _DOWNLOAD_DATAINFO m;
  m.nDeviceKind = kMiru;
  MiruDownload miru;
  miru.spo2.samples.resize(1);  // SpO2 alone is data
  m.data = miru;
  EXPECT_FALSE(HasNoDownloadData(m));
  _DOWNLOAD_DATAINFO t;
  TaloColorDownload talo;
  talo.singleUser.readings.resize(1);  // single-user readings alone are data
  t.data = talo;
  EXPECT_FALSE(HasNoDownloadData(t));
  EXPECT_FALSE(HasNoDownloadData(_DOWNLOAD_DATAINFO{}));
}

TEST(Download, EraseEmptiesTheBlocksOfTheMode) {
  SimHarness h(sim::MakeSampleRecorder(kMiru));
  ASSERT_TRUE(h.Start());
  ASSERT_EQ(h.link.Erase(kModeMonitor), DeviceResult::Ok);
  const auto rec = h.sim.Snapshot();
  EXPECT_EQ(rec.erased, (std::vector<uint8_t>{link::kBlockMonitor, link::kBlockSpO2}));
  EXPECT_TRUE(rec.readings.at(link::kBlockMonitor).readings.empty());
  EXPECT_FALSE(rec.readings.at(link::kBlockRecording).readings.empty());
}

}  // namespace
}  // namespace vesk
