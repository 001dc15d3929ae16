// vesk-cli case and sample commands, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace {

using vesk::test::ReadBytes;
using vesk::test::TempDir;
using vesk::test::WriteBytes;

struct CliRun {
  int code = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

CliRun Cli(const TempDir& dir, const std::string& args) {
  const std::string out = dir / "stdout.txt", err = dir / "stderr.txt";
  const std::string cmd = Quote(VESK_CLI) + " " + args + " >" + Quote(out) + " 2>" + Quote(err);
  CliRun r;
  const int status = std::system(cmd.c_str());
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = ReadBytes(out);
  r.err = ReadBytes(err);
  return r;
}

TEST(CliCase, ShowAndImportGiveBackTheSameFile) {
  TempDir dir;
  for (const char* kind : {"ambulatory", "qora2", "singleuser", "v1"}) {
    SCOPED_TRACE(kind);
    const std::string a = dir / (std::string(kind) + ".awp");
    ASSERT_EQ(Cli(dir, std::string("sample ") + kind + " " + Quote(a) + " --seed 5").code, 0);
    const CliRun shown = Cli(dir, "case show " + Quote(a) + " --samples");
    ASSERT_EQ(shown.code, 0) << shown.err;
    WriteBytes(dir / "case.json", shown.out);
    const std::string b = dir / "copy.awp";
    std::filesystem::remove(b);
    const CliRun imported = Cli(dir, "case import " + Quote(dir / "case.json") + " " + Quote(b));
    ASSERT_EQ(imported.code, 0) << imported.err;
    if (std::string(kind) != "v1") {
      EXPECT_EQ(ReadBytes(a), ReadBytes(b));
    } else {
      // The old layout comes back as a version-2 file with the same readings and patient.
      const CliRun again = Cli(dir, "case show " + Quote(b));
      EXPECT_NE(again.out.find("\"main\": 2"), std::string::npos);
    }
  }
}

TEST(CliCase, ShowReportsListsAndFlags) {
  TempDir dir;
  ASSERT_EQ(Cli(dir, "sample ambulatory " + Quote(dir / "a.awp") + " --out-of-order 1").code, 0);
  const CliRun r = Cli(dir, "case show " + Quote(dir / "a.awp"));
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\"multiDay\": 1"), std::string::npos);
  EXPECT_NE(r.out.find("\"chronological\": false"), std::string::npos);
  EXPECT_NE(r.out.find("\"analysed\":"), std::string::npos);
  EXPECT_EQ(r.out.find("\"samples\""), std::string::npos);
  EXPECT_NE(Cli(dir, "case show " + Quote(dir / "none.awp")).code, 0);
  WriteBytes(dir / "junk.awp", std::string("\0\1junk", 6));
  const CliRun junk = Cli(dir, "case show " + Quote(dir / "junk.awp"));
  EXPECT_EQ(junk.code, 1);
  EXPECT_NE(junk.err.find("junk.awp"), std::string::npos);
}

