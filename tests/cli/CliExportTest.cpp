// vesk-cli case export: each question of the export answered by its own option, and nothing
// written when one is answered no.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "CliRun.h"
#include "support/TempDir.h"

namespace {

using vesk::test::CliRun;
using vesk::test::ReadBytes;
using vesk::test::TempDir;
using vesk::test::WriteBytes;

class CliExport : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Cli("demo init --data '" + std::string(VESK_SOURCE_DIR) + "/data'").exitCode, 0);
    ASSERT_EQ(Cli("sample ambulatory '" + case_ + "' --seed 3").exitCode, 0);
  }
  CliRun Cli(const std::string& args) {
    return vesk::test::CliWithErrors(home_, args, dir_ / "stderr.txt");
  }
  CliRun Export(const std::string& options) {
    return Cli("case export '" + case_ + "' '" + (dir_ / "out") + "' --csv " + options);
  }
  // Gives the first reading a comment the narrow code page (GBK) cannot hold.
  void CommentOutsideTheCodePage() {
    const CliRun shown = Cli("case show '" + case_ + "'");
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    const std::string json = std::regex_replace(shown.out, std::regex("\"comment\": ?\"[^\"]*\""),
                                                "\"comment\":\"5 \xC2\xB5g \xED\x95\x9C\"",
                                                std::regex_constants::format_first_only);
    ASSERT_TRUE(json != shown.out) << "no comment field in the shown case";
    WriteBytes(dir_ / "case.json", json);
    std::filesystem::remove(case_);
    const CliRun imported = Cli("case import '" + (dir_ / "case.json") + "' '" + case_ + "'");
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
  }

  TempDir dir_;
  std::string home_ = dir_ / "home";
  std::string case_ = dir_ / "a.awp";
  std::string file_ = dir_ / "out.csv";
};

TEST_F(CliExport, ExistingFileIsReplacedOnlyWithForce) {
  const CliRun first = Export("");
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.out.find(file_), 0u);
  const std::string narrow = ReadBytes(file_);
  EXPECT_NE(narrow.rfind("\xEF\xBB\xBF", 0), 0u);  // no byte-order mark in the code page

  WriteBytes(file_, "kept");
  const CliRun again = Export("");
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
  EXPECT_EQ(ReadBytes(file_), "kept");
  ASSERT_EQ(Export("--force").exitCode, 0);
  EXPECT_EQ(ReadBytes(file_), narrow);
}

TEST_F(CliExport, CharactersTheCodePageLacksNeedUtf8OrLossy) {
  CommentOutsideTheCodePage();
  // Without an answer to the loss nothing is written, and the message names the way out.
  const CliRun refused = Export("");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("--utf8"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("\xC2\xB5"), std::string::npos) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(file_));
  // --force replaces files; it does not agree to lose characters.
  WriteBytes(file_, "kept");
  EXPECT_EQ(Export("--force").exitCode, 1);
  EXPECT_EQ(ReadBytes(file_), "kept");

  const CliRun utf8 = Export("--utf8 --force");
  ASSERT_EQ(utf8.exitCode, 0) << utf8.err;
  const std::string text = ReadBytes(file_);
  EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
  EXPECT_NE(text.find("5 \xC2\xB5g \xED\x95\x9C"), std::string::npos);

  const CliRun lossy = Export("--lossy --force");
  ASSERT_EQ(lossy.exitCode, 0) << lossy.err;
  const std::string narrow = ReadBytes(file_);
  EXPECT_NE(narrow.rfind("\xEF\xBB\xBF", 0), 0u);
  EXPECT_NE(narrow.find("5 ?g ?"), std::string::npos);
}

TEST_F(CliExport, UnknownOptionIsAUsageError) {
  EXPECT_EQ(Export("--utf16").exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(file_));
}

}  // namespace
