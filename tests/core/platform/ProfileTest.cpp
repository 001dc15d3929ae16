#include "platform/Profile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace vesk::profile {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string Utf16Le(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t u : text) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  }
  return out;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ProfileDocument, ReadingRulesOfThePrivateProfileFunctions) {
  auto doc = ProfileDocument::Parse(
      "orphan=before any section\r\n"
      "  [ Main Section ]  \r\n"
      "  Key One  =  spaced value  \r\n"
      "; Commented=yes\r\n"
      "url=a=b=c\r\n"
      "quoted=\"  kept blanks  \"\r\n"
      "single='x'\r\n"
      "oneSided=\"open\r\n"
      "mixed=\"a'\r\n"
      "bare\r\n"
      "empty=\r\n"
      "Key One=second wins not\r\n"
      "[main section]\r\n"
      "dup=from the duplicate section\r\n");
  EXPECT_EQ(doc.Get("Main Section", "Key One"), "spaced value");
  EXPECT_EQ(doc.Get("MAIN SECTION", "key one"), "spaced value");
  EXPECT_EQ(doc.Get("  Main Section ", " Key One "), "spaced value");
  EXPECT_EQ(doc.Get("Main Section", "url"), "a=b=c");
  EXPECT_EQ(doc.Get("Main Section", "quoted"), "  kept blanks  ");
  EXPECT_EQ(doc.Get("Main Section", "single"), "x");
  EXPECT_EQ(doc.Get("Main Section", "oneSided"), "\"open");
  EXPECT_EQ(doc.Get("Main Section", "mixed"), "\"a'");
  EXPECT_EQ(doc.Get("Main Section", "bare"), "");
  EXPECT_EQ(doc.Get("Main Section", "empty"), "");
  EXPECT_EQ(doc.Get("Main Section", "; Commented"), std::nullopt);
  EXPECT_EQ(doc.Get("Main Section", "Commented"), std::nullopt);
  EXPECT_EQ(doc.Get("Main Section", "dup"), std::nullopt);  // the first section wins
  EXPECT_EQ(doc.Get("", "orphan"), std::nullopt);
  EXPECT_EQ(doc.Get("Missing", "Key One"), std::nullopt);
  EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"Main Section"}));
  EXPECT_EQ(doc.Keys("main SECTION"),
            (std::vector<std::string>{"Key One", "url", "quoted", "single", "oneSided", "mixed",
                                      "bare", "empty"}));
  EXPECT_TRUE(doc.isText());
}

TEST(ProfileDocument, LineEndingsAndEncodingsReadAlike) {
  const std::string body = "[S]\na=1\r\nb=2\rc=3";
  for (const std::string& bytes : {body, "\xEF\xBB\xBF" + body}) {
    auto doc = ProfileDocument::Parse(bytes);
    EXPECT_EQ(doc.Get("s", "a"), "1");
    EXPECT_EQ(doc.Get("s", "b"), "2");
    EXPECT_EQ(doc.Get("s", "c"), "3");
    EXPECT_EQ(doc.Serialize(), bytes);  // untouched lines come back byte for byte
  }
  auto wide = ProfileDocument::Parse(Utf16Le(u"[S]\r\nname=\u8840\u538B\r\n"));
  EXPECT_EQ(wide.encoding(), Encoding::Utf16LeBom);
  EXPECT_EQ(wide.Get("S", "name"), "\xE8\xA1\x80\xE5\x8E\x8B");
  EXPECT_EQ(ProfileDocument::Parse("\xEF\xBB\xBF[S]").encoding(), Encoding::Utf8Bom);
}

TEST(ProfileDocument, UnicodeNamesIgnoreCase) {
  auto doc = ProfileDocument::Parse("[\xC3\x84RZTE]\n\xD0\x9A\xD0\x9B\xD0\xAE\xD0\xA7=v\n");
  EXPECT_EQ(doc.Get("\xC3\xA4rzte", "\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87"), "v");  // ÄRZTE, КЛЮЧ
}

