// The case-file text: exact round trips, compatibility with the profile reader, and refusal
// of every kind of broken file with a precise code.

#include <gtest/gtest.h>

#include <random>

#include "CaseTestData.h"
#include "cases/AwpFormat.h"
#include "cases/AwpText.h"
#include "cases/Filemanage.h"
#include "platform/Profile.h"

namespace vesk {
namespace {

using test::RandomCase;

TEST(AwpFormat, EveryFieldSurvivesBothVersions) {
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    for (int version : {1, 2}) {
      const _FILE_ALL_INFO f = RandomCase(rng, version, round % 7, round * 37 % 200);
      const std::string bytes = awp::Serialize(f, version);
      _FILE_ALL_INFO back;
      int32_t seen = 0;
      ASSERT_EQ(awp::Parse(bytes, true, version, back, &seen), CaseFileResult::Ok) << round;
      EXPECT_EQ(seen, version);
      EXPECT_TRUE(back == f) << "round " << round << " version " << version;
      EXPECT_EQ(awp::Serialize(back, version), bytes);
    }
  }
}

TEST(AwpFormat, VersionOneLeavesTheNewerPartsAtTheirDefaults) {
  std::mt19937 rng(3);
  const _FILE_ALL_INFO full = RandomCase(rng, 2, 3, 10);
  _FILE_ALL_INFO back;
  ASSERT_EQ(awp::Parse(awp::Serialize(full, 1), true, 1, back), CaseFileResult::Ok);
  EXPECT_TRUE(back.patient == full.patient);
  EXPECT_TRUE(back.readings == full.readings);
  EXPECT_TRUE(back.plan == full.plan);
  EXPECT_EQ(back.version[0], _SUB_VERSION{});
  EXPECT_TRUE(back.samples.empty());
  EXPECT_EQ(back.spo2Head, _SPO2_DATA_HEAD{});
  EXPECT_TRUE(back.tailText1.empty());
  // Each class reads its own layout only.
  EXPECT_EQ(awp::Parse(awp::Serialize(full, 1), true, 2, back), CaseFileResult::BadVersion);
  EXPECT_EQ(awp::Parse(awp::Serialize(full, 2), false, 1, back), CaseFileResult::BadVersion);
}

TEST(AwpFormat, TheProfileReaderSeesTheTextsAndTheBirthdayMarker) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30; ++round) {
    _FILE_ALL_INFO f = RandomCase(rng, 2, 2, 3);
    f.patient.birthday = round % 2 ? OleDateTime::FromParts(1956, 3, 7) : OleDateTime{};
    const auto doc = profile::ProfileDocument::Parse(awp::Serialize(f, 2));
    ASSERT_TRUE(doc.isText());
    EXPECT_EQ(doc.Get("PATIENT DATA", "Birthday"), round % 2 ? "1956-3-7" : "-1--1--1");
    std::string name;
    ASSERT_TRUE(awp::Unescape(*doc.Get("patient data", "NAME"), name));
    EXPECT_EQ(name, f.patient.name);
    std::string comment = *doc.Get("BP DATA", "R1");
    comment = comment.substr(comment.rfind(',') + 1);
    std::string unescaped;
    ASSERT_TRUE(awp::Unescape(comment, unescaped));
    EXPECT_EQ(unescaped, f.readings[1].comment);
  }
}

TEST(AwpFormat, BirthdayMarker) {
  EXPECT_EQ(awp::FormatBirthday(OleDateTime::FromParts(1956, 3, 7)), "1956-3-7");
  EXPECT_EQ(awp::FormatBirthday(OleDateTime::FromParts(2001, 12, 31)), "2001-12-31");
  EXPECT_EQ(awp::FormatBirthday(OleDateTime{}), "-1--1--1");
  OleDateTime invalid = OleDateTime::FromParts(1990, 1, 1);
  invalid.status = OleDateTime::Invalid;
  EXPECT_EQ(awp::FormatBirthday(invalid), "-1--1--1");

  OleDateTime t;
  ASSERT_TRUE(awp::ParseBirthday("1956-3-7", t));
  EXPECT_EQ(t, OleDateTime::FromParts(1956, 3, 7));
  ASSERT_TRUE(awp::ParseBirthday("1956-03-07", t));
  EXPECT_EQ(t, OleDateTime::FromParts(1956, 3, 7));
  for (const char* bad :
       {"-1--1--1", "1956-2-30", "1956-3", "1956-3-7-1", "", "x-1-1", "1956--3-7"}) {
    EXPECT_FALSE(awp::ParseBirthday(bad, t)) << bad;
    EXPECT_FALSE(t.IsValid());
  }
}

