// The language files delivered with the program hold exactly the keys the program looks up.

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

std::string DataFile(const std::string& name) {
  return std::string(VESK_SOURCE_DIR) + "/data/Language/" + name + ".lng";
}

std::string Describe(const std::vector<LanguageKeyRef>& refs) {
  std::string out;
  for (const auto& r : refs) out += "[" + r.section + "] " + r.key + "\n";
  return out;
}

// printf conversions of a text, in order, so that a translation keeps them.
std::vector<std::string> Conversions(const std::string& text) {
  static const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
    found.push_back(it->str());
  return found;
}

TEST(LanguageKeysTest, ListHoldsNineSectionsOf503DistinctKeys) {
  const auto& sections = RequiredLanguageKeys();
  ASSERT_EQ(sections.size(), 9u);
  std::vector<std::pair<std::string_view, size_t>> sizes;
  for (const auto& s : sections) {
    sizes.emplace_back(s.name, s.keys.size());
    EXPECT_EQ(std::set<std::string_view>(s.keys.begin(), s.keys.end()).size(), s.keys.size())
        << s.name;
  }
  EXPECT_EQ(sizes, (std::vector<std::pair<std::string_view, size_t>>{{"Global Setting", 86},
                                                                     {"Menu Setting", 50},
                                                                     {"Message Setting", 55},
                                                                     {"Dialog Setting", 106},
                                                                     {"Case Setting", 42},
                                                                     {"CorreLine", 32},
                                                                     {"SystemSet", 7},
                                                                     {"Title", 1},
                                                                     {"Report", 124}}));
  EXPECT_EQ(RequiredLanguageKeyCount(), 503u);
}

TEST(LanguageKeysTest, CheckReportsMissingExtraAndEmptyKeys) {
  test::TempDir dir;
  test::WriteBytes(dir / "x.lng",
                   "[Title]\nIDS_TITLE_RPT=\nIDS_UNUSED=x\n[Global Setting]\nids_exit=Exit\n"
                   "[Private]\nA=b\n");
  LanguageFileCheck check = CheckLanguageFile(dir / "x.lng");
  EXPECT_TRUE(check.readable);
  EXPECT_FALSE(check.ok());
  EXPECT_EQ(check.empty, (std::vector<LanguageKeyRef>{{"Title", "IDS_TITLE_RPT"}}));
  EXPECT_EQ(check.missing.size(), 502u);  // names differing in case do not count
  EXPECT_EQ(check.extra,
            (std::vector<LanguageKeyRef>{
                {"Global Setting", "ids_exit"}, {"Title", "IDS_UNUSED"}, {"Private", ""}}));

  LanguageFileCheck missing = CheckLanguageFile(dir / "none.lng");
  EXPECT_FALSE(missing.readable);
  EXPECT_EQ(missing.missing.size(), 503u);
}

class DeliveredLanguageFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DeliveredLanguageFileTest, HoldsExactlyTheRequiredKeysNoneEmpty) {
  LanguageFileCheck check = CheckLanguageFile(DataFile(GetParam()));
  ASSERT_TRUE(check.readable) << DataFile(GetParam());
  EXPECT_TRUE(check.missing.empty()) << "missing:\n" << Describe(check.missing);
  EXPECT_TRUE(check.extra.empty()) << "extra:\n" << Describe(check.extra);
  EXPECT_TRUE(check.empty.empty()) << "empty:\n" << Describe(check.empty);
}

TEST_P(DeliveredLanguageFileTest, TextsFitAndKeepTheEnglishConversions) {
  CLanguage english, other;
  ASSERT_TRUE(english.LoadFile(DataFile("English")));
  ASSERT_TRUE(other.LoadFile(DataFile(GetParam())));
  for (const auto& section : RequiredLanguageKeys()) {
    for (std::string_view key : section.keys) {
      const std::string& text = other.GetText(section.name, key);
      EXPECT_LT(text.size(), 1023u) << key;  // well inside the cut, even counted in bytes
      EXPECT_EQ(Conversions(text), Conversions(english.GetText(section.name, key)))
          << section.name << " " << key << ": " << text;
    }
  }
  if (std::string(GetParam()) == "Chinese") {
    EXPECT_EQ(other.GetText("Global Setting", "IDS_EXIT"), "退出");  // a translation indeed
  }
}

INSTANTIATE_TEST_SUITE_P(Files, DeliveredLanguageFileTest, ::testing::Values("English", "Chinese"));

}  // namespace
}  // namespace vesk
