#include "cases/CaseInfoXml.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

std::string Wrap(const std::string& body, const std::string& decl = "") {
  return decl + "<Root><PatientInfo>" + body + "</PatientInfo></Root>";
}

_PATIENT_INFO Existing() {
  _PATIENT_INFO p;
  p.name = "from recorder";
  p.address = "kept address";
  p.extra[1] = "kept diagnosis";
  p.sex = 1;
  p.birthday = OleDateTime::FromParts(1950, 5, 5);
  return p;
}

TEST(CaseInfoXml, FillsEveryNamedFieldAndLeavesTheOthers) {
  _PATIENT_INFO p = Existing();
  const CaseInfoXmlResult r = ApplyCaseInfoXmlText(
      Wrap("<CaseID>C-17</CaseID><Name>Ann Lee</Name><Sex>0</Sex><Age>71</Age><Tel>555</Tel>"
           "<Height>162</Height><Weight>58</Weight><InHosID>IH9</InHosID><DoorID>D4</DoorID>"
           "<Office>Cardiology</Office><BedID>12</BedID><Nation>Korean</Nation>"
           "<Birthday>1953-02-28</Birthday><Email>a@b.org</Email><Address>ignored</Address>"),
      p);
  ASSERT_TRUE(r.loaded);
  EXPECT_EQ(r.fieldsSet, 14);
  EXPECT_TRUE(r.warnings.empty());
  EXPECT_EQ(p.caseId, "C-17");
  EXPECT_EQ(p.name, "Ann Lee");
  EXPECT_EQ(p.sex, 0);
  EXPECT_EQ(p.age, 71);
  EXPECT_EQ(p.tel, "555");
  EXPECT_EQ(p.height, 162);
  EXPECT_EQ(p.weight, 58);
  EXPECT_EQ(p.inHosId, "IH9");
  EXPECT_EQ(p.doorId, "D4");
  EXPECT_EQ(p.office, "Cardiology");
  EXPECT_EQ(p.bedId, "12");
  EXPECT_EQ(p.nation, "Korean");
  EXPECT_EQ(p.birthday, OleDateTime::FromParts(1953, 2, 28));
  EXPECT_EQ(p.email, "a@b.org");
  EXPECT_EQ(p.address, "kept address");
  EXPECT_EQ(p.extra[1], "kept diagnosis");
}

TEST(CaseInfoXml, NamesAreExactAndTheLastRepeatWins) {
  _PATIENT_INFO p = Existing();
  ApplyCaseInfoXmlText(Wrap("<name>lower</name><NAME>upper</NAME><Name>first</Name>"
                            "<Name>second</Name><Name/>"),
                       p);
  EXPECT_EQ(p.name, "");  // the empty last one
  p = Existing();
  ApplyCaseInfoXmlText(Wrap("<name>lower</name><Name>second</Name><!-- c --><Tel>1</Tel>"), p);
  EXPECT_EQ(p.name, "second");
}

