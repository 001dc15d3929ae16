#include <gtest/gtest.h>
#include <tinyxml2.h>

#include "ReportTestData.h"
#include "platform/CodePage.h"
#include "reports/DiagnosisXml.h"
#include "support/TempDir.h"

namespace vesk::test {
namespace {

class DiagnosisXmlTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadEnglish(language_); }
  std::string Xml(const _FILE_ALL_INFO& f) {
    data_ = BuildReportData(ReportCaseOf(f), AllPages(), ReportOptions{}, language_);
    return FormatDiagnosisXml(data_, "/home/u/PDF/20240306080509.pdf");
  }
  CLanguage language_;
  ReportData data_;
};

TEST_F(DiagnosisXmlTest, ElementOrderAndTheDiastolicTimesUnderSystolicNames) {
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.Parse(Xml(SmallCase()).c_str()), tinyxml2::XML_SUCCESS);
  std::vector<std::string> names;
  for (auto* e = doc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement())
    names.push_back(e->Name());
  const std::vector<std::string> expected = {"report",
                                             "conclusion",
                                             "teststarttime",
                                             "testendtime",
                                             "caseName",
                                             "age",
                                             "height",
                                             "weight",
                                             "sex",
                                             "aid",
                                             "nation",
                                             "hospitalID",
                                             "outpatientID",
                                             "tel",
                                             "add",
                                             "department",
                                             "curmedication",
                                             "AllBPAverage",
                                             "DayBPAverage",
                                             "NightBPAverage",
                                             "DaySys",
                                             "DayDia",
                                             "NightSys",
                                             "NightDia",
                                             "MaxSys",
                                             "MaxSysTime",
                                             "MinSys",
                                             "MinSysTime",
                                             "MaxDia",
                                             "MaxSysTime",
                                             "MinDia",
                                             "MinSysTime",
                                             "CircadianRhythmSys",
                                             "CircadianRhythmDia",
                                             "BPCVAllSys",
                                             "BPCVAllDia",
                                             "BPCVDaySys",
                                             "BPCVDayDia",
                                             "BPCVNightSys",
                                             "BPCVNightDia",
                                             "AtheroGenic"};
  EXPECT_EQ(names, expected);
  EXPECT_STREQ(doc.RootElement()->Name(), "diagnose");
}

TEST_F(DiagnosisXmlTest, FormatsAndTabRuns) {
  _FILE_ALL_INFO f = SmallCase();
  f.readings[0].minute = 5;  // highest SYS and DIA at 09:05
  const std::string x = Xml(f);
  EXPECT_EQ(x.rfind("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<diagnose>\r\n", 0), 0u);
  const std::string t8(8, '\t'), t9(9, '\t'), t7(7, '\t');
  EXPECT_NE(x.find("\r\n" + t8 + "<conclusion></conclusion>"), std::string::npos);
  EXPECT_NE(x.find("<teststarttime>2024/3/5 9:5</teststarttime>"), std::string::npos);
  EXPECT_NE(x.find("<testendtime>2024/3/5 23:15</testendtime>"), std::string::npos);
  EXPECT_NE(x.find("<sex>Male</sex>"), std::string::npos);
  // Blocks follow each other on the same line.
  EXPECT_NE(x.find("</curmedication><AllBPAverage>"), std::string::npos);
  EXPECT_NE(x.find("</NightDia><MaxSys>150</MaxSys>"), std::string::npos);
  EXPECT_NE(x.find("</CircadianRhythmDia><BPCVAllSys>"), std::string::npos);
  EXPECT_NE(x.find("<AllBPAverage>130.0/80.0mmHg</AllBPAverage>\r\n" + t8 +
                   "<DayBPAverage>"
                   "140.0/87.5mmHg</DayBPAverage>"),
            std::string::npos);
  EXPECT_NE(x.find("<DaySys>140</DaySys>"), std::string::npos);
  EXPECT_NE(x.find("</MaxSys>\r\n" + t9 + "<MaxSysTime>2024/ 3/ 5  9: 5</MaxSysTime>"),
            std::string::npos);
  EXPECT_NE(x.find("<MaxDia>95</MaxDia>\r\n" + t9 + "<MaxSysTime>2024/ 3/ 5  9: 5</MaxSysTime>"),
            std::string::npos);
  EXPECT_NE(x.find("<MinDia>65</MinDia>\r\n" + t9 + "<MinSysTime>2024/ 3/ 5 23:15</MinSysTime>"),
            std::string::npos);
  // (140 - 110) / 140 = 21.4 %
  EXPECT_NE(x.find("<CircadianRhythmSys>21.4</CircadianRhythmSys>"), std::string::npos);
  EXPECT_NE(x.find("\r\n" + t7 + "<BPCVAllDia>"), std::string::npos);
  // Six decimals for the first coefficient, three for the others.
  const size_t cv = x.find("<BPCVAllSys>");
  EXPECT_EQ(x.substr(cv + 12, 9), "0.125615<");
  EXPECT_NE(x.find("<BPCVDaySys>0.071</BPCVDaySys>"), std::string::npos);
  EXPECT_EQ(x.substr(x.size() - 13), "\r\n</diagnose>");
}