TEST(AwpFormat, BirthdayFromTheMarkerWhenTheExactValueIsAbsent) {
  _FILE_ALL_INFO f;
  f.patient.birthday = OleDateTime::FromParts(1970, 5, 4);
  std::string bytes = awp::Serialize(f, 1);
  for (const char* key : {"BirthdayDays=", "BirthdayStatus="}) {
    const size_t at = bytes.find(key);
    bytes.erase(at, bytes.find('\n', at) + 1 - at);
  }
  _FILE_ALL_INFO back;
  ASSERT_EQ(awp::Parse(bytes, true, 1, back), CaseFileResult::Ok);
  EXPECT_EQ(back.patient.birthday, OleDateTime::FromParts(1970, 5, 4));
}

TEST(AwpFormat, EscapingKeepsAnyBytes) {
  const std::string all = [] {
    std::string s;
    for (int i = 0; i < 256; ++i) s.push_back(static_cast<char>(i));
    return s;
  }();
  for (bool raw : {false, true}) {
    const std::string esc = awp::Escape(all, raw);
    EXPECT_EQ(esc.find_first_of("\r\n\t=;\"'\0", 0, 8), std::string::npos);
    std::string back;
    ASSERT_TRUE(awp::Unescape(esc, back));
    EXPECT_EQ(back, all);
  }
  EXPECT_EQ(awp::Escape(" a b "), "%20a b%20");
  EXPECT_EQ(awp::Escape("张三"), "张三");  // readable when it is well-formed UTF-8
  std::string out;
  for (const char* bad : {"%", "%4", "%G1", "a%1"}) EXPECT_FALSE(awp::Unescape(bad, out)) << bad;
}

TEST(AwpFormat, ListingStopsBeforeTheSeries) {
  std::mt19937 rng(5);
  const _FILE_ALL_INFO f = RandomCase(rng, 2, 4, 300);
  std::string bytes = awp::Serialize(f, 2);
  // Damage the series only: the full load refuses it, the reading part still lists.
  const size_t s0 = bytes.find("\nS0=");
  bytes[s0 + 10] = 'X';
  _FILE_ALL_INFO back;
  EXPECT_EQ(awp::Parse(bytes, true, 2, back), CaseFileResult::BadValue);
  ASSERT_EQ(awp::Parse(bytes, false, 2, back), CaseFileResult::Ok);
  EXPECT_TRUE(back.readings == f.readings);
  EXPECT_TRUE(back.samples.empty());
  // Cut right before the series: what listing reads is all there.
  ASSERT_EQ(awp::Parse(bytes.substr(0, bytes.find("[SPO2 DATA]") + 11), false, 2, back),
            CaseFileResult::Ok);
}