TEST(ProfileDocument, SetKeepsOtherLinesAndPlacesNewKeys) {
  const std::string original =
      "; header comment\n[A]\nx = 1 ; not a comment\ny=2\n\n; about B\n[B]\nz=3";
  auto doc = ProfileDocument::Parse(original);
  doc.Set("a", "Y", "20");
  doc.Set("A", "new", "n");
  doc.Set("B", "w", "4");
  doc.Set("C", "k", "v");
  EXPECT_EQ(doc.Serialize(),
            "; header comment\n[A]\nx = 1 ; not a comment\ny=20\nnew=n\n\n; about B\n[B]\nz=3\n"
            "w=4\n[C]\nk=v\n");
  EXPECT_EQ(doc.Get("A", "x"), "1 ; not a comment");

  ProfileDocument fresh;
  fresh.Set("S", "k", "v");
  EXPECT_EQ(fresh.Serialize(), "[S]\r\nk=v\r\n");
  EXPECT_EQ(fresh.encoding(), Encoding::Utf8);
}

TEST(ProfileDocument, ValuesSurviveTheReadingRules) {
  ProfileDocument doc;
  for (std::string v : {"  lead and trail  ", "\"quoted\"", "'q'", "\"", "a\"b\"", "", "=x"}) {
    doc.Set("S", "k", v);
    EXPECT_EQ(doc.Get("S", "k"), v) << v;
  }
  doc.Set("S", "k", "line1\r\n[Injected]\r\nevil=1");
  EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"S"}));
  // Names the format cannot hold are refused rather than written as something else.
  doc.Set("S", "a=b", "v");
  doc.Set("S", "", "v");
  doc.Set("", "k2", "v");
  doc.Set("S", "[k", "v");
  EXPECT_EQ(doc.Keys("S"), (std::vector<std::string>{"k"}));
}

TEST(ProfileDocument, RemovingFirstOfDuplicatesUncoversTheSecond) {
  auto doc = ProfileDocument::Parse("[S]\nk=1\nk=2\n[T]\nt=1\n[s]\nk=3\nm=4\n");
  EXPECT_TRUE(doc.RemoveKey("S", "K"));
  EXPECT_EQ(doc.Get("S", "k"), "2");
  EXPECT_TRUE(doc.RemoveSection("S"));
  EXPECT_EQ(doc.Get("S", "k"), "3");
  EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"T", "s"}));
  EXPECT_FALSE(doc.RemoveSection("missing"));
  EXPECT_FALSE(doc.RemoveKey("T", "missing"));
  EXPECT_EQ(doc.Serialize(), "[T]\nt=1\n[s]\nk=3\nm=4\n");
}

TEST(ProfileDocument, NotTextIsDetectedButStillRead) {
  auto nul = ProfileDocument::Parse(std::string("[S]\nk=v\n\0\0junk", 15));
  EXPECT_FALSE(nul.isText());
  EXPECT_EQ(nul.Get("S", "k"), "v");
  auto bad = ProfileDocument::Parse("[S]\nk=\xFF\xFE\xC3\n");
  EXPECT_FALSE(bad.isText());
  EXPECT_EQ(bad.Get("S", "k"), "\xFF\xFE\xC3");
  EXPECT_FALSE(ProfileDocument::Parse(Utf16Le(u"[S]\r\nk=\xD800\r\n")).isText());
  EXPECT_FALSE(ProfileDocument::Parse("\xFF\xFE[\0S\0]").isText());  // odd byte count
  EXPECT_TRUE(ProfileDocument::Parse("").isText());
}

