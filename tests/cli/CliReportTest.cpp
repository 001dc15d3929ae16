// vesk-cli case report and the report program behind it, checked through the PDF as a reader
// gets it: its text (pdftotext), its fonts (pdffonts) and its pages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace {

using vesk::test::ReadBytes;
using vesk::test::TempDir;
using vesk::test::WriteBytes;

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct Outcome {
  int code = -1;
  std::string out, err;
};

Outcome Shell(const TempDir& dir, const std::string& cmd) {
  const std::string out = dir / "stdout.txt", err = dir / "stderr.txt";
  const int status = std::system(
      ("XDG_RUNTIME_DIR=" + Quote(dir.path()) + " " + cmd + " >" + Quote(out) + " 2>" + Quote(err))
          .c_str());
  Outcome r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = ReadBytes(out);
  r.err = ReadBytes(err);
  return r;
}

std::string ReportProgram() {
  return std::filesystem::path(VESK_CLI).parent_path() / "vesk-report";
}

bool HavePoppler() {
  return std::system("command -v pdftotext >/dev/null && command -v pdffonts >/dev/null") == 0;
}

class CliReport : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils (pdftotext, pdffonts) is not installed";
    // A build without the Qt programs has no report program to run.
    if (!std::filesystem::exists(ReportProgram())) GTEST_SKIP() << "vesk-report is not built";
    home_ = dir_ / "home";
    ASSERT_EQ(Cli("demo init --data " + Quote(std::string(VESK_SOURCE_DIR) + "/data")).code, 0);
  }
  Outcome Cli(const std::string& args) {
    return Shell(dir_, Quote(VESK_CLI) + " --home " + Quote(home_) + " " + args);
  }
  std::string Sample(const std::string& kind, int seed, const std::string& language) {
    const std::string path = dir_ / (kind + std::to_string(seed) + ".awp");
    const Outcome r = Cli("sample " + kind + " " + Quote(path) + " --seed " + std::to_string(seed) +
                          " --language " + language);
    EXPECT_EQ(r.code, 0) << r.err;
    return path;
  }
  std::string Text(const std::string& pdf) {
    const Outcome r = Shell(dir_, "pdftotext -layout " + Quote(pdf) + " -");
    EXPECT_EQ(r.code, 0) << r.err;
    return r.out;
  }
  int Pages(const std::string& pdf) {
    const Outcome r = Shell(dir_, "pdfinfo " + Quote(pdf));
    std::smatch m;
    return std::regex_search(r.out, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
  }
  TempDir dir_;
  std::string home_;
};

// The mean of one block of the statistics record of `case stats`, as the report prints it.
std::string Mean(const std::string& stats, const std::string& block, const std::string& q) {
  size_t at = stats.find("\"statistics\"");
  for (const std::string& key : {"\"" + block + "\"", "\"" + q + "\"", std::string("\"mean\": ")})
    at = at == std::string::npos ? at : stats.find(key, at);
  if (at == std::string::npos) return "?";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", std::stod(stats.substr(at + 8, 30)));
  return text;
}

TEST_F(CliReport, MeansNameAndPagesMatchTheCase) {
  const std::string awp = Sample("ambulatory", 5, "en");
  const std::string pdf = dir_ / "r.pdf";
  const Outcome r = Cli("case report " + Quote(awp) + " " + Quote(pdf) + " --pages 0,1,10");
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string text = Text(pdf);
  const Outcome shown = Cli("case show " + Quote(awp));
  std::smatch name;
  ASSERT_TRUE(std::regex_search(shown.out, name, std::regex("\"name\": \"([^\"]+)\"")));
  EXPECT_NE(text.find(name[1].str()), std::string::npos) << name[1];

  const Outcome stats = Cli("case stats " + Quote(awp));
  ASSERT_EQ(stats.code, 0) << stats.err;
  for (const char* block : {"whole", "awake", "asleep"}) {
    const std::string pair = Mean(stats.out, block, "sys") + " / " + Mean(stats.out, block, "dia");
    EXPECT_NE(text.find(pair), std::string::npos) << block << " " << pair;
  }
  // Two single pages and the data list, which says how many pages it runs over.
  std::smatch parts;
  int listPages = 1;
  if (std::regex_search(text, parts, std::regex("Data list \\(1/(\\d+)\\)")))
    listPages = std::stoi(parts[1]);
  EXPECT_EQ(Pages(pdf), 2 + listPages);
  EXPECT_NE(text.find("Page 1 of " + std::to_string(2 + listPages)), std::string::npos);
}

TEST_F(CliReport, EverySelectedPageOfAMiruCase) {
  const std::string awp = Sample("miru", 3, "en");
  const std::string pdf = dir_ / "all.pdf";
  const Outcome r =
      Cli("case report " + Quote(awp) + " " + Quote(pdf) + " --pages all --paper letter");
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string text = Text(pdf);
  for (const char* heading :
       {"Patient demographics", "Statistics", "BP summary", "Colorized graph", "Bar graph",
        "BP histograms", "BP pie charts", "BP correlation", "Frequency histogram",
        "PR/MAP/PP histograms", "Data list", "Hourly summary", "SpO2 data"})
    EXPECT_NE(text.find(heading), std::string::npos) << heading;
  EXPECT_NE(text.find("Desaturation index"), std::string::npos);
  EXPECT_GE(Pages(pdf), 13);
  const Outcome info = Shell(dir_, "pdfinfo " + Quote(pdf));
  EXPECT_NE(info.out.find("612 x 792"), std::string::npos) << info.out;  // Letter
}

