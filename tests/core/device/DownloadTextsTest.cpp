// The texts the transfer windows show: keys per result, transport type and mode choice, checked
// against the language files the program ships.
#include <gtest/gtest.h>

#include "device/DownloadTexts.h"

namespace vesk {
namespace {

std::vector<TextKey> EveryKey() {
  std::vector<TextKey> keys;
  for (int t = 0; t <= 10; ++t) keys.push_back(TransportItemKey(t));
  for (int r : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 14, 2000}) {
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
  EXPECT_EQ(DownloadResultKey(kResultNotSupported), DownloadResultKey(kResultProtocolError));
  EXPECT_STREQ(DownloadResultKey(kResultProtocolError).key, "IDS_MSG_ERROR");
  EXPECT_STREQ(DownloadResultKey(kResultNoData).key, "IDS_NORECIEVE_DATA");
  EXPECT_TRUE(DownloadResultKey(kResultOk).empty());
  EXPECT_TRUE(DownloadResultKey(kResultCancelled).empty());
  EXPECT_STREQ(UploadResultKey(kResultOk).key, "IDS_UPLOAD_FINISH");
  EXPECT_STREQ(UploadResultKey(kResultNotSupported).key, "IDS_NOSUPPORTFUNCTION");
  EXPECT_STREQ(UploadResultKey(kResultLinkLost).key, "IDS_UPLOAD_ERROR");
  EXPECT_STREQ(DetectResultKey(kResultDetectRetry).key, "IDS_DEVICE");
  EXPECT_STREQ(DetectResultKey(kResultDetectRetry).section, "CorreLine");
  EXPECT_TRUE(DetectOffersRetry(kResultDetectRetry));
  EXPECT_FALSE(DetectOffersRetry(kResultRegionError));
  EXPECT_STREQ(DetectResultKey(kResultRegionError).key, "IDS_REGIONERROR");
  EXPECT_STREQ(DetectResultKey(kResultRemoteError).key, "IDS_REMOTEERROR");
  EXPECT_STREQ(DetectResultKey(kResultFail).key, "IDS_SYS_ERROR");
  EXPECT_STREQ(DetectResultKey(kResultWrongDevice).key, "IDS_SYS_ERROR");
}

}  // namespace
}  // namespace vesk