TEST(AwpFormat, EveryTruncationIsRefused) {
  std::mt19937 rng(9);
  for (int version : {1, 2}) {
    const std::string bytes = awp::Serialize(RandomCase(rng, version, 3, 70), version);
    _FILE_ALL_INFO back;
    // The last two bytes are the line end after [END].
    for (size_t cut = 0; cut + 2 < bytes.size(); ++cut)
      ASSERT_NE(awp::Parse(bytes.substr(0, cut), true, 0, back), CaseFileResult::Ok)
          << "version " << version << " cut at " << cut;
  }
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  const size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

TEST(AwpFormat, MalformedFilesGiveTheirCodes) {
  _FILE_ALL_INFO f = test::SimpleCase({test::Reading(2024, 1, 2, 3, 4)}, 2);
  f.samples.resize(70);
  const std::string good = awp::Serialize(f, 2);
  const std::string s0 =
      good.substr(good.find("S0="), good.find('\n', good.find("S0=")) - good.find("S0="));
  struct Case {
    std::string bytes;
    CaseFileResult code;
  };
  const Case cases[] = {
      {"", CaseFileResult::NotCaseFile},
      {std::string("\x7f"
                   "ELF\0\0\0",
                   7),
       CaseFileResult::NotCaseFile},
      {"[CASE FILE]\r\nFormat=other\r\nVersion=2\r\n", CaseFileResult::NotCaseFile},
      {Replace(good, "Version=2", "Version=3"), CaseFileResult::BadVersion},
      {Replace(good, "Version=2", "Version=two"), CaseFileResult::BadValue},
      {Replace(good, "Readings=1", "Readings=2"), CaseFileResult::BadCount},
      {Replace(good, "Readings=1", "Readings=2000000000"), CaseFileResult::BadCount},
      {Replace(good, "Readings=1", "Readings=-1"), CaseFileResult::BadCount},
      {Replace(good, "Readings=1", "Readings=0"), CaseFileResult::BadCount},
      {Replace(good, "R0=0,2024,1,", "R0=0,2024,40000,"), CaseFileResult::BadValue},
      {Replace(good, "R0=0,2024,", "R0=0,20x4,"), CaseFileResult::BadValue},
      {Replace(good, "R0=0,2024,1,2,3,4,", "R0=0,2024,1,2,3,"), CaseFileResult::BadValue},
      {Replace(good, "Name=Test Patient", "Name=Test%ZZ"), CaseFileResult::BadValue},
      {Replace(good, "Samples=70", "Samples=71"), CaseFileResult::BadCount},
      {Replace(good, "Samples=70", "Samples=99999999"), CaseFileResult::BadCount},
      {Replace(good, s0, s0 + "00"), CaseFileResult::BadCount},
      {Replace(good, s0, "S0=" + std::string(64 * 16, 'g') + "\r"), CaseFileResult::BadValue},
      {Replace(good, "S1=", "S7="), CaseFileResult::BadCount},
      {Replace(good, "Protocol=4\r\n", ""), CaseFileResult::Missing},
      {Replace(good, "[TAIL]", "[TALE]"), CaseFileResult::Missing},
      {Replace(good, "Clock=0,0,0,0,0,0", "Clock=0,0,0,0,0"), CaseFileResult::BadValue},
      {Replace(good, "Filler=0", "Filler=256"), CaseFileResult::BadValue},
      {Replace(good, "ModelCode=2", "ModelCode=99999999999"), CaseFileResult::BadValue},
      {Replace(good, "[END]", "[END"), CaseFileResult::Missing},
  };
  for (const Case& c : cases) {
    _FILE_ALL_INFO back;
    EXPECT_EQ(awp::Parse(c.bytes, true, 0, back), c.code) << &c - cases;
  }
}

TEST(AwpFormat, ToleratesWhatProfileEditorsDo) {
  const _FILE_ALL_INFO f = test::SimpleCase({test::Reading(2024, 1, 2, 3, 4)}, 1);
  std::string bytes = awp::Serialize(f, 2);
  // Line ends changed, keys in other letter case, extra keys, blanks around '='.
  std::string lf;
  for (char c : bytes)
    if (c != '\r') lf.push_back(c);
  lf = Replace(lf, "ModelCode=2", "modelcode = 2\nExtraKey=1\n; a comment");
  _FILE_ALL_INFO back;
  ASSERT_EQ(awp::Parse(lf, true, 2, back), CaseFileResult::Ok);
  EXPECT_TRUE(back == f);
  // A rewrite by the profile layer keeps everything readable.
  auto doc = profile::ProfileDocument::Parse(bytes);
  doc.Set("PATIENT DATA", "Birthday", "-1--1--1");
  ASSERT_EQ(awp::Parse(doc.Serialize(), true, 2, back), CaseFileResult::Ok);
  EXPECT_TRUE(back == f);
}

TEST(AwpFormat, RandomDamageNeverCrashes) {
  std::mt19937 rng(21);
  const std::string good = awp::Serialize(RandomCase(rng, 2, 5, 130), 2);
  std::uniform_int_distribution<size_t> pos(0, good.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 3000; ++round) {
    std::string bad = good;
    for (int k = round % 4; k >= 0; --k) bad[pos(rng)] = static_cast<char>(byte(rng));
    _FILE_ALL_INFO back;
    const int32_t rc = ToInt(awp::Parse(bad, round % 2 == 0, 0, back));
    EXPECT_TRUE(rc == ToInt(CaseFileResult::Ok) || (rc >= 2 && rc <= 10 && rc != 4)) << rc;
  }
}

}  // namespace
}  // namespace vesk