TEST(CliCase, ImportNamesEveryBadFieldAndWritesNothing) {
  TempDir dir;
  WriteBytes(dir / "bad.json", R"({
    "header": {"modelCode": 9, "colour": "red"},
    "patient": {"name": 5, "birthday": "1990-02-30"},
    "plan": {"patientName": "a name far longer than thirty bytes can hold"},
    "readings": [
      {"year": 2024, "month": 3, "day": 31, "hour": 2, "minute": 30, "sys": 120, "dia": 80, "pr": 60},
      {"year": 2024, "month": 3, "day": 31, "hour": 3, "minute": 0, "sys": 120, "dia": 80,
       "pr": 60, "mark": 300, "dai": 1},
      {"month": 70000, "sys": "high"}
    ]})");
  const CliRun r =
      Cli(dir, "case import " + Quote(dir / "bad.json") + " " + Quote(dir / "out.awp"));
  EXPECT_EQ(r.code, 1);
  for (const char* field : {"header.modelCode", "header.colour", "patient.name", "patient.birthday",
                            "plan.patientName", "readings[1].mark", "readings[1].dai",
                            "readings[2].year", "readings[2].month", "readings[2].sys"})
    EXPECT_NE(r.err.find(field), std::string::npos) << field << "\n" << r.err;
  EXPECT_EQ(r.err.find("readings[0]"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.awp"));

  WriteBytes(dir / "broken.json", "{\"header\": ");
  EXPECT_EQ(
      Cli(dir, "case import " + Quote(dir / "broken.json") + " " + Quote(dir / "out.awp")).code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.awp"));
}

TEST(CliCase, ImportTakesMinimalReadingsAndKeepsExistingFiles) {
  TempDir dir;
  WriteBytes(dir / "min.json", R"({"header": {"modelCode": 4}, "patient": {"name": "Li Na"},
    "readings": [{"year": 2024, "month": 3, "day": 31, "hour": 2, "minute": 30,
                  "sys": 131, "dia": 82, "pr": 70},
                 {"year": 2024, "month": 2, "day": 30, "hour": 3, "minute": 0,
                  "sys": 128, "dia": 80, "pr": 66}]})");
  ASSERT_EQ(Cli(dir, "case import " + Quote(dir / "min.json") + " " + Quote(dir / "m.awp")).code,
            0);
  const CliRun shown = Cli(dir, "case show " + Quote(dir / "m.awp"));
  EXPECT_NE(shown.out.find("\"modelName\": \"PEXA\""), std::string::npos);
  EXPECT_NE(shown.out.find("\"map\":98"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("\"valid\":false"), std::string::npos);  // 31 February kept, invalid
  const std::string before = ReadBytes(dir / "m.awp");
  const CliRun again =
      Cli(dir, "case import " + Quote(dir / "min.json") + " " + Quote(dir / "m.awp"));
  EXPECT_EQ(again.code, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir / "m.awp"), before);
  // A case shown without its SpO2 samples cannot silently lose them.
  ASSERT_EQ(Cli(dir, "sample miru " + Quote(dir / "miru.awp")).code, 0);
  WriteBytes(dir / "miru.json", Cli(dir, "case show " + Quote(dir / "miru.awp")).out);
  const CliRun lossy =
      Cli(dir, "case import " + Quote(dir / "miru.json") + " " + Quote(dir / "x.awp"));
  EXPECT_EQ(lossy.code, 1);
  EXPECT_NE(lossy.err.find("spo2Head[0]"), std::string::npos);
}

TEST(CliCase, ListAndSearchAFolder) {
  TempDir dir;
  std::filesystem::create_directories(dir / "cases");
  ASSERT_EQ(Cli(dir, "sample qora1 " + Quote(dir / "cases/q1.awp")).code, 0);
  ASSERT_EQ(Cli(dir, "sample qora2 " + Quote(dir / "cases/q2.awp")).code, 0);
  ASSERT_EQ(Cli(dir, "sample ambulatory " + Quote(dir / "cases/a.awp") +
                         " --language zh --start '2024-10-27 01:30'")
                .code,
            0);
  const CliRun list = Cli(dir, "case list " + Quote(dir / "cases"));
  ASSERT_EQ(list.code, 0);
  EXPECT_NE(list.out.find("User1\t001\t"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\t2024/10/27 01:30\ta.awp\n"), std::string::npos) << list.out;
  const CliRun byName = Cli(dir, "case search " + Quote(dir / "cases") + " --name User --json");
  EXPECT_NE(byName.out.find("q1.awp"), std::string::npos);
  EXPECT_NE(byName.out.find("q2.awp"), std::string::npos);
  EXPECT_EQ(byName.out.find("a.awp"), std::string::npos);
  EXPECT_EQ(Cli(dir, "case search " + Quote(dir / "cases") + " --name user").out, "");
  const CliRun byDate = Cli(dir, "case search " + Quote(dir / "cases") + " --date 2024-10-27");
  EXPECT_EQ(byDate.out.find("q1.awp"), std::string::npos);
  EXPECT_NE(byDate.out.find("a.awp"), std::string::npos);
  EXPECT_EQ(Cli(dir, "case search " + Quote(dir / "cases") + " --name ''").code, 1);
  EXPECT_EQ(Cli(dir, "case search " + Quote(dir / "cases") + " --date 2024-02-30").code, 1);
  EXPECT_EQ(Cli(dir, "case list " + Quote(dir / "nothing")).code, 1);
}

TEST(CliSample, DemoFillsTheTreeOnceAndNeverOverwrites) {
  TempDir dir;
  const std::string home = dir / "home";
  const CliRun first = Cli(dir, "sample demo " + Quote(home));
  ASSERT_EQ(first.code, 0) << first.err;
  const std::string user = home + "/data/family";
  int files = 0;
  for (const char* folder : {"VESK", "Monitor", "SingleUser", "BPM"}) {
    ASSERT_TRUE(std::filesystem::is_directory(user + "/" + folder)) << folder;
    for (const auto& e : std::filesystem::directory_iterator(user + "/" + folder)) {
      ++files;
      EXPECT_EQ(e.path().extension(), ".awp");
      EXPECT_EQ(e.path().filename().string().size(), 14u + 6u);
    }
  }
  EXPECT_EQ(files, 8);
  // Change one file: a second run keeps it and reports every file as kept.
  std::string some;
  for (const auto& e : std::filesystem::directory_iterator(user + "/BPM")) some = e.path();
  WriteBytes(some, "edited by the user");
  const CliRun second = Cli(dir, "sample demo " + Quote(home));
  EXPECT_EQ(second.code, 0);
  EXPECT_EQ(ReadBytes(some), "edited by the user");
  EXPECT_EQ(second.out.find("created"), std::string::npos);

  const CliRun noUser = Cli(dir, "sample demo " + Quote(dir / "other") + " --user ''");
  EXPECT_EQ(noUser.code, 1);
  EXPECT_NE(noUser.err.find("user"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "other/data/VESK"));
}

TEST(CliSample, RefusesUnknownKindsBadOptionsAndExistingFiles) {
  TempDir dir;
  EXPECT_EQ(Cli(dir, "sample nosuch " + Quote(dir / "x.awp")).code, 1);
  EXPECT_EQ(Cli(dir, "sample ambulatory " + Quote(dir / "x.awp") + " --device 3").code, 1);
  EXPECT_EQ(Cli(dir, "sample ambulatory " + Quote(dir / "x.awp") + " --start 2024-13-01").code, 1);
  EXPECT_EQ(Cli(dir, "sample ambulatory").code, 2);
  ASSERT_EQ(Cli(dir, "sample ambulatory " + Quote(dir / "x.awp")).code, 0);
  const std::string before = ReadBytes(dir / "x.awp");
  EXPECT_EQ(Cli(dir, "sample miru " + Quote(dir / "x.awp")).code, 1);
  EXPECT_EQ(ReadBytes(dir / "x.awp"), before);
  EXPECT_EQ(Cli(dir, "sample miru " + Quote(dir / "x.awp") + " --force").code, 0);
  EXPECT_NE(ReadBytes(dir / "x.awp"), before);
}

}  // namespace
