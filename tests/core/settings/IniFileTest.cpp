#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(IniFile, ConstructionCreatesOrEmpties) {
  TempDir dir;
  EXPECT_THROW(CIniFile("", false), std::invalid_argument);
  std::string path = dir / "Report_family.ini";
  {
    CIniFile ini(path, false);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(ReadBytes(path), "");
  }
  WriteBytes(path, "[S]\nk=v\n");
  {
    CIniFile keep(path, false);
    EXPECT_EQ(keep.ReadString("S", "k", "d"), "v");
  }
  CIniFile emptied(path, true);
  EXPECT_EQ(emptied.ReadString("S", "k", "d"), "d");
  EXPECT_EQ(ReadBytes(path), "");
  // A folder that does not exist: no exception, defaults on reading, 0 on writing.
  CIniFile nowhere(dir / "missing/x.ini", false);
  EXPECT_EQ(nowhere.ReadInt("S", "k", 3), 3);
  EXPECT_EQ(nowhere.WriteString("S", "k", "v"), 0);
}

TEST(IniFile, LineBreaksTravelAsDoublePlus) {
  TempDir dir;
  CIniFile ini(dir / "a.ini", false);
  EXPECT_EQ(ini.WriteString("Report", "Title", "Line one\r\nLine two\nthree\rfour"), 1);
  EXPECT_EQ(ReadBytes(dir / "a.ini"), "[Report]\r\nTitle=Line one++Line two++three++four\r\n");
  EXPECT_EQ(ini.ReadString("report", "title", ""), "Line one\r\nLine two\r\nthree\r\nfour");
  // "++" typed by a user cannot be told from a stored line break.
  EXPECT_EQ(ini.WriteString("Report", "Lang", "C++"), 1);
  EXPECT_EQ(ini.ReadString("Report", "Lang", ""), "C\r\n");
  EXPECT_EQ(ini.ReadString("Report", "Missing", "a++b"), "a\r\nb");
}

TEST(IniFile, LongValuesAreNotCut) {
  TempDir dir;
  CIniFile ini(dir / "long.ini", false);
  std::string value(5000, 'x');
  value += "++end";
  ASSERT_EQ(ini.WriteString("S", "k", value), 1);
  EXPECT_EQ(ini.ReadString("S", "k", "").size(), 5000u + 5u);
}

TEST(IniFile, EmptyNamesAreRefused) {
  TempDir dir;
  std::string path = dir / "r.ini";
  CIniFile ini(path, false);
  EXPECT_EQ(ini.WriteString("", "k", "v"), 0);
  EXPECT_EQ(ini.WriteString("S", "", "v"), 0);
  EXPECT_EQ(ini.WriteInt("", "k", 1), 0);
  EXPECT_EQ(ini.DeleteSection(""), 0);
  EXPECT_EQ(ini.DeleteKey("S", ""), 0);
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(ini.WriteString("S", "k", ""), 1);  // an empty value is fine
  EXPECT_EQ(ini.ReadString("S", "k", "d"), "");
}

TEST(IniFile, IntegersSectionsAndKeys) {
  TempDir dir;
  WriteBytes(dir / "c.ini",
             "[Config Name List]\r\nCount= 3x\r\n1=family\r\n2=\r\n"
             "[family]\r\nHex=0x1F\r\nNeg=-88\r\n");
  CIniFile ini(dir / "c.ini", false);
  EXPECT_EQ(ini.ReadInt("config name list", "count", 0), 3);
  EXPECT_EQ(ini.ReadInt("Config Name List", "2", 7), 7);  // empty value gives the default
  EXPECT_EQ(ini.ReadInt("family", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInt("family", "Neg", 0), -88);
  EXPECT_EQ(ini.WriteInt("family", "Neg", INT32_MIN), 1);
  EXPECT_EQ(ini.ReadInt("family", "Neg", 0), INT32_MIN);
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Config Name List", "family"}));
  EXPECT_EQ(ini.KeyNames("FAMILY"), (std::vector<std::string>{"Hex", "Neg"}));
  EXPECT_EQ(ini.DeleteKey("family", "hex"), 1);
  EXPECT_EQ(ini.DeleteSection("Config Name List"), 1);
  EXPECT_EQ(ini.DeleteSection("never there"), 1);
  EXPECT_EQ(ReadBytes(dir / "c.ini"), "[family]\r\nNeg=-2147483648\r\n");
}

TEST(IniFile, BinaryFileGivesDefaultsAndIsKeptAside) {
  TempDir dir;
  std::string path = dir / "junk.ini";
  std::string junk("\x00\x01[S]\x00k=\xFF\n[T]\nn=12\n", 18);
  WriteBytes(path, junk);
  CIniFile ini(path, false);
  EXPECT_EQ(ini.ReadString("Missing", "k", "def"), "def");
  EXPECT_EQ(ini.ReadInt("T", "n", 0), 12);
  EXPECT_EQ(ini.WriteInt("T", "n", 13), 1);
  EXPECT_EQ(ReadBytes(path + ".corrupt"), junk);
}

TEST(IniFile, BatchWritesTheFileOnce) {
  TempDir dir;
  std::string path = dir / "MreConfig.ini";
  CIniFile ini(path, false);
  ini.BeginBatch();
  for (int i = 1; i <= 20; ++i)
    EXPECT_EQ(ini.WriteInt("Config Name List", std::to_string(i), i), 1);
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(ini.ReadInt("Config Name List", "20", 0), 20);
  EXPECT_EQ(ini.CommitBatch(), 1);
  CIniFile other(path, false);
  EXPECT_EQ(other.KeyNames("Config Name List").size(), 20u);
}

}  // namespace
}  // namespace vesk
