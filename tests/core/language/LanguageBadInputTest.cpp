// Language files damaged or made by mistake must load without a crash or a hang, giving the
// empty text wherever nothing sensible can be read.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "language/Language.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::TempDir;
using test::WriteBytes;

class LanguageBadInputTest : public ::testing::Test {
 protected:
  bool LoadBytes(const std::string& bytes) {
    WriteBytes(dir_ / "bad.lng", bytes);
    return language_.LoadFile(dir_ / "bad.lng");
  }
  TempDir dir_;
  CLanguage language_;
};

TEST_F(LanguageBadInputTest, TruncatedFilesKeepWhatWasComplete) {
  const std::string full = "[Global Setting]\r\nIDS_EXIT=Exit\r\nIDS_HELP=Help\r\n";
  for (size_t cut = 0; cut <= full.size(); ++cut) {
    SCOPED_TRACE(cut);
    bool loaded = LoadBytes(full.substr(0, cut));
    const std::string& exitText = language_.GetText("Global Setting", "IDS_EXIT");
    EXPECT_TRUE(exitText.empty() || std::string("Exit").starts_with(exitText));
    if (cut == 0) {
      EXPECT_FALSE(loaded);
    }
  }
  ASSERT_TRUE(LoadBytes("[Global Setting]\r\nIDS_EXIT=Ex"));
  EXPECT_EQ(language_.GetText("Global Setting", "IDS_EXIT"), "Ex");
  // A UTF-8 character cut in half at the end of the file.
  ASSERT_TRUE(LoadBytes("[Global Setting]\nIDS_EXIT=退\xE5\x87"));
  EXPECT_TRUE(language_.GetText("Global Setting", "IDS_EXIT").starts_with("退"));
}

TEST_F(LanguageBadInputTest, BinaryFilesDoNotCrash) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(4096, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    if (round % 2) bytes.insert(0, "[Global Setting]\nIDS_EXIT=");  // text, then garbage
    LoadBytes(bytes);
    for (const auto& [section, table] : language_.Tables())
      for (const auto& [key, text] : table) EXPECT_LE(text.size(), 1023u * 4);
  }
  // UTF-16 with its byte-order mark is a text file like any other.
  std::u16string wide = u"[Title]\r\nIDS_TITLE_RPT=Report\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : wide) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  ASSERT_TRUE(LoadBytes(bytes));
  EXPECT_EQ(language_.GetText("Title", "IDS_TITLE_RPT"), "Report");
}

TEST_F(LanguageBadInputTest, HugeFileAndHugeLinesLoadWithinLimits) {
  // 10 MB: more sections than the section list holds, each with a long text.
  const std::string value(1200, 'v');
  std::string big;
  big.reserve(10'500'000);
  for (int s = 0; big.size() < 10'000'000; ++s)
    big += "[Section" + std::to_string(s) + "]\nIDS_KEY=" + value + "\n";
  ASSERT_TRUE(LoadBytes(big));
  EXPECT_EQ(language_.GetText("Section0", "IDS_KEY"), value.substr(0, 1023));
  size_t sectionUnits = 1;
  for (const auto& [name, table] : language_.Tables()) sectionUnits += name.size() + 1;
  EXPECT_LE(sectionUnits, kLanguageNameListLimit);

  // One line of 100,000 characters as a value, one as a key name, one as a section name.
  std::string line(100'000, 'x');
  ASSERT_TRUE(LoadBytes("[S]\nK=" + line + "\n" + line + "=v\n[" + line + "]\nA=b\n"));
  EXPECT_EQ(language_.GetText("S", "K"), std::string(1023, 'x'));
  EXPECT_EQ(language_.Tables().at("S").count(line), 0u);  // does not fit the key list
  EXPECT_EQ(language_.GetText(line, "A"), "");            // nor the section list
}

}  // namespace
}  // namespace vesk