TEST_F(DiagnosisXmlTest, NoAsleepReadingsKeepTheStatisticsAsTheyAre) {
  _FILE_ALL_INFO f = SmallCase();
  f.readings.pop_back();
  const std::string x = Xml(f);
  EXPECT_NE(x.find("<NightBPAverage>0.0/0.0mmHg</NightBPAverage>"), std::string::npos);
  // No night to compare with: no fall is claimed.
  EXPECT_NE(x.find("<CircadianRhythmSys>0.0</CircadianRhythmSys>"), std::string::npos);
}

TEST_F(DiagnosisXmlTest, TextsAreEscapedAndTheFileIsGbk) {
  _FILE_ALL_INFO f = SmallCase();
  f.patient.name = "Tom & Jerry <\xE5\xBC\xA0>";  // with the Chinese character U+5F20
  f.patient.extra[kExtraDiagnosis] = "a \"b\" 'c'";
  f.patient.address = "</add><evil/>";
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.Parse(Xml(f).c_str()), tinyxml2::XML_SUCCESS);
  EXPECT_STREQ(doc.RootElement()->FirstChildElement("caseName")->GetText(), f.patient.name.c_str());
  EXPECT_STREQ(doc.RootElement()->FirstChildElement("conclusion")->GetText(), "a \"b\" 'c'");
  EXPECT_STREQ(doc.RootElement()->FirstChildElement("add")->GetText(), "</add><evil/>");

  TempDir dir;
  ASSERT_TRUE(WriteDiagnosisXml(dir / "DIAGNOSEINFO.xml", data_, "x.pdf"));
  const std::string bytes = ReadBytes(dir / "DIAGNOSEINFO.xml");
  EXPECT_NE(bytes.find("Tom &amp; Jerry &lt;" + codepage::ToAnsi("\xE5\xBC\xA0") + "&gt;"),
            std::string::npos);
  EXPECT_EQ(codepage::FromAnsi(bytes), FormatDiagnosisXml(data_, "x.pdf"));
  EXPECT_FALSE(WriteDiagnosisXml(dir / "missing/DIAGNOSEINFO.xml", data_, "x.pdf"));
}

// Names the narrow code page cannot hold reach the file as character references: nothing
// turns into "?", and an XML reader gets every name back exactly.
TEST_F(DiagnosisXmlTest, PolishArabicAndChineseNamesSurviveTheFile) {
  const std::string polish = "\xC5\x81ucja W\xC3\xB3jcik-\xC5\xBB\xC3\xB3\xC5\x82\xC4\x87";
  const std::string arabic = "\xD9\x85\xD8\xAD\xD9\x85\xD8\xAF \xD8\xB9\xD9\x84\xD9\x8A";
  const std::string chinese = "\xE5\xBC\xA0\xE4\xBC\x9F";  // 张伟
  TempDir dir;
  for (const std::string& name : {polish, arabic, chinese}) {
    _FILE_ALL_INFO f = SmallCase();
    f.patient.name = name;
    f.patient.address = arabic + " & " + polish;
    Xml(f);
    ASSERT_TRUE(WriteDiagnosisXml(dir / "DIAGNOSEINFO.xml", data_, "x.pdf"));
    const std::string bytes = ReadBytes(dir / "DIAGNOSEINFO.xml");
    EXPECT_EQ(bytes.find('?', 40), std::string::npos) << name;  // past the declaration
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"GBK\"?>", 0), 0u);
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(codepage::FromAnsi(bytes).c_str()), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(std::string(doc.RootElement()->FirstChildElement("caseName")->GetText()), name);
    EXPECT_EQ(std::string(doc.RootElement()->FirstChildElement("add")->GetText()),
              f.patient.address);
  }
  // Chinese stays native GBK bytes; Ł (U+0141) and the Arabic letters become references.
  EXPECT_NE(ReadBytes(dir / "DIAGNOSEINFO.xml").find(codepage::ToAnsi(chinese)), std::string::npos);
  EXPECT_NE(ReadBytes(dir / "DIAGNOSEINFO.xml").find("&#321;ucja"), std::string::npos);
  EXPECT_NE(ReadBytes(dir / "DIAGNOSEINFO.xml").find("&#1605;&#1581;"), std::string::npos);
}

TEST_F(DiagnosisXmlTest, ControlCharactersCannotBreakTheDocument) {
  _FILE_ALL_INFO f = SmallCase();
  f.patient.name = std::string("Ann\x01\x1F") + "\tB\r\nC";
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.Parse(Xml(f).c_str()), tinyxml2::XML_SUCCESS);
  EXPECT_NE(Xml(f).find("<caseName>Ann&#65533;&#65533;\tB\r\nC</caseName>"), std::string::npos);
}

// With another code page configured the declaration names it, so a reader decodes the
// bytes as they were written.
TEST_F(DiagnosisXmlTest, DeclarationNamesTheConfiguredCodePage) {
  ASSERT_TRUE(codepage::SetAnsiCodePage("CP1250"));
  _FILE_ALL_INFO f = SmallCase();
  f.patient.name = "\xC5\x81ucja \xE5\xBC\xA0";
  Xml(f);
  TempDir dir;
  const bool written = WriteDiagnosisXml(dir / "d.xml", data_, "x.pdf");
  const std::string bytes = ReadBytes(dir / "d.xml");
  ASSERT_TRUE(codepage::SetAnsiCodePage("GBK"));
  ASSERT_TRUE(written);
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"CP1250\"?>", 0), 0u);
  EXPECT_NE(bytes.find("<caseName>\xA3ucja &#24352;</caseName>"), std::string::npos);
}

}  // namespace
}  // namespace vesk::test