TEST_F(CliReport, ChineseReportEmbedsACjkFont) {
  const std::string awp = Sample("ambulatory", 7, "zh");
  const std::string pdf = dir_ / "zh.pdf";
  const Outcome r = Cli("case report " + Quote(awp) + " " + Quote(pdf) + " --language Chinese");
  ASSERT_EQ(r.code, 0) << r.err;
  const Outcome fonts = Shell(dir_, "pdffonts " + Quote(pdf));
  EXPECT_NE(fonts.out.find("WenQuanYi"), std::string::npos) << fonts.out;
  // Columns: name, type, encoding, emb, sub, uni, object, ID.
  const std::regex line("\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$");
  int fontsSeen = 0;
  std::istringstream in(fonts.out);
  for (std::string l; std::getline(in, l);) {
    std::smatch m;
    if (!std::regex_search(l, m, line)) continue;
    ++fontsSeen;
    EXPECT_EQ(m[1], "yes") << "not embedded: " << l;
  }
  EXPECT_GE(fontsSeen, 2);
  EXPECT_NE(Text(pdf).find("患者"), std::string::npos);
}

TEST_F(CliReport, LongNamesInThreeScriptsStillGiveAReport) {
  const std::string awp = Sample("ambulatory", 5, "en");
  const Outcome shown = Cli("case show " + Quote(awp));
  std::string name = "Łukasz Żółć-Wiśniewski ";
  while (name.size() < 200) name += "محمد بن عبد الله 王小明 ";
  const std::string json = std::regex_replace(shown.out, std::regex("\"name\": \"[^\"]*\""),
                                              "\"name\": \"" + name + "\"");
  WriteBytes(dir_ / "long.json", json);
  const std::string longAwp = dir_ / "long.awp";
  ASSERT_EQ(Cli("case import " + Quote(dir_ / "long.json") + " " + Quote(longAwp)).code, 0);
  const std::string pdf = dir_ / "long.pdf";
  const Outcome r = Cli("case report " + Quote(longAwp) + " " + Quote(pdf) + " --pages 0,2");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(Text(pdf).find("Łukasz Żółć"), std::string::npos);
  EXPECT_EQ(Pages(pdf), 2);
}

TEST_F(CliReport, UnwritablePathGivesAnErrorAndNoPdf) {
  const std::string awp = Sample("ambulatory", 5, "en");
  const std::string pdf = dir_ / "missing folder/r.pdf";
  const Outcome r = Cli("case report " + Quote(awp) + " " + Quote(pdf));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("r.pdf"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_EQ(Cli("case report " + Quote(awp)).code, 2);
  EXPECT_EQ(Cli("case report " + Quote(awp) + " " + Quote(dir_ / "x.pdf") + " --pages 13").code, 1);
}

// The report program itself, started as the report command starts it: no arguments but the
// program folder, the data in ZavStart/, the job in Cnf.start.
TEST_F(CliReport, ReportProgramRefusesMissingAndTruncatedDataFiles) {
  const std::string awp = Sample("ambulatory", 5, "en");
  const std::string start = home_ + "/ZavStart";
  ASSERT_EQ(Cli("case report-files " + Quote(awp) + " " + Quote(start)).code, 0);
  const std::string pdf = dir_ / "p.pdf";
  WriteBytes(home_ + "/Cnf.start", "[START]\r\nCasePath=" + awp + "\r\nReportPath=" + pdf +
                                       "\r\nReportPrint=0\r\nLanguage=English\r\n");
  const std::string program = Quote(ReportProgram()) + " --home " + Quote(home_) + " --pdf-only";
  Outcome ok = Shell(dir_, program);
  ASSERT_EQ(ok.code, 0) << ok.err;
  ASSERT_TRUE(std::filesystem::exists(pdf));
  std::filesystem::remove(pdf);

  const std::string one = start + "/1.rp";
  const std::string bytes = ReadBytes(one);
  WriteBytes(one, bytes.substr(0, bytes.size() - 3));
  Outcome truncated = Shell(dir_, program);
  EXPECT_EQ(truncated.code, 1);
  EXPECT_NE(truncated.err.find("1.rp"), std::string::npos) << truncated.err;
  EXPECT_FALSE(std::filesystem::exists(pdf));

  std::filesystem::remove(one);
  Outcome missing = Shell(dir_, program);
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("1.rp"), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(pdf));

  // Printing without a window: a printer that does not exist is an error, not silence.
  ASSERT_EQ(Cli("case report-files " + Quote(awp) + " " + Quote(start)).code, 0);
  WriteBytes(home_ + "/Cnf.start", "[START]\r\nCasePath=" + awp + "\r\nReportPath=" + pdf +
                                       "\r\nReportPrint=1\r\nDeviceName=No such printer\r\n");
  Outcome print = Shell(dir_, Quote(ReportProgram()) + " --home " + Quote(home_));
  EXPECT_EQ(print.code, 1);
  EXPECT_NE(print.err.find("No such printer"), std::string::npos) << print.err;

  std::filesystem::remove(home_ + "/Cnf.start");
  Outcome noJob = Shell(dir_, program);
  EXPECT_EQ(noJob.code, 1);
  EXPECT_NE(noJob.err.find("Cnf.start"), std::string::npos) << noJob.err;
  EXPECT_EQ(Shell(dir_, Quote(ReportProgram()) + " --bogus").code, 2);
}

}  // namespace