TEST(ProfileDocument, HugeAndLongLineInputs) {
  std::string longLine = "[S]\nk=" + std::string(100000, 'x') + "\n" + std::string(100000, '[');
  auto doc = ProfileDocument::Parse(longLine);
  EXPECT_EQ(doc.Get("S", "k")->size(), 100000u);  // no cut at this level
  // 10 MB of long lines, then many short lines with sections repeated: both stay linear.
  std::string big;
  const std::string filler(1000, 'v');
  for (int i = 0; big.size() < (10u << 20); ++i)
    big += "[Sec" + std::to_string(i % 500) + "]\nkey" + std::to_string(i) + "=" + filler + "\n";
  auto huge = ProfileDocument::Parse(big);
  EXPECT_EQ(huge.Sections().size(), 500u);
  EXPECT_EQ(huge.Get("sec3", "key3"), filler);
  EXPECT_EQ(huge.Serialize(), big);
  std::string many;
  for (int i = 0; i < 50000; ++i)
    many += "[S" + std::to_string(i % 7) + "]\nk=" + std::to_string(i) + "\n";
  auto repeated = ProfileDocument::Parse(many);
  EXPECT_EQ(repeated.Get("s6", "k"), "6");
  EXPECT_EQ(repeated.Keys("S0").size(), 1u);
}

TEST(ParseProfileInt, WindowsIntegerRules) {
  EXPECT_EQ(ParseProfileInt("  -12abc"), -12);
  EXPECT_EQ(ParseProfileInt("0x1A"), 26);
  EXPECT_EQ(ParseProfileInt("0X1az"), 26);
  EXPECT_EQ(ParseProfileInt("+7"), 7);
  EXPECT_EQ(ParseProfileInt("abc"), 0);
  EXPECT_EQ(ParseProfileInt("0x"), 0);
  EXPECT_EQ(ParseProfileInt("-"), 0);
  EXPECT_EQ(ParseProfileInt("1 2"), 1);
  EXPECT_EQ(ParseProfileInt("4294967297"), 1);  // wraps like the 32-bit original
  EXPECT_EQ(ParseProfileInt("-2147483648"), INT32_MIN);
}

TEST(ProfileFile, MissingFileAndDefaults) {
  TempDir dir;
  ProfileFile f(dir / "none.ini");
  EXPECT_FALSE(f.Exists());
  EXPECT_EQ(f.Get("S", "k"), std::nullopt);
  EXPECT_EQ(f.GetString("S", "k", "def"), "def");
  EXPECT_EQ(f.GetInt("S", "k", 5), 5);
  EXPECT_TRUE(f.Sections().empty());
  EXPECT_TRUE(f.RemoveSection("S"));
  EXPECT_FALSE(f.Exists());  // nothing to remove, nothing written

  WriteBytes(dir / "a.ini", "[S]\nempty=\nblank=  \nnum= 0x10 \nq=\"\"\n");
  ProfileFile g(dir / "a.ini");
  EXPECT_EQ(g.GetInt("S", "empty", 9), 9);
  EXPECT_EQ(g.GetInt("S", "blank", 9), 9);
  EXPECT_EQ(g.GetInt("S", "q", 9), 9);
  EXPECT_EQ(g.GetInt("S", "num", 9), 16);
}

TEST(ProfileFile, WritesAreAtomicAndKeepTheEncoding) {
  TempDir dir;
  std::string path = dir / "w.ini";
  ProfileFile f(path);
  ASSERT_TRUE(f.Set("S", "k", "v"));
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n");

  WriteBytes(path, Utf16Le(u"; \u6CE8\u91CA\r\n[S]\r\nk=old\r\nz=\u00B5\r\n"));
  ASSERT_TRUE(f.Set("S", "k", "\u65B0"));
  EXPECT_EQ(ReadBytes(path), Utf16Le(u"; \u6CE8\u91CA\r\n[S]\r\nk=\u65B0\r\nz=\u00B5\r\n"));

  WriteBytes(path, "\xEF\xBB\xBF[S]\nk=1\n");
  ASSERT_TRUE(f.RemoveKey("S", "k"));
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[S]\n");
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"w.ini"}));  // no temp files left
}

