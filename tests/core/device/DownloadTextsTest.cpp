// The texts the transfer windows show: keys per result, transport type and mode choice, checked
// against the language files the program ships.
#include <gtest/gtest.h>

#include "device/DownloadTexts.h"
#include "support/Comparable.h"

namespace vesk {
namespace {

// A device code compares with device codes only: not with the case-file library's constants,
// whose numbers overlap, and not with a bare int that could be either.
using test::Comparable;
static_assert(Comparable<DeviceResult, DeviceResult>);
static_assert(!Comparable<DeviceResult, CaseFileResult>);
static_assert(!Comparable<CaseFileResult, DeviceResult>);
static_assert(!Comparable<DeviceResult, int32_t>);

std::vector<TextKey> EveryKey() {
  std::vector<TextKey> keys;
  for (int t = 0; t <= 10; ++t) keys.push_back(TransportItemKey(t));
  for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 14, 2000}) {
    const DeviceResult r = DeviceResultOf(code);
    keys.push_back(DetectResultKey(r));
    keys.push_back(DownloadResultKey(r));
    keys.push_back(UploadResultKey(r));
  }
  int all[kDataModeSlots] = {0, 1, 1, 1, 1, 1, 1, 1, 0};
  for (int kind = 1; kind <= 6; ++kind) {
    for (const ModeChoice& c : DownloadModeChoices(kind, all)) keys.push_back(c.label);
    for (const ModeChoice& c : UploadModeChoices(kind)) keys.push_back(c.label);
  }
  return keys;
}

TEST(DownloadTexts, EveryKeyIsInEveryShippedLanguage) {
  for (const char* name : {"English", "Chinese"}) {
    CLanguage language;
    ASSERT_TRUE(
        language.LoadFile(std::string(VESK_SOURCE_DIR) + "/data/Language/" + name + ".lng"));
    for (const TextKey& k : EveryKey()) {
      if (k.empty()) continue;
      EXPECT_FALSE(k.Text(language).empty()) << name << " " << k.key;
    }
    EXPECT_FALSE(language.GetText("Global Setting", "IDS_MSG_FINISH").empty());
    EXPECT_FALSE(language.GetText("Message Setting", "IDS_BP_RECEIVED_VESK").empty());
    EXPECT_FALSE(language.GetText("Message Setting", "IDS_BP_RECEIVED_COMMOM").empty());
  }
}

TEST(DownloadTexts, ProgressTitleByTransportType) {
  CLanguage language;
  ASSERT_TRUE(language.LoadFile(std::string(VESK_SOURCE_DIR) + "/data/Language/English.lng"));
  const std::string downloading = language.GetText("Global Setting", "IDS_DOWNLOADING");
  EXPECT_EQ(TransportTypeText(kTransportNothing, language), "");
  EXPECT_EQ(TransportTypeText(kTransportBpTrend, language),
            downloading + language.GetText("Global Setting", "IDS_TRE_PRESSURE"));
  EXPECT_EQ(TransportTypeText(kTransportUser2, language),
            downloading + language.GetText("Menu Setting", "IDS_USER2"));
  EXPECT_EQ(TransportTypeText(kTransportPatientInfo, language),
            downloading + language.GetText("Message Setting", "IDS_PATIENT_INFOR"));
  EXPECT_EQ(TransportTypeText(kTransportUploading, language),
            language.GetText("Global Setting", "IDS_UPLOADING"));
  EXPECT_EQ(TransportTypeText(42, language), downloading);
  EXPECT_EQ(TransportTypeText(-1, language), downloading);
}

TEST(DownloadTexts, ModeChoicesFollowWhatTheRecorderOffers) {
  int qoraAll[kDataModeSlots] = {0, 0, 0, 0, 1, 1, 1, 1, 0};
  auto rows = DownloadModeChoices(kQora, qoraAll);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows.back().mode, kModeAllUsers);
  EXPECT_STREQ(rows.back().label.key, "IDS_ALLUSER");
  EXPECT_EQ(DefaultDownloadMode(kQora, qoraAll), kModeAllUsers);

  // "All users" only when all three users are offered, whatever flag 7 says.
  int qoraTwo[kDataModeSlots] = {0, 0, 0, 0, 0, 1, 1, 1, 0};
  rows = DownloadModeChoices(kQora, qoraTwo);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].mode, kModeUser2);
  EXPECT_EQ(DefaultDownloadMode(kQora, qoraTwo), kModeUser2);

  int miru[kDataModeSlots] = {0, 1, 0, 1, 0, 0, 0, 0, 0};
  rows = DownloadModeChoices(kMiru, miru);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].mode, kModeSingleUser);
  EXPECT_STREQ(rows[1].label.key, "IDS_USERALONE");
  EXPECT_TRUE(DownloadModeChoices(kPexa, qoraAll).empty());
  EXPECT_EQ(DefaultDownloadMode(kPexa, qoraAll), kModeRecording);
  int none[kDataModeSlots] = {};
  EXPECT_EQ(DefaultDownloadMode(kQora, none), 0);

  ASSERT_EQ(UploadModeChoices(kMiru).size(), 2u);
  EXPECT_EQ(UploadModeChoices(kMiru)[1].mode, kModeMonitor);
  EXPECT_TRUE(UploadModeChoices(kTaloBlack).empty());
}

