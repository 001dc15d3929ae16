#include "language/Language.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ProgramDir.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr const char* kEnglish =
    "[Global Setting]\r\nIDS_EXIT=Exit\r\nIDS_HP=\" Systolic \"\r\n[Title]\r\n"
    "IDS_TITLE_RPT=Ambulatory Blood Pressure Report\r\n";
constexpr const char* kChinese = "[Global Setting]\r\nIDS_EXIT=退出\r\n";

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgramDir(home_.path()); }
  void TearDown() override { SetProgramDir(""); }

  void AddFile(const std::string& relative, const std::string& bytes) {
    WriteBytes(home_ / relative, bytes);
  }
  void StoreLanguage(const std::string& name) {
    WriteBytes(home_ / "MreConfig.ini", "[Previous Config]\r\nLanguage=" + name + "\r\n");
  }
  std::string StoredLanguage() const {
    std::string ini = ReadBytes(home_ / "MreConfig.ini");
    auto at = ini.find("Language=");
    if (at == std::string::npos) return "<none>";
    auto end = ini.find_first_of("\r\n", at);
    return ini.substr(at + 9, end - at - 9);
  }

  TempDir home_;
  CLanguage language_;
};

TEST_F(LanguageTest, ScanListsEveryFileByNameBeforeFirstDotWithLaterOrdinal) {
  AddFile("Language/Chinese.lng", kChinese);
  AddFile("Language/English.lng", kEnglish);
  AddFile("Language/English.lng.bak", kChinese);  // a copy with a further extension
  AddFile("Language/more/German.txt", "x");       // sub-folders count, any extension
  AddFile("Language/.hidden/French.lng", "x");    // folders starting with '.' do not
  AddFile("Language/.directory", "x");            // nor does a file without a name

  language_.ScanLanguageFolder(home_ / "Language");
  std::map<std::string, uint32_t> expected{{"Chinese", 1}, {"English", 3}, {"German", 4}};
  EXPECT_EQ(language_.LanguageList(), expected);
  EXPECT_EQ(language_.Languages(), (std::vector<std::string>{"Chinese", "English", "German"}));

  // The copy only moved the ordinal: the file used is still name + ".lng".
  language_.SetLanguage("English");
  EXPECT_EQ(language_.FilePath(), ProgramPath("\\Language\\English.lng"));
  ASSERT_TRUE(language_.Load());
  EXPECT_EQ(language_.GetText("Global Setting", "IDS_EXIT"), "Exit");

  // Rescanning an emptied folder empties the list.
  language_.ScanLanguageFolder(home_ / "NoSuchFolder");
  EXPECT_TRUE(language_.Languages().empty());
}

TEST_F(LanguageTest, SetLanguageMatchesNameIgnoringCaseButGetTextIsExact) {
  AddFile("Language/Chinese.lng", kChinese);
  AddFile("Language/English.lng", kEnglish);
  language_.ScanLanguageFolder(home_ / "Language");

  language_.SetLanguage("chINESE");
  EXPECT_EQ(language_.FilePath(), ProgramPath("\\Language\\Chinese.lng"));
  EXPECT_EQ(StoredLanguage(), "chINESE");  // the name is stored as given
  ASSERT_TRUE(language_.Load());
  EXPECT_EQ(language_.GetText("Global Setting", "IDS_EXIT"), "退出");
  EXPECT_EQ(language_.GetText("global setting", "IDS_EXIT"), "");
  EXPECT_EQ(language_.GetText("Global Setting", "ids_exit"), "");
  EXPECT_EQ(language_.GetText("Global Setting", "IDS_NOPE"), "");
  EXPECT_EQ(language_.GetText("", ""), "");

  // An unknown name falls back to the English file; an empty one becomes "English".
  language_.SetLanguage("Klingon");
  EXPECT_EQ(language_.FilePath(), ProgramPath("\\Language\\English.lng"));
  EXPECT_EQ(StoredLanguage(), "Klingon");
  language_.SetLanguage("");
  EXPECT_EQ(StoredLanguage(), "English");
  EXPECT_EQ(CLanguage::GetLanguage(), "English");
}

TEST_F(LanguageTest, LoadReplacesTablesAndCutsLongTexts) {
  std::string longAscii(1500, 'a');
  std::string longChinese;
  for (int i = 0; i < 1500; ++i) longChinese += "血";
  std::string longEmoji;  // outside the BMP: two units each, never cut in half
  for (int i = 0; i < 600; ++i) longEmoji += "\xF0\x9F\x92\x93";
  AddFile("a.lng", "[S]\nA=" + longAscii + "\nC=" + longChinese + "\nE=" + longEmoji +
                       "\nQ=\" padded \"\nEmpty=\n");
  AddFile("b.lng", "[Other]\nB=b\n");

  ASSERT_TRUE(language_.LoadFile(home_ / "a.lng"));
  EXPECT_EQ(language_.GetText("S", "A"), std::string(1023, 'a'));
  EXPECT_EQ(language_.GetText("S", "C").size(), 1023u * 3);
  EXPECT_EQ(language_.GetText("S", "E").size(), 511u * 4);
  EXPECT_EQ(language_.GetText("S", "Q"), " padded ");
  EXPECT_EQ(language_.GetText("S", "Empty"), "");
  EXPECT_EQ(language_.Tables().at("S").count("Empty"), 1u);

  ASSERT_TRUE(language_.LoadFile(home_ / "b.lng"));
  EXPECT_EQ(language_.GetText("S", "A"), "");  // nothing of the previous file survives
  EXPECT_EQ(language_.GetText("Other", "B"), "b");
}