TEST(ProfileFile, NoticesExternalChangesAndItsOwnWrites) {
  TempDir dir;
  std::string path = dir / "c.ini";
  ProfileFile a(path), b(path);
  ASSERT_TRUE(a.Set("S", "k", "1"));
  EXPECT_EQ(b.Get("S", "k"), "1");
  ASSERT_TRUE(b.Set("S", "k", "22"));
  EXPECT_EQ(a.Get("S", "k"), "22");
  // Same size, rewritten in place: the modification time still tells.
  WriteBytes(path, "[S]\r\nk=33\r\n");
  struct timespec times[2] = {{0, UTIME_OMIT}, {12345, 678}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_EQ(a.Get("S", "k"), "33");
  std::filesystem::remove(path);
  EXPECT_EQ(a.Get("S", "k"), std::nullopt);
}

TEST(ProfileFile, BatchWritesOnceAndNests) {
  TempDir dir;
  std::string path = dir / "b.ini";
  ProfileFile f(path);
  f.BeginBatch();
  f.BeginBatch();
  EXPECT_TRUE(f.Set("S", "a", "1"));
  EXPECT_TRUE(f.Set("S", "b", "2"));
  EXPECT_TRUE(f.RemoveKey("S", "a"));
  EXPECT_TRUE(f.CommitBatch());
  EXPECT_FALSE(f.Exists());
  EXPECT_EQ(f.Get("S", "b"), "2");  // reads see the pending change
  EXPECT_TRUE(f.CommitBatch());
  EXPECT_EQ(ReadBytes(path), "[S]\r\nb=2\r\n");
  EXPECT_TRUE(f.CommitBatch());  // unbalanced commit is harmless
}

TEST(ProfileFile, CorruptFileIsCopiedOnceBeforeItsFirstRewrite) {
  TempDir dir;
  std::string path = dir / "bad.ini";
  const std::string junk("[S]\nk=1\n\0\x01\xFF", 11);
  WriteBytes(path, junk);
  {
    ProfileFile f(path);
    EXPECT_EQ(f.Get("S", "k"), "1");
    EXPECT_FALSE(std::filesystem::exists(path + ".corrupt"));  // reading alone copies nothing
    ASSERT_TRUE(f.Set("S", "k", "2"));
    EXPECT_EQ(ReadBytes(path + ".corrupt"), junk);
    ASSERT_TRUE(f.Set("S", "k", "3"));
  }
  ProfileFile again(path);
  ASSERT_TRUE(again.Set("S", "k", "4"));
  EXPECT_EQ(ReadBytes(path + ".corrupt"), junk);  // the first state is never overwritten
  EXPECT_EQ(again.Get("S", "k"), "4");
}

TEST(ProfileFile, FailedWriteLeavesTheOldFile) {
  TempDir dir;
  std::string folder = dir / "ro";
  std::filesystem::create_directories(folder);
  std::string path = folder + "/r.ini";
  WriteBytes(path, "[S]\nk=old\n");
  ProfileFile f(path);

  // Root ignores folder permissions, so also force a failure with a file-size limit.
  struct rlimit old {};
  ::getrlimit(RLIMIT_FSIZE, &old);
  auto prev = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tiny = old;
  tiny.rlim_cur = 4;
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  bool ok = f.Set("S", "k", "a longer new value");
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, prev);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadBytes(path), "[S]\nk=old\n");
  EXPECT_EQ(f.Get("S", "k"), "old");  // memory follows the file again
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"r.ini"}));

  ::chmod(folder.c_str(), 0555);
  bool writable = ::access(folder.c_str(), W_OK) == 0;
  if (!writable) {
    EXPECT_FALSE(f.Set("S", "k", "new"));
    EXPECT_EQ(ReadBytes(path), "[S]\nk=old\n");
  }
  ::chmod(folder.c_str(), 0755);
}

TEST(ProfileFile, UnreadableFileIsNeverReplaced) {
  TempDir dir;
  std::string path = dir / "folder.ini";
  std::filesystem::create_directories(path);
  ProfileFile f(path);
  EXPECT_EQ(f.GetString("S", "k", "d"), "d");
  EXPECT_FALSE(f.Set("S", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(ProfileFile, WriteDocumentReplacesWholeFile) {
  TempDir dir;
  std::string path = dir / "t.ini";
  WriteBytes(path, "[Old]\nk=v\n");
  ProfileFile f(path);
  ASSERT_TRUE(f.WriteDocument(ProfileDocument()));
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_TRUE(f.Exists());
  EXPECT_TRUE(f.Sections().empty());
}

}  // namespace
}  // namespace vesk::profile