TEST(DownloadTexts, ResultMessages) {
  // Not supported (14) reads like any other recorder error (7) after a download.
  EXPECT_EQ(DownloadResultKey(DeviceResult::NotSupported),
            DownloadResultKey(DeviceResult::ProtocolError));
  EXPECT_STREQ(DownloadResultKey(DeviceResult::ProtocolError).key, "IDS_MSG_ERROR");
  EXPECT_STREQ(DownloadResultKey(DeviceResult::NoData).key, "IDS_NORECIEVE_DATA");
  EXPECT_TRUE(DownloadResultKey(DeviceResult::Ok).empty());
  EXPECT_TRUE(DownloadResultKey(DeviceResult::Cancelled).empty());
  EXPECT_STREQ(UploadResultKey(DeviceResult::Ok).key, "IDS_UPLOAD_FINISH");
  EXPECT_STREQ(UploadResultKey(DeviceResult::NotSupported).key, "IDS_NOSUPPORTFUNCTION");
  EXPECT_STREQ(UploadResultKey(DeviceResult::LinkLost).key, "IDS_UPLOAD_ERROR");
  EXPECT_STREQ(DetectResultKey(DeviceResult::DetectRetry).key, "IDS_DEVICE");
  EXPECT_STREQ(DetectResultKey(DeviceResult::DetectRetry).section, "CorreLine");
  EXPECT_TRUE(DetectOffersRetry(DeviceResult::DetectRetry));
  EXPECT_FALSE(DetectOffersRetry(DeviceResult::RegionError));
  EXPECT_STREQ(DetectResultKey(DeviceResult::RegionError).key, "IDS_REGIONERROR");
  EXPECT_STREQ(DetectResultKey(DeviceResult::RemoteError).key, "IDS_REMOTEERROR");
  EXPECT_STREQ(DetectResultKey(DeviceResult::Fail).key, "IDS_SYS_ERROR");
  EXPECT_STREQ(DetectResultKey(DeviceResult::WrongDevice).key, "IDS_SYS_ERROR");
}

TEST(DownloadTexts, DownloadOutcomeNamesTheLayerThatFailedThoughTheNumbersOverlap) {
  // 5 from the link is a lost link; 5 from the case-file library is "not a case file".
  const DownloadOutcome lost{DownloadStep::Transfer, DeviceResult::LinkLost, CaseFileResult::Ok};
  const DownloadOutcome notCase{DownloadStep::Store, DeviceResult::Ok, CaseFileResult::NotCaseFile};
  EXPECT_EQ(lost.Code(), notCase.Code());
  EXPECT_EQ(DownloadOutcomeText(lost), "the port could not be opened or the link was lost");
  EXPECT_EQ(DownloadOutcomeText(notCase), "the case file could not be written: not a case file");
  const DownloadOutcome write{DownloadStep::Store, DeviceResult::Ok, CaseFileResult::WriteFailed};
  EXPECT_EQ(DownloadOutcomeText(write), "the case file could not be written");
  EXPECT_EQ(write.Code(), 10);

  EXPECT_STREQ(DownloadResultKey(lost).key, "IDS_MSG_ERROR");
  EXPECT_STREQ(DownloadResultKey(notCase).key, "IDS_MSG_ERROR");
  const DownloadOutcome noData{DownloadStep::NoData, DeviceResult::Ok, CaseFileResult::Ok};
  EXPECT_EQ(noData.Code(), 13);
  EXPECT_STREQ(DownloadResultKey(noData).key, "IDS_NORECIEVE_DATA");
  const DownloadOutcome stored{DownloadStep::Stored, DeviceResult::Ok, CaseFileResult::Ok};
  EXPECT_EQ(stored.Code(), 1);
  EXPECT_TRUE(DownloadResultKey(stored).empty());
  EXPECT_EQ(DownloadOutcomeText(stored), "done");
  const DownloadOutcome cancelled{DownloadStep::Transfer, DeviceResult::Cancelled,
                                  CaseFileResult::Ok};
  EXPECT_EQ(cancelled.Code(), 2000);
  EXPECT_TRUE(DownloadResultKey(cancelled).empty());
  // Nothing downloaded yet reads as a failed transfer, never as stored.
  EXPECT_EQ(DownloadOutcome{}.Code(), 0);
}

}  // namespace
}  // namespace vesk