TEST_F(LanguageTest, FileWithoutSectionsOrMissingFileFailsAndEmptiesTables) {
  AddFile("good.lng", kEnglish);
  AddFile("nosection.lng", "IDS_EXIT=Exit\n; only a comment\n");
  AddFile("empty.lng", "");
  ASSERT_TRUE(language_.LoadFile(home_ / "good.lng"));

  EXPECT_FALSE(language_.LoadFile(home_ / "nosection.lng"));
  EXPECT_TRUE(language_.Tables().empty());
  EXPECT_FALSE(language_.LoadFile(home_ / "empty.lng"));
  EXPECT_FALSE(language_.LoadFile(home_ / "missing.lng"));
  EXPECT_FALSE(language_.LoadFile(home_.path()));  // a folder
  EXPECT_FALSE(language_.LoadFile(""));
  EXPECT_TRUE(language_.Tables().empty());
  EXPECT_EQ(language_.GetText("Global Setting", "IDS_EXIT"), "");
}

// The start-up choice and its three fixed messages.
class LanguageStartupTest : public LanguageTest {
 protected:
  LanguageStartup Run() { return ChooseLanguageAtStartup(language_, sink_, "VESK"); }
  RecordingMessageSink sink_;
};

TEST_F(LanguageStartupTest, StoredOrDefaultLanguageLoadsWithoutAnyMessage) {
  AddFile("Language/English.lng", kEnglish);
  AddFile("Language/Chinese.lng", kChinese);
  LanguageStartup result = Run();  // nothing stored yet
  EXPECT_TRUE(result.proceed);
  EXPECT_EQ(result.language, "English");
  EXPECT_EQ(StoredLanguage(), "English");

  StoreLanguage("chinese");
  result = Run();
  EXPECT_TRUE(result.proceed);
  EXPECT_EQ(result.language, "chinese");
  EXPECT_TRUE(sink_.messages.empty());
  EXPECT_EQ(language_.GetText("Global Setting", "IDS_EXIT"), "退出");
}

TEST_F(LanguageStartupTest, MissingChineseAsksAndYesSwitchesToEnglish) {
  AddFile("Language/English.lng", kEnglish);
  StoreLanguage("Chinese");
  sink_.answers = {MessageAnswer::Yes};
  LanguageStartup result = Run();

  ASSERT_EQ(sink_.messages.size(), 1u);
  const Message& asked = sink_.messages[0];
  EXPECT_EQ(asked.text,
            "There has an error in reading \"Chinese\" language file.Whether to switch to the "
            "default(English) language?");
  EXPECT_EQ(asked.icon, MessageIcon::Question);
  EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
  EXPECT_EQ(asked.title, "VESK");
  EXPECT_TRUE(result.proceed);
  EXPECT_EQ(result.language, "English");
  EXPECT_EQ(StoredLanguage(), "English");
  EXPECT_EQ(language_.GetText("Global Setting", "IDS_EXIT"), "Exit");
}

TEST_F(LanguageStartupTest, NoToTheQuestionEndsStartUpSilently) {
  AddFile("Language/English.lng", kEnglish);
  StoreLanguage("Chinese");
  sink_.answers = {MessageAnswer::No};
  LanguageStartup result = Run();
  EXPECT_FALSE(result.proceed);
  EXPECT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(StoredLanguage(), "Chinese");
}

TEST_F(LanguageStartupTest, MissingEnglishAsksForReinstallation) {
  AddFile("Language/Chinese.lng", kChinese);
  StoreLanguage("english");  // compared ignoring case, shown as stored
  LanguageStartup result = Run();
  EXPECT_FALSE(result.proceed);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text,
            "There has an error in reading \"english\" language file.Please reinstall this "
            "application.");
  EXPECT_EQ(sink_.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(sink_.messages[0].buttons, MessageButtons::Ok);
}

TEST_F(LanguageStartupTest, YesWithoutEnglishFileEndsWithThirdMessage) {
  AddFile("Language/Chinese.lng", "no sections here\n");
  StoreLanguage("Chinese");
  sink_.answers = {MessageAnswer::Yes};
  LanguageStartup result = Run();
  EXPECT_FALSE(result.proceed);
  ASSERT_EQ(sink_.messages.size(), 2u);
  EXPECT_EQ(sink_.messages[1].text, "There has an error in reading \"English\" language file.");
  EXPECT_EQ(sink_.messages[1].icon, MessageIcon::Error);
  EXPECT_EQ(StoredLanguage(), "English");
}

}  // namespace
}  // namespace vesk
