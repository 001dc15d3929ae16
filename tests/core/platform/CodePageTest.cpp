#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace vesk::codepage {
namespace {

const std::string kXueYa = "\xE8\xA1\x80\xE5\x8E\x8B";  // 血压
const std::string kXueYaGbk = "\xD1\xAA\xD1\xB9";
const std::string kHangul = "\xED\x95\x9C";  // 한, not in GBK

TEST(CodePage, GbkRoundTripAndLossyCharacters) {
  ASSERT_EQ(AnsiCodePage(), "GBK");
  bool lossy = true;
  EXPECT_EQ(ToAnsi("BP " + kXueYa, &lossy), "BP " + kXueYaGbk);
  EXPECT_FALSE(lossy);
  EXPECT_EQ(FromAnsi("BP " + kXueYaGbk), "BP " + kXueYa);
  EXPECT_EQ(ToAnsi("a" + kHangul + "b", &lossy), "a?b");
  EXPECT_TRUE(lossy);
  EXPECT_EQ(ToAnsi("\xC2\xB5", &lossy), "?");            // micro sign is not in GBK either
  EXPECT_EQ(ToAnsi("x\xFFy\xE8\xA1", &lossy), "x?y??");  // invalid UTF-8 bytes, one '?' each
  EXPECT_TRUE(lossy);
  EXPECT_EQ(ToAnsi(""), "");
}

TEST(CodePage, FromAnsiRepairsBrokenInput) {
  // A lead byte cut off at the end is dropped; an invalid pair yields U+FFFD and lets the
  // following ASCII through.
  EXPECT_EQ(FromAnsi(kXueYaGbk + "\xD1"), kXueYa);
  EXPECT_EQ(FromAnsi("\xFF"
                     "A"),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(FromAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePage, LimitedConversionNeverSplitsACharacter) {
  std::string text = "A" + kXueYa;  // narrow: 1 + 2 + 2 bytes
  EXPECT_EQ(ToAnsiLimited(text, 5), "A" + kXueYaGbk);
  EXPECT_EQ(ToAnsiLimited(text, 4), "A\xD1\xAA");
  EXPECT_EQ(ToAnsiLimited(text, 2), "A");
  EXPECT_EQ(ToAnsiLimited(text, 0), "");
  bool lossy = false;
  EXPECT_EQ(ToAnsiLimited(kHangul + "abc", 2, &lossy), "?a");
  EXPECT_TRUE(lossy);
}

TEST(CodePage, PlanByteCountRule) {
  EXPECT_EQ(PlanByteCount("abc"), 3u);
  EXPECT_EQ(PlanByteCount("\xC3\xA9"), 1u);  // é, below 255
  EXPECT_EQ(PlanByteCount("\xC3\xBF"), 2u);  // ÿ is 255 itself
  EXPECT_EQ(PlanByteCount(kXueYa), 4u);
  EXPECT_EQ(PlanByteCount("\xF0\x9F\x98\x80"), 2u);  // one character outside the BMP
  EXPECT_EQ(PlanByteCount(""), 0u);
}

TEST(CodePage, SwitchingTheCodePage) {
  EXPECT_FALSE(SetAnsiCodePage("NO-SUCH-CODEPAGE"));
  EXPECT_EQ(AnsiCodePage(), "GBK");
  ASSERT_TRUE(SetAnsiCodePage("GB18030"));
  bool lossy = true;
  EXPECT_EQ(FromAnsi(ToAnsi(kHangul, &lossy)), kHangul);  // GB18030 holds every character
  EXPECT_FALSE(lossy);
  ASSERT_TRUE(SetAnsiCodePage("CP1252"));
  EXPECT_EQ(ToAnsi("\xE2\x82\xAC"), "\x80");
  ASSERT_TRUE(SetAnsiCodePage("GBK"));
}

TEST(CodePage, XmlConversionKeepsEveryCharacterAsAReference) {
  bool referenced = true;
  EXPECT_EQ(ToAnsiXml("BP " + kXueYa, &referenced), "BP " + kXueYaGbk);
  EXPECT_FALSE(referenced);
  // Ł (U+0141), Arabic meem (U+0645), an emoji outside the BMP, an invalid byte.
  EXPECT_EQ(ToAnsiXml("\xC5\x81"
                      "a\xD9\x85"
                      "\xF0\x9F\x98\x80\xFF",
                      &referenced),
            "&#321;a&#1605;&#128512;&#65533;");
  EXPECT_TRUE(referenced);
  EXPECT_EQ(ToAnsiXml(""), "");

  EXPECT_EQ(UnencodableCharacters("a" + kHangul + kXueYa + kHangul + "\xC5\x81"),
            kHangul + "\xC5\x81");
  EXPECT_EQ(UnencodableCharacters("plain " + kXueYa), "");
  EXPECT_EQ(UnencodableCharacters(kHangul + "\xC5\x81", 1), kHangul);
  ASSERT_TRUE(SetAnsiCodePage("CP1250"));  // Central European: Ł is there, 血 is not
  EXPECT_EQ(ToAnsiXml("\xC5\x81" + kXueYa), "\xA3&#34880;&#21387;");
  ASSERT_TRUE(SetAnsiCodePage("GBK"));
}

TEST(CodePage, Utf16AndValidation) {
  std::string mixed = "a" + kXueYa + "\xF0\x9F\x98\x80";
  std::u16string wide = Utf8ToUtf16(mixed);
  EXPECT_EQ(wide, u"a\u8840\u538B\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(wide), mixed);
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone surrogate
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\xFFFD\xFFFD");  // overlong form
  EXPECT_TRUE(IsValidUtf8(mixed));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // encoded surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE8\xA1"));          // cut short
}

}  // namespace
}  // namespace vesk::codepage