TEST(CaseInfoXml, IntegersComeFromTheLeadingDigits) {
  EXPECT_EQ(LeadingInt("1"), 1);
  EXPECT_EQ(LeadingInt("woman"), 0);
  EXPECT_EQ(LeadingInt(""), 0);
  EXPECT_EQ(LeadingInt(" 172cm"), 172);
  EXPECT_EQ(LeadingInt("-5"), -5);
  EXPECT_EQ(LeadingInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(LeadingInt("-99999999999999999999"), -2147483647 - 1);
  _PATIENT_INFO p = Existing();
  ApplyCaseInfoXmlText(Wrap("<Sex>1</Sex>"), p);
  EXPECT_EQ(p.sex, 1);
  ApplyCaseInfoXmlText(Wrap("<Sex>F</Sex><Height>1.80</Height>"), p);
  EXPECT_EQ(p.sex, 0);
  EXPECT_EQ(p.height, 1);
}

TEST(CaseInfoXml, BirthdayByCharacterPositions) {
  EXPECT_EQ(ParseCaseInfoBirthday("1956-03-07"), OleDateTime::FromParts(1956, 3, 7));
  EXPECT_EQ(ParseCaseInfoBirthday("1956/03/07"), OleDateTime::FromParts(1956, 3, 7));
  EXPECT_FALSE(ParseCaseInfoBirthday("1956-3-7").IsValid());
  EXPECT_FALSE(ParseCaseInfoBirthday("1956-02-30").IsValid());
  EXPECT_FALSE(ParseCaseInfoBirthday("abcd-ef-gh").IsValid());
  EXPECT_FALSE(ParseCaseInfoBirthday("").IsValid());
  // An unusable birthday keeps the one the record had and says so.
  _PATIENT_INFO p = Existing();
  const CaseInfoXmlResult r = ApplyCaseInfoXmlText(Wrap("<Birthday>unknown</Birthday>"), p);
  EXPECT_EQ(p.birthday, Existing().birthday);
  ASSERT_EQ(r.warnings.size(), 1u);
}

TEST(CaseInfoXml, TextsComeFromTheNarrowCodePageUnlessDeclaredUtf8) {
  ASSERT_EQ(codepage::AnsiCodePage(), "GBK");
  const std::string gbkName = codepage::ToAnsi("王秀英");
  ASSERT_NE(gbkName, "王秀英");
  _PATIENT_INFO p = Existing();
  ApplyCaseInfoXmlText(
      Wrap("<Name>" + gbkName + "</Name>", "<?xml version=\"1.0\" encoding=\"GBK\"?>"), p);
  EXPECT_EQ(p.name, "王秀英");
  ApplyCaseInfoXmlText(Wrap("<Name>" + gbkName + "</Name>"), p);
  EXPECT_EQ(p.name, "王秀英");
  ApplyCaseInfoXmlText(Wrap("<Name>李建国</Name>", "<?xml version='1.0' encoding='utf-8'?>"), p);
  EXPECT_EQ(p.name, "李建国");
  ApplyCaseInfoXmlText("\xEF\xBB\xBF" + Wrap("<Name>张伟</Name>"), p);
  EXPECT_EQ(p.name, "张伟");
}

TEST(CaseInfoXml, UnreadableFilesChangeNothing) {
  test::TempDir dir;
  const _PATIENT_INFO before = Existing();
  _PATIENT_INFO p = before;
  EXPECT_FALSE(ApplyCaseInfoXml(dir / "CaseInfo.xml", p).loaded);
  EXPECT_FALSE(ApplyCaseInfoXmlText("<Root><P><Name>x</Name></P>", p).loaded);
  EXPECT_FALSE(ApplyCaseInfoXmlText("", p).loaded);
  EXPECT_FALSE(ApplyCaseInfoXmlText(std::string("\0\1\2", 3), p).loaded);
  EXPECT_EQ(p, before);
  // Well-formed but without the middle element: loaded, nothing to take.
  EXPECT_TRUE(ApplyCaseInfoXmlText("<Root><Name>x</Name></Root>", p).loaded);
  EXPECT_EQ(p, before);
  // Only the first child of the root is read.
  ApplyCaseInfoXmlText("<R><A><Tel>1</Tel></A><B><Name>x</Name></B></R>", p);
  EXPECT_EQ(p.name, before.name);
  EXPECT_EQ(p.tel, "1");
  test::WriteBytes(dir / "big.xml", std::string(2 << 20, ' '));
  EXPECT_FALSE(ApplyCaseInfoXml(dir / "big.xml", p).loaded);
  test::WriteBytes(dir / "CaseInfo.xml", Wrap("<Weight>80kg</Weight>"));
  EXPECT_TRUE(ApplyCaseInfoXml(dir / "CaseInfo.xml", p).loaded);
  EXPECT_EQ(p.weight, 80);
}

}  // namespace
}  // namespace vesk
